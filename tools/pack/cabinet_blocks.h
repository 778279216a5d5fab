// Compression of a cabinet folder's data blocks (at most 32 KiB of uncompressed data each),
// one block after the other.
#pragma once

#include <zlib.h>

#include <string>
#include <string_view>

#include "pack/cabinet_writer.h"

namespace pack {

// MSZIP: each block is "CK" and a complete raw DEFLATE stream primed with the folder's
// preceding 32 KiB, so the history carries across blocks as in Microsoft's compressor. A block
// that DEFLATE would expand is written as one stored DEFLATE block instead, so no block exceeds
// its uncompressed size by more than 7 bytes. Stored: the data as it is.
class FolderCompressor {
 public:
  explicit FolderCompressor(Compression compression);
  ~FolderCompressor();
  FolderCompressor(const FolderCompressor&) = delete;
  FolderCompressor& operator=(const FolderCompressor&) = delete;

  // Starts a new folder: no history.
  void Reset();
  // The next block of the folder.
  std::string Compress(std::string_view block);

 private:
  std::string StoredDeflate(std::string_view block) const;

  Compression compression_;
  z_stream stream_{};
  std::string history_;  // the folder's last (up to) 32 KiB of uncompressed data
};

}  // namespace pack
