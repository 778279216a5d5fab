// Handing installed files to the system: fonts, self-registering libraries, type libraries and
// the desktop wallpaper. Each function reports what the system answered; the caller decides
// what that means for the installation.
#pragma once

#include <string>

namespace platform {

// Adds the font file to the system's font table; false when the system added no font.
bool AddFontFile(const std::string& path);
// Tells every top-level window that the font table changed, waiting for each that responds.
void BroadcastFontChange();

enum class SelfRegisterResult {
  NotLoaded,     // the file could not be loaded as a library
  Registered,    // DllRegisterServer reported success
  Failed,        // DllRegisterServer reported failure
  NoEntryPoint,  // the library exports no DllRegisterServer
};
// Loads the library, calls its DllRegisterServer once (when it has one) and unloads it.
SelfRegisterResult CallDllRegisterServer(const std::string& path);

enum class TypeLibResult {
  NotLoaded,  // the file could not be loaded as a type library
  Registered,
  Failed,  // loaded, but the system refused to register it
};
// Loads the type library from the file and registers it under that path with the help folder.
TypeLibResult RegisterTypeLibrary(const std::string& path, const std::string& helpFolder);

// Asks the system to apply the desktop wallpaper file and tells the windows of the change; the
// caller has written the setting to the registry already. False when the system refused.
bool SetDesktopWallpaper(const std::string& path);

}  // namespace platform
