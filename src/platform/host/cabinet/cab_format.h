// Layout constants and the data-block checksum of the Microsoft Cabinet format, shared by the
// host FDI library (reader) and setup-pack's cabinet writer. Header-only so that the packer
// needs nothing else from the platform layer.
#pragma once

#include <cstddef>
#include <cstdint>

namespace cab_format {

// CFHEADER: "MSCF", reserved, cbCabinet, reserved, coffFiles, reserved, versionMinor,
// versionMajor, cFolders, cFiles, flags, setID, iCabinet.
constexpr size_t kHeaderSize = 36;
constexpr uint8_t kSignature[4] = {'M', 'S', 'C', 'F'};
constexpr uint8_t kVersionMinor = 3;
constexpr uint8_t kVersionMajor = 1;
constexpr size_t kOffCabinetSize = 8;
constexpr size_t kOffFilesOffset = 16;
constexpr size_t kOffVersionMinor = 24;
constexpr size_t kOffVersionMajor = 25;
constexpr size_t kOffFolderCount = 26;
constexpr size_t kOffFileCount = 28;
constexpr size_t kOffFlags = 30;
constexpr size_t kOffSetId = 32;
constexpr size_t kOffCabinetIndex = 34;
// Present after the fixed header when kFlagReservePresent: cbCFHeader, cbCFFolder, cbCFData.
constexpr size_t kReserveFieldsSize = 4;

constexpr uint16_t kFlagPrevCabinet = 0x0001;
constexpr uint16_t kFlagNextCabinet = 0x0002;
constexpr uint16_t kFlagReservePresent = 0x0004;

// CFFOLDER: coffCabStart, cCFData, typeCompress (then cbCFFolder reserved bytes).
constexpr size_t kFolderSize = 8;
constexpr uint16_t kCompressionMask = 0x000F;
constexpr uint16_t kCompressionNone = 0;
constexpr uint16_t kCompressionMsZip = 1;
constexpr uint16_t kCompressionQuantum = 2;
constexpr uint16_t kCompressionLzx = 3;

// CFFILE: cbFile, uoffFolderStart, iFolder, date, time, attribs (then the name).
constexpr size_t kFileSize = 16;
constexpr uint16_t kFolderContinuedFromPrev = 0xFFFD;
constexpr uint16_t kFolderContinuedToNext = 0xFFFE;
constexpr uint16_t kFolderContinuedPrevAndNext = 0xFFFF;
// Run the file after extraction; FDI reports it as bit 0 of cb in fdintCLOSE_FILE_INFO.
constexpr uint16_t kAttribExec = 0x0400;

// CFDATA: csum, cbData, cbUncomp (then cbCFData reserved bytes and the data).
constexpr size_t kDataHeaderSize = 8;
constexpr size_t kMaxUncompressedBlock = 32768;
// Upper bound of one block's compressed bytes (all pieces of a split block together): the
// format's allowance for compressors that expand incompressible input.
constexpr size_t kMaxCompressedBlock = 32768 + 6144;

// Names (cabinet, disk and file names) hold at most 255 characters and the terminator.
constexpr size_t kMaxNameSize = 256;

inline uint16_t Load16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
inline uint32_t Load32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
inline void Store16(uint8_t* p, uint16_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}
inline void Store32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

// The published CFDATA checksum: the XOR of the input taken as little-endian 32-bit words;
// the 1 to 3 trailing bytes form one more word with the first of them in the highest place.
inline uint32_t Checksum(const uint8_t* data, size_t size, uint32_t seed) {
  uint32_t sum = seed;
  size_t i = 0;
  for (; i + 4 <= size; i += 4) sum ^= Load32(data + i);
  uint32_t tail = 0;
  for (; i < size; ++i) tail = (tail << 8) | data[i];
  return sum ^ tail;
}

// Checksum of a data block (piece): over its data, then over its cbData and cbUncomp fields.
inline uint32_t DataBlockChecksum(const uint8_t* data, uint16_t cbData, uint16_t cbUncomp) {
  uint8_t sizes[4];
  Store16(sizes, cbData);
  Store16(sizes + 2, cbUncomp);
  return Checksum(sizes, sizeof sizes, Checksum(data, cbData, 0));
}

}  // namespace cab_format
