#include "platform/host/cabinet/folder_decoder.h"

#include <algorithm>
#include <cstring>

#include "platform/host/cabinet/cab_format.h"

namespace host::fdi {
namespace {

namespace cf = cab_format;

[[noreturn]] void Corrupt() { throw FdiError{FDIERROR_CORRUPT_CABINET}; }

voidpf ZlibAlloc(voidpf opaque, uInt items, uInt size) {
  if (size != 0 && items > 0xFFFFFFFFu / size) return Z_NULL;
  return static_cast<const FdiMemory*>(opaque)->alloc(static_cast<unsigned long>(items) * size);
}

void ZlibFree(voidpf opaque, voidpf block) { static_cast<const FdiMemory*>(opaque)->free(block); }

}  // namespace

FolderDecoder::FolderDecoder(const FdiMemory* memory)
    : memory_(memory),
      in_(FdiAllocator<unsigned char>(memory)),
      out_(FdiAllocator<unsigned char>(memory)),
      history_(FdiAllocator<unsigned char>(memory)) {}

FolderDecoder::~FolderDecoder() {
  if (zlibReady_) inflateEnd(&zlib_);
}

void FolderDecoder::Allocate() {
  if (in_.empty()) {
    in_.resize(cf::kMaxCompressedBlock);
    // One byte more than a block may hold, to notice data that decodes to too much.
    out_.resize(cf::kMaxUncompressedBlock + 1);
    history_.resize(cf::kMaxUncompressedBlock);
  }
  if (compression_ == cf::kCompressionMsZip && !zlibReady_) {
    zlib_ = z_stream{};
    zlib_.zalloc = ZlibAlloc;
    zlib_.zfree = ZlibFree;
    zlib_.opaque = const_cast<FdiMemory*>(memory_);
    const int status = inflateInit2(&zlib_, -MAX_WBITS);
    if (status == Z_MEM_ERROR) throw FdiError{FDIERROR_ALLOC_FAIL};
    if (status != Z_OK) throw FdiError{FDIERROR_MDI_FAIL};
    zlibReady_ = true;
  }
}

void FolderDecoder::Start(const DataCursor& cursor, uint16_t compression) {
  active_ = false;
  compression_ = compression & cf::kCompressionMask;
  if (compression_ != cf::kCompressionNone && compression_ != cf::kCompressionMsZip)
    throw FdiError{FDIERROR_BAD_COMPR_TYPE};
  Allocate();
  cursor_ = cursor;
  outStart_ = 0;
  outSize_ = 0;
  historySize_ = 0;
  active_ = true;
}

void FolderDecoder::Deliver(uint64_t offset, uint64_t size, DataSink& sink,
                            NextCabinetSource& next) {
  if (offset < outStart_) Corrupt();
  while (size > 0) {
    if (offset >= outStart_ + outSize_) {
      NextBlock(next);
      continue;
    }
    const uint64_t skip = offset - outStart_;
    const uint32_t chunk = static_cast<uint32_t>(std::min<uint64_t>(size, outSize_ - skip));
    sink.Write(out_.data() + skip, chunk);
    offset += chunk;
    size -= chunk;
  }
}

// Reads the next block, joining the pieces of a block split across cabinets, and decodes it.
void FolderDecoder::NextBlock(NextCabinetSource& next) {
  outStart_ += outSize_;
  outSize_ = 0;
  uint32_t total = 0;
  uint16_t expected = 0;
  while (true) {
    if (cursor_.blocksLeft == 0) {
      if (!cursor_.continues) Corrupt();  // a file reaches beyond the folder's data
      next.Advance(cursor_);
      continue;
    }
    CabinetFile& file = *cursor_.file;
    file.SeekTo(cursor_.nextBlock);
    unsigned char header[cf::kDataHeaderSize];
    unsigned char reserve[255];
    file.Read(header, sizeof header);
    file.Read(reserve, cursor_.dataReserve);
    const uint16_t stored = cf::Load16(header + 4);
    if (stored > in_.size() - total) Corrupt();
    file.Read(in_.data() + total, stored);
    VerifyChecksum(header, reserve, in_.data() + total, stored);
    cursor_.nextBlock += cf::kDataHeaderSize + cursor_.dataReserve + stored;
    --cursor_.blocksLeft;
    total += stored;
    expected = cf::Load16(header + 6);
    if (expected != 0) break;
    // cbUncomp 0: the block goes on in the next cabinet, so it must be this cabinet's last.
    if (cursor_.blocksLeft != 0) Corrupt();
  }
  if (expected > cf::kMaxUncompressedBlock) Corrupt();
  if (compression_ == cf::kCompressionNone) {
    if (total != expected) Corrupt();
    std::memcpy(out_.data(), in_.data(), total);
  } else {
    Inflate(total, expected);
    Remember(expected);
  }
  outSize_ = expected;
}

// csum covers the data, then cbData and cbUncomp. Writers disagree on whether the per-block
// reserved bytes count too, so a checksum over them is accepted as well.
void FolderDecoder::VerifyChecksum(const unsigned char* header, const unsigned char* reserve,
                                   const unsigned char* data, uint16_t size) const {
  const uint32_t stored = cf::Load32(header);
  if (stored == 0) return;
  const uint32_t dataSum = cf::Checksum(data, size, 0);
  if (cf::Checksum(header + 4, 4, dataSum) == stored) return;
  if (cursor_.dataReserve != 0) {
    unsigned char fields[4 + 255];
    std::memcpy(fields, header + 4, 4);
    std::memcpy(fields + 4, reserve, cursor_.dataReserve);
    if (cf::Checksum(fields, 4 + cursor_.dataReserve, dataSum) == stored) return;
  }
  Corrupt();
}

// An MSZIP block: "CK", then a raw DEFLATE stream that may refer to the previous 32 KiB.
void FolderDecoder::Inflate(uint32_t size, uint16_t expected) {
  if (size < 2 || in_[0] != 'C' || in_[1] != 'K') Corrupt();
  if (inflateReset(&zlib_) != Z_OK) throw FdiError{FDIERROR_MDI_FAIL};
  if (historySize_ != 0 && inflateSetDictionary(&zlib_, history_.data(), historySize_) != Z_OK)
    throw FdiError{FDIERROR_MDI_FAIL};
  zlib_.next_in = in_.data() + 2;
  zlib_.avail_in = size - 2;
  zlib_.next_out = out_.data();
  zlib_.avail_out = static_cast<uInt>(out_.size());
  const int status = inflate(&zlib_, Z_NO_FLUSH);
  const uint32_t produced = static_cast<uint32_t>(out_.size() - zlib_.avail_out);
  if (status == Z_MEM_ERROR) throw FdiError{FDIERROR_ALLOC_FAIL};
  // A stream must end (or at least use all its input) exactly at the block's size.
  const bool ended =
      status == Z_STREAM_END || ((status == Z_OK || status == Z_BUF_ERROR) && zlib_.avail_in == 0);
  if (!ended || produced != expected) Corrupt();
}

// Keeps the last 32 KiB of the folder's output as the next block's history.
void FolderDecoder::Remember(uint32_t size) {
  const uint32_t window = static_cast<uint32_t>(history_.size());
  if (size >= window) {
    std::memcpy(history_.data(), out_.data() + size - window, window);
    historySize_ = window;
    return;
  }
  const uint32_t keep = std::min(historySize_, window - size);
  std::memmove(history_.data(), history_.data() + historySize_ - keep, keep);
  std::memcpy(history_.data() + keep, out_.data(), size);
  historySize_ = keep + size;
}

}  // namespace host::fdi
