#include "system/process_search.h"

#include <optional>

namespace {

constexpr uint32_t kPlatformWindows = 1;
constexpr uint32_t kPlatformNt = 2;
// The snapshot record holds at most this many characters of a name.
constexpr size_t kMaxExeName = 260;

}  // namespace

std::string ProcessNameToMatch(const std::string& program, uint32_t platformId) {
  if (platformId == kPlatformWindows) return program;
  if (platformId != kPlatformNt) return "";
  size_t separator = program.find_last_of("\\:");
  return separator == std::string::npos ? program : program.substr(separator + 1);
}

int64_t FindProcessIn(const std::vector<platform::ProcessEntry>& entries, const std::string& name) {
  const std::string wanted = platform::UpperCaseByLocale(name);
  for (const platform::ProcessEntry& entry : entries) {
    if (platform::UpperCaseByLocale(entry.exeFile.substr(0, kMaxExeName)) == wanted)
      return entry.id;
  }
  return -1;
}

int64_t FindProcessByName(const std::string& program) {
  std::optional<std::vector<platform::ProcessEntry>> entries = platform::QueryProcesses();
  if (!entries) return -1;
  std::optional<platform::VersionRecord> version = platform::QueryVersion();
  return FindProcessIn(*entries, ProcessNameToMatch(program, version ? version->platformId : 0));
}

bool IsProcessRunning(const std::string& program) { return FindProcessByName(program) != -1; }
