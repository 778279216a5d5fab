// The registry: four roots, keys, typed values, enumeration. Keys are opened with read access
// and no view flag, so a 32-bit program on 64-bit Windows sees the 32-bit view.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform {

enum class RegistryRoot { ClassesRoot, CurrentUser, LocalMachine, Users };

enum class RegistryValueType : uint32_t {
  None = 0,
  String = 1,        // REG_SZ
  ExpandString = 2,  // REG_EXPAND_SZ
  Binary = 3,        // REG_BINARY
  DWord = 4,         // REG_DWORD
  MultiString = 7,   // REG_MULTI_SZ
};

struct RegistryValue {
  RegistryValueType type = RegistryValueType::None;
  std::string data;  // raw bytes as stored (strings without their terminator)
};

// The key exists and can be opened for reading.
bool RegistryKeyExists(RegistryRoot root, const std::string& path);
// The value of a key, or nothing when the key or the value is missing.
std::optional<RegistryValue> RegistryReadValue(RegistryRoot root, const std::string& path,
                                               const std::string& name);
// Names of the direct subkeys in registry order; empty when the key is missing.
std::vector<std::string> RegistrySubkeyNames(RegistryRoot root, const std::string& path);

}  // namespace platform
