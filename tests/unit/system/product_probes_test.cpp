// The product probes over the host registry: which keys and values each one reads.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "system/product_versions.h"
#include "system/sql_edition.h"
#include "system/system_host_test.h"

namespace {

constexpr char kDotNetKey[] = "SOFTWARE\\Microsoft\\NET Framework Setup\\NDP";
constexpr char kAcrobatKey[] = "SOFTWARE\\Adobe\\Acrobat Reader";
constexpr char kJavaKey[] = "SOFTWARE\\JavaSoft\\Java Runtime Environment";
constexpr char kIeKey[] = "SOFTWARE\\Microsoft\\Internet Explorer";

class ProductProbeTest : public SystemHostTest {
 protected:
  static void CreateSubkeys(const std::string& key, const std::vector<std::string>& names) {
    CreateMachineKey(key);
    for (const std::string& name : names) CreateMachineKey(key + "\\" + name);
  }
};

TEST_F(ProductProbeTest, DotNetTakesTheHighestVersionSubkey) {
  EXPECT_EQ(GetDotNetVersion(), "0.0");
  CreateMachineKey(kDotNetKey);
  EXPECT_EQ(GetDotNetVersion(), "0.0");
  CreateSubkeys(kDotNetKey, {"v1.1.4322", "v2.0.50727", "v3.5", "v4"});
  EXPECT_EQ(GetDotNetVersion(), "3.5");
  CreateSubkeys(kDotNetKey, {"v4.0"});
  EXPECT_EQ(GetDotNetVersion(), "4.0");
}

TEST_F(ProductProbeTest, DotNetReadsOnlySubkeyNames) {
  SetMachineString(kDotNetKey, "v4.5", "");
  SetMachineString(kDotNetKey + std::string("\\v2.0.50727"), "Version", "9.9");
  EXPECT_EQ(GetDotNetVersion(), "2.0");
}

struct ProductCase {
  std::optional<std::vector<std::string>> subkeys;  // nothing: no product key
  const char* acrobat;
  const char* java;
};

TEST_F(ProductProbeTest, AcrobatAndJavaFallBackWhenTheKeyIsMissing) {
  const ProductCase cases[] = {
      {std::nullopt, "5.0", "1.0"},
      {std::vector<std::string>{}, "0.0", "0.0"},
      {std::vector<std::string>{"10.0"}, "0.0", "0.0"},
      {std::vector<std::string>{"8.0"}, "8.0", "8.0"},
      {std::vector<std::string>{"9.0", "10.0", "7.0"}, "9.0", "9.0"},
      {std::vector<std::string>{"1.4.2_03", "1.6.0_20", "1.5.0"}, "1.6", "1.6"},
      {std::vector<std::string>{"v1.6", "Plugins"}, "0.0", "0.0"},
  };
  for (const ProductCase& c : cases) {
    SCOPED_TRACE(c.subkeys ? ::testing::PrintToString(*c.subkeys) : "no key");
    host::ResetRegistry();
    if (c.subkeys) {
      CreateSubkeys(kAcrobatKey, *c.subkeys);
      CreateSubkeys(kJavaKey, *c.subkeys);
    }
    EXPECT_EQ(GetAcrobatReaderVersion(), c.acrobat);
    EXPECT_EQ(GetJavaVersion(), c.java);
  }
}

TEST_F(ProductProbeTest, EachProductReadsItsOwnKey) {
  CreateSubkeys(kAcrobatKey, {"9.0"});
  EXPECT_EQ(GetAcrobatReaderVersion(), "9.0");
  EXPECT_EQ(GetJavaVersion(), "1.0");
  EXPECT_EQ(GetDotNetVersion(), "0.0");
  CreateSubkeys(kJavaKey, {"1.6"});
  EXPECT_EQ(GetJavaVersion(), "1.6");
  EXPECT_EQ(GetAcrobatReaderVersion(), "9.0");
}

TEST_F(ProductProbeTest, InternetExplorerVersionIsTheValueWhole) {
  EXPECT_EQ(GetIEVersion(), "8.0.7601.17514");
  SetMachineString(kIeKey, "Version", "9.11.9600.18231");
  EXPECT_EQ(GetIEVersion(), "9.11.9600.18231");
  ASSERT_TRUE(host::RegistrySetValue(platform::RegistryRoot::LocalMachine, kIeKey, "Version",
                                     host::RegistryDWord(8)));
  EXPECT_EQ(GetIEVersion(), "");
  Import("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Internet Explorer]\n\"Version\"=-\n");
  EXPECT_EQ(GetIEVersion(), "");
  Import("[-HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Internet Explorer]\n");
  EXPECT_EQ(GetIEVersion(), "");
}

constexpr char kCompactKey[] =
    "SOFTWARE\\Microsoft\\Microsoft SQL Server Compact Edition\\v3.5\\ENU";
constexpr char kClient90Key[] =
    "SOFTWARE\\Microsoft\\Microsoft SQL Server\\90\\Tools\\ClientSetup\\CurrentVersion";
constexpr char kExpressKey[] =
    "SOFTWARE\\Microsoft\\Microsoft SQL Server\\SQLEXPRESS\\MSSQLServer\\CurrentVersion";
constexpr char kServer2008Key[] =
    "SOFTWARE\\Microsoft\\Microsoft SQL Server\\SQLSERVER2008\\MSSQLServer\\CurrentVersion";

struct SqlCase {
  const char* description;
  bool compact;
  bool client90;
  std::optional<std::string> express;  // CurrentVersion; "-" : key without the value
  std::optional<std::string> server2008;
  const char* edition;
};

const SqlCase kSqlCases[] = {
    {"nothing", false, false, std::nullopt, std::nullopt, "2000 Compact"},
    {"compact", true, false, std::nullopt, std::nullopt, "2005 Compact"},
    {"compact and client 90", true, true, std::nullopt, std::nullopt, "2005 Express"},
    {"client 90", false, true, std::nullopt, std::nullopt, "2005 Express"},
    {"express 10", false, false, "10.0.1600.22", std::nullopt, "2008 Express"},
    {"express 10.50", true, true, "10.50.1600.1", std::nullopt, "2008 Express"},
    {"express 9, server 10", false, false, "9.00.1399.06", "10.0.1600.22", "2008 Express"},
    {"express 9", true, false, "9.00.1399.06", std::nullopt, "2005 Compact"},
    {"express 1", false, false, "1", std::nullopt, "2000 Compact"},
    {"express 11", false, true, "11.0.2100.60", std::nullopt, "2005 Express"},
    {"express without value", false, true, "-", std::nullopt, "2005 Express"},
    {"server 10", false, false, std::nullopt, "10.0", "2008 Express"},
    {"server 9", true, false, std::nullopt, "9.0", "2005 Compact"},
};

class SqlProbeTest : public SystemHostTest {};

TEST_F(SqlProbeTest, LastHitWins) {
  for (const SqlCase& c : kSqlCases) {
    SCOPED_TRACE(c.description);
    host::ResetRegistry();
    if (c.compact) CreateMachineKey(kCompactKey);
    if (c.client90) CreateMachineKey(kClient90Key);
    for (auto [key, value] :
         {std::pair{kExpressKey, c.express}, std::pair{kServer2008Key, c.server2008}}) {
      if (!value) continue;
      CreateMachineKey(key);
      if (*value != "-") SetMachineString(key, "CurrentVersion", *value);
    }
    EXPECT_EQ(GetSQLServerEdition(), c.edition);
  }
}

TEST_F(SqlProbeTest, VersionMustBeText) {
  CreateMachineKey(kCompactKey);
  ASSERT_TRUE(host::RegistrySetValue(platform::RegistryRoot::LocalMachine, kExpressKey,
                                     "CurrentVersion", host::RegistryDWord(10)));
  EXPECT_EQ(GetSQLServerEdition(), "2005 Compact");
  SetMachineString(kExpressKey, "CurrentVersion", "10");
  EXPECT_EQ(GetSQLServerEdition(), "2008 Express");
}

}  // namespace
