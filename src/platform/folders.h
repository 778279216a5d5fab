// Folder helpers over the platform's file service.
#pragma once

#include <string>

namespace platform {

// Creates every missing folder of the path, outermost first. False when one could not be made.
bool ForceFolders(const std::string& path);

}  // namespace platform
