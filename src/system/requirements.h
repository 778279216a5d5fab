// The requirements gate: the [Setup] section's demands on the computer, checked once at
// start-up before anything is shown or installed.
#pragma once

#include <string>

#include "system/requirements_rules.h"

// Returns when every requirement is met. Otherwise shows why (or offers the missing product)
// and ends the process through StopByCheck. An ESystemInfo from the 64-bit query passes through.
void CheckRequirements();

// A warning box with no owner and the caption "Setup - " + SetupTitle.
void ShowStopMessage(const std::string& text);

// Releases the setup script, the user variables and the language table, deletes the temporary
// folder and ends the process with kExitStoppedByCheck.
[[noreturn]] void StopByCheck();
