#include "system/requirements_rules.h"

#include <cstdint>

#include "app/ini_integer.h"

namespace {

// The first and third characters as a number ("2.0" gives 20, "6.0.2900" gives 60), read with
// the same integer conversion as the script's numbers.
bool VersionNumber(const std::string& version, int32_t& number) {
  const char digits[2] = {version[0], version[2]};
  return ParseIniInteger(std::string_view(digits, 2), number);
}

struct FamilyFragment {
  const char* key;
  const char* fragment;
};

constexpr FamilyFragment kFamilyFragments[] = {
    {"Win9x", "95/98/ME/"},         {"WinNT", "NT/"},       {"Win2000", "2000/"}, {"WinXP", "XP/"},
    {"WinSrv2003", "Server 2003/"}, {"WinVista", "Vista/"}, {"Win7", "7/"},
};

}  // namespace

bool VersionAtLeast(const std::string& installed, const std::string& required) {
  if (installed.size() < 3 || required.size() < 3) return true;
  int32_t have = 0;
  int32_t need = 0;
  if (!VersionNumber(installed, have) || !VersionNumber(required, need)) return false;
  return have >= need;
}

bool SqlEditionAtLeast(const std::string& installed, const std::string& required) {
  return installed.substr(0, 4) >= required.substr(0, 4);
}

std::string AllowedFamilyList(const std::function<bool(const std::string& key)>& allowed) {
  std::string list;
  for (const FamilyFragment& row : kFamilyFragments)
    if (allowed(row.key)) list += row.fragment;
  if (!list.empty() && list.back() == '/') list.pop_back();
  return list;
}
