// The Windows folders, the shell's special folders and today's date on Windows.
#include <windows.h>
#include <shlobj.h>

#include "platform/folders_known.h"

namespace platform {
namespace {

// A folder as the system gives it, without a trailing backslash unless it is a drive root.
std::string FolderText(const char* buffer, size_t length) {
  std::string folder(buffer, length);
  if (folder.size() > 3 && folder.back() == '\\') folder.pop_back();
  return folder;
}

}  // namespace

std::string WindowsFolder() {
  char buffer[MAX_PATH + 1];
  UINT length = ::GetWindowsDirectoryA(buffer, sizeof buffer);
  return length && length < sizeof buffer ? FolderText(buffer, length) : std::string();
}

std::string SystemFolder() {
  char buffer[MAX_PATH + 1];
  UINT length = ::GetSystemDirectoryA(buffer, sizeof buffer);
  return length && length < sizeof buffer ? FolderText(buffer, length) : std::string();
}

std::string SpecialFolderPath(int csidl) {
  LPITEMIDLIST list = nullptr;
  if (FAILED(::SHGetSpecialFolderLocation(nullptr, csidl, &list)) || !list) return "";
  char path[MAX_PATH + 1] = "";
  BOOL converted = ::SHGetPathFromIDListA(list, path);
  // The shell's allocator frees what the shell allocated, on every version of it.
  IMalloc* allocator = nullptr;
  if (SUCCEEDED(::SHGetMalloc(&allocator)) && allocator) {
    allocator->Free(list);
    allocator->Release();
  }
  return converted ? std::string(path) : std::string();
}

std::string ShortDateToday() {
  char buffer[128];
  int length = ::GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, buffer,
                                sizeof buffer);
  return length > 0 ? std::string(buffer, static_cast<size_t>(length) - 1) : std::string();
}

}  // namespace platform
