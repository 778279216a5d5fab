#include "platform/windows_path.h"

#include <vector>

namespace winpath {
namespace {

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool HasDrive(const std::string& path) {
  return path.size() >= 2 && path[1] == ':' &&
         ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
}

}  // namespace

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool IsAbsolute(const std::string& path) {
  if (HasDrive(path)) return path.size() >= 3 && IsSeparator(path[2]);
  return path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1]);
}

std::string FolderPart(const std::string& path) {
  size_t i = path.size();
  while (i > 0 && !IsSeparator(path[i - 1]) && path[i - 1] != ':') --i;
  return path.substr(0, i);
}

std::string NamePart(const std::string& path) { return path.substr(FolderPart(path).size()); }

std::string ExpandPath(const std::string& path, const std::string& currentFolder) {
  std::string root, rest;
  if (IsAbsolute(path)) {
    if (HasDrive(path)) {
      root = path.substr(0, 2);
      rest = path.substr(2);
    } else {
      size_t shareEnd = path.find_first_of("\\/", 2);
      shareEnd = shareEnd == std::string::npos ? path.size() : path.find_first_of("\\/", shareEnd + 1);
      if (shareEnd == std::string::npos) shareEnd = path.size();
      root = path.substr(0, shareEnd);
      rest = path.substr(shareEnd);
    }
  } else if (HasDrive(path)) {
    // Drive-relative: against the current folder when it is on that drive.
    if (!currentFolder.empty() && Lower(currentFolder[0]) == Lower(path[0]))
      return ExpandPath(WithTrailingBackslash(currentFolder) + path.substr(2), currentFolder);
    root = path.substr(0, 2);
    rest = path.substr(2);
  } else if (!path.empty() && IsSeparator(path[0])) {
    return ExpandPath(currentFolder.substr(0, 2) + path, currentFolder);
  } else {
    return ExpandPath(WithTrailingBackslash(currentFolder) + path, currentFolder);
  }
  std::vector<std::string> parts;
  std::string current;
  auto flush = [&]() {
    if (current == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!current.empty() && current != ".") {
      parts.push_back(current);
    }
    current.clear();
  };
  for (char c : rest) {
    if (IsSeparator(c)) flush();
    else current += c;
  }
  flush();
  std::string result = root;
  for (const std::string& part : parts) result += "\\" + part;
  if (parts.empty() || (!rest.empty() && IsSeparator(rest.back()))) result += "\\";
  return result;
}

std::string WithTrailingBackslash(const std::string& path) {
  if (!path.empty() && IsSeparator(path.back())) return path;
  return path + "\\";
}

std::string WithoutTrailingBackslash(const std::string& path) {
  if (!path.empty() && IsSeparator(path.back()) && !(path.size() == 3 && path[1] == ':'))
    return path.substr(0, path.size() - 1);
  return path;
}

bool IsContainedRelativeName(const std::string& name) {
  if (name.empty() || IsSeparator(name[0]) || name.find(':') != std::string::npos) return false;
  std::string component;
  for (size_t i = 0; i <= name.size(); ++i) {
    if (i == name.size() || IsSeparator(name[i])) {
      // Windows drops trailing dots and blanks, so "..." and ".. " also climb.
      size_t end = component.find_last_not_of(". ");
      if (!component.empty() && end == std::string::npos && component.find('.') != std::string::npos &&
          component.size() >= 2)
        return false;
      component.clear();
    } else {
      component += name[i];
    }
  }
  return true;
}

bool SameText(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (Lower(a[i]) != Lower(b[i])) return false;
  return true;
}

}  // namespace winpath
