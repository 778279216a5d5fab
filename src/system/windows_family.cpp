#include "system/windows_family.h"

#include "system/os_info.h"

namespace {

constexpr uint32_t kPlatformNt = 2;

}  // namespace

bool FamilyNeedsWow64Answer(const platform::VersionRecord& version) {
  return version.major == 5 && version.minor == 2;
}

std::string FamilyFromVersion(const platform::VersionRecord& version, bool is64) {
  switch (version.major) {
    case 4:
      if (version.minor == 0) return version.platformId == kPlatformNt ? "WinNT" : "Win9x";
      if (version.minor == 10 || version.minor == 90) return "Win9x";
      return "WinUnknow";
    case 5:
      if (version.minor == 0) return "Win2000";
      if (version.minor == 1) return "WinXP";
      if (version.minor == 2) return is64 ? "WinXP" : "WinSrv2003";
      return "WinUnknow";
    case 6:
      if (version.minor == 0) return "WinVista";
      if (version.minor == 1) return "Win7";
      // Later systems report 6.2 to programs without a manifest entry for them.
      return "WinUnknow";
    case 7:
      return "Win7";
    default:
      return "WinUnknow";
  }
}

std::string GetWindowsFamily() {
  std::optional<platform::VersionRecord> version = platform::QueryVersion();
  if (!version) return "WinUnknow";
  bool is64 = FamilyNeedsWow64Answer(*version) && TOSInfo::Is64BitWindows();
  return FamilyFromVersion(*version, is64);
}
