// The payload appended to the stub program, and where each part of it lands:
//
//   0        P          stub, padded with zero bytes up to P when padding is asked for
//   P        10         L, the setup cabinet's length, ten ASCII digits
//   P+10     L          the setup cabinet
//   P+10+L   sum(sizes) the per-file cabinets, in [Files] order
//   N-10     10         P, ten ASCII digits (the trailer)
//
// The setup program keeps offsets in 32-bit signed integers, so the whole file stays below
// 2 GiB.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace pack {

// The payload start the setup program tries first, before it falls back to the trailer.
inline constexpr uint64_t kDefaultPayloadOffset = 250880;
inline constexpr uint64_t kFieldLength = 10;
inline constexpr uint64_t kMaxSetupFileSize = 0x7FFFFFFF;

struct PayloadLayout {
  uint64_t stubSize = 0;
  uint64_t payloadStart = 0;        // P
  uint64_t setupCabinetOffset = 0;  // P + 10
  uint64_t setupCabinetSize = 0;    // L
  std::vector<uint64_t> fileCabinetOffsets;
  std::vector<uint64_t> fileCabinetSizes;
  uint64_t trailerOffset = 0;  // N - 10
  uint64_t totalSize = 0;      // N
};

// Throws PackError when padding is asked for and the stub is longer than the default payload
// offset, or when the setup file would reach 2 GiB.
PayloadLayout PlanPayload(uint64_t stubSize, bool pad, uint64_t setupCabinetSize,
                          const std::vector<uint64_t>& fileCabinetSizes);

// `value` as ten ASCII decimal digits, zero-padded on the left.
std::string DecimalField(uint64_t value);

// The parts the payload is made of, in file order.
struct PayloadParts {
  const std::string& stub;
  const std::string& setupCabinet;
  const std::vector<std::string>& fileCabinets;
};

// Writes stub, padding, size field, setup cabinet, per-file cabinets and trailer.
void WritePayload(std::ostream& out, const PayloadLayout& layout, const PayloadParts& parts);

// `count` bytes of the finished setup file from `offset` on (fewer at its end).
std::string PayloadBytes(const PayloadLayout& layout, const PayloadParts& parts, uint64_t offset,
                         uint64_t count);

// What makes the setup program misread a sound layout and call the file corrupted. It reads ten
// bytes at the default payload offset first and takes them as L when they read as an integer,
// and it stops when the file is too short to hold them; both matter only when P is not that
// offset.
std::vector<std::string> PayloadFaults(const PayloadLayout& layout, const PayloadParts& parts);

}  // namespace pack
