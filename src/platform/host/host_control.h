// Test-facing control of the host platform: the sandbox folder that stands for the Windows
// drives, the answers to message boxes and the logs of what the program showed or started.
// setup-host configures it from environment variables (InitFromEnvironment); unit tests set it
// directly.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/registry.h"
#include "platform/system_facts.h"

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

// The registry. It starts as a plausible Windows 7 machine. setup-host applies
// <sandbox>/host/registry.reg over it at start, as regedit imports such a file ("[-KEY]" and
// "Name"=- delete), and writes the whole registry back to that file at start and after every
// change the program makes. These functions change it without writing the file.
void ResetRegistry();  // back to the default machine
void ClearRegistry();  // four empty roots
bool RegistryCreateKey(platform::RegistryRoot root, const std::string& path);
// Creates the key when missing. False only for a malformed path.
bool RegistrySetValue(platform::RegistryRoot root, const std::string& path,
                      const std::string& name, const platform::RegistryValue& value);
// Applies registry-file text; on a malformed line nothing changes and error tells the line.
bool RegistryImport(const std::string& text, std::string* error = nullptr);
std::string RegistryExport();  // REGEDIT4 text, as in the file
std::string RegistryFilePath();
bool SaveRegistry();
platform::RegistryValue RegistryString(
    const std::string& text, platform::RegistryValueType type = platform::RegistryValueType::String);
platform::RegistryValue RegistryDWord(uint32_t number);

// The computer's facts. Defaults: Windows 7 SP1 (6.1.7601, platform 2) under WOW64, language
// 1033, an administrator (CheckTokenMembership Yes for 544, No for other groups; the token holds
// Administrators enabled), no running process, no internet, C:\Windows, the special folders of
// a Windows 7 user "setup", today's date as M/D/YYYY. setup-host reads <sandbox>/host/system.ini
// over them at start.
void ResetSystemFacts();
void SetVersion(std::optional<platform::VersionRecord> version);  // nothing: the query fails
void SetWow64(platform::Wow64Answer answer);
void SetLanguageId(uint16_t languageId);
void SetMembership(uint32_t rid, platform::MembershipAnswer answer);
void SetTokenGroups(std::optional<std::vector<platform::TokenGroup>> groups);  // nothing: unreadable
void SetProcesses(std::optional<std::vector<platform::ProcessEntry>> processes);  // nothing: fails
void SetInternet(bool reachable);
// "agent url" for each time the program tried to open an address.
const std::vector<std::string>& InternetRequests();
void SetWindowsFolder(const std::string& path);
void SetSystemFolder(const std::string& path);
void SetSpecialFolder(int csidl, const std::string& path);  // empty: cannot be located
void SetShortDate(const std::string& text);                 // empty: today as M/D/YYYY

// Reads <sandbox>/host/registry.reg and system.ini (each when it exists) over the current
// registry and facts. False, with the file and line in error, for a malformed file.
bool LoadHostConfiguration(std::string* error);

// Reads SETUP_HOST_SANDBOX (default ./setup-host-sandbox), SETUP_HOST_ANSWERS (a file with
// one answer per line: OK, Cancel, Abort, Retry, Ignore, Yes, No or a number) and
// SETUP_HOST_TEMP; logs go to <sandbox>/host/.
void InitFromEnvironment(int argc, char** argv);

// The folder dialog's next answer (nothing: cancelled); unanswered dialogs are cancelled.
void QueueFolderChoice(std::optional<std::string> path);
// Free bytes reported for every existing drive, and the decimal separator.
void SetFreeSpace(int64_t bytes);
void SetDecimalSeparator(const std::string& separator);

// Milliseconds the program asked to sleep; the host does not really sleep.
uint64_t SleptMilliseconds();

}  // namespace host
