#include "system/requirements_rules.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

struct VersionCase {
  const char* installed;
  const char* required;
  bool met;
};

const VersionCase kVersionCases[] = {
    // Major digit and first digit after the point.
    {"3.5", "3.0", true},
    {"3.0", "3.5", false},
    {"3.9", "4.0", false},
    {"4.0", "3.9", true},
    {"2.0.50727", "2.0", true},
    {"2.0", "2.0.50727", true},
    {"6.0.2900.2180", "6.0", true},
    {"6.0.2900.2180", "7.0", false},
    {"8.0.6001.18702", "7.0", true},
    // Further digits do not count.
    {"3.55", "3.59", true},
    // Shorter than three characters: always met, either side.
    {"", "9.9", true},
    {"9.9", "", true},
    {"8", "9.0", true},
    {"1.6", "8", true},
    {"1.", "9.9", true},
    // A two-digit major puts the point in third place: never converts.
    {"10.0", "9.0", false},
    {"9.0", "10.0", false},
    {"10.0", "10.0", false},
    // Letters do not convert.
    {"a.b", "1.0", false},
    {"1.0", "x.y", false},
    {"v2.0", "1.0", false},
};

TEST(VersionAtLeastTest, ComparesMajorAndFirstMinorDigit) {
  for (const VersionCase& c : kVersionCases) {
    SCOPED_TRACE(std::string(c.installed) + " vs " + c.required);
    EXPECT_EQ(VersionAtLeast(c.installed, c.required), c.met);
  }
}

struct SqlCase {
  const char* installed;
  const char* required;
  bool met;
};

const SqlCase kSqlCases[] = {
    {"2000 Compact", "2000", true},
    {"2005 Compact", "2000", true},
    {"2005 Express", "2008", false},
    {"2008 Express", "2008", true},
    {"2008 Express", "2005", true},
    {"2008 Express", "2008 R2", true},  // only four characters count
    {"2000 Compact", "20", true},       // a prefix is smaller
    {"2000 Compact", "20000", true},
    {"2000 Compact", "", true},
    {"2005 Express", "2005x", true},
    {"2005 Express", "3", false},
    {"2008 Express", "a", false},  // by character codes: '2' < 'a'
};

TEST(SqlEditionAtLeastTest, ComparesTheYearAsText) {
  for (const SqlCase& c : kSqlCases) {
    SCOPED_TRACE(std::string(c.installed) + " vs " + c.required);
    EXPECT_EQ(SqlEditionAtLeast(c.installed, c.required), c.met);
  }
}

TEST(SqlEditionAtLeastTest, ComparesBytesAboveAsciiAsLarger) {
  EXPECT_FALSE(SqlEditionAtLeast("2008", "\xE9"));
  EXPECT_TRUE(SqlEditionAtLeast("\xE9", "2008"));
}

struct FamilyListCase {
  std::map<std::string, bool> keys;  // absent keys are on
  const char* list;
};

const FamilyListCase kFamilyListCases[] = {
    {{}, "95/98/ME/NT/2000/XP/Server 2003/Vista/7"},
    {{{"WinXP", false}}, "95/98/ME/NT/2000/Server 2003/Vista/7"},
    {{{"Win7", false}}, "95/98/ME/NT/2000/XP/Server 2003/Vista"},
    {{{"Win9x", true},
      {"WinNT", false},
      {"Win2000", false},
      {"WinXP", false},
      {"WinSrv2003", false},
      {"WinVista", false},
      {"Win7", false}},
     "95/98/ME"},
    {{{"Win9x", false},
      {"WinNT", false},
      {"Win2000", false},
      {"WinXP", false},
      {"WinSrv2003", false},
      {"WinVista", false},
      {"Win7", false}},
     ""},
    {{{"Win9x", false}, {"WinNT", false}, {"WinSrv2003", false}}, "2000/XP/Vista/7"},
    // The current family's own key plays no part beyond its row.
    {{{"WinUnknow", false}}, "95/98/ME/NT/2000/XP/Server 2003/Vista/7"},
};

TEST(AllowedFamilyListTest, JoinsTheAllowedFragmentsInTableOrder) {
  for (const FamilyListCase& c : kFamilyListCases) {
    SCOPED_TRACE(c.list);
    std::vector<std::string> asked;
    auto allowed = [&](const std::string& key) {
      asked.push_back(key);
      auto found = c.keys.find(key);
      return found == c.keys.end() || found->second;
    };
    EXPECT_EQ(AllowedFamilyList(allowed), c.list);
    EXPECT_EQ(asked, (std::vector<std::string>{"Win9x", "WinNT", "Win2000", "WinXP", "WinSrv2003",
                                               "WinVista", "Win7"}));
  }
}

}  // namespace
