// ShortenDisplayPath: the one-line file display of the progress page has room for about 70
// characters; longer paths lose the folders just above the file.
#include "text/display_path.h"

#include "text/path_parts.h"

namespace {

constexpr size_t kDisplayWidth = 70;

}  // namespace

std::string ShortenDisplayPath(const std::string& path) {
  if (path.size() <= kDisplayWidth) return path;
  std::string folder = FolderOfPath(FolderOfPath(FolderOfPath(path)));
  return folder + "\\..\\" + NameOfPath(path);
}
