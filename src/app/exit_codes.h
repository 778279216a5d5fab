// Exit codes of the setup program, for administrators who deploy it silently.
#pragma once

enum ExitCode : int {
  kExitInstalled = 0,           // installed without errors (or the wizard ended normally)
  kExitInstalledWithErrors = 1, // installed, but some task reported an error
  kExitCancelled = 2,           // cancelled or declined by the user
  kExitStoppedByCheck = 3,      // a requirement or the earlier-installation check stopped it
  kExitCorrupted = 4,           // the setup file is corrupted
  kExitFatalInstallError = 5,   // the installation hit a fatal error
};
