// [Shortcuts]: link files in the program group, on the desktop and in quick launch.
#pragma once

#include <string>

// Creates the link of one entry with the folders it needs and records both for the uninstaller,
// unless the wizard's shortcut boxes leave the entry out.
void CreateShortcut(const std::string& entry);
