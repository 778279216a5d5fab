#include "pack/cabinet_writer.h"

#include <time.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>

#include "pack/cabinet_set_plan.h"
#include "pack/pack_error.h"
#include "platform/host/cabinet/cab_format.h"

namespace pack {
namespace {

namespace cf = cab_format;

class ByteWriter {
 public:
  void U8(uint8_t v) { out_.push_back(static_cast<char>(v)); }
  void U16(uint16_t v) {
    uint8_t b[2];
    cf::Store16(b, v);
    Bytes(b, 2);
  }
  void U32(uint32_t v) {
    uint8_t b[4];
    cf::Store32(b, v);
    Bytes(b, 4);
  }
  void Bytes(const void* p, size_t n) { out_.append(static_cast<const char*>(p), n); }
  void Text(const std::string& s) { out_.append(s.c_str(), s.size() + 1); }
  size_t Size() const { return out_.size(); }
  void Patch32(size_t at, uint32_t v) { cf::Store32(reinterpret_cast<uint8_t*>(&out_[at]), v); }
  std::string Take() { return std::move(out_); }

 private:
  std::string out_;
};

uint16_t FolderField(const CabinetSetPlan& plan, size_t cabinet, size_t file, size_t part) {
  const size_t first = plan.firstCabinet[file];
  const size_t last = plan.lastCabinet[file];
  if (first == last) return static_cast<uint16_t>(part);
  if (cabinet == first) return cf::kFolderContinuedToNext;
  if (cabinet == last) return cf::kFolderContinuedFromPrev;
  return cf::kFolderContinuedPrevAndNext;
}

std::string Serialize(const CabinetSetPlan& plan, size_t index,
                      const std::vector<CabinetEntry>& entries, const CabinetOptions& options) {
  const PlannedCabinet& cabinet = plan.cabinets[index];
  size_t fileCount = 0;
  size_t entriesSize = 0;
  for (const CabinetFolderPart& part : cabinet.parts) {
    if (part.pieces.size() > 0xFFFF) throw PackError("more than 65535 data blocks in a cabinet");
    fileCount += part.endFile - part.firstFile;
    for (size_t f = part.firstFile; f < part.endFile; ++f)
      entriesSize += cf::kFileSize + entries[f].name.size() + 1;
  }
  if (fileCount > 0xFFFF) throw PackError("more than 65535 files in a cabinet");
  const bool hasPrev = index > 0;
  const bool hasNext = index + 1 < plan.cabinets.size();

  ByteWriter w;
  w.Bytes(cf::kSignature, sizeof cf::kSignature);
  for (int i = 0; i < 5; ++i) w.U32(0);  // reserved, cbCabinet, reserved, coffFiles, reserved
  w.U8(cf::kVersionMinor);
  w.U8(cf::kVersionMajor);
  w.U16(static_cast<uint16_t>(cabinet.parts.size()));
  w.U16(static_cast<uint16_t>(fileCount));
  w.U16(static_cast<uint16_t>((hasPrev ? cf::kFlagPrevCabinet : 0) |
                              (hasNext ? cf::kFlagNextCabinet : 0)));
  w.U16(options.setId);
  w.U16(static_cast<uint16_t>(index));
  if (hasPrev) {
    w.Text(CabinetNameOf(options, index - 1));
    w.Text(DiskNameOf(options, index - 1));
  }
  if (hasNext) {
    w.Text(CabinetNameOf(options, index + 1));
    w.Text(DiskNameOf(options, index + 1));
  }

  const size_t filesOffset = w.Size() + cf::kFolderSize * cabinet.parts.size();
  size_t dataOffset = filesOffset + entriesSize;
  const uint16_t compression =
      options.compression == Compression::MsZip ? cf::kCompressionMsZip : cf::kCompressionNone;
  for (const CabinetFolderPart& part : cabinet.parts) {
    w.U32(static_cast<uint32_t>(dataOffset));
    w.U16(static_cast<uint16_t>(part.pieces.size()));
    w.U16(compression);
    for (const PlannedPiece& piece : part.pieces) dataOffset += cf::kDataHeaderSize + piece.size;
  }
  w.Patch32(cf::kOffFilesOffset, static_cast<uint32_t>(filesOffset));

  for (size_t p = 0; p < cabinet.parts.size(); ++p) {
    const CabinetFolderPart& part = cabinet.parts[p];
    const uint64_t folderStart = plan.folders[part.folder].start;
    for (size_t f = part.firstFile; f < part.endFile; ++f) {
      const CabinetEntry& entry = entries[f];
      w.U32(static_cast<uint32_t>(entry.data.size()));
      w.U32(static_cast<uint32_t>(plan.fileStart[f] - folderStart));
      w.U16(FolderField(plan, index, f, p));
      w.U16(entry.dosDate);
      w.U16(entry.dosTime);
      w.U16(static_cast<uint16_t>((entry.attributes & ~cf::kAttribExec) |
                                  (entry.runAfterExtract ? cf::kAttribExec : 0)));
      w.Text(entry.name);
    }
  }

  for (const CabinetFolderPart& part : cabinet.parts) {
    const std::vector<PlannedBlock>& blocks = plan.folders[part.folder].blocks;
    for (const PlannedPiece& piece : part.pieces) {
      const PlannedBlock& block = blocks[piece.block];
      const uint8_t* data = reinterpret_cast<const uint8_t*>(block.bytes.data()) + piece.offset;
      const uint16_t cbData = static_cast<uint16_t>(piece.size);
      const uint16_t cbUncomp = piece.endsBlock ? static_cast<uint16_t>(block.uncompressedSize) : 0;
      w.U32(cf::DataBlockChecksum(data, cbData, cbUncomp));
      w.U16(cbData);
      w.U16(cbUncomp);
      w.Bytes(data, piece.size);
    }
  }
  w.Patch32(cf::kOffCabinetSize, static_cast<uint32_t>(w.Size()));
  return w.Take();
}

}  // namespace

std::vector<std::string> WriteCabinets(const std::vector<CabinetEntry>& entries,
                                       const CabinetOptions& options) {
  for (const CabinetEntry& entry : entries) {
    if (entry.name.empty() || entry.name.size() >= cf::kMaxNameSize ||
        entry.name.find('\0') != std::string::npos)
      throw PackError("cabinet entry name \"" + entry.name +
                      "\" is empty, longer than 255 bytes or holds NUL");
  }
  const CabinetSetPlan plan = PlanCabinetSet(entries, options);
  std::vector<std::string> cabinets;
  for (size_t c = 0; c < plan.cabinets.size(); ++c)
    cabinets.push_back(Serialize(plan, c, entries, options));
  return cabinets;
}

void DosDateTimeOf(int64_t unixSeconds, uint16_t& dosDate, uint16_t& dosTime) {
  const time_t seconds = static_cast<time_t>(unixSeconds);
  struct tm local {};
#ifdef _WIN32
  const bool known = localtime_s(&local, &seconds) == 0;
#else
  const bool known = localtime_r(&seconds, &local) != nullptr;
#endif
  if (!known || local.tm_year < 80) {
    dosDate = (1 << 5) | 1;  // 1980-01-01 00:00:00
    dosTime = 0;
    return;
  }
  if (local.tm_year > 207) {
    dosDate = static_cast<uint16_t>((127 << 9) | (12 << 5) | 31);  // 2107-12-31 23:59:58
    dosTime = static_cast<uint16_t>((23 << 11) | (59 << 5) | 29);
    return;
  }
  dosDate = static_cast<uint16_t>(((local.tm_year - 80) << 9) | ((local.tm_mon + 1) << 5) |
                                  local.tm_mday);
  dosTime = static_cast<uint16_t>((local.tm_hour << 11) | (local.tm_min << 5) |
                                  (std::min(local.tm_sec, 59) / 2));
}

}  // namespace pack
