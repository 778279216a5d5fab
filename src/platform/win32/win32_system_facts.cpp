// System facts on Windows. Functions missing from old systems (IsWow64Process,
// CheckTokenMembership, the process snapshot) are looked up at run time, and WinInet, which is
// not a known DLL, is loaded only from the system folder.
#include <windows.h>
#include <tlhelp32.h>

#include <cstring>

#include "platform/dynamic_library.h"
#include "platform/sid_text.h"
#include "platform/system_facts.h"

namespace platform {
namespace {

static_assert(sizeof(OSVERSIONINFOA) == 148, "the version record the probes document");
static_assert(sizeof(PROCESSENTRY32) == 296, "the process record the probes document");

template <typename Function>
Function Lookup(HMODULE module, const char* name) {
  if (!module) return nullptr;
  return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

struct SnapshotFunctions {
  HANDLE(WINAPI* create)(DWORD, DWORD);
  BOOL(WINAPI* first)(HANDLE, PROCESSENTRY32*);
  BOOL(WINAPI* next)(HANDLE, PROCESSENTRY32*);
};

const SnapshotFunctions& Snapshot() {
  static const SnapshotFunctions functions = [] {
    HMODULE kernel = ::GetModuleHandleA("kernel32.dll");
    return SnapshotFunctions{
        Lookup<decltype(SnapshotFunctions::create)>(kernel, "CreateToolhelp32Snapshot"),
        Lookup<decltype(SnapshotFunctions::first)>(kernel, "Process32First"),
        Lookup<decltype(SnapshotFunctions::next)>(kernel, "Process32Next")};
  }();
  return functions;
}

struct InternetFunctions {
  void*(WINAPI* open)(const char*, DWORD, const char*, const char*, DWORD);
  void*(WINAPI* openUrl)(void*, const char*, const char*, DWORD, DWORD, DWORD_PTR);
  BOOL(WINAPI* close)(void*);
};

// Loaded once and kept: WinInet starts threads of its own and must not be unloaded under them.
const InternetFunctions& Internet() {
  static const InternetFunctions functions = [] {
    HMODULE library = static_cast<HMODULE>(LoadSystemLibrary("wininet.dll"));
    return InternetFunctions{
        Lookup<decltype(InternetFunctions::open)>(library, "InternetOpenA"),
        Lookup<decltype(InternetFunctions::openUrl)>(library, "InternetOpenUrlA"),
        Lookup<decltype(InternetFunctions::close)>(library, "InternetCloseHandle")};
  }();
  return functions;
}

constexpr DWORD kSnapshotAll = 0xF;      // TH32CS_SNAPALL
constexpr DWORD kOpenTypePreconfig = 0;  // INTERNET_OPEN_TYPE_PRECONFIG

}  // namespace

std::optional<VersionRecord> QueryVersion() {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof info;
  if (!::GetVersionExA(&info)) return std::nullopt;
  return VersionRecord{info.dwMajorVersion, info.dwMinorVersion, info.dwBuildNumber,
                       info.dwPlatformId};
}

Wow64Answer QueryWow64() {
  auto isWow64 =
      Lookup<BOOL(WINAPI*)(HANDLE, PBOOL)>(::GetModuleHandleA("kernel32"), "IsWow64Process");
  if (!isWow64) return Wow64Answer::Unavailable;
  BOOL flag = FALSE;
  if (!isWow64(::GetCurrentProcess(), &flag)) return Wow64Answer::Failed;
  return flag ? Wow64Answer::Yes : Wow64Answer::No;
}

uint16_t SystemDefaultLanguageId() { return ::GetSystemDefaultLangID(); }

MembershipAnswer CheckTokenMembership(uint32_t rid) {
  auto check = Lookup<BOOL(WINAPI*)(HANDLE, PSID, PBOOL)>(::GetModuleHandleA("advapi32.dll"),
                                                          "CheckTokenMembership");
  if (!check) return MembershipAnswer::Unavailable;
  SID_IDENTIFIER_AUTHORITY ntAuthority = {SECURITY_NT_AUTHORITY};
  PSID sid = nullptr;
  if (!::AllocateAndInitializeSid(&ntAuthority, 2, SECURITY_BUILTIN_DOMAIN_RID, rid, 0, 0, 0, 0, 0,
                                  0, &sid))
    return MembershipAnswer::Failed;
  BOOL member = FALSE;
  BOOL succeeded = check(nullptr, sid, &member);  // no token: the caller's own
  ::FreeSid(sid);
  if (!succeeded) return MembershipAnswer::Failed;
  return member ? MembershipAnswer::Yes : MembershipAnswer::No;
}

std::optional<std::vector<TokenGroup>> QueryTokenGroups() {
  HANDLE token;
  if (!::OpenThreadToken(::GetCurrentThread(), TOKEN_QUERY, TRUE, &token)) {
    if (::GetLastError() != ERROR_NO_TOKEN) return std::nullopt;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token)) return std::nullopt;
  }
  std::optional<std::vector<TokenGroup>> result;
  DWORD size = 0;
  if (!::GetTokenInformation(token, TokenGroups, nullptr, 0, &size) &&
      ::GetLastError() == ERROR_INSUFFICIENT_BUFFER) {
    std::vector<DWORD> buffer((size + sizeof(DWORD) - 1) / sizeof(DWORD));  // DWORD-aligned
    if (::GetTokenInformation(token, TokenGroups, buffer.data(), size, &size)) {
      const auto* groups = reinterpret_cast<const TOKEN_GROUPS*>(buffer.data());
      result.emplace();
      for (DWORD i = 0; i < groups->GroupCount; ++i) {
        PSID sid = groups->Groups[i].Sid;
        result->push_back({SidText(static_cast<const uint8_t*>(sid), ::GetLengthSid(sid)),
                           static_cast<uint32_t>(groups->Groups[i].Attributes)});
      }
    }
  }
  ::CloseHandle(token);
  return result;
}

std::optional<std::vector<ProcessEntry>> QueryProcesses() {
  const SnapshotFunctions& functions = Snapshot();
  if (!functions.create || !functions.first || !functions.next) return std::nullopt;
  HANDLE snapshot = functions.create(kSnapshotAll, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return std::nullopt;
  std::vector<ProcessEntry> processes;
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = functions.first(snapshot, &entry); more;
       more = functions.next(snapshot, &entry)) {
    processes.push_back({static_cast<uint32_t>(entry.th32ProcessID),
                         std::string(entry.szExeFile, strnlen(entry.szExeFile, MAX_PATH))});
  }
  ::CloseHandle(snapshot);
  return processes;
}

bool InternetOpenUrl(const std::string& agent, const std::string& url) {
  const InternetFunctions& functions = Internet();
  if (!functions.open || !functions.openUrl || !functions.close) return false;
  void* session = functions.open(agent.c_str(), kOpenTypePreconfig, nullptr, nullptr, 0);
  if (!session) return false;
  void* request = functions.openUrl(session, url.c_str(), nullptr, 0, 0, 0);
  if (request) functions.close(request);
  functions.close(session);
  return request != nullptr;
}

std::string UpperCaseByLocale(const std::string& text) {
  std::string result = text;
  if (!result.empty()) ::CharUpperBuffA(result.data(), static_cast<DWORD>(result.size()));
  return result;
}

}  // namespace platform
