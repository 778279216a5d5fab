// Values in INI files of other programs (the [INI] task). Windows reads and writes them through
// its profile-string service, which keeps an existing UTF-16 file UTF-16 and sends the sections
// it maps to the registry (win.ini, system.ini) there; the host writes them with the runtime's
// own INI writer. The decisions (keep an existing key, record a created file) are the caller's.
#pragma once

#include <string>
#include <vector>

namespace platform {

// Every key name of the section in file order, not cut at a listing buffer; empty when the file
// or the section is missing.
std::vector<std::string> IniServiceKeyNames(const std::string& path, const std::string& section);

// Writes the value, creating the file and the section as needed. False when nothing was
// written, with the error code for LastError().
bool IniServiceWrite(const std::string& path, const std::string& section, const std::string& key,
                     const std::string& value);

}  // namespace platform
