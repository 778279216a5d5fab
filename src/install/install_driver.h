// The installation driver: one installation run, from the wizard's choices to a complete
// uninstall record.
#pragma once

// Carries out the run. Returns when it is complete (errors that let it go on only set
// InstallErrors); ends the program, after cleaning up, on a fatal failure or a cancel.
void RunInstallation();

// Ends an installation run that cannot go on: releases the run's files, deletes the temporary
// folder and ends the process with the exit code.
[[noreturn]] void EndInstallation(int exitCode);
