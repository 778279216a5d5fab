#include "cab/cab_intf.h"

#include "platform/dynamic_library.h"
#include "platform/os_error.h"

namespace {

// Process-wide: the library handle and its entry points.
platform::LibraryHandle cabinetLibrary = nullptr;
CabinetEntryPoints entryPoints = {};

template <typename Function>
void Bind(Function& slot, const char* name) {
  void* address = platform::LibraryProc(cabinetLibrary, name);
  if (!address) {
    platform::FreeSystemLibrary(cabinetLibrary);
    cabinetLibrary = nullptr;
    entryPoints = {};
    platform::RaiseLastOSError();
  }
  slot = reinterpret_cast<Function>(address);
}

}  // namespace

void LoadCabinetLibrary() {
  if (cabinetLibrary) return;
  cabinetLibrary = platform::LoadSystemLibrary("cabinet.dll");
  if (!cabinetLibrary) platform::RaiseLastOSError();
  Bind(entryPoints.FCICreate, "FCICreate");
  Bind(entryPoints.FCIAddFile, "FCIAddFile");
  Bind(entryPoints.FCIFlushCabinet, "FCIFlushCabinet");
  Bind(entryPoints.FCIFlushFolder, "FCIFlushFolder");
  Bind(entryPoints.FCIDestroy, "FCIDestroy");
  Bind(entryPoints.FDICreate, "FDICreate");
  Bind(entryPoints.FDIIsCabinet, "FDIIsCabinet");
  Bind(entryPoints.FDICopy, "FDICopy");
  Bind(entryPoints.FDIDestroy, "FDIDestroy");
}

const CabinetEntryPoints& CabinetLibrary() { return entryPoints; }

void FreeCabinetLibrary() {
  if (cabinetLibrary) platform::FreeSystemLibrary(cabinetLibrary);
  cabinetLibrary = nullptr;
  entryPoints = {};
}
