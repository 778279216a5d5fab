// [INI] entries: values written into INI files for the installed application, recorded for the
// uninstaller where an entry asks for removal.
#pragma once

#include <string>

// Applies one [INI] entry: "file path*?section*?key*?value*?overwrite*?removal". An entry of any
// other field count is ignored. A value that cannot be written shows message 19 and sets
// InstallErrors.
void WriteIniValue(const std::string& entry);
