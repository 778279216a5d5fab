#include "platform/sid_text.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(SidText, WritesTheSystemsTextForm) {
  const struct {
    std::vector<uint8_t> bytes;
    const char* text;
  } cases[] = {
      // Administrators: NT authority 5, built-in domain 32, rid 544 (little-endian).
      {{1, 2, 0, 0, 0, 0, 0, 5, 32, 0, 0, 0, 0x20, 2, 0, 0}, "S-1-5-32-544"},
      {{1, 1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0}, "S-1-1-0"},
      {{1, 0, 0, 0, 0, 0, 0, 5}, "S-1-5"},
      // A domain rid above 2^31 stays unsigned.
      {{1, 1, 0, 0, 0, 0, 0, 5, 0xFF, 0xFF, 0xFF, 0xFF}, "S-1-5-4294967295"},
      // Authorities of 2^32 and more are written in hex.
      {{1, 1, 0, 1, 0, 0, 0, 0, 7, 0, 0, 0}, "S-1-0x000100000000-7"},
      {{1, 0, 0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC}, "S-1-0x123456789ABC"},
      {{1, 0, 0, 0, 0x56, 0x78, 0x9A, 0xBC}, "S-1-1450744508"},
  };
  for (const auto& c : cases) EXPECT_EQ(platform::SidText(c.bytes.data(), c.bytes.size()), c.text);
}

TEST(SidText, RejectsTruncatedOrUnknownRecords) {
  const std::vector<uint8_t> cases[] = {
      {},
      {1, 2, 0, 0, 0, 0, 0, 5, 32, 0, 0, 0, 0x20, 2, 0},  // one byte short
      {1, 0, 0, 0, 0, 0, 0},                              // no full authority
      {2, 0, 0, 0, 0, 0, 0, 5},                           // unknown revision
  };
  for (const auto& bytes : cases) EXPECT_EQ(platform::SidText(bytes.data(), bytes.size()), "");
  EXPECT_EQ(platform::SidText(nullptr, 8), "");
}

}  // namespace
