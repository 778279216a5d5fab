// The host's stand-in for cabinet.dll: the FDI entry points with the published types, callbacks,
// notifications and error codes, over zlib's raw inflate. The FCI entry points exist only so
// that the library binds like the real one; they do nothing.
#pragma once

#include "platform/fdi.h"

extern "C" {

HFDI HostFDICreate(PFNALLOC pfnalloc, PFNFREE pfnfree, PFNOPEN pfnopen, PFNREAD pfnread,
                   PFNWRITE pfnwrite, PFNCLOSE pfnclose, PFNSEEK pfnseek, int cpuType, ERF* perf);
int HostFDIIsCabinet(HFDI hfdi, intptr_t hf, FDICABINETINFO* pfdici);
int HostFDICopy(HFDI hfdi, char* pszCabinet, char* pszCabPath, int flags, PFNFDINOTIFY pfnfdin,
                PFNFDIDECRYPT pfnfdid, void* pvUser);
int HostFDIDestroy(HFDI hfdi);

void HostFCICreate();
void HostFCIAddFile();
void HostFCIFlushCabinet();
void HostFCIFlushFolder();
void HostFCIDestroy();

}  // extern "C"
