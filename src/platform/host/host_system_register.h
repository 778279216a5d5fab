// Test-facing side of the host's fonts, self-registering libraries, type libraries and
// wallpaper: what the program asked of the system, in order.
#pragma once

#include <string>
#include <vector>

namespace host {

// One line per call, e.g. "font C:\App\a.ttf added", "register-server C:\App\x.dll failed",
// "typelib C:\App\t.tlb help C:\App registered", "font change", "wallpaper C:\w.bmp applied".
// setup-host also appends each line to <sandbox>/host/system.log.
const std::vector<std::string>& SystemRegisterLog();
void ClearSystemRegisterLog();

}  // namespace host
