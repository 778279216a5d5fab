#include "app/temp_folder.h"

#include "app/exit_codes.h"
#include "app/run_state.h"
#include "platform/file_system.h"
#include "platform/folders_known.h"
#include "platform/message_box.h"
#include "platform/process.h"

namespace {

// Reparse points (junctions, links) are removed, never entered: what they point to is not
// ours to delete.
constexpr uint32_t kAttrReparsePoint = 0x400;

// The longest folder path the ANSI folder functions create (MAX_PATH less room for a 8.3 name).
constexpr size_t kMaxFolderPath = 247;
// "\VQTMPnnn", and the longest name the run puts into the folder ("\uninstall.ini").
constexpr size_t kTempFolderName = 9;
constexpr size_t kLongestTempFile = 14;

// A 64-bit mixing step (splitmix64): every input bit reaches every output bit, so inputs that
// differ a little give unrelated outputs.
uint64_t Mix(uint64_t value) {
  value += 0x9E3779B97F4A7C15ULL;
  value = (value ^ (value >> 30)) * 0xBF58476D1CE4E5B9ULL;
  value = (value ^ (value >> 27)) * 0x94D049BB133111EBULL;
  return value ^ (value >> 31);
}

bool Fits(const std::string& tempDir) {
  return !tempDir.empty() && tempDir.size() + kTempFolderName <= kMaxFolderPath &&
         tempDir.size() + kTempFolderName + kLongestTempFile < 260;
}

std::string WithoutTrailingBackslash(std::string path) {
  if (!path.empty() && path.back() == '\\') path.pop_back();
  return path;
}

void DeleteFolderContents(const std::string& folder) {
  for (const platform::FolderEntry& entry : platform::FolderList(folder)) {
    std::string path = folder + "\\" + entry.name;
    if (entry.attributes & platform::kAttrDirectory) {
      if (!(entry.attributes & kAttrReparsePoint)) DeleteFolderContents(path);
      platform::FolderRemove(path);
      continue;
    }
    // Files extracted read-only would otherwise keep the folder alive.
    if (entry.attributes & platform::kAttrReadOnly)
      platform::FileAttributesSet(path, entry.attributes & ~platform::kAttrReadOnly);
    platform::FileDelete(path);
  }
}

}  // namespace

TempFolderNames::TempFolderNames(uint64_t ticks, uint32_t processId, uint64_t counter)
    : state_(Mix(ticks) ^ Mix(Mix(processId) + counter)) {}

uint64_t TempFolderNames::NextBits() {
  state_ += 0x9E3779B97F4A7C15ULL;
  return Mix(state_);
}

std::string TempFolderNames::Next(const std::string& tempDir) {
  std::string name = tempDir + "\\VQTMP";
  // Each digit from 32 bits of its own: the bias of the remainder is below one in 400 million.
  for (int i = 0; i < 3; ++i) name += static_cast<char>('0' + (NextBits() >> 32) % 10);
  return name;
}

bool CreateTempFolder(TempFolderNames& names, const std::string& tempDir) {
  RunState& run = Run();
  for (int attempt = 0; attempt < kTempFolderAttempts; ++attempt) {
    run.TempFolder = names.Next(tempDir);
    if (platform::FolderCreate(run.TempFolder)) {
      run.TempFolderCreated = true;
      return true;
    }
    // Another failure than a name in use (a missing or read-only parent) will not go away.
    if (!platform::FolderExists(run.TempFolder)) return false;
  }
  return false;
}

std::string UserTempDir() {
  std::string tempDir = WithoutTrailingBackslash(platform::TempFolder());
  if (Fits(tempDir)) return tempDir;
  std::string windowsTemp = WithoutTrailingBackslash(platform::WindowsFolder()) + "\\Temp";
  if (!platform::WindowsFolder().empty() && Fits(windowsTemp) && platform::FolderExists(windowsTemp))
    return windowsTemp;
  return "";
}

void DeleteTempFolder() {
  RunState& run = Run();
  if (!run.TempFolderCreated || run.TempFolder.empty()) return;
  DeleteFolderContents(run.TempFolder);
  if (platform::FolderExists(run.TempFolder)) platform::FolderRemove(run.TempFolder);
}

void StopCorrupted() {
  platform::ShowMessageBox(0, "The setup file is corrupted.", "Error",
                           platform::kMbOk | platform::kMbIconError);
  DeleteTempFolder();
  platform::ExitProcess(kExitCorrupted);
}
