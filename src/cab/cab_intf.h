// Binding of the system's cabinet library: loaded on first use, the nine entry points resolved
// by name, kept until the program ends.
#pragma once

#include "platform/fdi.h"

struct CabinetEntryPoints {
  PFNFCIANY FCICreate;
  PFNFCIANY FCIAddFile;
  PFNFCIANY FCIFlushCabinet;
  PFNFCIANY FCIFlushFolder;
  PFNFCIANY FCIDestroy;
  PFNFDICREATE FDICreate;
  PFNFDIISCABINET FDIIsCabinet;
  PFNFDICOPY FDICopy;
  PFNFDIDESTROY FDIDestroy;
};

// Loads "cabinet.dll" if it is not loaded yet. Raises platform::EOSError when the library or
// one of the names cannot be found; the library is then released, so the next call tries again.
void LoadCabinetLibrary();
// The bound entry points; LoadCabinetLibrary must have succeeded.
const CabinetEntryPoints& CabinetLibrary();
// Releases the library; the next LoadCabinetLibrary loads it again.
void FreeCabinetLibrary();
