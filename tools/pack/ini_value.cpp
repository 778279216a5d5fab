#include "pack/ini_value.h"

#include <algorithm>
#include <cctype>
#include <limits>

namespace pack {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f' || c == '\x1a';
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Digits in `base` up to the end; nothing when there are none or the value leaves 32 bits.
std::optional<int64_t> Digits(std::string_view text, int base, bool negative) {
  if (text.empty()) return std::nullopt;
  int64_t value = 0;
  for (char c : text) {
    const int digit = HexDigit(c);
    if (digit < 0 || digit >= base) return std::nullopt;
    value = value * base + digit;
    if (value > 0xFFFFFFFFll) return std::nullopt;
  }
  // Hexadecimal text may spell the bit pattern of a negative number ($FFFFFFFF is -1).
  if (base == 16 && value > std::numeric_limits<int32_t>::max()) value -= 0x100000000ll;
  if (negative) value = -value;
  if (value > std::numeric_limits<int32_t>::max() || value < std::numeric_limits<int32_t>::min())
    return std::nullopt;
  return value;
}

}  // namespace

std::string IniValue(std::string_view raw) {
  size_t begin = 0;
  size_t end = raw.size();
  while (begin < end && IsBlank(raw[begin])) ++begin;
  while (end > begin && IsBlank(raw[end - 1])) --end;
  if (end - begin >= 2 && (raw[begin] == '"' || raw[begin] == '\'') && raw[end - 1] == raw[begin]) {
    ++begin;
    --end;
  }
  return std::string(raw.substr(begin, end - begin));
}

std::optional<int64_t> IniInteger(std::string_view text) {
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    return Digits(text.substr(2), 16, false);
  }
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  if (i < text.size() && text[i] == '$') return Digits(text.substr(i + 1), 16, negative);
  return Digits(text.substr(i), 10, negative);
}

bool IniBool(std::string_view text, bool fallback) {
  const std::optional<int64_t> value = IniInteger(text);
  return value ? *value != 0 : fallback;
}

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

}  // namespace pack
