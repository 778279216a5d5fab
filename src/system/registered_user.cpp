#include "system/registered_user.h"

#include <optional>

#include "platform/system_facts.h"
#include "system/registry_string.h"

std::string RegisteredUserKey(uint32_t platformId) {
  const char* middle = platformId == 2 ? "\\Windows NT\\" : "\\Windows\\";
  return std::string("SOFTWARE\\Microsoft") + middle + "CurrentVersion";
}

std::string RegisteredUserValueName(const std::string& kind) {
  if (kind == "user") return "RegisteredOwner";
  if (kind == "company") return "RegisteredOrganization";
  return "";
}

std::string GetRegisteredUserInfo(const std::string& kind) {
  std::optional<platform::VersionRecord> version = platform::QueryVersion();
  std::string key = RegisteredUserKey(version ? version->platformId : 0);
  std::string name = RegisteredUserValueName(kind);
  if (name.empty()) return "";
  return ReadMachineString(key, name).value_or("");
}
