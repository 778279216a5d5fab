// Shell links (.lnk files) and the component library they need.
#pragma once

#include <string>

namespace platform {

// Initialises the component library for the calling thread (the user-interface thread, once at
// start-up). Harmless when it is not available; saving links then fails.
void InitComponentLibrary();

struct ShellLinkFields {
  std::string arguments;
  std::string description;
  std::string target;
  bool setWorkingFolder = false;
  std::string workingFolder;
  bool setIcon = false;
  std::string iconFile;
  int iconIndex = 0;
  int showCommand = 1;
};

// Creates a link object, sets arguments, description, target, working folder (when asked), icon
// location (when asked) and show command in that order, and saves it to the path. False when
// the object cannot be made or the file cannot be saved.
bool SaveShellLink(const std::string& linkPath, const ShellLinkFields& fields);

}  // namespace platform
