// Run-time libraries on the host: the system's cabinet.dll is our own FDI library, found by
// the same names as on Windows.
#include "platform/dynamic_library.h"

#include <strings.h>

#include <cstring>

#include "platform/fdi.h"
#include "platform/file_system.h"
#include "platform/host/cabinet/host_fdi.h"
#include "platform/host/host_state.h"

namespace platform {
namespace {

struct Export {
  const char* name;
  void* address;
};

struct BuiltInLibrary {
  const char* fileName;
  const Export* exports;
  size_t count;
};

const Export kCabinetExports[] = {
    {"FCICreate", reinterpret_cast<void*>(&HostFCICreate)},
    {"FCIAddFile", reinterpret_cast<void*>(&HostFCIAddFile)},
    {"FCIFlushCabinet", reinterpret_cast<void*>(&HostFCIFlushCabinet)},
    {"FCIFlushFolder", reinterpret_cast<void*>(&HostFCIFlushFolder)},
    {"FCIDestroy", reinterpret_cast<void*>(&HostFCIDestroy)},
    {"FDICreate", reinterpret_cast<void*>(&HostFDICreate)},
    {"FDIIsCabinet", reinterpret_cast<void*>(&HostFDIIsCabinet)},
    {"FDICopy", reinterpret_cast<void*>(&HostFDICopy)},
    {"FDIDestroy", reinterpret_cast<void*>(&HostFDIDestroy)},
};

const BuiltInLibrary kLibraries[] = {
    {"cabinet.dll", kCabinetExports, sizeof kCabinetExports / sizeof kCabinetExports[0]},
};

bool SameName(const std::string& a, const char* b) { return strcasecmp(a.c_str(), b) == 0; }

}  // namespace

LibraryHandle LoadSystemLibrary(const std::string& fileName) {
  for (const std::string& name : host::State().unavailableLibraries) {
    if (SameName(fileName, name.c_str())) {
      SetLastError(kErrorModNotFound);
      return nullptr;
    }
  }
  for (const BuiltInLibrary& library : kLibraries)
    if (SameName(fileName, library.fileName)) return const_cast<BuiltInLibrary*>(&library);
  SetLastError(kErrorModNotFound);
  return nullptr;
}

void* LibraryProc(LibraryHandle handle, const std::string& name) {
  const BuiltInLibrary* library = static_cast<const BuiltInLibrary*>(handle);
  for (size_t i = 0; library && i < library->count; ++i)
    if (name == library->exports[i].name) return library->exports[i].address;
  SetLastError(kErrorProcNotFound);
  return nullptr;
}

void FreeSystemLibrary(LibraryHandle) {}

}  // namespace platform
