// An earlier installation of the same application, found through its entry in the system's
// list of installed programs: go on, stop, have it removed first, or install over it.
#pragma once

// Returns when the setup may go on (possibly fixed to the earlier installation's folder and
// program group); ends the process otherwise.
void CheckPreviousInstallation();
