// The Windows folders and the shell's special folders on the host: those of a Windows 7 user
// named "setup", unless the test configured others.
#include "platform/folders_known.h"

#include <ctime>

#include "platform/host/host_control.h"
#include "platform/host/host_state.h"

namespace host {
namespace {

// By CSIDL, as Windows 7 answers a 32-bit program.
const struct {
  int csidl;
  const char* path;
} kSpecialFolders[] = {
    {0, "C:\\Users\\setup\\Desktop"},
    {2, "C:\\Users\\setup\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs"},
    {5, "C:\\Users\\setup\\Documents"},
    {6, "C:\\Users\\setup\\Favorites"},
    {7, "C:\\Users\\setup\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Startup"},
    {8, "C:\\Users\\setup\\AppData\\Roaming\\Microsoft\\Windows\\Recent"},
    {9, "C:\\Users\\setup\\AppData\\Roaming\\Microsoft\\Windows\\SendTo"},
    {11, "C:\\Users\\setup\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu"},
    {16, "C:\\Users\\setup\\Desktop"},
    {20, "C:\\Windows\\Fonts"},
    {21, "C:\\Users\\setup\\AppData\\Roaming\\Microsoft\\Windows\\Templates"},
    {22, "C:\\ProgramData\\Microsoft\\Windows\\Start Menu"},
    {23, "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs"},
    {24, "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\Startup"},
    {25, "C:\\Users\\Public\\Desktop"},
    {26, "C:\\Users\\setup\\AppData\\Roaming"},
    {28, "C:\\Users\\setup\\AppData\\Local"},
    {31, "C:\\Users\\setup\\Favorites"},  // since Vista the common favorites are the user's
    {35, "C:\\ProgramData"},
    {40, "C:\\Users\\setup"},
    {45, "C:\\ProgramData\\Microsoft\\Windows\\Templates"},
    {46, "C:\\Users\\Public\\Documents"},
};

}  // namespace

std::string DefaultSpecialFolder(int csidl) {
  for (const auto& entry : kSpecialFolders)
    if (entry.csidl == csidl) return entry.path;
  return "";
}

void SetWindowsFolder(const std::string& path) { Facts().windowsFolder = path; }
void SetSystemFolder(const std::string& path) { Facts().systemFolder = path; }
void SetShortDate(const std::string& text) { Facts().shortDate = text; }

void SetSpecialFolder(int csidl, const std::string& path) {
  auto& list = Facts().specialFolders;
  for (auto& entry : list) {
    if (entry.first == csidl) {
      entry.second = path;
      return;
    }
  }
  list.emplace_back(csidl, path);
}

}  // namespace host

namespace platform {

std::string WindowsFolder() { return host::Facts().windowsFolder; }
std::string SystemFolder() { return host::Facts().systemFolder; }

std::string SpecialFolderPath(int csidl) {
  for (const auto& [listed, path] : host::Facts().specialFolders)
    if (listed == csidl) return path;
  return host::DefaultSpecialFolder(csidl);
}

std::string ShortDateToday() {
  if (!host::Facts().shortDate.empty()) return host::Facts().shortDate;
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return std::to_string(local.tm_mon + 1) + "/" + std::to_string(local.tm_mday) + "/" +
         std::to_string(local.tm_year + 1900);
}

}  // namespace platform
