// Decodes the data blocks of one cabinet folder in order (stored or MSZIP) and hands out the
// folder's bytes by offset. The decoder outlives a single FDICopy call: when a folder goes on
// into the next cabinet, the next FDICopy (on that cabinet) can pick it up where it stopped.
#pragma once

#include <zlib.h>

#include <cstdint>

#include "platform/host/cabinet/cab_file.h"
#include "platform/host/cabinet/fdi_memory.h"

namespace host::fdi {

// Where the folder's next data block is read from.
struct DataCursor {
  CabinetFile* file = nullptr;  // none while the decoder waits between FDICopy calls
  uint16_t setId = 0;
  uint16_t cabinetIndex = 0;
  uint64_t nextBlock = 0;   // offset of the next CFDATA record in that cabinet
  uint32_t blocksLeft = 0;  // CFDATA records of the folder still unread in that cabinet
  uint8_t dataReserve = 0;
  bool continues = false;  // the folder goes on into the next cabinet of the set
};

class NextCabinetSource {
 public:
  // Moves the cursor to the continuation of its folder in the next cabinet, or throws FdiError.
  virtual void Advance(DataCursor& cursor) = 0;

 protected:
  ~NextCabinetSource() = default;
};

class DataSink {
 public:
  virtual void Write(const unsigned char* data, uint32_t size) = 0;

 protected:
  ~DataSink() = default;
};

class FolderDecoder {
 public:
  explicit FolderDecoder(const FdiMemory* memory);
  ~FolderDecoder();
  FolderDecoder(const FolderDecoder&) = delete;
  FolderDecoder& operator=(const FolderDecoder&) = delete;

  // Begins a folder at its first block; BAD_COMPR_TYPE for methods other than none and MSZIP.
  void Start(const DataCursor& cursor, uint16_t compression);
  void Stop() { active_ = false; }
  bool Active() const { return active_; }
  uint16_t Compression() const { return compression_; }
  DataCursor& Cursor() { return cursor_; }

  // The lowest folder offset that Deliver can still serve.
  uint64_t Earliest() const { return outStart_; }
  // Hands the folder's bytes [offset, offset + size) to sink, decoding (and dropping) whatever
  // lies before; offset must not be below Earliest().
  void Deliver(uint64_t offset, uint64_t size, DataSink& sink, NextCabinetSource& next);

 private:
  void Allocate();
  void NextBlock(NextCabinetSource& next);
  void VerifyChecksum(const unsigned char* header, const unsigned char* reserve,
                      const unsigned char* data, uint16_t size) const;
  void Inflate(uint32_t size, uint16_t expected);
  void Remember(uint32_t size);

  const FdiMemory* memory_;
  bool active_ = false;
  uint16_t compression_ = 0;
  DataCursor cursor_;
  uint64_t outStart_ = 0;  // folder offset of out_[0]
  uint32_t outSize_ = 0;
  FdiBytes in_, out_, history_;
  uint32_t historySize_ = 0;
  z_stream zlib_{};
  bool zlibReady_ = false;
};

}  // namespace host::fdi
