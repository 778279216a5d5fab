#include <gtest/gtest.h>

#include <string>

#include "system/os_info.h"
#include "system/windows_family.h"

namespace {

struct FamilyCase {
  uint32_t major;
  uint32_t minor;
  uint32_t platformId;
  bool is64;
  const char* family;
};

const FamilyCase kFamilyCases[] = {
    // Windows 95 and NT 4 share 4.0; the platform identifier tells them apart.
    {4, 0, 1, false, "Win9x"},
    {4, 0, 2, false, "WinNT"},
    {4, 0, 0, false, "Win9x"},
    {4, 0, 3, false, "Win9x"},
    // 98 and ME whatever the platform identifier.
    {4, 10, 1, false, "Win9x"},
    {4, 10, 2, false, "Win9x"},
    {4, 90, 1, false, "Win9x"},
    {4, 90, 2, false, "Win9x"},
    {4, 1, 1, false, "WinUnknow"},
    {4, 91, 1, false, "WinUnknow"},
    {5, 0, 2, false, "Win2000"},
    {5, 0, 2, true, "Win2000"},
    {5, 1, 2, false, "WinXP"},
    {5, 1, 2, true, "WinXP"},
    // 5.2: XP x64 on 64-bit, Server 2003 on 32-bit.
    {5, 2, 2, true, "WinXP"},
    {5, 2, 2, false, "WinSrv2003"},
    {5, 3, 2, false, "WinUnknow"},
    {6, 0, 2, false, "WinVista"},
    {6, 0, 2, true, "WinVista"},
    {6, 1, 2, false, "Win7"},
    {6, 1, 2, true, "Win7"},
    {6, 2, 2, false, "WinUnknow"},
    {6, 3, 2, true, "WinUnknow"},
    {7, 0, 2, false, "Win7"},
    {7, 5, 2, true, "Win7"},
    {7, 99, 1, false, "Win7"},
    {8, 0, 2, false, "WinUnknow"},
    {10, 0, 2, true, "WinUnknow"},
    {3, 51, 2, false, "WinUnknow"},
    {0, 0, 0, false, "WinUnknow"},
};

TEST(FamilyFromVersionTest, FollowsTheFamilyTable) {
  for (const FamilyCase& c : kFamilyCases) {
    SCOPED_TRACE(std::to_string(c.major) + "." + std::to_string(c.minor) + " platform " +
                 std::to_string(c.platformId) + (c.is64 ? " 64-bit" : " 32-bit"));
    platform::VersionRecord version;
    version.major = c.major;
    version.minor = c.minor;
    version.platformId = c.platformId;
    EXPECT_EQ(FamilyFromVersion(version, c.is64), c.family);
  }
}

TEST(FamilyFromVersionTest, OnlyVersion52NeedsTheWow64Answer) {
  for (const FamilyCase& c : kFamilyCases) {
    platform::VersionRecord version;
    version.major = c.major;
    version.minor = c.minor;
    version.platformId = c.platformId;
    EXPECT_EQ(FamilyNeedsWow64Answer(version), c.major == 5 && c.minor == 2)
        << c.major << "." << c.minor;
  }
}

TEST(Is64BitFromAnswerTest, MapsEachAnswer) {
  EXPECT_FALSE(Is64BitFromAnswer(platform::Wow64Answer::Unavailable));
  EXPECT_FALSE(Is64BitFromAnswer(platform::Wow64Answer::No));
  EXPECT_TRUE(Is64BitFromAnswer(platform::Wow64Answer::Yes));
  try {
    Is64BitFromAnswer(platform::Wow64Answer::Failed);
    FAIL() << "no error raised";
  } catch (const ESystemInfo& error) {
    EXPECT_STREQ(error.what(), "Bad process handle");
  }
}

}  // namespace
