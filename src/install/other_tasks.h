// [Others] entries: installed files handed to the system as fonts, ActiveX servers, type
// libraries, screen savers or the desktop wallpaper, recorded for the uninstaller.
#pragma once

#include <string>

// Applies one [Others] entry: "kind word*?file path*?keep flag". The kind word is one of "Font",
// "ActiveX", "Type Library", "ScreenSaver" and "Wallpaper", compared exactly; any other word
// does nothing but the pause that follows every entry whose file exists. An entry of any other
// field count is ignored. Failures show their message, set InstallErrors and record nothing.
void ApplyOtherTask(const std::string& entry);
