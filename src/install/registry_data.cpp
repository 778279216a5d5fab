#include "install/registry_data.h"

#include <cstdint>
#include <utility>

#include "app/ini_integer.h"

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

platform::RegistryValue DWordValue(uint32_t number) {
  std::string bytes(4, '\0');
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>((number >> (8 * i)) & 0xFF);
  return {platform::RegistryValueType::DWord, bytes};
}

std::optional<platform::RegistryValueType> RegistryTypeFromWord(std::string_view word) {
  using platform::RegistryValueType;
  if (word == "REG_SZ") return RegistryValueType::String;
  if (word == "REG_EXPAND_SZ") return RegistryValueType::ExpandString;
  if (word == "REG_DWORD") return RegistryValueType::DWord;
  if (word == "REG_BINARY") return RegistryValueType::Binary;
  return std::nullopt;
}

// The setup script's integer reading is the same rule: decimal within 32 signed bits, or
// "$" and up to eight hex digits.
std::optional<uint32_t> ParseRegistryDWord(std::string_view text) {
  int32_t number = 0;
  if (!ParseIniInteger(text, number)) return std::nullopt;
  return static_cast<uint32_t>(number);
}

std::optional<std::string> ParseRegistryBinary(std::string_view text) {
  std::string bytes;
  bytes.reserve(text.size() / 3 + 1);
  // The step of three also skips the character after a pair that has no separator; a final
  // pair needs none.
  for (size_t at = 0; at + 2 <= text.size(); at += 3) {
    int high = HexDigit(text[at]);
    int low = HexDigit(text[at + 1]);
    if (high < 0 || low < 0) return std::nullopt;
    bytes += static_cast<char>(high * 16 + low);
  }
  return bytes;
}

std::optional<platform::RegistryValue> ConvertRegistryData(platform::RegistryValueType type,
                                                           std::string_view text) {
  using platform::RegistryValueType;
  switch (type) {
    case RegistryValueType::DWord: {
      std::optional<uint32_t> number = ParseRegistryDWord(text);
      if (!number) return std::nullopt;
      return DWordValue(*number);
    }
    case RegistryValueType::Binary: {
      std::optional<std::string> bytes = ParseRegistryBinary(text);
      if (!bytes) return std::nullopt;
      return platform::RegistryValue{type, std::move(*bytes)};
    }
    default:
      return platform::RegistryValue{type, std::string(text)};
  }
}
