// The local calendar and process creation on Windows.
#include <windows.h>

#include <vector>

#include "platform/clock.h"
#include "platform/process_run.h"

namespace platform {

LocalDateTime LocalNow() {
  SYSTEMTIME now;
  ::GetLocalTime(&now);
  return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

std::string ShortDateFormat() {
  char buffer[128];
  int length = ::GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, buffer, sizeof buffer);
  return length > 0 ? std::string(buffer, static_cast<size_t>(length) - 1) : "M/d/yyyy";
}

bool RunProcessAndWait(const std::string& commandLine, const std::string& currentFolder, int show) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(show);
  PROCESS_INFORMATION process = {};
  // CreateProcessA may write into the command line.
  std::vector<char> line(commandLine.begin(), commandLine.end());
  line.push_back('\0');
  if (!::CreateProcessA(
          nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_NEW_CONSOLE | NORMAL_PRIORITY_CLASS,
          nullptr, currentFolder.empty() ? nullptr : currentFolder.c_str(), &startup, &process))
    return false;
  ::WaitForSingleObject(process.hProcess, INFINITE);
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
  return true;
}

}  // namespace platform
