// The running process: its file and parameters, the temporary folder, pending window
// messages, sleeping and ending.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// Called first by the program entry with its arguments.
void InitProcess(int argc, char** argv);
// Full path of the running program's file.
std::string ExecutablePath();
// Command-line parameters after the program name, as the runtime splits them.
std::vector<std::string> CommandLineParameters();
// The user's temporary folder, with a trailing backslash.
std::string TempFolder();
// Lets pending window messages run.
void ProcessMessages();
void SleepMilliseconds(uint32_t milliseconds);
// Milliseconds from an arbitrary start; for seeding.
uint64_t ClockTicks();
// For seeding too: the process's id, and a counter far finer than ClockTicks.
uint32_t ProcessId();
uint64_t FineCounter();
// Hardens the process before anything is loaded at run time (DLL search order).
void HardenProcess();
[[noreturn]] void ExitProcess(int code);

}  // namespace platform
