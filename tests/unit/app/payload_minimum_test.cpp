// The shortest unpadded setup file: the ten bytes at the default offset are read first, so in
// a file of exactly that offset plus ten bytes they are the trailer itself.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include "app/payload.h"
#include "app/run_state.h"

namespace {

std::string Field(int64_t value) {
  char text[32];
  std::snprintf(text, sizeof text, "%010lld", static_cast<long long>(value));
  return text;
}

// An unpadded setup file of the given total length on a 12,000-byte program part.
std::string UnpaddedFile(size_t total) {
  const size_t program = 12000;
  size_t cabinet = total - program - 20;
  return std::string(program, 'M') + Field(static_cast<int64_t>(cabinet)) +
         std::string(cabinet, 'c') + Field(program);
}

std::optional<PayloadLocation> Locate(const std::string& file) {
  ReadAtFunction readAt = [&](int64_t offset, char* buffer, int32_t count) -> int32_t {
    if (offset < 0 || offset >= static_cast<int64_t>(file.size())) return 0;
    size_t n =
        std::min<size_t>(static_cast<size_t>(count), file.size() - static_cast<size_t>(offset));
    std::memcpy(buffer, file.data() + offset, n);
    return static_cast<int32_t>(n);
  };
  return LocatePayload(readAt, static_cast<int64_t>(file.size()));
}

TEST(UnpaddedSetupFile, MustBeLongerThanTheDefaultOffsetAndTenBytes) {
  const size_t minimum = static_cast<size_t>(DefaultPayloadOffset) + 10;  // 250,890
  EXPECT_FALSE(Locate(UnpaddedFile(minimum - 1))) << "too short to read at the default offset";
  // The trailer at the default offset reads as the cabinet's length, which runs past the end.
  EXPECT_FALSE(Locate(UnpaddedFile(minimum)));
  std::optional<PayloadLocation> found = Locate(UnpaddedFile(minimum + 1));
  ASSERT_TRUE(found) << "one byte more: a cabinet byte breaks the number, the trailer is used";
  EXPECT_EQ(found->start, 12000);
  EXPECT_EQ(found->setupCabinetLength, static_cast<int32_t>(minimum + 1 - 12020));
}

}  // namespace
