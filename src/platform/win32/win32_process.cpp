// The running process on Windows.
#include <windows.h>

#include <cstdlib>

#include "platform/dynamic_library.h"
#include "platform/process.h"

namespace platform {
namespace {

// Splits the command line the way the program's runtime does for its parameters: blanks
// separate, double quotes group and are dropped.
std::vector<std::string> SplitCommandLine(const char* line) {
  std::vector<std::string> words;
  const char* p = line;
  bool first = true;
  while (*p) {
    while (*p && static_cast<unsigned char>(*p) <= ' ') ++p;
    if (!*p) break;
    std::string word;
    bool quoted = false;
    while (*p && (quoted || static_cast<unsigned char>(*p) > ' ')) {
      if (*p == '"') quoted = !quoted;
      else word += *p;
      ++p;
    }
    if (!first) words.push_back(word);
    first = false;
  }
  return words;
}

}  // namespace

void InitProcess(int, char**) {}

std::string ExecutablePath() {
  char buffer[MAX_PATH + 1];
  DWORD length = ::GetModuleFileNameA(nullptr, buffer, sizeof buffer);
  return std::string(buffer, length < sizeof buffer ? length : 0);
}

std::vector<std::string> CommandLineParameters() { return SplitCommandLine(::GetCommandLineA()); }

std::string TempFolder() {
  char buffer[MAX_PATH + 1];
  DWORD length = ::GetTempPathA(sizeof buffer, buffer);
  return length && length < sizeof buffer ? std::string(buffer, length) : std::string();
}

void SleepMilliseconds(uint32_t milliseconds) { ::Sleep(milliseconds); }
uint64_t ClockTicks() { return ::GetTickCount(); }
uint32_t ProcessId() { return ::GetCurrentProcessId(); }
uint64_t FineCounter() {
  LARGE_INTEGER counter;
  return ::QueryPerformanceCounter(&counter) ? static_cast<uint64_t>(counter.QuadPart) : 0;
}

void HardenProcess() {
  // Run-time loads must never pick up a DLL planted beside the setup file or in the current
  // folder. Both functions are missing on old systems, so they are looked up.
  HMODULE kernel = ::GetModuleHandleA("kernel32.dll");
  using SetDllDirectoryFunction = BOOL(WINAPI*)(LPCSTR);
  using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
  if (auto setDllDirectory = reinterpret_cast<SetDllDirectoryFunction>(
          reinterpret_cast<void*>(::GetProcAddress(kernel, "SetDllDirectoryA"))))
    setDllDirectory("");
  if (auto setDefault = reinterpret_cast<SetDefaultDllDirectoriesFunction>(
          reinterpret_cast<void*>(::GetProcAddress(kernel, "SetDefaultDllDirectories"))))
    setDefault(0x00000800);  // LOAD_LIBRARY_SEARCH_SYSTEM32
}

void ExitProcess(int code) { ::ExitProcess(static_cast<UINT>(code)); }

LibraryHandle LoadSystemLibrary(const std::string& fileName) {
  char folder[MAX_PATH + 1];
  UINT length = ::GetSystemDirectoryA(folder, sizeof folder);
  if (!length || length >= sizeof folder) return nullptr;
  std::string path = std::string(folder, length) + "\\" + fileName;
  // A full path loads exactly that file; its own imports are then searched from its folder.
  return ::LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

void* LibraryProc(LibraryHandle library, const std::string& name) {
  return reinterpret_cast<void*>(::GetProcAddress(static_cast<HMODULE>(library), name.c_str()));
}

void FreeSystemLibrary(LibraryHandle library) {
  if (library) ::FreeLibrary(static_cast<HMODULE>(library));
}

}  // namespace platform

// The default terminate handler demangles type names, which costs the stub tens of kilobytes;
// an uncaught exception is a bug either way, so end at once.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx
