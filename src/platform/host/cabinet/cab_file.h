// An open cabinet, read only through the client's open/read/seek/close callbacks.
#pragma once

#include <cstdint>

#include "platform/fdi.h"
#include "platform/host/cabinet/fdi_memory.h"

namespace host::fdi {

struct FdiCallbacks {
  FdiMemory memory;
  PFNOPEN open = nullptr;
  PFNREAD read = nullptr;
  PFNWRITE write = nullptr;
  PFNCLOSE close = nullptr;
  PFNSEEK seek = nullptr;
};

class CabinetFile {
 public:
  // Borrows an open handle (FDIIsCabinet): not closed by this object.
  CabinetFile(const FdiCallbacks& callbacks, intptr_t handle);
  CabinetFile(CabinetFile&& other) noexcept;
  CabinetFile& operator=(CabinetFile&&) = delete;
  ~CabinetFile();

  // Opens path read-only; FdiError CABINET_NOT_FOUND when the client cannot open it.
  static CabinetFile Open(const FdiCallbacks& callbacks, const char* path);

  // Reads exactly size bytes; false when fewer could be read.
  bool ReadExact(void* buffer, uint32_t size);
  // Like ReadExact, failing with the given error.
  void Read(void* buffer, uint32_t size, FDIERROR error = FDIERROR_CORRUPT_CABINET);
  // Moves to an absolute offset (relative to where the cabinet began) or skips forward.
  void SeekTo(uint64_t offset);
  void Skip(uint32_t size);
  uint64_t Position() const { return position_; }

  // A name of at most 255 characters and its terminator, read from the current position.
  FdiString ReadName();

 private:
  CabinetFile(const FdiCallbacks& callbacks, intptr_t handle, bool owned);

  const FdiCallbacks* callbacks_;
  intptr_t handle_;
  bool owned_;
  long base_ = 0;          // where the cabinet begins in the file
  uint64_t position_ = 0;  // relative to base_
};

}  // namespace host::fdi
