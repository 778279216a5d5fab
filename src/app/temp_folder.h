// The run's temporary folder and the two ways out that every subsystem uses.
#pragma once

#include <string>

// "<TempDir>\VQTMPnnn": three digits drawn from a generator seeded from the clock.
std::string MakeTempFolderName(const std::string& tempDir, unsigned seed);

// Deletes the run's temporary folder and everything in it. Never fails.
void DeleteTempFolder();

// "The setup file is corrupted." in a box captioned "Error", then the folder is deleted and
// the process ends.
[[noreturn]] void StopCorrupted();
