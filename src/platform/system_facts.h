// Raw facts about the computer. The decisions made from them (Windows family, version
// parsing, group rules) live above the platform.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// What GetVersionExA reports.
struct VersionRecord {
  uint32_t major = 0;
  uint32_t minor = 0;
  uint32_t build = 0;
  uint32_t platformId = 0;  // 1 Windows 95/98/ME, 2 NT
};
std::optional<VersionRecord> QueryVersion();

enum class Wow64Answer { Unavailable, Failed, No, Yes };
// IsWow64Process for the current process, looked up at run time.
Wow64Answer QueryWow64();

uint16_t SystemDefaultLanguageId();

// Membership of the caller's token in the built-in group S-1-5-32-rid through
// CheckTokenMembership; nothing when the function is missing or fails.
enum class MembershipAnswer { Unavailable, Failed, No, Yes };
MembershipAnswer CheckTokenMembership(uint32_t rid);

struct TokenGroup {
  std::string sid;  // "S-1-5-32-544"
  uint32_t attributes;
};
// The groups of the thread's token (or the process's when the thread has none); nothing when
// the token cannot be opened or read.
std::optional<std::vector<TokenGroup>> QueryTokenGroups();

struct ProcessEntry {
  uint32_t id;
  std::string exeFile;  // as the process snapshot gives it (name on NT, full path on 9x)
};
// Nothing when the snapshot functions are missing or the snapshot fails.
std::optional<std::vector<ProcessEntry>> QueryProcesses();

// Opens the address through the system's internet layer; true when a handle came back.
bool InternetOpenUrl(const std::string& agent, const std::string& url);

// The text in upper case by the user's locale.
std::string UpperCaseByLocale(const std::string& text);

}  // namespace platform
