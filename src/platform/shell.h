// The shell: opening documents and programs with their associated verb.
#pragma once

#include <string>

namespace platform {

// Opens the file with the shell verb "open", normal window, no parameters, no working folder.
// Returns whether the shell accepted the request.
bool ShellOpen(const std::string& file);
// The same with parameters, a working folder (none when empty) and a show value; no owner window,
// does not wait.
bool ShellOpenWith(const std::string& file, const std::string& parameters,
                   const std::string& folder, int show);

}  // namespace platform
