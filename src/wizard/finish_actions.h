// The end of the wizard: what the finish page's options ask for, then the clean-up.
#pragma once

#include <string>

// Starts the ticked options, restarts when asked, then releases the run and deletes the
// temporary folder. Never fails.
void RunFinishActions();

// Starts a program, document or address through the shell; a text with " /" is a program with
// parameters. The outcome is not looked at; a text of nothing but blanks starts nothing.
void RunTarget(const std::string& text);

// The folder part as RunTarget takes it: before the last "\" or ":", keeping a "\" that follows
// another "\" or a ":"; and the name part after it.
std::string TargetFolder(const std::string& text);
std::string TargetName(const std::string& text);
