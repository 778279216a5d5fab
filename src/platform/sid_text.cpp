#include "platform/sid_text.h"

#include <cstdio>

namespace platform {

std::string SidText(const uint8_t* sid, size_t size) {
  if (!sid || size < 8 || sid[0] != 1) return "";
  size_t count = sid[1];
  if (size < 8 + 4 * count) return "";
  uint64_t authority = 0;
  for (int i = 2; i < 8; ++i) authority = authority << 8 | sid[i];
  char number[24];
  // Authorities that do not fit 32 bits are written in hex, as Windows does.
  if (authority >> 32)
    std::snprintf(number, sizeof number, "0x%04lX%08lX",
                  static_cast<unsigned long>(authority >> 32),
                  static_cast<unsigned long>(authority & 0xFFFFFFFF));
  else
    std::snprintf(number, sizeof number, "%lu", static_cast<unsigned long>(authority));
  std::string text = std::string("S-1-") + number;
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* p = sid + 8 + 4 * i;
    uint32_t value = p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
    std::snprintf(number, sizeof number, "-%lu", static_cast<unsigned long>(value));
    text += number;
  }
  return text;
}

}  // namespace platform
