// Starting programs and waiting for them.
#pragma once

#include <string>

namespace platform {

// Starts a process from the command line alone (no application name), without handle
// inheritance, in a new console at normal priority, with only the show value set in its start-up
// information, in that current folder (the caller's when empty). Waits without limit until it
// ends. False when it could not be started.
bool RunProcessAndWait(const std::string& commandLine, const std::string& currentFolder,
                       int show);

}  // namespace platform
