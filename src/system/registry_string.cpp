#include "system/registry_string.h"

std::optional<std::string> TextOfValue(const std::optional<platform::RegistryValue>& value) {
  if (!value) return std::nullopt;
  if (value->type != platform::RegistryValueType::String &&
      value->type != platform::RegistryValueType::ExpandString)
    return std::nullopt;
  return value->data.substr(0, value->data.find('\0'));
}

std::optional<std::string> ReadMachineString(const std::string& path, const std::string& name) {
  return TextOfValue(platform::RegistryReadValue(platform::RegistryRoot::LocalMachine, path, name));
}
