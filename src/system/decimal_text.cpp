#include "system/decimal_text.h"

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::optional<double> ParseDecimalText(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  double value = 0;
  bool anyDigit = false;
  for (; i < text.size() && IsDigit(text[i]); ++i) {
    value = value * 10 + (text[i] - '0');
    anyDigit = true;
  }
  if (i < text.size() && text[i] == '.') {
    ++i;
    double scale = 1;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
      scale /= 10;
      value += (text[i] - '0') * scale;
      anyDigit = true;
    }
  }
  while (i < text.size() && text[i] == ' ') ++i;
  if (!anyDigit || i != text.size()) return std::nullopt;
  return negative ? -value : value;
}
