// The folder and name parts of a path as the variables and the progress display take them:
// only "\" and the drive colon separate, and a drive root keeps its "\".
#pragma once

#include <string>

// Everything before the last "\", except that a drive root keeps it: "C:\x" gives "C:\", "C:\"
// stays "C:\", "C:\a\b" gives "C:\a"; a path without separator gives an empty text.
std::string FolderOfPath(const std::string& path);
// Everything after the last "\" or drive colon.
std::string NameOfPath(const std::string& path);
// The text with one trailing "\" removed when it ends in one.
std::string WithoutOneTrailingBackslash(std::string text);
