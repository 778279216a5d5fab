#include "platform/sid_text.h"

#include "platform/number_text.h"

namespace platform {

std::string SidText(const uint8_t* sid, size_t size) {
  if (!sid || size < 8 || sid[0] != 1) return "";
  size_t count = sid[1];
  if (size < 8 + 4 * count) return "";
  uint64_t authority = 0;
  for (int i = 2; i < 8; ++i) authority = authority << 8 | sid[i];
  // Authorities that do not fit 32 bits are written in hex, as Windows does.
  std::string text =
      "S-1-" + (authority >> 32 ? "0x" + HexText(authority, 12) : DecimalText(authority));
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* p = sid + 8 + 4 * i;
    uint32_t value = p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
    text += "-" + DecimalText(value);
  }
  return text;
}

}  // namespace platform
