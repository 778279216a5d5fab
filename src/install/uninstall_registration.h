// The application's entry in the system's list of installed programs, through which the
// separate uninstaller is started.
#pragma once

// Writes the entry below HKEY_LOCAL_MACHINE and records its key for the uninstaller. A failure
// shows its message, sets InstallErrors and leaves the remaining values unwritten.
void RegisterUninstallInformation();
