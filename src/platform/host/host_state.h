// State shared by the host backend's files (not part of the platform interface).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/host/host_control.h"

namespace host {

struct HostState {
  std::string sandbox;
  std::string executablePath;
  std::vector<std::string> parameters;
  std::string tempFolder = "C:\\Users\\setup\\Temp\\";
  std::string currentFolder;  // Windows path; empty: the Linux working folder
  std::vector<int> answers;
  std::vector<MessageBoxRecord> messageBoxes;
  std::vector<std::string> started;
  std::vector<std::string> unavailableLibraries;
  std::function<void(int)> exitHandler;
  bool writeLogs = false;  // setup-host writes its logs into <sandbox>/host/
  bool logFileSystem = false;  // and, on request, a journal of what it created and deleted
  uint64_t slept = 0;
};

HostState& State();

// Appends a line to <sandbox>/host/<name> when running as setup-host.
void AppendLog(const std::string& name, const std::string& text);

// Records a change to the file system in <sandbox>/host/fs.log when asked to.
void JournalFileSystem(const char* operation, const std::string& windowsPath);

// errno to the Windows error code the program would have seen.
uint32_t WindowsErrorFromErrno(int error, bool pathContext = true);

}  // namespace host
