// What the command line asks for: only "/s" as the first parameter means anything.
#pragma once

// The first parameter is exactly "/s": install without showing the wizard.
bool SilentOnCommandLine();
