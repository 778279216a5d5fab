// Small disks for the tests: a folder of [FolderSpace] holds at most so many bytes of files, so
// that a run can be made to meet a full disk at a chosen moment.
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <string>

#include "platform/host/host_state.h"

namespace host {
namespace {

int64_t BytesUnder(const std::string& folder) {
  int64_t total = 0;
  DIR* dir = opendir(folder.c_str());
  if (!dir) return 0;
  while (dirent* entry = readdir(dir)) {
    std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    std::string child = folder + "/" + name;
    struct stat info;
    if (lstat(child.c_str(), &info) != 0) continue;
    if (S_ISDIR(info.st_mode))
      total += BytesUnder(child);
    else if (S_ISREG(info.st_mode))
      total += info.st_size;
  }
  closedir(dir);
  return total;
}

}  // namespace

uint32_t WritableBytes(int fd, uint32_t count) {
  const auto& limits = Facts().folderSpace;
  if (limits.empty()) return count;
  char link[PATH_MAX];
  ssize_t length = readlink(("/proc/self/fd/" + std::to_string(fd)).c_str(), link, sizeof link - 1);
  if (length <= 0) return count;
  std::string file(link, static_cast<size_t>(length));
  struct stat info;
  off_t position = lseek(fd, 0, SEEK_CUR);
  if (fstat(fd, &info) != 0 || position < 0) return count;
  int64_t growth = int64_t{position} + count - info.st_size;
  if (growth <= 0) return count;
  uint32_t writable = count;
  for (const auto& [folder, bytes] : limits) {
    std::string root = HostPath(folder);
    if (root.empty() || file.compare(0, root.size() + 1, root + "/") != 0) continue;
    int64_t free = bytes - BytesUnder(root);
    if (free < 0) free = 0;
    if (growth <= free) continue;
    // What fits: the bytes up to the file's end overwrite, then free more.
    int64_t fits = info.st_size + free - position;
    if (fits < 0) fits = 0;
    if (fits < writable) writable = static_cast<uint32_t>(fits);
  }
  return writable;
}

}  // namespace host
