// The run's temporary folder: digits that do not follow the clock, names in use skipped without
// touching them, and a usable parent folder when the system's temporary path is too long.
#include "app/temp_folder.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <functional>
#include <set>
#include <string>

#include "app/run_state.h"
#include "platform/file_system.h"
#include "platform/folders.h"
#include "platform/host/host_control.h"
#include "platform/process.h"
#include "support/sandbox.h"

namespace {

constexpr const char* kTemp = "C:\\Users\\setup\\Temp";

std::string Digits(TempFolderNames names) {
  return names.Next(kTemp).substr(std::strlen(kTemp) + 6);
}

// Runs started one millisecond after another, in one process after another, or in the same
// millisecond: each of the three digits takes every value about equally often.
TEST(TempFolderNamesTest, DigitsAreSpreadWhateverMovesLittle) {
  struct Series {
    const char* name;
    std::function<TempFolderNames(int)> run;
  };
  const Series series[] = {
      {"clock one millisecond apart", [](int i) { return TempFolderNames(5000000 + i, 4242, 77); }},
      {"clock apart, counter with it",
       [](int i) { return TempFolderNames(5000000 + i, 4242, (5000000ULL + i) * 1000000); }},
      {"process ids apart", [](int i) { return TempFolderNames(5000000, 1000 + 4 * i, 77); }},
      {"counter apart", [](int i) { return TempFolderNames(5000000, 4242, 77 + i); }},
  };
  constexpr int kRuns = 2000;
  for (const Series& each : series) {
    SCOPED_TRACE(each.name);
    std::array<std::array<int, 10>, 3> counts = {};
    int sameFirstAsBefore = 0;
    char previousFirst = 0;
    for (int i = 0; i < kRuns; ++i) {
      std::string digits = Digits(each.run(i));
      ASSERT_EQ(digits.size(), 3u);
      for (int position = 0; position < 3; ++position) ++counts[position][digits[position] - '0'];
      if (digits[0] == previousFirst) ++sameFirstAsBefore;
      previousFirst = digits[0];
    }
    // 200 expected for each digit; 120 and 280 lie more than five standard deviations away.
    for (int position = 0; position < 3; ++position)
      for (int digit = 0; digit < 10; ++digit) {
        EXPECT_GT(counts[position][digit], 120) << "position " << position << " digit " << digit;
        EXPECT_LT(counts[position][digit], 280) << "position " << position << " digit " << digit;
      }
    // The clock-seeded generator kept its first digit for seconds: about one run in ten here.
    EXPECT_LT(sameFirstAsBefore, kRuns / 5);
  }
}

TEST(TempFolderNamesTest, FurtherDrawsGiveFurtherNames) {
  TempFolderNames names(1, 2, 3);
  std::set<std::string> drawn;
  for (int i = 0; i < 50; ++i) drawn.insert(names.Next(kTemp));
  EXPECT_GT(drawn.size(), 40u);
  EXPECT_EQ(TempFolderNames(1, 2, 3).Next(kTemp), TempFolderNames(1, 2, 3).Next(kTemp));
  EXPECT_EQ(TempFolderNames(1, 2, 3).Next(kTemp).rfind("C:\\Users\\setup\\Temp\\VQTMP", 0), 0u);
}

class TempFolderTest : public SandboxTest {
 protected:
  void SetUp() override {
    SandboxTest::SetUp();
    ASSERT_TRUE(platform::ForceFolders(kTemp));
    ::Run().TempFolder.clear();
    ::Run().TempFolderCreated = false;
  }
  void TearDown() override {
    ::Run().TempFolder.clear();
    ::Run().TempFolderCreated = false;
    host::SetTempFolder(savedTemp_);
    SandboxTest::TearDown();
  }
  // The first names the generator draws.
  std::vector<std::string> Drawn(int count) {
    TempFolderNames names(11, 22, 33);
    std::vector<std::string> drawn;
    for (int i = 0; i < count; ++i) drawn.push_back(names.Next(kTemp));
    return drawn;
  }
  std::string savedTemp_ = platform::TempFolder();
};

TEST_F(TempFolderTest, NamesInUseAreSkippedAndLeftAsTheyAre) {
  std::vector<std::string> drawn = Drawn(kTempFolderAttempts);
  // A leftover folder of an earlier run under the first two names.
  for (int i = 0; i < 2; ++i) WriteFile(drawn[i] + "\\setup.ini", "leftover " + std::to_string(i));
  TempFolderNames names(11, 22, 33);
  ASSERT_TRUE(CreateTempFolder(names, kTemp));
  // drawn[2] may repeat one of the first two; then a later name is taken.
  EXPECT_TRUE(::Run().TempFolderCreated);
  EXPECT_NE(::Run().TempFolder, drawn[0]);
  EXPECT_NE(::Run().TempFolder, drawn[1]);
  EXPECT_TRUE(platform::FolderExists(::Run().TempFolder));
  DeleteTempFolder();
  for (int i = 0; i < 2; ++i)
    EXPECT_EQ(ReadFile(drawn[i] + "\\setup.ini"), "leftover " + std::to_string(i));
}

TEST_F(TempFolderTest, EveryNameInUseFailsWithoutTouchingAny) {
  for (const std::string& name : Drawn(kTempFolderAttempts)) WriteFile(name + "\\mine", "kept");
  TempFolderNames names(11, 22, 33);
  EXPECT_FALSE(CreateTempFolder(names, kTemp));
  EXPECT_FALSE(::Run().TempFolderCreated);
  DeleteTempFolder();
  for (const std::string& name : Drawn(kTempFolderAttempts))
    EXPECT_EQ(ReadFile(name + "\\mine"), "kept");
}

TEST_F(TempFolderTest, AMissingParentIsNotTriedAgainAndAgain) {
  TempFolderNames names(11, 22, 33);
  EXPECT_FALSE(CreateTempFolder(names, "C:\\Nowhere"));
  EXPECT_EQ(::Run().TempFolder, Drawn(1)[0].replace(0, std::strlen(kTemp), "C:\\Nowhere"));
}

// GetTempPathA fails for a path longer than MAX_PATH, and a folder too deep for the ANSI folder
// functions cannot take the run's folder: the Windows folder's Temp serves, or nothing does.
TEST_F(TempFolderTest, ATemporaryPathTooLongFallsBackToTheWindowsTemp) {
  const std::string deep = "C:\\Users\\setup\\" + std::string(240, 'd') + "\\";
  struct Case {
    const char* name;
    std::string temp;
    bool windowsTemp;
    std::string expected;
  };
  const Case cases[] = {
      {"ordinary", "C:\\Users\\setup\\Temp\\", true, "C:\\Users\\setup\\Temp"},
      {"longer than MAX_PATH", "C:\\Users\\setup\\" + std::string(300, 'x') + "\\", true,
       "C:\\Windows\\Temp"},
      {"too deep for the run's folder", deep, true, "C:\\Windows\\Temp"},
      {"no Windows Temp either", deep, false, ""},
      {"just short enough", "C:\\" + std::string(233, 'e') + "\\", false,
       "C:\\" + std::string(233, 'e')},
  };
  for (const Case& each : cases) {
    SCOPED_TRACE(each.name);
    host::SetTempFolder(each.temp);
    if (each.windowsTemp)
      ASSERT_TRUE(platform::ForceFolders("C:\\Windows\\Temp"));
    else
      platform::FolderRemove("C:\\Windows\\Temp");
    EXPECT_EQ(UserTempDir(), each.expected);
  }
}

}  // namespace
