#include "app/payload.h"

#include <gtest/gtest.h>

#include <cstring>

#include "app/run_state.h"
#include "platform/file_system.h"
#include "support/sandbox.h"

namespace {

std::string Field(int64_t value) {
  char text[32];
  std::snprintf(text, sizeof text, "%010lld", static_cast<long long>(value));
  return text;
}

std::optional<PayloadLocation> Locate(const std::string& file) {
  ReadAtFunction readAt = [&](int64_t offset, char* buffer, int32_t count) -> int32_t {
    if (offset < 0 || offset >= static_cast<int64_t>(file.size())) return 0;
    size_t n = std::min<size_t>(count, file.size() - static_cast<size_t>(offset));
    std::memcpy(buffer, file.data() + offset, n);
    return static_cast<int32_t>(n);
  };
  return LocatePayload(readAt, static_cast<int64_t>(file.size()));
}

// A setup file: program part of the given length, size field, cabinet bytes, trailer.
std::string SetupFile(size_t programLength, const std::string& sizeField, size_t cabinetLength,
                      const std::string& trailer) {
  return std::string(programLength, 'M') + sizeField + std::string(cabinetLength, 'c') + trailer;
}

TEST(ParseSizeField, ReadsTenCharactersAsADecimalInteger) {
  struct Case {
    const char* field;
    bool ok;
    int32_t value;
  } cases[] = {
      {"0000012345", true, 12345},   {"0000000000", true, 0},
      {"   1234567", true, 1234567}, {"-000000001", true, -1},
      {"2147483647", true, INT32_MAX}, {"9999999999", false, 0},
      {"ABCDEFGHIJ", false, 0},      {"00000012 4", false, 0},
      {"          ", false, 0},      {"$000000FF0", false, 0},
  };
  for (const Case& c : cases) {
    int32_t value = 0;
    EXPECT_EQ(ParseSizeField(c.field, value), c.ok) << c.field;
    if (c.ok) {
      EXPECT_EQ(value, c.value) << c.field;
    }
  }
}

TEST(LocatePayload, DigitsAtTheDefaultOffsetWinWithoutLookingAtTheTrailer) {
  std::string file = SetupFile(DefaultPayloadOffset, Field(100), 100, "XXXXXXXXXX");
  auto location = Locate(file);
  ASSERT_TRUE(location);
  EXPECT_EQ(location->start, DefaultPayloadOffset);
  EXPECT_EQ(location->setupCabinetLength, 100);
}

TEST(LocatePayload, OtherwiseTheTrailerGivesTheStart) {
  // Both program parts leave non-digits at the default offset.
  for (size_t program : {size_t{260000}, size_t{300000}}) {
    std::string file = SetupFile(program, Field(50), 50, Field(program));
    auto location = Locate(file);
    ASSERT_TRUE(location) << program;
    EXPECT_EQ(location->start, static_cast<int32_t>(program));
    EXPECT_EQ(location->setupCabinetLength, 50);
  }
}

TEST(LocatePayload, DamagedFilesAreRefused) {
  // Program parts longer than the default offset keep non-digits there, so these go through
  // the trailer.
  const size_t program = 300000;
  struct Case {
    const char* what;
    std::string file;
  } cases[] = {
      {"shorter than the default offset", std::string(1000, 'M') + Field(10) + Field(1000)},
      {"size field not a number", SetupFile(program, "ABCDEFGHIJ", 10, Field(program))},
      {"negative size field", SetupFile(program, "-000000005", 10, Field(program))},
      {"cabinet longer than the file", SetupFile(program, Field(999999), 10, Field(program))},
      {"cabinet over the trailer", SetupFile(program, Field(15), 10, Field(program))},
      {"trailer past the end", SetupFile(program, Field(10), 10, Field(2000000000))},
      {"negative trailer", SetupFile(program, Field(10), 10, "-000000010")},
      {"trailer not a number", SetupFile(program, Field(10), 10, "abcdefghij")},
      {"negative size at the default offset",
       SetupFile(DefaultPayloadOffset, "-000000001", 10, Field(DefaultPayloadOffset))},
      {"default-offset cabinet past the end",
       SetupFile(DefaultPayloadOffset, Field(5000), 10, Field(DefaultPayloadOffset))},
  };
  for (const Case& c : cases) EXPECT_FALSE(Locate(c.file)) << c.what;
}

class CopySetupCabinetTest : public SandboxTest {};

TEST_F(CopySetupCabinetTest, OutputIsExactlyTheCabinetWhateverTheBlockBoundaries) {
  for (int32_t length : {0, 1, 2047, 2048, 2049, 4096, 10000}) {
    std::string payload;
    for (int i = 0; i < length + 5000; ++i) payload += static_cast<char>('a' + i % 26);
    WriteFile("C:\\in.bin", "HEAD" + payload);
    platform::FileHandle in = platform::FileOpen("C:\\in.bin", platform::FileAccess::Read,
                                                 platform::FileCreation::OpenExisting);
    ASSERT_NE(in, platform::kInvalidFile);
    ASSERT_EQ(platform::FileSeek(in, 4, 0), 4);
    ASSERT_TRUE(CopySetupCabinet(in, length, "C:\\out.cab"));
    platform::FileClose(in);
    EXPECT_EQ(ReadFile("C:\\out.cab"), payload.substr(0, static_cast<size_t>(length))) << length;
  }
}

TEST_F(CopySetupCabinetTest, AShortPayloadStillGivesTheStatedLength) {
  WriteFile("C:\\in.bin", "abc");
  platform::FileHandle in = platform::FileOpen("C:\\in.bin", platform::FileAccess::Read,
                                               platform::FileCreation::OpenExisting);
  ASSERT_TRUE(CopySetupCabinet(in, 10, "C:\\out.cab"));
  platform::FileClose(in);
  EXPECT_EQ(ReadFile("C:\\out.cab"), std::string("abc") + std::string(7, '\0'));
}

}  // namespace
