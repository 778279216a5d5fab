// The host's stand-in for cabinet.dll: the FDI entry points with the published types, callbacks,
// notifications and error codes, over zlib's raw inflate. The FCI entry points exist only so
// that the library binds like the real one; they do nothing.
//
// Like the real library it reads, writes and allocates only through the callbacks given to
// FDICreate; cabinets are opened as pszCabPath + pszCabinet with _O_BINARY | _O_RDONLY.
// Folders may be stored or MSZIP (Quantum and LZX: FDIERROR_BAD_COMPR_TYPE); non-zero CFDATA
// checksums are verified; reserved areas are skipped. A failure leaves erfOper and fError set
// and erfType as the caller had it.
//
// FDICopy notifies fdintCABINET_INFO, then each file in cabinet order: fdintPARTIAL_FILE for
// a file continued from an earlier cabinet (psz2/psz3: the cabinet and disk where it began, as
// far as this context has seen them, else the header's previous cabinet), otherwise
// fdintCOPY_FILE (0 skips the file, -1 aborts) and after the data fdintCLOSE_FILE_INFO (attribs
// without the run-after-extract bit 0x400, which becomes cb = 1; FALSE or -1 aborts).
// When a file goes on into the next cabinet, fdintNEXT_CABINET asks for it (psz3: a buffer of
// kFdiPathBufferSize characters holding the cabinet folder, which the client may change); when
// that cabinet cannot be opened or does not continue the set, the notification is repeated with
// the problem in fdie, at most kNextCabinetAttempts times in all (see fdi_copy.h), and the copy
// then fails with that problem. A next cabinet that fits is announced with fdintCABINET_INFO,
// as every cabinet that FDICopy opens is.
//
// The folder being decoded stays in the context when it goes on into later cabinets, so that
// FDICopy on the cabinet where it went can extract the files that follow the spanning one in
// the same folder. Without that state (FDICopy on a continuation cabinet first, or another
// cabinet copied in between), such a file fails with FDIERROR_CORRUPT_CABINET after its
// fdintCOPY_FILE; files of the cabinet's other folders extract normally.
//
// FDIIsCabinet reads the header from the handle's current position.
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
