#include "pack/payload.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <string_view>

#include "pack/pack_error.h"

namespace pack {
namespace {

// One stretch of the setup file: bytes, or a run of zero bytes (the padding).
struct Segment {
  std::string_view bytes;
  uint64_t zeros = 0;
  uint64_t Size() const { return bytes.size() + zeros; }
};

// The setup file as a list of segments; `fields` keeps the two ten-digit fields alive.
std::vector<Segment> Segments(const PayloadLayout& layout, const PayloadParts& parts,
                              std::string (&fields)[2]) {
  fields[0] = DecimalField(layout.setupCabinetSize);
  fields[1] = DecimalField(layout.payloadStart);
  std::vector<Segment> segments;
  segments.push_back({parts.stub, 0});
  segments.push_back({{}, layout.payloadStart - parts.stub.size()});
  segments.push_back({fields[0], 0});
  segments.push_back({parts.setupCabinet, 0});
  for (const std::string& cabinet : parts.fileCabinets) segments.push_back({cabinet, 0});
  segments.push_back({fields[1], 0});
  return segments;
}

bool IsHexDigit(char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; }
bool IsDecimalDigit(char c) { return c >= '0' && c <= '9'; }

// The setup program's integer reading: blanks, a sign, then decimal digits or "$" and hex
// digits; or "0x" and hex digits.
bool ReadsAsInteger(std::string_view text) {
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    return std::all_of(text.begin() + 2, text.end(), IsHexDigit);
  }
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  bool (*digit)(char) = IsDecimalDigit;
  if (i < text.size() && text[i] == '$') {
    digit = IsHexDigit;
    ++i;
  }
  return i < text.size() && std::all_of(text.begin() + i, text.end(), digit);
}

}  // namespace

std::string DecimalField(uint64_t value) {
  char text[32];
  std::snprintf(text, sizeof text, "%010llu", static_cast<unsigned long long>(value));
  return text;
}

PayloadLayout PlanPayload(uint64_t stubSize, bool pad, uint64_t setupCabinetSize,
                          const std::vector<uint64_t>& fileCabinetSizes) {
  if (pad && stubSize > kDefaultPayloadOffset) {
    throw PackError("the stub is " + std::to_string(stubSize) +
                    " bytes, longer than the default payload offset " +
                    std::to_string(kDefaultPayloadOffset) +
                    " that --pad pads to; pack without --pad (the trailer then tells the setup "
                    "program where the payload starts)");
  }
  PayloadLayout layout;
  layout.stubSize = stubSize;
  layout.payloadStart = pad ? kDefaultPayloadOffset : stubSize;
  layout.setupCabinetOffset = layout.payloadStart + kFieldLength;
  layout.setupCabinetSize = setupCabinetSize;
  uint64_t offset = layout.setupCabinetOffset + setupCabinetSize;
  for (uint64_t size : fileCabinetSizes) {
    layout.fileCabinetOffsets.push_back(offset);
    layout.fileCabinetSizes.push_back(size);
    offset += size;
  }
  layout.trailerOffset = offset;
  layout.totalSize = offset + kFieldLength;
  if (layout.totalSize > kMaxSetupFileSize) {
    throw PackError("the setup file would be " + std::to_string(layout.totalSize) +
                    " bytes; the setup program reads offsets as 32-bit signed numbers, so it "
                    "must stay below 2 GiB");
  }
  return layout;
}

void WritePayload(std::ostream& out, const PayloadLayout& layout, const PayloadParts& parts) {
  std::string fields[2];
  static const std::string zeros(64 * 1024, '\0');
  for (const Segment& segment : Segments(layout, parts, fields)) {
    out.write(segment.bytes.data(), static_cast<std::streamsize>(segment.bytes.size()));
    for (uint64_t left = segment.zeros; left > 0;) {
      const uint64_t chunk = std::min<uint64_t>(left, zeros.size());
      out.write(zeros.data(), static_cast<std::streamsize>(chunk));
      left -= chunk;
    }
  }
}

std::string PayloadBytes(const PayloadLayout& layout, const PayloadParts& parts, uint64_t offset,
                         uint64_t count) {
  std::string fields[2];
  std::string result;
  uint64_t start = 0;
  for (const Segment& segment : Segments(layout, parts, fields)) {
    const uint64_t end = start + segment.Size();
    const uint64_t from = std::max(offset, start);
    const uint64_t to = std::min(offset + count, end);
    for (uint64_t at = from; at < to; ++at) {
      const uint64_t inside = at - start;
      result += inside < segment.bytes.size() ? segment.bytes[inside] : '\0';
    }
    start = end;
  }
  return result;
}

std::vector<std::string> PayloadFaults(const PayloadLayout& layout, const PayloadParts& parts) {
  std::vector<std::string> faults;
  if (layout.payloadStart == kDefaultPayloadOffset) return faults;
  const std::string offset = std::to_string(kDefaultPayloadOffset);
  if (layout.totalSize < kDefaultPayloadOffset + kFieldLength) {
    faults.push_back("the setup file would be only " + std::to_string(layout.totalSize) +
                     " bytes, unpadded; the setup program reads the payload size at offset " +
                     offset + " and reports a file shorter than " +
                     std::to_string(kDefaultPayloadOffset + kFieldLength) +
                     " bytes as corrupted (pack without --no-pad)");
  } else if (ReadsAsInteger(PayloadBytes(layout, parts, kDefaultPayloadOffset, kFieldLength))) {
    faults.push_back("the ten bytes at offset " + offset +
                     " read as a number; the setup program would take them as the payload size "
                     "instead of using the trailer and report the file as corrupted");
  }
  return faults;
}

}  // namespace pack
