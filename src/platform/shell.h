// The shell: opening documents and programs with their associated verb.
#pragma once

#include <string>

namespace platform {

// Opens the file with the shell verb "open", normal window, no parameters, no working folder.
// Returns whether the shell accepted the request.
bool ShellOpen(const std::string& file);

}  // namespace platform
