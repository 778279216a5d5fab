// What an FDI context (HFDI) holds from FDICreate to FDIDestroy.
#pragma once

#include <cstdint>

#include "platform/fdi.h"
#include "platform/host/cabinet/cab_file.h"
#include "platform/host/cabinet/fdi_memory.h"
#include "platform/host/cabinet/folder_decoder.h"

namespace host::fdi {

// A file that goes on into a later cabinet, and the cabinet and disk where it began, for the
// fdintPARTIAL_FILE notifications of the cabinets it reaches.
struct SpanningFile {
  FdiString name;
  FdiString firstCabinet;
  FdiString firstDisk;
};

struct FdiContext {
  FdiContext(const FdiCallbacks& fileCallbacks, ERF* errorRecord)
      : callbacks(fileCallbacks),
        erf(errorRecord),
        decoder(&callbacks.memory),
        spanning(FdiAllocator<SpanningFile>(&callbacks.memory)) {}

  void SetError(FDIERROR code) {
    if (erf == nullptr) return;
    erf->erfOper = code;
    erf->fError = 1;  // erfType is the caller's
  }

  FdiCallbacks callbacks;
  ERF* erf;
  // The folder being decoded; between FDICopy calls only when it goes on into the next cabinet.
  FolderDecoder decoder;
  // The spanning files of the cabinet last copied (set and index), for the cabinets after it.
  uint16_t spanningSetId = 0;
  uint16_t spanningCabinet = 0;
  FdiVector<SpanningFile> spanning;
};

}  // namespace host::fdi
