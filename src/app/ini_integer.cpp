#include "app/ini_integer.h"

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Hex digits only, at least one, value at most 32 bits (leading zeros do not count).
bool ParseHexDigits(std::string_view digits, uint32_t& value) {
  if (digits.empty()) return false;
  uint32_t v = 0;
  for (char c : digits) {
    int d = HexDigit(c);
    if (d < 0 || v > 0x0FFFFFFFu) return false;
    v = (v << 4) | static_cast<uint32_t>(d);
  }
  value = v;
  return true;
}

bool ParseDecimalDigits(std::string_view digits, bool negative, uint32_t& value) {
  if (digits.empty()) return false;
  // One more on the negative side: -2147483648 is an integer.
  const uint64_t limit = negative ? 0x80000000u : 0x7FFFFFFFu;
  uint64_t v = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + static_cast<uint64_t>(c - '0');
    if (v > limit) return false;
  }
  value = static_cast<uint32_t>(v);
  return true;
}

}  // namespace

bool ParseIniInteger(std::string_view text, int32_t& result) {
  uint32_t value = 0;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    if (!ParseHexDigits(text.substr(2), value)) return false;
    result = static_cast<int32_t>(value);
    return true;
  }
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  bool ok = (i < text.size() && text[i] == '$')
                ? ParseHexDigits(text.substr(i + 1), value)
                : ParseDecimalDigits(text.substr(i), negative, value);
  if (!ok) return false;
  // Unsigned arithmetic: negating 0x80000000 or a wrapped hex value must not overflow.
  if (negative) value = 0u - value;
  result = static_cast<int32_t>(value);
  return true;
}
