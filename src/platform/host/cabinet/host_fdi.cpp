#include "platform/host/cabinet/host_fdi.h"

#include <new>

#include "platform/host/cabinet/cab_directory.h"
#include "platform/host/cabinet/cab_file.h"
#include "platform/host/cabinet/cab_format.h"
#include "platform/host/cabinet/fdi_context.h"
#include "platform/host/cabinet/fdi_copy.h"

using host::fdi::CabinetCopy;
using host::fdi::CabinetDirectory;
using host::fdi::CabinetFile;
using host::fdi::FdiCallbacks;
using host::fdi::FdiContext;
using host::fdi::FdiError;

namespace {

void SetError(ERF* erf, FDIERROR code) {
  if (erf == nullptr) return;
  erf->erfOper = code;
  erf->fError = 1;
}

}  // namespace

extern "C" {

HFDI HostFDICreate(PFNALLOC pfnalloc, PFNFREE pfnfree, PFNOPEN pfnopen, PFNREAD pfnread,
                   PFNWRITE pfnwrite, PFNCLOSE pfnclose, PFNSEEK pfnseek, int /*cpuType*/,
                   ERF* perf) {
  // Every callback is needed; without one there is no way to work, as without memory.
  if (!pfnalloc || !pfnfree || !pfnopen || !pfnread || !pfnwrite || !pfnclose || !pfnseek) {
    SetError(perf, FDIERROR_ALLOC_FAIL);
    return nullptr;
  }
  void* block = pfnalloc(sizeof(FdiContext));
  if (block == nullptr) {
    SetError(perf, FDIERROR_ALLOC_FAIL);
    return nullptr;
  }
  FdiCallbacks callbacks;
  callbacks.memory = {pfnalloc, pfnfree};
  callbacks.open = pfnopen;
  callbacks.read = pfnread;
  callbacks.write = pfnwrite;
  callbacks.close = pfnclose;
  callbacks.seek = pfnseek;
  return new (block) FdiContext(callbacks, perf);
}

int HostFDIIsCabinet(HFDI hfdi, intptr_t hf, FDICABINETINFO* pfdici) {
  FdiContext* context = static_cast<FdiContext*>(hfdi);
  if (context == nullptr || pfdici == nullptr) return 0;
  try {
    CabinetFile file(context->callbacks, hf);
    CabinetDirectory directory(&context->callbacks.memory);
    host::fdi::ReadCabinetHeader(file, directory);
    pfdici->cbCabinet = static_cast<long>(directory.cabinetSize);
    pfdici->cFolders = directory.folderCount;
    pfdici->cFiles = directory.fileCount;
    pfdici->setID = directory.setId;
    pfdici->iCabinet = directory.index;
    pfdici->fReserve = (directory.flags & cab_format::kFlagReservePresent) != 0;
    pfdici->hasprev = (directory.flags & cab_format::kFlagPrevCabinet) != 0;
    pfdici->hasnext = (directory.flags & cab_format::kFlagNextCabinet) != 0;
    return 1;
  } catch (const FdiError& error) {
    context->SetError(error.code);
  } catch (const std::bad_alloc&) {
    context->SetError(FDIERROR_ALLOC_FAIL);
  }
  return 0;
}

int HostFDICopy(HFDI hfdi, char* pszCabinet, char* pszCabPath, int /*flags*/, PFNFDINOTIFY pfnfdin,
                PFNFDIDECRYPT /*pfnfdid*/, void* pvUser) {
  FdiContext* context = static_cast<FdiContext*>(hfdi);
  if (context == nullptr) return 0;
  if (pszCabinet == nullptr || pfnfdin == nullptr) {
    context->SetError(pszCabinet == nullptr ? FDIERROR_CABINET_NOT_FOUND : FDIERROR_USER_ABORT);
    return 0;
  }
  try {
    CabinetCopy(*context, pszCabinet, pszCabPath, pfnfdin, pvUser).Run();
    return 1;
  } catch (const FdiError& error) {
    context->SetError(error.code);
  } catch (const std::bad_alloc&) {
    context->SetError(FDIERROR_ALLOC_FAIL);
  } catch (...) {
    context->SetError(FDIERROR_MDI_FAIL);  // not expected: nothing else is thrown inside
  }
  context->decoder.Stop();
  return 0;
}

int HostFDIDestroy(HFDI hfdi) {
  FdiContext* context = static_cast<FdiContext*>(hfdi);
  if (context == nullptr) return 0;
  PFNFREE free = context->callbacks.memory.free;
  context->~FdiContext();
  free(context);
  return 1;
}

// The compression side is bound like the real library's but never used.
void HostFCICreate() {}
void HostFCIAddFile() {}
void HostFCIFlushCabinet() {}
void HostFCIFlushFolder() {}
void HostFCIDestroy() {}

}  // extern "C"
