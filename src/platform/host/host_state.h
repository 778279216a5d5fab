// State shared by the host backend's files (not part of the platform interface).
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/host/host_control.h"
#include "platform/system_facts.h"

namespace host {

// The computer the host pretends to be (ResetSystemFacts gives the defaults).
struct HostFacts {
  std::optional<platform::VersionRecord> version;
  platform::Wow64Answer wow64 = platform::Wow64Answer::Yes;
  uint16_t languageId = 1033;
  // CheckTokenMembership's answer per group rid; a rid not listed answers No.
  std::vector<std::pair<uint32_t, platform::MembershipAnswer>> membership;
  std::optional<std::vector<platform::TokenGroup>> tokenGroups;
  std::optional<std::vector<platform::ProcessEntry>> processes;
  bool internet = false;
  std::vector<std::string> internetRequests;
  std::string windowsFolder;
  std::string systemFolder;
  // Special folders set apart from the defaults; an empty path cannot be located.
  std::vector<std::pair<int, std::string>> specialFolders;
  std::string shortDate;  // empty: today, M/D/YYYY
  std::string shortDateFormat = "M/d/yyyy";
  std::string decimalSeparator = ".";
  int64_t freeSpace = 50LL * 1024 * 1024 * 1024;  // on every existing drive
  // Folders that hold at most so many bytes of files, as small disks would (Windows paths).
  std::vector<std::pair<std::string, int64_t>> folderSpace;
};

// What the program seeds its random choices from, fixed by SETUP_HOST_SEED.
struct SeedFacts {
  uint64_t ticks;
  uint32_t processId;
  uint64_t counter;
};

struct HostState {
  std::string sandbox;
  std::string executablePath;
  std::vector<std::string> parameters;
  std::string tempFolder = "C:\\Users\\setup\\Temp\\";
  std::string currentFolder;  // Windows path; empty: the Linux working folder
  std::vector<int> answers;
  std::vector<MessageBoxRecord> messageBoxes;
  std::vector<std::string> started;
  // Answers of the folder dialog in order; nothing is a cancel.
  std::vector<std::optional<std::string>> folderChoices;
  std::vector<std::string> unavailableLibraries;
  std::function<void(int)> exitHandler;
  bool writeLogs = false;  // setup-host writes its logs into <sandbox>/host/
  bool logFileSystem = false;  // and, on request, a journal of what it created and deleted
  uint64_t slept = 0;
  // On request, the files opened and the paths whose attributes were set, in order: what an
  // operation costs the file system, for tests.
  bool traceFileCalls = false;
  std::vector<std::string> openedFiles;
  std::vector<std::string> attributeChanges;
  bool persistRegistry = false;  // setup-host saves the registry file after each change
  std::optional<SeedFacts> fixedSeed;
  // Fault injection for crash tests: the FileWrite call with this number (from 1) writes half
  // its bytes and the process kills itself; 0: never. With killFile set, only writes to files
  // whose name begins with it (in any case) count.
  uint64_t killAtWrite = 0;
  std::string killFile;
  uint64_t writes = 0;
};

HostState& State();

// The facts, set to the defaults on first use.
HostFacts& Facts();
// Reads <sandbox>/host/system.ini over the current facts when it exists.
bool LoadSystemIni(std::string* error);
// The special folder paths of a fresh host, by CSIDL; empty for one the host does not know.
std::string DefaultSpecialFolder(int csidl);

// Appends a line to <sandbox>/host/<name> when running as setup-host.
void AppendLog(const std::string& name, const std::string& text);

// Records a change to the file system in <sandbox>/host/fs.log when asked to.
void JournalFileSystem(const char* operation, const std::string& windowsPath);

// How many of count bytes a write at the file's position may put on its disk: count, unless
// the file lies under a folder of [FolderSpace] whose files would then hold more than allowed.
uint32_t WritableBytes(int fd, uint32_t count);

// errno to the Windows error code the program would have seen.
uint32_t WindowsErrorFromErrno(int error, bool pathContext = true);

}  // namespace host
