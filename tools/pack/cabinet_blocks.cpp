#include "pack/cabinet_blocks.h"

#include <algorithm>

#include "pack/pack_error.h"
#include "platform/host/cabinet/cab_format.h"

namespace pack {
namespace {

constexpr size_t kWindow = cab_format::kMaxUncompressedBlock;

}  // namespace

FolderCompressor::FolderCompressor(Compression compression) : compression_(compression) {
  if (compression_ != Compression::MsZip) return;
  // Raw DEFLATE (negative window bits) with the full 32 KiB window that MSZIP allows.
  if (deflateInit2(&stream_, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8,
                   Z_DEFAULT_STRATEGY) != Z_OK)
    throw PackError("cannot initialise the DEFLATE compressor");
}

FolderCompressor::~FolderCompressor() {
  if (compression_ == Compression::MsZip) deflateEnd(&stream_);
}

void FolderCompressor::Reset() { history_.clear(); }

std::string FolderCompressor::Compress(std::string_view block) {
  if (compression_ != Compression::MsZip) return std::string(block);
  if (deflateReset(&stream_) != Z_OK) throw PackError("DEFLATE reset failed");
  if (!history_.empty() &&
      deflateSetDictionary(&stream_, reinterpret_cast<const Bytef*>(history_.data()),
                           static_cast<uInt>(history_.size())) != Z_OK)
    throw PackError("DEFLATE dictionary rejected");
  std::string out(2 + deflateBound(&stream_, block.size()) + 16, '\0');
  out[0] = 'C';
  out[1] = 'K';
  stream_.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(block.data()));
  stream_.avail_in = static_cast<uInt>(block.size());
  stream_.next_out = reinterpret_cast<Bytef*>(out.data() + 2);
  stream_.avail_out = static_cast<uInt>(out.size() - 2);
  if (deflate(&stream_, Z_FINISH) != Z_STREAM_END) throw PackError("DEFLATE failed");
  out.resize(out.size() - stream_.avail_out);
  if (out.size() > 2 + 5 + block.size()) out = StoredDeflate(block);

  history_.append(block);
  if (history_.size() > kWindow) history_.erase(0, history_.size() - kWindow);
  return out;
}

// One final stored DEFLATE block: the header bits 1 (final) and 00 (stored) padded to a byte,
// then LEN and its complement NLEN.
std::string FolderCompressor::StoredDeflate(std::string_view block) const {
  const uint16_t len = static_cast<uint16_t>(block.size());
  uint8_t header[5] = {0x01};
  cab_format::Store16(header + 1, len);
  cab_format::Store16(header + 3, static_cast<uint16_t>(~len));
  std::string out = "CK";
  out.append(reinterpret_cast<const char*>(header), sizeof header);
  out.append(block);
  return out;
}

}  // namespace pack
