// The payload appended to the setup file: where it starts, and copying the setup cabinet out.
//
//   P            program part (the executable itself)
//   P            ten ASCII digits: L, the length of the setup cabinet
//   P + 10       the setup cabinet, L bytes
//   P + 10 + L   the per-file cabinets
//   N - 10       ten ASCII digits: P
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "platform/file_system.h"

struct PayloadLocation {
  int32_t start;               // P
  int32_t setupCabinetLength;  // L
};

// Reads up to count bytes at offset into buffer; the number read (0 at or past the end).
using ReadAtFunction = std::function<int32_t(int64_t offset, char* buffer, int32_t count)>;

// A ten-byte field read as a decimal integer: optional leading blanks and sign, then digits
// to the end of the field, within 32 bits.
bool ParseSizeField(const char* field, int32_t& value);

// Tries DefaultPayloadOffset first, then the trailer. Empty when the setup file is damaged:
// a field that is not a number, a negative number, or anything pointing outside the file.
std::optional<PayloadLocation> LocatePayload(const ReadAtFunction& readAt, int64_t fileSize);

// Copies length bytes from the file's current position into a new file at target, in blocks
// of 2048 bytes through one buffer; the result is exactly length bytes long.
bool CopySetupCabinet(platform::FileHandle setupFile, int32_t length, const std::string& target);
