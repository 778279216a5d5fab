// The registry of a fresh host sandbox: a plausible Windows 7 SP1 machine whose shell folders
// agree with the host's special folders.
#include "platform/host/host_registry.h"

namespace host {

const char kDefaultRegistryText[] = R"(REGEDIT4

[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders]
"AppData"="C:\\Users\\setup\\AppData\\Roaming"
"Desktop"="C:\\Users\\setup\\Desktop"
"Favorites"="C:\\Users\\setup\\Favorites"
"Local AppData"="C:\\Users\\setup\\AppData\\Local"
"Local Settings"="C:\\Users\\setup\\AppData\\Local"
"Personal"="C:\\Users\\setup\\Documents"
"Programs"="C:\\Users\\setup\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs"
"Recent"="C:\\Users\\setup\\AppData\\Roaming\\Microsoft\\Windows\\Recent"
"SendTo"="C:\\Users\\setup\\AppData\\Roaming\\Microsoft\\Windows\\SendTo"
"Start Menu"="C:\\Users\\setup\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu"
"Startup"="C:\\Users\\setup\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Startup"
"Templates"="C:\\Users\\setup\\AppData\\Roaming\\Microsoft\\Windows\\Templates"

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Internet Explorer]
"Version"="8.0.7601.17514"

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion]
"ProgramFilesDir"="C:\\Program Files"
"CommonFilesDir"="C:\\Program Files\\Common Files"

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders]
"Common AppData"="C:\\ProgramData"
"Common Desktop"="C:\\Users\\Public\\Desktop"
"Common Documents"="C:\\Users\\Public\\Documents"
"Common Programs"="C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs"
"Common Start Menu"="C:\\ProgramData\\Microsoft\\Windows\\Start Menu"
"Common Startup"="C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\Startup"
"Common Templates"="C:\\ProgramData\\Microsoft\\Windows\\Templates"

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall]

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows NT\CurrentVersion]
"CurrentVersion"="6.1"
"CurrentBuildNumber"="7601"
"CSDVersion"="Service Pack 1"
"ProductName"="Windows 7 Professional"
"RegisteredOwner"="Setup User"
"RegisteredOrganization"="Example Org"
)";

}  // namespace host
