// Membership of the current user in the built-in groups (Administrators, Power Users).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/system_facts.h"

constexpr uint32_t kRidAdministrators = 544;
constexpr uint32_t kRidPowerUsers = 547;

// True when the user is an enabled member of the built-in group S-1-5-32-rid; always true on
// Windows 95/98/ME, which have no groups.
bool IsUserInGroup(uint32_t rid);
// Administrators, or else Power Users: both may install.
bool HasAdminRights();

// "S-1-5-32-<rid>".
std::string BuiltinGroupSid(uint32_t rid);
// The token-group walk: a group with that identifier that is enabled and not deny-only.
bool MemberByTokenGroups(const std::vector<platform::TokenGroup>& groups, uint32_t rid);
