#include "platform/number_text.h"

namespace {

std::string Digits(uint64_t value, unsigned base, int width) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text;
  do {
    text.insert(text.begin(), kDigits[value % base]);
    value /= base;
  } while (value != 0);
  if (static_cast<int>(text.size()) < width)
    text.insert(0, static_cast<size_t>(width) - text.size(), '0');
  return text;
}

}  // namespace

std::string HexText(uint64_t value, int width) { return Digits(value, 16, width); }
std::string DecimalText(uint64_t value, int width) { return Digits(value, 10, width); }
