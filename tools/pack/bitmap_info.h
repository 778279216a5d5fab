// The header of a BMP file, read far enough to tell whether the setup program can load the
// picture and how it will look in the wizard.
#pragma once

#include <cstdint>
#include <string>

namespace pack {

struct BitmapInfo {
  int32_t width = 0;
  int32_t height = 0;  // positive, whichever way the rows run
  uint16_t bitCount = 0;
};

// Throws PackError naming `fileName` when the bytes are not a BMP file with a readable header
// whose pixels are all there: the setup program would fail to load it and report the setup
// file as corrupted.
BitmapInfo ReadBitmapInfo(const std::string& bytes, const std::string& fileName);

}  // namespace pack
