// The registered owner and organisation, for the user-information page.
#pragma once

#include <cstdint>
#include <string>

// kind "user": the registered owner; "company": the organisation (compared case-sensitively).
// Empty for any other kind, a missing key or a missing value.
std::string GetRegisteredUserInfo(const std::string& kind);

// The key that holds them: the NT key on platform 2, the Windows 95/98/ME key otherwise.
std::string RegisteredUserKey(uint32_t platformId);
// The value name for a kind; empty for an unknown kind.
std::string RegisteredUserValueName(const std::string& kind);
