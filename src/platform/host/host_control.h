// Test-facing control of the host platform: the sandbox folder that stands for the Windows
// drives, the answers to message boxes and the logs of what the program showed or started.
// setup-host configures it from environment variables (InitFromEnvironment); unit tests set it
// directly.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace host {

// Drive X: lives at <sandbox>/X (upper-case letter); Z: is the Linux root, as under Wine.
void SetSandbox(const std::string& hostFolder);
const std::string& Sandbox();
// The Linux path that a Windows path names; names compare without regard to case, so an
// existing entry in other letter case is found. Empty for a path that cannot be mapped.
std::string HostPath(const std::string& windowsPath);
// "Z:\..." for a Linux path.
std::string WindowsPathOf(const std::string& hostPath);
// A Windows path made absolute against the current folder, with "." and ".." resolved.
std::string FullWindowsPath(const std::string& windowsPath);

struct MessageBoxRecord {
  std::string caption;
  std::string text;
  uint32_t style;
  bool owned;
  int answer;
};
void QueueAnswer(int answer);
void ClearAnswers();
const std::vector<MessageBoxRecord>& MessageBoxLog();
void ClearMessageBoxLog();

// What the program asked the shell or the process service to start.
const std::vector<std::string>& StartedLog();

// Libraries that LoadSystemLibrary can find (default: cabinet.dll only).
void SetLibraryAvailable(const std::string& fileName, bool available);

void SetExecutablePath(const std::string& windowsPath);
void SetCommandLine(const std::vector<std::string>& parameters);
void SetTempFolder(const std::string& windowsPath);  // with trailing backslash

// Replaces ending the process (unit tests throw from it). Must not return.
void SetExitHandler(std::function<void(int)> handler);

// Reads SETUP_HOST_SANDBOX (default ./setup-host-sandbox), SETUP_HOST_ANSWERS (a file with
// one answer per line: OK, Cancel, Abort, Retry, Ignore, Yes, No or a number) and
// SETUP_HOST_TEMP; logs go to <sandbox>/host/.
void InitFromEnvironment(int argc, char** argv);

// Milliseconds the program asked to sleep; the host does not really sleep.
uint64_t SleptMilliseconds();

}  // namespace host
