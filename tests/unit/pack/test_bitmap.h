// BMP files for the packer tests: a valid header and all the pixel bytes, of any size and depth.
#pragma once

#include <cstdint>
#include <string>

namespace pack_test {

inline void Put32(std::string& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out += static_cast<char>(v >> (8 * i) & 0xFF);
}
inline void Put16(std::string& out, uint16_t v) {
  out += static_cast<char>(v & 0xFF);
  out += static_cast<char>(v >> 8);
}

// A BMP with a 40-byte info header; `height` negative for rows running top-down. Palette
// depths carry their palette.
inline std::string Bitmap(int32_t width, int32_t height, uint16_t bits = 24, char fill = 'p') {
  const uint32_t rows = static_cast<uint32_t>(height < 0 ? -height : height);
  const uint32_t rowBytes = (static_cast<uint32_t>(width) * bits + 31) / 32 * 4;
  const uint32_t palette = bits <= 8 ? (1u << bits) * 4 : 0;
  const uint32_t offset = 14 + 40 + palette;
  std::string out = "BM";
  Put32(out, offset + rowBytes * rows);
  Put32(out, 0);
  Put32(out, offset);
  Put32(out, 40);
  Put32(out, static_cast<uint32_t>(width));
  Put32(out, static_cast<uint32_t>(height));
  Put16(out, 1);
  Put16(out, bits);
  Put32(out, 0);
  Put32(out, rowBytes * rows);
  Put32(out, 2835);
  Put32(out, 2835);
  Put32(out, 0);
  Put32(out, 0);
  out += std::string(palette, '\0');
  out += std::string(static_cast<size_t>(rowBytes) * rows, fill);
  return out;
}

}  // namespace pack_test
