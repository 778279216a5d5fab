// Fonts, self-registering libraries, type libraries and the wallpaper on the host. Nothing is
// registered; each call is logged and answered from the file's content, so tests reach every
// outcome with small files:
// - a font is added when the file starts with a TrueType or OpenType signature
//   (00 01 00 00, "OTTO", "true", or "ttcf" for a collection);
// - a library loads when the file starts with "MZ"; it has DllRegisterServer when it contains
//   that text, and the call fails when it contains "DllRegisterServer:fail";
// - a type library loads when the file starts with "MSFT" and its registration fails when it
//   contains "RegisterTypeLib:fail";
// - a wallpaper is applied unless the file is empty or missing.
#include "platform/host/host_system_register.h"

#include <cstdio>
#include <string_view>

#include "platform/host/host_control.h"
#include "platform/host/host_state.h"
#include "platform/system_register.h"

namespace host {
namespace {

std::vector<std::string>& Log() {
  static std::vector<std::string> log;
  return log;
}

void Record(const std::string& line) {
  Log().push_back(line);
  AppendLog("system.log", line + "\n");
}

// The whole file; empty when it cannot be read.
std::string Content(const std::string& windowsPath) {
  std::string hostPath = HostPath(windowsPath);
  if (hostPath.empty()) return {};
  FILE* file = std::fopen(hostPath.c_str(), "rb");
  if (!file) return {};
  std::string content;
  char buffer[4096];
  size_t count;
  while ((count = std::fread(buffer, 1, sizeof buffer, file)) > 0) content.append(buffer, count);
  std::fclose(file);
  return content;
}

bool StartsWith(const std::string& content, std::string_view prefix) {
  return std::string_view(content).substr(0, prefix.size()) == prefix;
}

bool Contains(const std::string& content, std::string_view text) {
  return content.find(text) != std::string::npos;
}

}  // namespace

const std::vector<std::string>& SystemRegisterLog() { return Log(); }

void ClearSystemRegisterLog() { Log().clear(); }

}  // namespace host

namespace platform {

bool AddFontFile(const std::string& path) {
  using namespace std::string_view_literals;
  std::string content = host::Content(path);
  bool added = host::StartsWith(content, "\x00\x01\x00\x00"sv) ||
               host::StartsWith(content, "OTTO") || host::StartsWith(content, "true") ||
               host::StartsWith(content, "ttcf");
  host::Record("font " + path + (added ? " added" : " rejected"));
  return added;
}

void BroadcastFontChange() { host::Record("font change"); }

SelfRegisterResult CallDllRegisterServer(const std::string& path) {
  std::string content = host::Content(path);
  SelfRegisterResult result = SelfRegisterResult::Registered;
  const char* word = "registered";
  if (!host::StartsWith(content, "MZ")) {
    result = SelfRegisterResult::NotLoaded;
    word = "not loaded";
  } else if (!host::Contains(content, "DllRegisterServer")) {
    result = SelfRegisterResult::NoEntryPoint;
    word = "no entry point";
  } else if (host::Contains(content, "DllRegisterServer:fail")) {
    result = SelfRegisterResult::Failed;
    word = "failed";
  }
  host::Record("register-server " + path + " " + word);
  return result;
}

TypeLibResult RegisterTypeLibrary(const std::string& path, const std::string& helpFolder) {
  std::string content = host::Content(path);
  TypeLibResult result = TypeLibResult::Registered;
  const char* word = "registered";
  if (!host::StartsWith(content, "MSFT")) {
    result = TypeLibResult::NotLoaded;
    word = "not loaded";
  } else if (host::Contains(content, "RegisterTypeLib:fail")) {
    result = TypeLibResult::Failed;
    word = "failed";
  }
  host::Record("typelib " + path + " help " + helpFolder + " " + word);
  return result;
}

bool SetDesktopWallpaper(const std::string& path) {
  bool applied = !host::Content(path).empty();
  host::Record("wallpaper " + path + (applied ? " applied" : " refused"));
  return applied;
}

}  // namespace platform
