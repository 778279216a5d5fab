// The probes over the host's configurable machine: each branch from the platform's raw facts.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "system/group_membership.h"
#include "system/internet_probe.h"
#include "system/os_info.h"
#include "system/process_search.h"
#include "system/registered_user.h"
#include "system/system_host_test.h"
#include "system/windows_family.h"

namespace {

using platform::MembershipAnswer;
using platform::Wow64Answer;

class WindowsFamilyProbeTest : public SystemHostTest {};

struct FamilyProbeCase {
  std::optional<platform::VersionRecord> version;
  Wow64Answer wow64;
  const char* family;
};

TEST_F(WindowsFamilyProbeTest, AsksForTheWow64AnswerOnlyOnVersion52) {
  // The table itself is covered over plain records; here: when the 64-bit question is asked.
  const FamilyProbeCase cases[] = {
      {std::nullopt, Wow64Answer::Failed, "WinUnknow"},
      {Version(4, 0, 2), Wow64Answer::Failed, "WinNT"},
      {Version(5, 1, 2), Wow64Answer::Failed, "WinXP"},
      {Version(5, 2, 2), Wow64Answer::Yes, "WinXP"},
      {Version(5, 2, 2), Wow64Answer::No, "WinSrv2003"},
      {Version(5, 2, 2), Wow64Answer::Unavailable, "WinSrv2003"},
      {Version(6, 1, 2), Wow64Answer::Failed, "Win7"},
  };
  for (const FamilyProbeCase& c : cases) {
    SCOPED_TRACE(c.family);
    host::SetVersion(c.version);
    host::SetWow64(c.wow64);
    EXPECT_EQ(GetWindowsFamily(), c.family);
  }
}

TEST_F(WindowsFamilyProbeTest, Version52PassesOnTheWow64Error) {
  host::SetVersion(Version(5, 2, 2));
  host::SetWow64(Wow64Answer::Failed);
  EXPECT_THROW(GetWindowsFamily(), ESystemInfo);
}

TEST_F(WindowsFamilyProbeTest, Is64BitWindowsFollowsTheWow64Answer) {
  host::SetWow64(Wow64Answer::Yes);
  EXPECT_TRUE(TOSInfo::Is64BitWindows());
  host::SetWow64(Wow64Answer::No);
  EXPECT_FALSE(TOSInfo::Is64BitWindows());
  host::SetWow64(Wow64Answer::Unavailable);
  EXPECT_FALSE(TOSInfo::Is64BitWindows());
  host::SetWow64(Wow64Answer::Failed);
  EXPECT_THROW(TOSInfo::Is64BitWindows(), ESystemInfo);
}

class RegisteredUserProbeTest : public SystemHostTest {
 protected:
  static constexpr char kNtKey[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
  static constexpr char k9xKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
};

TEST_F(RegisteredUserProbeTest, ReadsTheNtKeyOnNt) {
  SetMachineString(k9xKey, "RegisteredOwner", "Nine Owner");
  EXPECT_EQ(GetRegisteredUserInfo("user"), "Setup User");
  EXPECT_EQ(GetRegisteredUserInfo("company"), "Example Org");
}

TEST_F(RegisteredUserProbeTest, ReadsTheWindowsKeyOnOtherPlatforms) {
  SetMachineString(k9xKey, "RegisteredOwner", "Nine Owner");
  SetMachineString(k9xKey, "RegisteredOrganization", "Nine Org");
  for (std::optional<platform::VersionRecord> version :
       {std::optional(Version(4, 10, 1)), std::optional(Version(6, 1, 0)),
        std::optional<platform::VersionRecord>()}) {
    host::SetVersion(version);
    EXPECT_EQ(GetRegisteredUserInfo("user"), "Nine Owner");
    EXPECT_EQ(GetRegisteredUserInfo("company"), "Nine Org");
  }
}

TEST_F(RegisteredUserProbeTest, UnknownKindMissingValueOrKeyGiveEmptyText) {
  for (const char* kind : {"", "User", "Company", "owner"})
    EXPECT_EQ(GetRegisteredUserInfo(kind), "") << kind;
  host::SetVersion(Version(4, 10, 1));  // the default machine has no owner in the 9x key
  EXPECT_EQ(GetRegisteredUserInfo("user"), "");
  host::ResetSystemFacts();
  Import("[-HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT]\n");
  EXPECT_EQ(GetRegisteredUserInfo("user"), "");
  EXPECT_EQ(GetRegisteredUserInfo("company"), "");
}

TEST_F(RegisteredUserProbeTest, NonTextValueReadsAsEmpty) {
  ASSERT_TRUE(host::RegistrySetValue(platform::RegistryRoot::LocalMachine, kNtKey,
                                     "RegisteredOwner", host::RegistryDWord(7)));
  EXPECT_EQ(GetRegisteredUserInfo("user"), "");
}

class GroupProbeTest : public SystemHostTest {
 protected:
  static std::vector<platform::TokenGroup> Groups(uint32_t rid, uint32_t attributes) {
    return {{"S-1-1-0", 7}, {BuiltinGroupSid(rid), attributes}};
  }
};

struct GroupProbeCase {
  const char* description;
  std::optional<platform::VersionRecord> version;
  MembershipAnswer membership;  // for 544
  std::optional<std::vector<platform::TokenGroup>> tokenGroups;
  bool member;
};

TEST_F(GroupProbeTest, ChoosesBetweenCheckTokenMembershipAndTheTokenWalk) {
  const std::vector<platform::TokenGroup> admin = Groups(544, 0x07);
  const std::vector<platform::TokenGroup> denyOnly = Groups(544, 0x14);
  const std::vector<platform::TokenGroup> disabled = Groups(544, 0x03);
  const GroupProbeCase cases[] = {
      {"98: everyone", Version(4, 10, 1), MembershipAnswer::No, std::nullopt, true},
      {"95: everyone", Version(4, 0, 1), MembershipAnswer::Failed,
       std::vector<platform::TokenGroup>{}, true},
      {"no version: not NT", std::nullopt, MembershipAnswer::No, std::nullopt, true},
      {"XP: membership yes", Version(5, 1, 2), MembershipAnswer::Yes, std::nullopt, true},
      {"XP: membership no beats the token", Version(5, 1, 2), MembershipAnswer::No, admin, false},
      {"7: membership fails", Version(6, 1, 2), MembershipAnswer::Failed, admin, false},
      {"2000: function missing, token says yes", Version(5, 0, 2), MembershipAnswer::Unavailable,
       admin, true},
      {"2000: function missing, deny-only", Version(5, 0, 2), MembershipAnswer::Unavailable,
       denyOnly, false},
      {"2000: function missing, token unreadable", Version(5, 0, 2), MembershipAnswer::Unavailable,
       std::nullopt, false},
      {"NT 4: token walk though the function answers", Version(4, 0, 2), MembershipAnswer::Yes,
       disabled, false},
      {"NT 4: enabled group", Version(4, 0, 2), MembershipAnswer::No, admin, true},
      {"NT 4: no groups", Version(4, 0, 2), MembershipAnswer::Yes,
       std::vector<platform::TokenGroup>{}, false},
  };
  for (const GroupProbeCase& c : cases) {
    SCOPED_TRACE(c.description);
    host::SetVersion(c.version);
    host::SetMembership(544, c.membership);
    host::SetTokenGroups(c.tokenGroups);
    EXPECT_EQ(IsUserInGroup(544), c.member);
  }
}

TEST_F(GroupProbeTest, AdminRightsForAdministratorsOrPowerUsers) {
  struct {
    MembershipAnswer administrators;
    MembershipAnswer powerUsers;
    bool admin;
  } const cases[] = {
      {MembershipAnswer::Yes, MembershipAnswer::No, true},
      {MembershipAnswer::No, MembershipAnswer::Yes, true},
      {MembershipAnswer::Failed, MembershipAnswer::Yes, true},
      {MembershipAnswer::No, MembershipAnswer::No, false},
      {MembershipAnswer::No, MembershipAnswer::Failed, false},
  };
  for (const auto& c : cases) {
    host::SetMembership(kRidAdministrators, c.administrators);
    host::SetMembership(kRidPowerUsers, c.powerUsers);
    EXPECT_EQ(HasAdminRights(), c.admin)
        << static_cast<int>(c.administrators) << " " << static_cast<int>(c.powerUsers);
  }
}

TEST_F(GroupProbeTest, PowerUsersThroughTheTokenWalk) {
  host::SetVersion(Version(4, 0, 2));
  host::SetTokenGroups(Groups(547, 0x07));
  EXPECT_FALSE(IsUserInGroup(544));
  EXPECT_TRUE(HasAdminRights());
  host::SetTokenGroups(Groups(547, 0x10));
  EXPECT_FALSE(HasAdminRights());
}

TEST_F(GroupProbeTest, EveryoneIsAdminOnWindows9x) {
  host::SetVersion(Version(4, 90, 1));
  host::SetMembership(kRidAdministrators, MembershipAnswer::No);
  host::SetMembership(kRidPowerUsers, MembershipAnswer::No);
  host::SetTokenGroups(std::nullopt);
  EXPECT_TRUE(HasAdminRights());
}

class ProcessProbeTest : public SystemHostTest {
 protected:
  void SetUp() override {
    SystemHostTest::SetUp();
    host::SetProcesses(std::vector<platform::ProcessEntry>{
        {4, "System"},
        {612, "explorer.exe"},
        {700, "C:\\PROGRAM FILES\\APP\\APP.EXE"},
        {812, "app.exe"},
        {900, "app.exe"},
        {950, "caf\xE9.exe"},
    });
  }
};

struct ProcessCase {
  uint32_t platformId;
  const char* program;
  int64_t id;
};

TEST_F(ProcessProbeTest, ComparesNameOrPathByPlatform) {
  const ProcessCase cases[] = {
      // NT: the file-name part, in the user's upper case, first entry wins.
      {2, "C:\\Program Files\\App\\App.exe", 812},
      {2, "D:App.EXE", 812},
      {2, "C:\\Windows\\notepad.exe", -1},
      {2, "CAF\xC9.EXE", 950},
      // 9x: the whole text.
      {1, "c:\\program files\\app\\app.exe", 700},
      {1, "C:\\Other\\App.exe", -1},
      // Other platforms compare with the empty text.
      {0, "App.exe", -1},
  };
  for (const ProcessCase& c : cases) {
    SCOPED_TRACE(std::string(c.program) + " on platform " + std::to_string(c.platformId));
    host::SetVersion(Version(c.platformId == 1 ? 4 : 6, c.platformId == 1 ? 10 : 1, c.platformId));
    EXPECT_EQ(FindProcessByName(c.program), c.id);
    EXPECT_EQ(IsProcessRunning(c.program), c.id != -1);
  }
}

TEST_F(ProcessProbeTest, EmptyNameMatchesOnlyAnEmptyEntry) {
  host::SetVersion(Version(6, 1, 0));
  host::SetProcesses(std::vector<platform::ProcessEntry>{{5, "a.exe"}, {6, ""}});
  EXPECT_EQ(FindProcessByName("a.exe"), 6);
}

TEST_F(ProcessProbeTest, NoSnapshotFindsNothing) {
  host::SetProcesses(std::nullopt);
  EXPECT_EQ(FindProcessByName("app.exe"), -1);
  EXPECT_FALSE(IsProcessRunning("app.exe"));
  host::SetProcesses(std::vector<platform::ProcessEntry>{});
  EXPECT_FALSE(IsProcessRunning("app.exe"));
}

class InternetProbeTest : public SystemHostTest {};

TEST_F(InternetProbeTest, OpensAPlainHttpHomePage) {
  host::SetInternet(true);
  EXPECT_TRUE(IsInternetAvailable());
  host::SetInternet(false);
  EXPECT_FALSE(IsInternetAvailable());
  ASSERT_EQ(host::InternetRequests().size(), 2u);
  for (const std::string& request : host::InternetRequests())
    EXPECT_EQ(request, "Setup http://www.example.com/");
}

}  // namespace
