#include "pack/bitmap_info.h"

#include <cstdlib>

#include "pack/pack_error.h"

namespace pack {
namespace {

uint32_t Load(const std::string& bytes, size_t at, size_t count) {
  uint32_t value = 0;
  for (size_t i = count; i-- > 0;) value = value << 8 | static_cast<uint8_t>(bytes[at + i]);
  return value;
}

constexpr size_t kFileHeader = 14;
constexpr size_t kCoreHeader = 12;  // the old OS/2 header with 16-bit sizes
constexpr size_t kInfoHeader = 40;

}  // namespace

BitmapInfo ReadBitmapInfo(const std::string& bytes, const std::string& fileName) {
  if (bytes.size() < 2 || bytes[0] != 'B' || bytes[1] != 'M') {
    throw ErrorAt(fileName, 0, "not a BMP picture (it must start with \"BM\")");
  }
  auto broken = [&](const std::string& what) {
    return ErrorAt(fileName, 0,
                   "a damaged BMP picture (" + what +
                       "); the setup program cannot load it and would report the setup file as "
                       "corrupted");
  };
  if (bytes.size() < kFileHeader + 4) throw broken("the header is cut short");
  const uint32_t pixelOffset = Load(bytes, 10, 4);
  const uint32_t headerSize = Load(bytes, kFileHeader, 4);
  if (headerSize != kCoreHeader && headerSize < kInfoHeader) {
    throw broken("unknown header size " + std::to_string(headerSize));
  }
  if (bytes.size() < kFileHeader + headerSize) throw broken("the header is cut short");

  BitmapInfo info;
  uint32_t compression = 0;
  if (headerSize == kCoreHeader) {
    info.width = static_cast<int32_t>(Load(bytes, 18, 2));
    info.height = static_cast<int32_t>(Load(bytes, 20, 2));
    info.bitCount = static_cast<uint16_t>(Load(bytes, 24, 2));
  } else {
    info.width = static_cast<int32_t>(Load(bytes, 18, 4));
    const int32_t height = static_cast<int32_t>(Load(bytes, 22, 4));
    info.height = height == INT32_MIN ? 0 : std::abs(height);
    info.bitCount = static_cast<uint16_t>(Load(bytes, 28, 2));
    compression = Load(bytes, 30, 4);
  }
  if (info.width <= 0 || info.height <= 0) {
    throw broken("size " + std::to_string(info.width) + " x " + std::to_string(info.height));
  }
  switch (info.bitCount) {
    case 1:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32:
      break;
    default:
      throw broken(std::to_string(info.bitCount) + " bits per pixel");
  }
  // Compressed pixels have no fixed size; the rest must be complete.
  const bool plain = compression == 0 || compression == 3;  // BI_RGB, BI_BITFIELDS
  if (plain) {
    const uint64_t rowBytes = (static_cast<uint64_t>(info.width) * info.bitCount + 31) / 32 * 4;
    if (pixelOffset > bytes.size() ||
        rowBytes * static_cast<uint64_t>(info.height) > bytes.size() - pixelOffset) {
      throw broken("the pixels end before " + std::to_string(info.width) + " x " +
                   std::to_string(info.height) + " of them");
    }
  }
  return info;
}

}  // namespace pack
