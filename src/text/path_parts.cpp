#include "text/path_parts.h"

namespace {

bool IsDelimiter(char c) { return c == '\\' || c == ':'; }

size_t LastDelimiter(const std::string& path) {
  for (size_t i = path.size(); i > 0; --i)
    if (IsDelimiter(path[i - 1])) return i;  // 1-based, 0 when there is none
  return 0;
}

}  // namespace

std::string FolderOfPath(const std::string& path) {
  size_t end = LastDelimiter(path);
  // A "\" right behind another delimiter ("C:\", "\\") is part of the root and stays.
  if (end > 1 && path[end - 1] == '\\' && !IsDelimiter(path[end - 2])) --end;
  return path.substr(0, end);
}

std::string NameOfPath(const std::string& path) { return path.substr(LastDelimiter(path)); }

std::string WithoutOneTrailingBackslash(std::string text) {
  if (!text.empty() && text.back() == '\\') text.pop_back();
  return text;
}
