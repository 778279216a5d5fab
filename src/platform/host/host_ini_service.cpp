// The host has no profile-string service: other programs' INI files get the runtime's own
// reader and writer, which follow the service's rules for 8-bit files.
#include "app/ini_file.h"
#include "platform/ini_service.h"

namespace platform {

std::vector<std::string> IniServiceKeyNames(const std::string& path, const std::string& section) {
  return IniFile(path).ReadSectionComplete(section);
}

bool IniServiceWrite(const std::string& path, const std::string& section, const std::string& key,
                     const std::string& value) {
  return IniFile(path).WriteString(section, key, value);
}

}  // namespace platform
