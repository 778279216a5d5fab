// What the wizard asks of the system: free disk space, the locale's decimal separator, the
// folder dialog and a restart.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/message_box.h"

namespace platform {

// Bytes available to the caller on the drive's root folder; 0 when the question fails.
int64_t DriveFreeSpace(char driveLetter);
// The user's decimal separator.
std::string DecimalSeparator();
// The folder dialog over the whole namespace, file-system folders only; nothing when cancelled.
std::optional<std::string> BrowseForFolder(WindowHandle owner, const std::string& title);
// Asks Windows to restart, enabling the shutdown privilege when the first request is refused.
void RebootWindows();

}  // namespace platform
