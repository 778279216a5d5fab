// Windows paths over a sandbox folder: drive letters are folders, names compare without regard
// to case, Z: is the Linux root.
#include <dirent.h>
#include <strings.h>
#include <unistd.h>

#include <cctype>
#include <climits>
#include <cstdlib>
#include <vector>

#include "platform/file_system.h"
#include "platform/host/host_control.h"
#include "platform/host/host_state.h"

namespace host {
namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

std::vector<std::string> SplitComponents(const std::string& path, size_t from) {
  std::vector<std::string> parts;
  std::string current;
  for (size_t i = from; i < path.size(); ++i) {
    if (IsSeparator(path[i])) {
      if (!current.empty()) parts.push_back(current);
      current.clear();
    } else {
      current += path[i];
    }
  }
  if (!current.empty()) parts.push_back(current);
  return parts;
}

// Windows drops trailing dots and blanks of a name component.
std::string TrimComponent(std::string name) {
  while (!name.empty() && name != "." && name != ".." && (name.back() == ' ' || name.back() == '.'))
    name.pop_back();
  return name;
}

std::string LinuxWorkingFolderAsWindows() {
  char buffer[PATH_MAX];
  if (!getcwd(buffer, sizeof buffer)) return "Z:\\";
  return WindowsPathOf(buffer);
}

// The entry of folder whose name matches without regard to case, preferring an exact match.
std::string MatchEntry(const std::string& folder, const std::string& name) {
  std::string exact = folder + "/" + name;
  if (access(exact.c_str(), F_OK) == 0) return name;
  DIR* dir = opendir(folder.c_str());
  if (!dir) return name;
  std::string found = name;
  while (dirent* entry = readdir(dir)) {
    if (strcasecmp(entry->d_name, name.c_str()) == 0) {
      found = entry->d_name;
      break;
    }
  }
  closedir(dir);
  return found;
}

}  // namespace

HostState& State() {
  static HostState state;
  return state;
}

void SetSandbox(const std::string& hostFolder) { State().sandbox = hostFolder; }
const std::string& Sandbox() { return State().sandbox; }

std::string WindowsPathOf(const std::string& hostPath) {
  std::string result = "Z:";
  for (char c : hostPath) result += c == '/' ? '\\' : c;
  if (result == "Z:") result += '\\';
  return result;
}

std::string FullWindowsPath(const std::string& path) {
  std::string base;
  size_t rest = 0;
  if (path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0]))) {
    base = std::string(1, static_cast<char>(std::toupper(static_cast<unsigned char>(path[0])))) + ":";
    rest = 2;
    if (rest >= path.size() || !IsSeparator(path[rest])) {
      // Drive-relative: against the current folder when it is on that drive, else the root.
      std::string current =
          State().currentFolder.empty() ? LinuxWorkingFolderAsWindows() : State().currentFolder;
      if (std::toupper(static_cast<unsigned char>(current[0])) == base[0])
        return FullWindowsPath(current + "\\" + path.substr(rest));
    }
  } else if (!path.empty() && IsSeparator(path[0])) {
    if (path.size() > 1 && IsSeparator(path[1])) return "";  // UNC paths are not emulated
    std::string current =
        State().currentFolder.empty() ? LinuxWorkingFolderAsWindows() : State().currentFolder;
    base = current.substr(0, 2);
  } else {
    std::string current =
        State().currentFolder.empty() ? LinuxWorkingFolderAsWindows() : State().currentFolder;
    return FullWindowsPath(current + "\\" + path);
  }
  std::vector<std::string> resolved;
  for (std::string& part : SplitComponents(path, rest)) {
    part = TrimComponent(part);
    if (part.empty() || part == ".") continue;
    if (part == "..") {
      if (!resolved.empty()) resolved.pop_back();
      continue;
    }
    resolved.push_back(part);
  }
  std::string result = base;
  for (const std::string& part : resolved) result += "\\" + part;
  if (resolved.empty()) result += "\\";
  return result;
}

std::string HostPath(const std::string& windowsPath) {
  std::string full = FullWindowsPath(windowsPath);
  if (full.size() < 3) return "";
  char drive = full[0];
  std::string root;
  if (drive == 'Z') {
    root = "";
  } else {
    if (State().sandbox.empty()) return "";
    root = State().sandbox + "/" + std::string(1, drive);
  }
  std::string result = root;
  for (const std::string& part : SplitComponents(full, 2))
    result += "/" + MatchEntry(result.empty() ? "/" : result, part);
  if (result.empty()) result = "/";
  return result;
}

}  // namespace host
