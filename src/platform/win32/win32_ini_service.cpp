#include <windows.h>

#include "platform/ini_service.h"

namespace platform {
namespace {

// The listing grows its buffer until the names fit: a long section must not hide the key an
// entry was told to keep.
constexpr DWORD kFirstListing = 16384;
constexpr DWORD kLargestListing = 1u << 24;

}  // namespace

std::vector<std::string> IniServiceKeyNames(const std::string& path, const std::string& section) {
  std::string buffer(kFirstListing, '\0');
  DWORD got = 0;
  for (;;) {
    const auto size = static_cast<DWORD>(buffer.size());
    got =
        ::GetPrivateProfileStringA(section.c_str(), nullptr, "", buffer.data(), size, path.c_str());
    // A listing cut short reports the buffer's size less two.
    if (got + 2 < size || size >= kLargestListing) break;
    buffer.assign(static_cast<size_t>(size) * 2, '\0');
  }
  std::vector<std::string> names;
  size_t pos = 0;
  while (pos < got) {
    const size_t end = buffer.find('\0', pos);
    if (end == pos || end == std::string::npos || end > got) break;
    names.push_back(buffer.substr(pos, end - pos));
    pos = end + 1;
  }
  return names;
}

bool IniServiceWrite(const std::string& path, const std::string& section, const std::string& key,
                     const std::string& value) {
  if (!::WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), path.c_str()))
    return false;
  // Windows 9x keeps profile writes in a cache; this call writes it to the file.
  ::WritePrivateProfileStringA(nullptr, nullptr, nullptr, path.c_str());
  ::SetLastError(ERROR_SUCCESS);
  return true;
}

}  // namespace platform
