#include "platform/host/cabinet/cab_file.h"

#include <climits>
#include <cstring>

#include "platform/host/cabinet/cab_format.h"

namespace host::fdi {
namespace {

constexpr int kSeekSet = 0;
constexpr int kSeekCurrent = 1;

}  // namespace

CabinetFile::CabinetFile(const FdiCallbacks& callbacks, intptr_t handle)
    : CabinetFile(callbacks, handle, false) {
  const long here = callbacks.seek(handle, 0, kSeekCurrent);
  base_ = here < 0 ? 0 : here;
}

CabinetFile::CabinetFile(const FdiCallbacks& callbacks, intptr_t handle, bool owned)
    : callbacks_(&callbacks), handle_(handle), owned_(owned) {}

CabinetFile::CabinetFile(CabinetFile&& other) noexcept
    : callbacks_(other.callbacks_),
      handle_(other.handle_),
      owned_(other.owned_),
      base_(other.base_),
      position_(other.position_) {
  other.owned_ = false;
}

CabinetFile::~CabinetFile() {
  if (owned_) callbacks_->close(handle_);
}

CabinetFile CabinetFile::Open(const FdiCallbacks& callbacks, const char* path) {
  // FDI opens cabinets with _O_BINARY | _O_RDONLY.
  const intptr_t handle = callbacks.open(const_cast<char*>(path), kOpenBinary | kOpenReadOnly, 0);
  if (handle == -1) throw FdiError{FDIERROR_CABINET_NOT_FOUND};
  return CabinetFile(callbacks, handle, true);
}

bool CabinetFile::ReadExact(void* buffer, uint32_t size) {
  unsigned char* out = static_cast<unsigned char*>(buffer);
  uint32_t done = 0;
  while (done < size) {
    const unsigned int got = callbacks_->read(handle_, out + done, size - done);
    if (got == 0 || got > size - done) break;  // end of file, or -1 for an error
    done += got;
  }
  position_ += done;
  return done == size;
}

void CabinetFile::Read(void* buffer, uint32_t size, FDIERROR error) {
  if (!ReadExact(buffer, size)) throw FdiError{error};
}

void CabinetFile::SeekTo(uint64_t offset) {
  if (offset > static_cast<uint64_t>(LONG_MAX - base_)) throw FdiError{FDIERROR_CORRUPT_CABINET};
  const long target = base_ + static_cast<long>(offset);
  if (callbacks_->seek(handle_, target, kSeekSet) != target)
    throw FdiError{FDIERROR_CORRUPT_CABINET};
  position_ = offset;
}

void CabinetFile::Skip(uint32_t size) {
  if (size != 0) SeekTo(position_ + size);
}

FdiString CabinetFile::ReadName() {
  char buffer[cab_format::kMaxNameSize];
  const uint64_t start = position_;
  ReadExact(buffer, sizeof buffer);  // a name near the end of the file may be followed by less
  const size_t available = static_cast<size_t>(position_ - start);
  const void* end = std::memchr(buffer, '\0', available);
  if (end == nullptr) throw FdiError{FDIERROR_CORRUPT_CABINET};
  const size_t length = static_cast<const char*>(end) - buffer;
  SeekTo(start + length + 1);
  return FdiString(buffer, length, FdiAllocator<char>(&callbacks_->memory));
}

}  // namespace host::fdi
