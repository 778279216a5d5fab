#include "system/sql_edition.h"

#include <optional>

#include "platform/registry.h"
#include "system/registry_string.h"

namespace {

constexpr char kCompactKey[] =
    "SOFTWARE\\Microsoft\\Microsoft SQL Server Compact Edition\\v3.5\\ENU";
constexpr char kClient90Key[] =
    "SOFTWARE\\Microsoft\\Microsoft SQL Server\\90\\Tools\\ClientSetup\\CurrentVersion";
constexpr char kExpressKey[] =
    "SOFTWARE\\Microsoft\\Microsoft SQL Server\\SQLEXPRESS\\MSSQLServer\\CurrentVersion";
constexpr char kServer2008Key[] =
    "SOFTWARE\\Microsoft\\Microsoft SQL Server\\SQLSERVER2008\\MSSQLServer\\CurrentVersion";

bool KeyExists(const char* path) {
  return platform::RegistryKeyExists(platform::RegistryRoot::LocalMachine, path);
}

// An instance of version 10 (SQL Server 2008) lives under this key.
bool HoldsVersion10(const char* path) {
  if (!KeyExists(path)) return false;
  std::optional<std::string> version = ReadMachineString(path, "CurrentVersion");
  return version && version->substr(0, 2) == "10";
}

}  // namespace

std::string GetSQLServerEdition() {
  std::string edition = "2000 Compact";
  if (KeyExists(kCompactKey)) edition = "2005 Compact";
  if (KeyExists(kClient90Key)) edition = "2005 Express";
  if (HoldsVersion10(kExpressKey)) edition = "2008 Express";
  if (HoldsVersion10(kServer2008Key)) edition = "2008 Express";
  return edition;
}
