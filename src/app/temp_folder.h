// The run's temporary folder and the two ways out that every subsystem uses.
#pragma once

#include <cstdint>
#include <string>

// Draws the names "<TempDir>\VQTMPnnn", three digits each uniform over 0 to 9. The seed mixes
// the clock with the process id and a fine counter, so that runs started in the same
// millisecond, or one after another, draw independent digits.
class TempFolderNames {
 public:
  TempFolderNames(uint64_t ticks, uint32_t processId, uint64_t counter);
  std::string Next(const std::string& tempDir);

 private:
  uint64_t NextBits();
  uint64_t state_;
};

// Names tried before an existing folder of each drawn name stops the run.
constexpr int kTempFolderAttempts = 10;

// Creates the run's temporary folder under the first drawn name that is free, skipping folders
// that exist already (left by another run: never ours to use or delete). Sets the run's
// TempFolder to the last name tried; false when no folder could be made.
bool CreateTempFolder(TempFolderNames& names, const std::string& tempDir);

// The user's temporary folder without trailing backslash. When the system cannot name it (a
// path longer than its ANSI functions take) or the run's folder would not fit below it, the
// Windows folder's Temp when that exists; empty when neither can be used.
std::string UserTempDir();

// Deletes the run's temporary folder and everything in it. Never fails.
void DeleteTempFolder();

// "The setup file is corrupted." in a box captioned "Error", then the folder is deleted and
// the process ends.
[[noreturn]] void StopCorrupted();
