// Registry values read the way the variables need them: strings only from string values,
// integers only from DWORD values, anything else an error the caller decides about.
#pragma once

#include <cstdint>
#include <string>

#include "platform/registry.h"
#include "platform/setup_error.h"

// A value exists but has a type the reader cannot take.
class RegistryTypeError : public ESetupError {
 public:
  using ESetupError::ESetupError;
};

// The text of a REG_SZ or REG_EXPAND_SZ value, up to its first NUL. A value without data reads
// as empty whatever its type; other types throw RegistryTypeError.
std::string RegistryValueAsString(const platform::RegistryValue& value);
// A REG_DWORD value as a signed 32-bit number (little-endian, shorter data zero-extended).
// Other types and data longer than four bytes throw RegistryTypeError.
int32_t RegistryValueAsInteger(const platform::RegistryValue& value);

// The string value, or empty when the key or the value is missing. Throws RegistryTypeError as
// RegistryValueAsString does.
std::string ReadRegistryString(platform::RegistryRoot root, const std::string& key,
                               const std::string& name);
