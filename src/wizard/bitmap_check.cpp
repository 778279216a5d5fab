#include "wizard/bitmap_check.h"

#include <cstdint>
#include <vector>

#include "platform/file_system.h"

namespace {

uint32_t U16(const unsigned char* p) { return p[0] | (p[1] << 8); }
uint32_t U32(const unsigned char* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

constexpr size_t kFileHeaderSize = 14;

}  // namespace

bool IsReadableBitmap(const unsigned char* data, size_t size) {
  if (size < kFileHeaderSize + 12 || data[0] != 'B' || data[1] != 'M') return false;
  uint32_t pixelOffset = U32(data + 10);
  uint32_t infoSize = U32(data + 14);
  int64_t width, height;
  uint32_t bitCount;
  if (infoSize == 12) {  // OS/2 core header
    width = U16(data + 18);
    height = U16(data + 20);
    bitCount = U16(data + 24);
  } else if (infoSize == 40 || infoSize == 52 || infoSize == 56 || infoSize == 108 ||
             infoSize == 124) {
    if (size < kFileHeaderSize + infoSize) return false;
    width = static_cast<int32_t>(U32(data + 18));
    height = static_cast<int32_t>(U32(data + 22));
    bitCount = U16(data + 28);
  } else {
    return false;
  }
  if (height < 0) height = -height;
  if (width <= 0 || height <= 0 || width > 32768 || height > 32768) return false;
  if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 &&
      bitCount != 32)
    return false;
  if (pixelOffset < kFileHeaderSize + infoSize || pixelOffset > size) return false;
  return true;
}

bool IsReadableBitmapFile(const std::string& path) {
  platform::FileHandle file =
      platform::FileOpen(path, platform::FileAccess::Read, platform::FileCreation::OpenExisting);
  if (file == platform::kInvalidFile) return false;
  int64_t size = platform::FileSeek(file, 0, 2);
  bool ok = false;
  // Pictures for a wizard page are small; anything huge is not one of ours.
  if (size > 0 && size <= 64 * 1024 * 1024 && platform::FileSeek(file, 0, 0) == 0) {
    std::vector<unsigned char> data(static_cast<size_t>(size));
    ok = platform::FileRead(file, data.data(), static_cast<uint32_t>(size)) == size &&
         IsReadableBitmap(data.data(), data.size());
  }
  platform::FileClose(file);
  return ok;
}
