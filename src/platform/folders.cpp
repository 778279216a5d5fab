#include "platform/folders.h"

#include "platform/file_system.h"
#include "platform/windows_path.h"

namespace platform {

bool ForceFolders(const std::string& path) {
  std::string folder = winpath::WithoutTrailingBackslash(path);
  if (folder.empty() || FolderExists(folder)) return true;
  std::string parent = winpath::WithoutTrailingBackslash(winpath::FolderPart(folder));
  if (!parent.empty() && parent != folder && !ForceFolders(parent)) return false;
  return FolderCreate(folder) || FolderExists(folder);
}

}  // namespace platform
