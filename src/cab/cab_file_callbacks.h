// The memory and file callbacks the reader gives to FDI, over the platform's file service.
#pragma once

#include "platform/fdi.h"
#include "platform/file_system.h"

struct OpenRequest {
  platform::FileAccess access;
  platform::FileCreation creation;
  platform::FileOpenHints hints;
  bool append;
};

// How C-runtime open flags translate into an operating-system open.
OpenRequest OpenRequestFromFlags(int flags);

// Opens through the mapping; the handle or -1. Records the error in LastIoError.
intptr_t OpenWithFlags(const std::string& path, int flags);

void* DIAMONDAPI CabAlloc(unsigned long size);
void DIAMONDAPI CabFree(void* block);
intptr_t DIAMONDAPI CabOpen(char* name, int flags, int mode);
unsigned int DIAMONDAPI CabRead(intptr_t file, void* buffer, unsigned int count);
unsigned int DIAMONDAPI CabWrite(intptr_t file, void* buffer, unsigned int count);
int DIAMONDAPI CabClose(intptr_t file);
long DIAMONDAPI CabSeek(intptr_t file, long distance, int origin);
