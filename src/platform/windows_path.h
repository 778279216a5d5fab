// Windows path rules as plain string functions (backslash or slash separators, drive letters),
// the same on every platform.
#pragma once

#include <string>

namespace winpath {

bool IsSeparator(char c);
// "C:\..." or "\\server\..." : a full path that needs no current folder.
bool IsAbsolute(const std::string& path);
// The folder part including its trailing separator ("C:\a\" of "C:\a\b.txt"), or empty.
std::string FolderPart(const std::string& path);
// The name after the last separator or drive colon.
std::string NamePart(const std::string& path);
// The path made absolute against a current folder, with "." and ".." components resolved.
std::string ExpandPath(const std::string& path, const std::string& currentFolder);
// The path with a backslash appended when it does not end in a separator.
std::string WithTrailingBackslash(const std::string& path);
std::string WithoutTrailingBackslash(const std::string& path);
// A relative name that stays inside the folder it is joined to: no drive, no root, no "..".
bool IsContainedRelativeName(const std::string& name);
// Case-insensitive comparison of 8-bit names (ASCII letters fold).
bool SameText(const std::string& a, const std::string& b);

}  // namespace winpath
