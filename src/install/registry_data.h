// The text forms of registry data in [Registry] entries, converted to the value that is written.
// Pure conversions: nothing here touches the registry.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/registry.h"

// The type a type word names ("REG_SZ", "REG_EXPAND_SZ", "REG_DWORD", "REG_BINARY", compared
// exactly); nothing for any other word.
std::optional<platform::RegistryValueType> RegistryTypeFromWord(std::string_view word);

// A 32-bit number: a signed decimal integer, or hexadecimal after "$" (all 32 bits may be used).
// Nothing for any other text, the empty text included.
std::optional<uint32_t> ParseRegistryDWord(std::string_view text);

// The bytes of binary data text. While at least two characters remain, they are a pair of hex
// digits giving the next byte, and three characters are consumed: the pair and the separator
// after it, whatever that character is. A single leftover character is ignored. Nothing when a
// pair is not hexadecimal. The result is as long as the data asks for.
std::optional<std::string> ParseRegistryBinary(std::string_view text);

// A REG_DWORD value: the number's four bytes, least significant first.
platform::RegistryValue DWordValue(uint32_t number);

// The value to write for the data text of that type; nothing when the text does not convert.
std::optional<platform::RegistryValue> ConvertRegistryData(platform::RegistryValueType type,
                                                           std::string_view text);
