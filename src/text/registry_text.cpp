#include "text/registry_text.h"

#include <optional>

std::string RegistryValueAsString(const platform::RegistryValue& value) {
  if (value.data.empty()) return std::string();
  if (value.type != platform::RegistryValueType::String &&
      value.type != platform::RegistryValueType::ExpandString)
    throw RegistryTypeError("registry value is not a string");
  return value.data.substr(0, value.data.find('\0'));
}

int32_t RegistryValueAsInteger(const platform::RegistryValue& value) {
  if (value.type != platform::RegistryValueType::DWord || value.data.size() > 4)
    throw RegistryTypeError("registry value is not an integer");
  uint32_t bits = 0;
  for (size_t i = 0; i < value.data.size(); ++i)
    bits |= static_cast<uint32_t>(static_cast<unsigned char>(value.data[i])) << (8 * i);
  return static_cast<int32_t>(bits);
}

std::string ReadRegistryString(platform::RegistryRoot root, const std::string& key,
                               const std::string& name) {
  std::optional<platform::RegistryValue> value = platform::RegistryReadValue(root, key, name);
  return value ? RegistryValueAsString(*value) : std::string();
}
