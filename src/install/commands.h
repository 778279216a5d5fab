// [Commands]: programs, documents and addresses opened before or after the installation, and
// the commands handed to the uninstaller.
#pragma once

#include <string>

enum class CommandPhase { BeforeInstallation, AfterInstallation };

// Processes one entry in the phase: runs it when its moment word names the phase, or records
// an uninstallation command in the after-installation phase.
void RunCommand(CommandPhase phase, const std::string& entry);

// The show value of a show word: Maximize 3, Minimize 2, Hide 0, anything else 1.
int ShowValueOf(const std::string& word);

// Starts the program with the parameters, quoted, in its own folder, and waits for it to end.
// True when it was started.
bool RunAndWait(const std::string& program, const std::string& parameters, int show);
