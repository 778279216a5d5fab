#include "app/payload.h"

#include "app/run_state.h"

namespace {

constexpr int kFieldLength = 10;
constexpr int64_t kMaxSetupFileSize = INT32_MAX;  // offsets are 32-bit signed

bool ReadField(const ReadAtFunction& readAt, int64_t offset, int64_t fileSize, int32_t& value) {
  if (offset < 0 || offset + kFieldLength > fileSize) return false;
  char field[kFieldLength];
  if (readAt(offset, field, kFieldLength) != kFieldLength) return false;
  return ParseSizeField(field, value);
}

}  // namespace

bool ParseSizeField(const char* field, int32_t& value) {
  int i = 0;
  while (i < kFieldLength && field[i] == ' ') ++i;
  bool negative = false;
  if (i < kFieldLength && (field[i] == '-' || field[i] == '+')) negative = field[i++] == '-';
  if (i == kFieldLength) return false;
  int64_t number = 0;
  for (; i < kFieldLength; ++i) {
    if (field[i] < '0' || field[i] > '9') return false;
    number = number * 10 + (field[i] - '0');
  }
  if (negative) number = -number;
  if (number < INT32_MIN || number > INT32_MAX) return false;
  value = static_cast<int32_t>(number);
  return true;
}

std::optional<PayloadLocation> LocatePayload(const ReadAtFunction& readAt, int64_t fileSize) {
  if (fileSize > kMaxSetupFileSize) return std::nullopt;
  // The default offset must be readable; a shorter file is damaged, not a trailer case.
  if (fileSize < DefaultPayloadOffset + kFieldLength) return std::nullopt;
  char field[kFieldLength];
  if (readAt(DefaultPayloadOffset, field, kFieldLength) != kFieldLength) return std::nullopt;
  int32_t length = 0;
  if (ParseSizeField(field, length)) {
    if (length < 0 || DefaultPayloadOffset + kFieldLength + int64_t{length} > fileSize)
      return std::nullopt;
    return PayloadLocation{DefaultPayloadOffset, length};
  }
  int32_t start = 0;
  int64_t trailer = fileSize - kFieldLength;
  if (!ReadField(readAt, trailer, fileSize, start) || start < 0) return std::nullopt;
  if (!ReadField(readAt, start, trailer, length) || length < 0) return std::nullopt;
  if (start + int64_t{kFieldLength} + length > trailer) return std::nullopt;
  return PayloadLocation{start, length};
}

bool CopySetupCabinet(platform::FileHandle setupFile, int32_t length, const std::string& target) {
  platform::FileHandle output = platform::FileOpen(target, platform::FileAccess::Write,
                                                   platform::FileCreation::CreateAlways);
  if (output == platform::kInvalidFile) return false;
  char buffer[2048];
  int64_t total = 0;
  int32_t read = 0;
  bool ok = true;
  // The loop may copy one block beyond length (always when length is a multiple of 2048);
  // the output is cut to length afterwards.
  do {
    read = platform::FileRead(setupFile, buffer, sizeof buffer);
    if (read < 0) {
      ok = false;
      break;
    }
    if (read > 0 && platform::FileWrite(output, buffer, static_cast<uint32_t>(read)) != read) {
      ok = false;
      break;
    }
    total += read;
  } while (total <= length && read == static_cast<int32_t>(sizeof buffer));
  ok = ok && platform::FileSeek(output, length, 0) == length && platform::FileTruncate(output);
  return platform::FileClose(output) && ok;
}
