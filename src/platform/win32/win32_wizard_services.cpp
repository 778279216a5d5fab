// Free space, decimal separator, the folder dialog and the restart on Windows.
#include <windows.h>
#include <shlobj.h>

#include "platform/wizard_services.h"

namespace platform {

int64_t DriveFreeSpace(char driveLetter) {
  char root[] = {driveLetter, ':', '\\', '\0'};
  using GetDiskFreeSpaceExFunction =
      BOOL(WINAPI*)(LPCSTR, PULARGE_INTEGER, PULARGE_INTEGER, PULARGE_INTEGER);
  // Missing on the oldest systems, so it is looked up.
  auto getFreeEx = reinterpret_cast<GetDiskFreeSpaceExFunction>(reinterpret_cast<void*>(
      ::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "GetDiskFreeSpaceExA")));
  if (getFreeEx) {
    ULARGE_INTEGER available, total, free;
    if (!getFreeEx(root, &available, &total, &free)) return 0;
    return static_cast<int64_t>(available.QuadPart);
  }
  DWORD sectorsPerCluster, bytesPerSector, freeClusters, clusters;
  if (!::GetDiskFreeSpaceA(root, &sectorsPerCluster, &bytesPerSector, &freeClusters, &clusters))
    return 0;
  return static_cast<int64_t>(freeClusters) * sectorsPerCluster * bytesPerSector;
}

std::string DecimalSeparator() {
  char buffer[8];
  int length = ::GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, buffer, sizeof buffer);
  return length > 1 ? std::string(buffer, static_cast<size_t>(length) - 1) : ".";
}

std::optional<std::string> BrowseForFolder(WindowHandle owner, const std::string& title) {
  BROWSEINFOA info = {};
  info.hwndOwner = reinterpret_cast<HWND>(owner);
  info.lpszTitle = title.c_str();
  info.ulFlags = BIF_RETURNONLYFSDIRS;
  LPITEMIDLIST item = ::SHBrowseForFolderA(&info);
  if (!item) return std::nullopt;
  char path[MAX_PATH] = {};
  BOOL converted = ::SHGetPathFromIDListA(item, path);
  ::ILFree(item);
  if (!converted) return std::string();
  return std::string(path);
}

void RebootWindows() {
  if (::ExitWindowsEx(EWX_REBOOT, 0)) return;
  HANDLE token;
  if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token))
    return;
  TOKEN_PRIVILEGES privileges = {};
  privileges.PrivilegeCount = 1;
  privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  ::LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &privileges.Privileges[0].Luid);
  if (::AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr))
    ::ExitWindowsEx(EWX_REBOOT, 0);
  ::CloseHandle(token);
}

}  // namespace platform
