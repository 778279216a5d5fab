// System facts on the host: whatever the test (or system.ini) configured.
#include "platform/system_facts.h"

#include "platform/host/host_control.h"
#include "platform/host/host_registry.h"
#include "platform/host/host_state.h"

namespace host {
namespace {

using platform::MembershipAnswer;

// An elevated administrator's token on Windows 7.
std::vector<platform::TokenGroup> DefaultTokenGroups() {
  return {
      {"S-1-5-21-1004336348-1177238915-682003330-513", 0x7},
      {"S-1-1-0", 0x7},
      {"S-1-5-32-544", 0xF},
      {"S-1-5-32-545", 0x7},
      {"S-1-5-4", 0x7},
      {"S-1-2-1", 0x7},
      {"S-1-5-11", 0x7},
      {"S-1-5-15", 0x7},
      {"S-1-5-5-0-79137", 0xC0000007},
      {"S-1-2-0", 0x7},
      {"S-1-5-64-10", 0x7},
      {"S-1-16-12288", 0x60},
  };
}

HostFacts DefaultFacts() {
  HostFacts facts;
  facts.version = platform::VersionRecord{6, 1, 7601, 2};
  facts.membership = {{544, MembershipAnswer::Yes}};
  facts.tokenGroups = DefaultTokenGroups();
  facts.processes = std::vector<platform::ProcessEntry>{};
  facts.windowsFolder = "C:\\Windows";
  facts.systemFolder = "C:\\Windows\\system32";
  return facts;
}

// Windows-1252, the code page of a U.S. system: ASCII letters, the accented Latin-1 letters
// and the few letters at 0x9A..0x9F.
unsigned char UpperCp1252(unsigned char c) {
  if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - 32);
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<unsigned char>(c - 32);
  switch (c) {
    case 0x9A:
      return 0x8A;
    case 0x9C:
      return 0x8C;
    case 0x9E:
      return 0x8E;
    case 0xFF:
      return 0x9F;
    default:
      return c;
  }
}

}  // namespace

HostFacts& Facts() {
  static HostFacts facts = DefaultFacts();
  return facts;
}

void ResetSystemFacts() { Facts() = DefaultFacts(); }
void SetVersion(std::optional<platform::VersionRecord> version) { Facts().version = version; }
void SetWow64(platform::Wow64Answer answer) { Facts().wow64 = answer; }
void SetLanguageId(uint16_t languageId) { Facts().languageId = languageId; }

void SetMembership(uint32_t rid, MembershipAnswer answer) {
  auto& list = Facts().membership;
  for (auto& entry : list) {
    if (entry.first == rid) {
      entry.second = answer;
      return;
    }
  }
  list.emplace_back(rid, answer);
}

void SetTokenGroups(std::optional<std::vector<platform::TokenGroup>> groups) {
  Facts().tokenGroups = std::move(groups);
}

void SetProcesses(std::optional<std::vector<platform::ProcessEntry>> processes) {
  Facts().processes = std::move(processes);
}

void SetInternet(bool reachable) { Facts().internet = reachable; }
const std::vector<std::string>& InternetRequests() { return Facts().internetRequests; }

bool LoadHostConfiguration(std::string* error) {
  return LoadRegistryFile(error) && LoadSystemIni(error);
}

}  // namespace host

namespace platform {

std::optional<VersionRecord> QueryVersion() { return host::Facts().version; }
Wow64Answer QueryWow64() { return host::Facts().wow64; }
uint16_t SystemDefaultLanguageId() { return host::Facts().languageId; }

MembershipAnswer CheckTokenMembership(uint32_t rid) {
  for (const auto& [listed, answer] : host::Facts().membership)
    if (listed == rid) return answer;
  return MembershipAnswer::No;
}

std::optional<std::vector<TokenGroup>> QueryTokenGroups() { return host::Facts().tokenGroups; }
std::optional<std::vector<ProcessEntry>> QueryProcesses() { return host::Facts().processes; }

bool InternetOpenUrl(const std::string& agent, const std::string& url) {
  host::Facts().internetRequests.push_back(agent + " " + url);
  return host::Facts().internet;
}

std::string UpperCaseByLocale(const std::string& text) {
  std::string result = text;
  for (char& c : result) c = static_cast<char>(host::UpperCp1252(static_cast<unsigned char>(c)));
  return result;
}

}  // namespace platform
