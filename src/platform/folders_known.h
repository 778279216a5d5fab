// The Windows folders and the shell's special folders.
#pragma once

#include <string>

namespace platform {

// GetWindowsDirectoryA and GetSystemDirectoryA, without trailing backslash unless a root.
std::string WindowsFolder();
std::string SystemFolder();
// The file-system path of a shell folder constant (CSIDL); empty when it cannot be located.
std::string SpecialFolderPath(int csidl);
// Today's date in the system's short date format.
std::string ShortDateToday();

}  // namespace platform
