// How far the file phase reads [Files], and which stored sizes the payload can hold.
#include "install/files_section.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "app/ini_file.h"
#include "support/sandbox.h"

namespace {

class FilesSectionTest : public SandboxTest {
 protected:
  int32_t End(const std::string& files, int32_t filesCount) {
    WriteFile("C:\\setup.ini",
              "[Setup]\r\nFilesCount=1\r\n[Files]\r\n" + files + "[Other]\r\n9=x\r\n");
    IniFile script("C:\\setup.ini");
    return FilesEntriesEnd(script, filesCount);
  }
};

TEST_F(FilesSectionTest, TheLastNumberedKeyBelowTheCountEndsThePhase) {
  struct Case {
    const char* name;
    std::string files;
    int32_t filesCount;
    int32_t end;
  };
  const Case cases[] = {
      {"as many keys as the count", "0=a\r\n1=b\r\n2=c\r\n", 3, 3},
      {"a count far beyond the keys", "0=a\r\n1=b\r\n2=c\r\n", INT32_MAX, 3},
      // Gaps stay inside: the phase skips them as before.
      {"a gap in between", "0=a\r\n5=b\r\n", 100, 6},
      {"keys beyond the count are not read", "0=a\r\n7=b\r\n", 4, 1},
      {"file order does not matter", "3=a\r\n0=b\r\n", 10, 4},
      {"names the lookup would not find", "0=a\r\n007=b\r\nx=c\r\n-1=d\r\n+4=e\r\n", 100, 1},
      {"a number beyond 32 bits", "0=a\r\n99999999999=b\r\n", INT32_MAX, 1},
      {"blanks around a name", "0=a\r\n 12 =b\r\n", 100, 13},
      {"no keys", "", 5, 0},
      {"a count of zero", "0=a\r\n", 0, 0},
      {"a negative count", "0=a\r\n", -3, 0},
  };
  for (const Case& each : cases) {
    SCOPED_TRACE(each.name);
    EXPECT_EQ(End(each.files, each.filesCount), each.end);
  }
}

TEST_F(FilesSectionTest, TwentyThousandEntriesAreAllSeen) {
  // Far beyond the 16 KB a listing of key names holds.
  std::string files;
  for (int i = 0; i < 20000; ++i) files += std::to_string(i) + "=f\r\n";
  EXPECT_EQ(End(files, INT32_MAX), 20000);
}

TEST(PayloadHoldsTest, SizesThatLeaveTheFileOrThe32BitRangeAreRefused) {
  struct Case {
    int32_t position;
    int32_t size;
    int64_t setupSize;
    bool holds;
  };
  const Case cases[] = {
      {1000, 500, 2000, true},
      {1000, 1000, 2000, true},  // up to the last byte
      {1000, 1001, 2000, false},
      {1000, INT32_MAX, 2000, false},
      {1000, INT32_MAX, -1, false},  // the file's size unknown: the range still counts
      {1000, INT32_MAX - 1000, -1, true},
      {INT32_MAX, 1, -1, false},
      {1000, 0, 1000, true},
  };
  for (const Case& each : cases) {
    EXPECT_EQ(PayloadHolds(each.position, each.size, each.setupSize), each.holds)
        << each.position << " + " << each.size << " in " << each.setupSize;
  }
}

}  // namespace
