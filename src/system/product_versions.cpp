#include "system/product_versions.h"

#include <optional>
#include <string_view>

#include "platform/registry.h"
#include "system/decimal_text.h"
#include "system/registry_string.h"

namespace {

constexpr char kDotNetKey[] = "SOFTWARE\\Microsoft\\NET Framework Setup\\NDP";
constexpr char kAcrobatReaderKey[] = "SOFTWARE\\Adobe\\Acrobat Reader";
constexpr char kJavaKey[] = "SOFTWARE\\JavaSoft\\Java Runtime Environment";
constexpr char kInternetExplorerKey[] = "SOFTWARE\\Microsoft\\Internet Explorer";

// The version text of a name, or empty when the name does not qualify.
using VersionOfName = std::string_view (*)(std::string_view name);

std::string_view DotNetVersionOf(std::string_view name) {
  if (name.size() < 4 || (name[0] != 'v' && name[0] != 'V') || name[2] != '.') return {};
  return name.substr(1, 3);
}

std::string_view PlainVersionOf(std::string_view name) {
  if (name.size() < 3 || name[1] != '.') return {};
  return name.substr(0, 3);
}

std::string BestVersion(const std::vector<std::string>& subkeys, VersionOfName versionOf) {
  double best = 0;
  std::string bestText = "0.0";
  for (const std::string& name : subkeys) {
    std::string_view text = versionOf(name);
    if (text.empty()) continue;
    std::optional<double> value = ParseDecimalText(text);
    if (!value || *value <= best) continue;
    best = *value;
    bestText = std::string(text);
  }
  return bestText;
}

// The best subkey version of a product key, or `missing` when the key does not exist or
// cannot be read: a probe answers with a value, never with an error.
std::string ProductVersion(const char* key, const char* missing, VersionOfName versionOf) {
  try {
    if (!platform::RegistryKeyExists(platform::RegistryRoot::LocalMachine, key)) return missing;
    return BestVersion(platform::RegistrySubkeyNames(platform::RegistryRoot::LocalMachine, key),
                       versionOf);
  } catch (...) {
    return missing;
  }
}

}  // namespace

std::string BestDotNetVersion(const std::vector<std::string>& subkeys) {
  return BestVersion(subkeys, DotNetVersionOf);
}

std::string BestPlainVersion(const std::vector<std::string>& subkeys) {
  return BestVersion(subkeys, PlainVersionOf);
}

std::string GetDotNetVersion() { return ProductVersion(kDotNetKey, "0.0", DotNetVersionOf); }

std::string GetAcrobatReaderVersion() {
  return ProductVersion(kAcrobatReaderKey, "5.0", PlainVersionOf);
}

std::string GetJavaVersion() { return ProductVersion(kJavaKey, "1.0", PlainVersionOf); }

std::string GetIEVersion() {
  return ReadMachineString(kInternetExplorerKey, "Version").value_or("");
}
