#include "system/group_membership.h"

#include <optional>

namespace {

constexpr uint32_t kPlatformNt = 2;
constexpr uint32_t kGroupEnabled = 0x04;
constexpr uint32_t kGroupUseForDenyOnly = 0x10;

}  // namespace

std::string BuiltinGroupSid(uint32_t rid) { return "S-1-5-32-" + std::to_string(rid); }

bool MemberByTokenGroups(const std::vector<platform::TokenGroup>& groups, uint32_t rid) {
  const std::string sid = BuiltinGroupSid(rid);
  for (const platform::TokenGroup& group : groups) {
    if (group.sid != sid) continue;
    if ((group.attributes & (kGroupEnabled | kGroupUseForDenyOnly)) == kGroupEnabled) return true;
  }
  return false;
}

bool IsUserInGroup(uint32_t rid) {
  std::optional<platform::VersionRecord> version = platform::QueryVersion();
  if (!version || version->platformId != kPlatformNt) return true;
  // CheckTokenMembership exists from Windows 2000 on; NT 4 walks the token's groups.
  if ((version->major & 0xFF) >= 5) {
    switch (platform::CheckTokenMembership(rid)) {
      case platform::MembershipAnswer::Yes:
        return true;
      case platform::MembershipAnswer::No:
      case platform::MembershipAnswer::Failed:
        return false;
      case platform::MembershipAnswer::Unavailable:
        break;
    }
  }
  std::optional<std::vector<platform::TokenGroup>> groups = platform::QueryTokenGroups();
  return groups && MemberByTokenGroups(*groups, rid);
}

bool HasAdminRights() { return IsUserInGroup(kRidAdministrators) || IsUserInGroup(kRidPowerUsers); }
