// <sandbox>/host/system.ini: the facts setup-host pretends, for process-level tests.
//
//   [System]
//   Version=6.1.7601        major.minor[.build], or none: the version query fails
//   PlatformId=2
//   Wow64=Yes               Yes, No, Failed or Unavailable
//   LanguageId=1033
//   Internet=No
//   Date=12/31/2010         the short date (default today, M/D/YYYY)
//   DateFormat=M/d/yyyy     the user's short date pattern
//   DecimalSeparator=.      the user's decimal separator
//   FreeSpace=53687091200   free bytes on every existing drive
//   WindowsFolder=C:\Windows
//   SystemFolder=C:\Windows\system32
//   ProcessSnapshot=Yes     No: the process snapshot fails
//   TokenReadable=Yes       No: the token's groups cannot be read
//   [Membership]            CheckTokenMembership per group rid: Yes, No, Failed or Unavailable
//   544=Yes
//   [TokenGroups]           replaces the token's groups, in order: SID=attributes
//   S-1-5-32-544=0xF
//   [Processes]             replaces the running processes, in order: id=executable name
//   4242=notepad.exe
//   [SpecialFolders]        CSIDL=path; an empty path cannot be located
//   26=C:\Users\setup\AppData\Roaming
//   [FolderSpace]           folder=bytes: the files under the folder hold at most that many
//   C:\Program Files\App=4096   bytes, like a small disk mounted there; a write beyond it
//                           writes what fits and fails with ERROR_DISK_FULL
//
// Names compare without regard to case. Unknown sections and keys are errors, so that a typing
// slip in a test does not silently test the defaults.
#include <cstdio>
#include <cstdlib>

#include "platform/host/host_control.h"
#include "platform/host/host_state.h"

namespace host {
namespace {

using platform::MembershipAnswer;
using platform::Wow64Answer;

bool SameWord(const std::string& a, const char* b) {
  size_t i = 0;
  for (; b[i]; ++i) {
    if (i >= a.size()) return false;
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x + 32);
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y + 32);
    if (x != y) return false;
  }
  return i == a.size();
}

std::string Trimmed(const std::string& text) {
  size_t begin = text.find_first_not_of(" \t\r\n");
  if (begin == std::string::npos) return "";
  return text.substr(begin, text.find_last_not_of(" \t\r\n") - begin + 1);
}

// Decimal, or hex after 0x when allowed.
bool ParseNumber(const std::string& text, uint32_t& number, bool allowHex = true) {
  if (text.empty() || text[0] < '0' || text[0] > '9') return false;
  bool hex = allowHex && text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
  char* end = nullptr;
  unsigned long long parsed = std::strtoull(text.c_str() + (hex ? 2 : 0), &end, hex ? 16 : 10);
  if (*end || parsed > 0xFFFFFFFFull) return false;
  number = static_cast<uint32_t>(parsed);
  return true;
}

bool ParseYesNo(const std::string& text, bool& answer) {
  if (SameWord(text, "yes"))
    answer = true;
  else if (SameWord(text, "no"))
    answer = false;
  else
    return false;
  return true;
}

// The four answers of a looked-up system function, in the order of both enumerations.
bool ParseAnswer(const std::string& text, int& answer) {
  static const char* const kWords[] = {"unavailable", "failed", "no", "yes"};
  for (int i = 0; i < 4; ++i) {
    if (SameWord(text, kWords[i])) {
      answer = i;
      return true;
    }
  }
  return false;
}

class SystemIni {
 public:
  explicit SystemIni(HostFacts& facts) : facts_(facts) {}

  bool Line(const std::string& line, std::string& reason) {
    if (line[0] == '[') return Section(line, reason);
    size_t equals = line.find('=');
    if (equals == std::string::npos) {
      reason = "expected [Section] or Key=Value";
      return false;
    }
    std::string key = Trimmed(line.substr(0, equals));
    std::string value = Trimmed(line.substr(equals + 1));
    bool known = false;
    switch (section_) {
      case Kind::None:
        reason = "a value before any section";
        return false;
      case Kind::System:
        known = SystemKey(key, value);
        break;
      case Kind::Membership:
        known = Membership(key, value);
        break;
      case Kind::TokenGroups:
        known = TokenGroup(key, value);
        break;
      case Kind::Processes:
        known = Process(key, value);
        break;
      case Kind::SpecialFolders:
        known = SpecialFolder(key, value);
        break;
      case Kind::FolderSpace:
        known = FolderSpace(key, value);
        break;
    }
    if (!known) reason = "cannot use " + key + "=" + value;
    return known;
  }

  void Finish() {
    if (versionNone_) {
      facts_.version.reset();
      return;
    }
    if (!major_ && !platformId_) return;
    platform::VersionRecord record =
        facts_.version.value_or(platform::VersionRecord{6, 1, 7601, 2});
    if (major_) {
      record.major = *major_;
      record.minor = minor_;
      record.build = build_;
    }
    if (platformId_) record.platformId = *platformId_;
    facts_.version = record;
  }

 private:
  enum class Kind { None, System, Membership, TokenGroups, Processes, SpecialFolders, FolderSpace };

  bool Section(const std::string& line, std::string& reason) {
    if (line.back() != ']') {
      reason = "a section line ends with ]";
      return false;
    }
    std::string name = Trimmed(line.substr(1, line.size() - 2));
    static const struct {
      const char* name;
      Kind kind;
    } kSections[] = {{"System", Kind::System},
                     {"Membership", Kind::Membership},
                     {"TokenGroups", Kind::TokenGroups},
                     {"Processes", Kind::Processes},
                     {"SpecialFolders", Kind::SpecialFolders},
                     {"FolderSpace", Kind::FolderSpace}};
    for (const auto& entry : kSections) {
      if (SameWord(name, entry.name)) {
        section_ = entry.kind;
        // A list section replaces the default list, even when it is empty.
        if (section_ == Kind::TokenGroups) facts_.tokenGroups.emplace();
        if (section_ == Kind::Processes) facts_.processes.emplace();
        return true;
      }
    }
    reason = "unknown section [" + name + "]";
    return false;
  }

  bool FolderSpace(const std::string& folder, const std::string& value) {
    char* end = nullptr;
    long long bytes = std::strtoll(value.c_str(), &end, 10);
    if (folder.size() < 3 || folder[1] != ':' || value.empty() || *end != '\0' || bytes < 0)
      return false;
    facts_.folderSpace.emplace_back(folder, bytes);
    return true;
  }

  bool Version(const std::string& value) {
    if (SameWord(value, "none")) {
      versionNone_ = true;
      return true;
    }
    uint32_t parts[3] = {0, 0, 0};
    size_t start = 0;
    for (int i = 0; i < 3; ++i) {
      size_t dot = value.find('.', start);
      std::string part = value.substr(start, dot == std::string::npos ? dot : dot - start);
      if (!ParseNumber(part, parts[i], false)) return false;
      if (dot == std::string::npos) {
        if (i == 0) return false;  // at least major.minor
        versionNone_ = false;
        major_ = parts[0];
        minor_ = parts[1];
        build_ = parts[2];
        return true;
      }
      start = dot + 1;
    }
    return false;
  }

  bool SystemKey(const std::string& key, const std::string& value) {
    uint32_t number;
    bool flag;
    int answer;
    if (SameWord(key, "Version")) return Version(value);
    if (SameWord(key, "PlatformId")) {
      if (!ParseNumber(value, number)) return false;
      platformId_ = number;
      return true;
    }
    if (SameWord(key, "Wow64")) {
      if (!ParseAnswer(value, answer)) return false;
      facts_.wow64 = static_cast<Wow64Answer>(answer);
      return true;
    }
    if (SameWord(key, "LanguageId")) {
      if (!ParseNumber(value, number) || number > 0xFFFF) return false;
      facts_.languageId = static_cast<uint16_t>(number);
      return true;
    }
    if (SameWord(key, "Internet")) {
      if (!ParseYesNo(value, flag)) return false;
      facts_.internet = flag;
      return true;
    }
    if (SameWord(key, "DecimalSeparator")) {
      facts_.decimalSeparator = value;
      return true;
    }
    if (SameWord(key, "FreeSpace")) {
      char* end = nullptr;
      long long bytes = std::strtoll(value.c_str(), &end, 10);
      if (value.empty() || *end != '\0' || bytes < 0) return false;
      facts_.freeSpace = bytes;
      return true;
    }
    if (SameWord(key, "DateFormat")) {
      facts_.shortDateFormat = value;
      return true;
    }
    if (SameWord(key, "Date")) {
      facts_.shortDate = value;
      return true;
    }
    if (SameWord(key, "WindowsFolder")) {
      facts_.windowsFolder = value;
      return true;
    }
    if (SameWord(key, "SystemFolder")) {
      facts_.systemFolder = value;
      return true;
    }
    if (SameWord(key, "ProcessSnapshot")) {
      if (!ParseYesNo(value, flag)) return false;
      if (!flag)
        facts_.processes.reset();
      else if (!facts_.processes)
        facts_.processes.emplace();
      return true;
    }
    if (SameWord(key, "TokenReadable")) {
      if (!ParseYesNo(value, flag)) return false;
      if (!flag)
        facts_.tokenGroups.reset();
      else if (!facts_.tokenGroups)
        facts_.tokenGroups.emplace();
      return true;
    }
    return false;
  }

  bool Membership(const std::string& key, const std::string& value) {
    uint32_t rid;
    int answer;
    if (!ParseNumber(key, rid) || !ParseAnswer(value, answer)) return false;
    SetMembership(rid, static_cast<MembershipAnswer>(answer));
    return true;
  }

  bool TokenGroup(const std::string& key, const std::string& value) {
    uint32_t attributes;
    if (key.size() < 4 || !SameWord(key.substr(0, 4), "S-1-") || !ParseNumber(value, attributes))
      return false;
    if (!facts_.tokenGroups) facts_.tokenGroups.emplace();
    facts_.tokenGroups->push_back({key, attributes});
    return true;
  }

  bool Process(const std::string& key, const std::string& value) {
    uint32_t id;
    if (!ParseNumber(key, id) || value.empty()) return false;
    if (!facts_.processes) facts_.processes.emplace();
    facts_.processes->push_back({id, value});
    return true;
  }

  bool SpecialFolder(const std::string& key, const std::string& value) {
    uint32_t csidl;
    if (!ParseNumber(key, csidl) || csidl > 0xFF) return false;
    SetSpecialFolder(static_cast<int>(csidl), value);
    return true;
  }

  HostFacts& facts_;
  Kind section_ = Kind::None;
  bool versionNone_ = false;
  std::optional<uint32_t> major_;
  uint32_t minor_ = 0;
  uint32_t build_ = 0;
  std::optional<uint32_t> platformId_;
};

}  // namespace

bool LoadSystemIni(std::string* error) {
  std::string path = State().sandbox + "/host/system.ini";
  FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return true;
  std::string text;
  char buffer[4096];
  size_t count;
  while ((count = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, count);
  std::fclose(file);

  HostFacts saved = Facts();  // a malformed file changes nothing
  SystemIni ini(Facts());
  size_t lineNumber = 0;
  for (size_t pos = 0; pos < text.size();) {
    size_t end = text.find('\n', pos);
    if (end == std::string::npos) end = text.size();
    std::string line = Trimmed(text.substr(pos, end - pos));
    pos = end + 1;
    ++lineNumber;
    if (line.empty() || line[0] == ';' || line[0] == '#') continue;
    std::string reason;
    if (!ini.Line(line, reason)) {
      Facts() = std::move(saved);
      if (error) *error = path + ": line " + std::to_string(lineNumber) + ": " + reason;
      return false;
    }
  }
  ini.Finish();
  return true;
}

}  // namespace host
