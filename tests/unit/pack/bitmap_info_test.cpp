#include "pack/bitmap_info.h"

#include <gtest/gtest.h>

#include <string>

#include "pack/pack_error.h"
#include "pack/test_bitmap.h"

namespace pack {
namespace {

using pack_test::Bitmap;

TEST(BitmapInfoTest, ReadsSizeAndDepth) {
  const struct {
    std::string bytes;
    int32_t width, height;
    uint16_t bits;
  } cases[] = {
      {Bitmap(500, 314), 500, 314, 24}, {Bitmap(498, -55), 498, 55, 24},  // rows top-down
      {Bitmap(3, 2, 8), 3, 2, 8},       {Bitmap(7, 1, 1), 7, 1, 1},
      {Bitmap(2, 2, 32), 2, 2, 32},
  };
  for (const auto& c : cases) {
    const BitmapInfo info = ReadBitmapInfo(c.bytes, "p.bmp");
    EXPECT_EQ(info.width, c.width);
    EXPECT_EQ(info.height, c.height);
    EXPECT_EQ(info.bitCount, c.bits);
  }
}

TEST(BitmapInfoTest, ReadsTheOldCoreHeader) {
  std::string core = "BM";
  pack_test::Put32(core, 14 + 12 + 8 * 3);
  pack_test::Put32(core, 0);
  pack_test::Put32(core, 14 + 12);
  pack_test::Put32(core, 12);
  pack_test::Put16(core, 2);
  pack_test::Put16(core, 3);
  pack_test::Put16(core, 1);
  pack_test::Put16(core, 24);
  core += std::string(8 * 3, 'x');
  const BitmapInfo info = ReadBitmapInfo(core, "p.bmp");
  EXPECT_EQ(info.width, 2);
  EXPECT_EQ(info.height, 3);
  EXPECT_EQ(info.bitCount, 24);
}

TEST(BitmapInfoTest, RefusesWhatCannotBeLoaded) {
  std::string badDepth = Bitmap(4, 4);
  badDepth[28] = 7;
  std::string zeroWidth = Bitmap(4, 4);
  zeroWidth.replace(18, 4, std::string(4, '\0'));
  std::string oddHeader = Bitmap(4, 4);
  oddHeader[14] = 20;
  const std::pair<std::string, std::string> cases[] = {
      {"GIF89a", "p.bmp: not a BMP picture"},
      {"", "p.bmp: not a BMP picture"},
      {"BM1234", "p.bmp: a damaged BMP picture (the header is cut short)"},
      {Bitmap(4, 4).substr(0, 40), "(the header is cut short)"},
      {Bitmap(500, 314).substr(0, 4000), "(the pixels end before 500 x 314 of them)"},
      {badDepth, "(7 bits per pixel)"},
      {zeroWidth, "(size 0 x 4)"},
      {oddHeader, "(unknown header size 20)"},
  };
  for (const auto& [bytes, expected] : cases) {
    try {
      ReadBitmapInfo(bytes, "p.bmp");
      ADD_FAILURE() << expected << ": accepted";
    } catch (const PackError& e) {
      EXPECT_NE(std::string(e.what()).find(expected), std::string::npos) << e.what();
    }
  }
}

}  // namespace
}  // namespace pack
