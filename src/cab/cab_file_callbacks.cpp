#include "cab/cab_file_callbacks.h"

#include <cstdlib>

#include "cab/cab_st_comps.h"

uint32_t LastIoError = 0;

OpenRequest OpenRequestFromFlags(int flags) {
  using platform::FileAccess;
  using platform::FileCreation;
  OpenRequest request = {};
  switch (flags & 3) {
    case kOpenReadOnly: request.access = FileAccess::Read; break;
    case kOpenWriteOnly: request.access = FileAccess::Write; break;
    default: request.access = FileAccess::ReadWrite; break;
  }
  bool create = (flags & kOpenCreate) != 0;
  if ((flags & kOpenExclusive) && create)
    request.creation = FileCreation::CreateNew;
  else if (flags & kOpenTruncate)
    request.creation = create ? FileCreation::CreateAlways : FileCreation::TruncateExisting;
  else
    request.creation = create ? FileCreation::OpenAlways : FileCreation::OpenExisting;
  request.hints.temporary = (flags & kOpenShortLived) && create;
  request.hints.randomAccess = (flags & kOpenRandom) != 0;
  request.hints.sequential = (flags & kOpenSequential) != 0;
  request.hints.deleteOnClose = (flags & kOpenTemporary) && create;
  // The file phase keeps its temporary cabinet open for writing while the library reads it.
  request.hints.othersMayWrite = request.access == FileAccess::Read;
  request.append = (flags & kOpenAppend) != 0;
  return request;
}

intptr_t OpenWithFlags(const std::string& path, int flags) {
  OpenRequest request = OpenRequestFromFlags(flags);
  platform::FileHandle file = platform::FileOpen(path, request.access, request.creation, request.hints);
  if (file == platform::kInvalidFile) {
    LastIoError = platform::LastError();
    return -1;
  }
  if (request.append && platform::FileSeek(file, 0, 2) < 0) {
    LastIoError = platform::LastError();
    platform::FileClose(file);
    return -1;
  }
  return file;
}

void* DIAMONDAPI CabAlloc(unsigned long size) { return std::malloc(size ? size : 1); }

void DIAMONDAPI CabFree(void* block) { std::free(block); }

intptr_t DIAMONDAPI CabOpen(char* name, int flags, int) { return OpenWithFlags(name, flags); }

unsigned int DIAMONDAPI CabRead(intptr_t file, void* buffer, unsigned int count) {
  int32_t done = platform::FileRead(file, buffer, count);
  if (done < 0) LastIoError = platform::LastError();
  return static_cast<unsigned int>(done);
}

unsigned int DIAMONDAPI CabWrite(intptr_t file, void* buffer, unsigned int count) {
  int32_t done = platform::FileWrite(file, buffer, count);
  if (done < 0) LastIoError = platform::LastError();
  return static_cast<unsigned int>(done);
}

int DIAMONDAPI CabClose(intptr_t file) {
  if (platform::FileClose(file)) return 0;
  LastIoError = platform::LastError();
  return -1;
}

long DIAMONDAPI CabSeek(intptr_t file, long distance, int origin) {
  int64_t position = platform::FileSeek(file, distance, origin);
  if (position < 0) LastIoError = platform::LastError();
  return static_cast<long>(position);
}
