#include "app/temp_folder.h"

#include <random>

#include "app/exit_codes.h"
#include "app/run_state.h"
#include "platform/file_system.h"
#include "platform/message_box.h"
#include "platform/process.h"

namespace {

// Reparse points (junctions, links) are removed, never entered: what they point to is not
// ours to delete.
constexpr uint32_t kAttrReparsePoint = 0x400;

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

std::string MakeTempFolderName(const std::string& tempDir, unsigned seed) {
  std::minstd_rand generator(seed);
  std::uniform_int_distribution<int> digit(0, 9);
  std::string name = tempDir + "\\VQTMP";
  for (int i = 0; i < 3; ++i) name += static_cast<char>('0' + digit(generator));
  return name;
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
