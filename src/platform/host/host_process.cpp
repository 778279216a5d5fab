// The running process on the host, and the host's configuration from the environment.
#include "platform/process.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <climits>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/file_system.h"
#include "platform/folders_known.h"
#include "platform/message_box.h"
#include "platform/host/host_control.h"
#include "platform/host/host_state.h"
#include "platform/registry.h"

namespace host {
namespace {

int AnswerFromText(const std::string& word) {
  static const struct {
    const char* word;
    int answer;
  } kWords[] = {{"OK", platform::kIdOk},       {"Cancel", platform::kIdCancel},
                {"Abort", platform::kIdAbort}, {"Retry", platform::kIdRetry},
                {"Ignore", platform::kIdIgnore}, {"Yes", platform::kIdYes},
                {"No", platform::kIdNo}};
  for (const auto& entry : kWords)
    if (word == entry.word) return entry.answer;
  return std::atoi(word.c_str());
}

void CreateWindowsFolders(const std::string& windowsPath) {
  std::string partial;
  size_t start = 0;
  while (start <= windowsPath.size()) {
    size_t slash = windowsPath.find('\\', start);
    if (slash == std::string::npos) slash = windowsPath.size();
    partial = windowsPath.substr(0, slash);
    if (partial.size() > 2) platform::FolderCreate(partial);
    start = slash + 1;
  }
}

// The folders every Windows machine has, so that a program may put files into them directly.
void CreateKnownFolders() {
  std::vector<std::string> folders = {platform::WindowsFolder(), platform::SystemFolder()};
  for (int csidl = 0; csidl < 64; ++csidl) folders.push_back(platform::SpecialFolderPath(csidl));
  // The program folders the registry names exist on every Windows machine.
  for (const char* name : {"ProgramFilesDir", "CommonFilesDir"}) {
    std::optional<platform::RegistryValue> value = platform::RegistryReadValue(
        platform::RegistryRoot::LocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion", name);
    if (value && value->type == platform::RegistryValueType::String)
      folders.push_back(value->data);
  }
  for (const std::string& folder : folders) {
    if (folder.size() < 4 || folder[1] != ':' || folder[2] != '\\') continue;
    char drive = static_cast<char>(std::toupper(static_cast<unsigned char>(folder[0])));
    // Only the sandbox's drives: Z: is the real Linux root.
    if (drive < 'A' || drive >= 'Z') continue;
    // A folder configured on another drive brings that drive into being.
    mkdir((State().sandbox + "/" + drive).c_str(), 0755);
    CreateWindowsFolders(folder);
  }
}

// A malformed registry.reg or system.ini is a mistake in the test, not a run to go on with.
constexpr int kExitBadConfiguration = 78;

}  // namespace

void QueueAnswer(int answer) { State().answers.push_back(answer); }
void ClearAnswers() { State().answers.clear(); }
const std::vector<MessageBoxRecord>& MessageBoxLog() { return State().messageBoxes; }
void ClearMessageBoxLog() { State().messageBoxes.clear(); }
const std::vector<std::string>& StartedLog() { return State().started; }
void SetExecutablePath(const std::string& windowsPath) { State().executablePath = windowsPath; }
void SetCommandLine(const std::vector<std::string>& parameters) { State().parameters = parameters; }
void SetTempFolder(const std::string& windowsPath) { State().tempFolder = windowsPath; }
void SetExitHandler(std::function<void(int)> handler) { State().exitHandler = std::move(handler); }
uint64_t SleptMilliseconds() { return State().slept; }

void SetLibraryAvailable(const std::string& fileName, bool available) {
  auto& list = State().unavailableLibraries;
  std::erase(list, fileName);
  if (!available) list.push_back(fileName);
}

void AppendLog(const std::string& name, const std::string& text) {
  if (!State().writeLogs) return;
  std::string folder = State().sandbox + "/host";
  mkdir(folder.c_str(), 0755);
  if (FILE* file = std::fopen((folder + "/" + name).c_str(), "ab")) {
    std::fwrite(text.data(), 1, text.size(), file);
    std::fclose(file);
  }
}

void JournalFileSystem(const char* operation, const std::string& windowsPath) {
  if (State().logFileSystem) AppendLog("fs.log", std::string(operation) + " " + windowsPath + "\n");
}

void InitFromEnvironment(int argc, char** argv) {
  HostState& state = State();
  const char* sandbox = std::getenv("SETUP_HOST_SANDBOX");
  std::string root = sandbox && *sandbox ? sandbox : "setup-host-sandbox";
  if (root[0] != '/') {
    char cwd[PATH_MAX];
    if (getcwd(cwd, sizeof cwd)) root = std::string(cwd) + "/" + root;
  }
  mkdir(root.c_str(), 0755);
  mkdir((root + "/C").c_str(), 0755);
  state.sandbox = root;
  state.writeLogs = true;
  std::string error;
  if (!LoadHostConfiguration(&error)) {
    std::fprintf(stderr, "setup-host: %s\n", error.c_str());
    std::exit(kExitBadConfiguration);
  }
  state.persistRegistry = true;
  SaveRegistry();
  CreateKnownFolders();
  if (const char* kill = std::getenv("SETUP_HOST_KILL_AT_WRITE"); kill && *kill)
    state.killAtWrite = std::strtoull(kill, nullptr, 10);
  if (const char* file = std::getenv("SETUP_HOST_KILL_FILE"); file && *file) state.killFile = file;
  const char* journal = std::getenv("SETUP_HOST_FS_LOG");
  state.logFileSystem = journal && *journal == '1';
  char self[PATH_MAX];
  ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
  if (length > 0) state.executablePath = WindowsPathOf(std::string(self, static_cast<size_t>(length)));
  for (int i = 1; i < argc; ++i) state.parameters.push_back(argv[i]);
  if (const char* seed = std::getenv("SETUP_HOST_SEED"); seed && *seed) {
    unsigned long long ticks = 0, counter = 0;
    unsigned processId = 0;
    if (std::sscanf(seed, "%llu,%u,%llu", &ticks, &processId, &counter) != 3) {
      std::fprintf(stderr, "setup-host: SETUP_HOST_SEED is TICKS,PROCESS-ID,COUNTER\n");
      std::exit(kExitBadConfiguration);
    }
    state.fixedSeed = SeedFacts{ticks, processId, counter};
  }
  if (const char* temp = std::getenv("SETUP_HOST_TEMP"); temp && *temp) {
    state.tempFolder = temp;
    if (state.tempFolder.back() != '\\') state.tempFolder += '\\';
  }
  CreateWindowsFolders(state.tempFolder.substr(0, state.tempFolder.size() - 1));
  if (const char* answers = std::getenv("SETUP_HOST_ANSWERS"); answers && *answers) {
    if (FILE* file = std::fopen(answers, "rb")) {
      char line[256];
      while (std::fgets(line, sizeof line, file)) {
        std::string word = line;
        while (!word.empty() && (word.back() == '\n' || word.back() == '\r' || word.back() == ' '))
          word.pop_back();
        if (!word.empty()) state.answers.push_back(AnswerFromText(word));
      }
      std::fclose(file);
    }
  }
}

}  // namespace host

namespace platform {

void InitProcess(int argc, char** argv) { host::InitFromEnvironment(argc, argv); }
std::string ExecutablePath() { return host::State().executablePath; }
std::vector<std::string> CommandLineParameters() { return host::State().parameters; }
// GetTempPathA fails when the path does not fit into its MAX_PATH + 1 buffer.
std::string TempFolder() {
  const std::string& temp = host::State().tempFolder;
  return temp.size() > 260 ? std::string() : temp;
}
void ProcessMessages() {}
void SleepMilliseconds(uint32_t milliseconds) { host::State().slept += milliseconds; }
uint64_t ClockTicks() {
  if (host::State().fixedSeed) return host::State().fixedSeed->ticks;
  timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<uint64_t>(now.tv_sec) * 1000 + static_cast<uint64_t>(now.tv_nsec / 1000000);
}
uint32_t ProcessId() {
  if (host::State().fixedSeed) return host::State().fixedSeed->processId;
  return static_cast<uint32_t>(getpid());
}
uint64_t FineCounter() {
  if (host::State().fixedSeed) return host::State().fixedSeed->counter;
  timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<uint64_t>(now.tv_sec) * 1000000000 + static_cast<uint64_t>(now.tv_nsec);
}
void HardenProcess() {}

void ExitProcess(int code) {
  if (host::State().exitHandler) host::State().exitHandler(code);
  std::fflush(nullptr);
  std::exit(code);
}

}  // namespace platform
