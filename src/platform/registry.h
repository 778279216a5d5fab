// The registry: four roots, keys, typed values, enumeration. Keys are opened with read access
// (writes with full access) and no view flag, so a 32-bit program on 64-bit Windows sees the
// 32-bit view. Key and value names compare without regard to case; "" names the default value.
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
  // Raw bytes as stored; the string types without their final terminator (so a multi-string
  // keeps the terminator of each of its strings).
  std::string data;
};

// The key exists and can be opened for reading.
bool RegistryKeyExists(RegistryRoot root, const std::string& path);
// The value of a key, or nothing when the key or the value is missing.
std::optional<RegistryValue> RegistryReadValue(RegistryRoot root, const std::string& path,
                                               const std::string& name);
// Names of the direct subkeys in registry order; empty when the key is missing.
std::vector<std::string> RegistrySubkeyNames(RegistryRoot root, const std::string& path);

// Creates the key and any missing keys above it; true when the key exists afterwards. created,
// when given, tells whether the key itself was new.
bool RegistryCreateKey(RegistryRoot root, const std::string& path, bool* created = nullptr);
// Sets a value of an existing key; false when the key is missing or cannot be written.
bool RegistryWriteValue(RegistryRoot root, const std::string& path, const std::string& name,
                        const RegistryValue& value);
// False when the key or the value is missing or cannot be changed.
bool RegistryDeleteValue(RegistryRoot root, const std::string& path, const std::string& name);
// Deletes the key with everything below it; false when it is missing or cannot be deleted.
bool RegistryDeleteKey(RegistryRoot root, const std::string& path);

}  // namespace platform
