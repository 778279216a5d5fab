// Libraries bound at run time. Only libraries that the system itself ships are loaded, and only
// from the system folder: never from the setup file's folder or the current folder.
#pragma once

#include <string>

namespace platform {

using LibraryHandle = void*;

// nullptr on failure (error code in LastError()).
LibraryHandle LoadSystemLibrary(const std::string& fileName);
void* LibraryProc(LibraryHandle library, const std::string& name);
void FreeSystemLibrary(LibraryHandle library);

}  // namespace platform
