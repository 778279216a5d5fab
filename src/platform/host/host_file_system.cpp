// Files and folders of the host platform. Windows attributes live in an extended attribute of
// each file, because permission bits mean nothing to root and Linux has no hidden or archive
// bit; the read-only attribute is enforced here the way Windows enforces it.
#include "platform/file_system.h"

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <string.h>
#include <strings.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <ctime>

#include "platform/host/host_control.h"
#include "platform/host/host_state.h"

namespace platform {
namespace {

thread_local uint32_t lastError = 0;

constexpr const char* kAttributesName = "user.setup.attributes";
constexpr const char* kCreationName = "user.setup.creation";
constexpr FileTime kUnixEpochAsFileTime = 116444736000000000ULL;

bool Fail(uint32_t code) {
  lastError = code;
  return false;
}

bool FailErrno(bool pathContext = true) {
  return Fail(host::WindowsErrorFromErrno(errno, pathContext));
}

// Stored attributes, or the defaults Windows gives a new file or folder.
uint32_t StoredAttributes(const std::string& hostPath, const struct stat& info) {
  char buffer[16] = {};
  ssize_t size = getxattr(hostPath.c_str(), kAttributesName, buffer, sizeof buffer - 1);
  uint32_t attributes = size > 0 ? static_cast<uint32_t>(strtoul(buffer, nullptr, 10))
                                 : (S_ISDIR(info.st_mode) ? 0u : kAttrArchive);
  attributes &= ~(kAttrDirectory | kAttrNormal);
  if (S_ISDIR(info.st_mode)) attributes |= kAttrDirectory;
  if (attributes == 0) attributes = kAttrNormal;
  return attributes;
}

bool IsReadOnly(const std::string& hostPath) {
  struct stat info;
  if (stat(hostPath.c_str(), &info) != 0) return false;
  return (StoredAttributes(hostPath, info) & kAttrReadOnly) != 0;
}

bool ParentExists(const std::string& hostPath) {
  size_t slash = hostPath.find_last_of('/');
  if (slash == std::string::npos || slash == 0) return true;
  struct stat info;
  return stat(hostPath.substr(0, slash).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

int64_t UnixNanosecondsOf(FileTime time) {
  return (static_cast<int64_t>(time) - static_cast<int64_t>(kUnixEpochAsFileTime)) * 100;
}

timespec TimespecOf(FileTime time) {
  int64_t ns = UnixNanosecondsOf(time);
  timespec result;
  result.tv_sec = static_cast<time_t>(ns / 1000000000);
  result.tv_nsec = static_cast<long>(ns % 1000000000);
  if (result.tv_nsec < 0) {
    result.tv_nsec += 1000000000;
    --result.tv_sec;
  }
  return result;
}

// Whether a write to the file counts for the crash tests' fault injection.
bool CountsForKill(FileHandle file, const std::string& prefix) {
  if (prefix.empty()) return true;
  char target[PATH_MAX];
  const std::string link = "/proc/self/fd/" + std::to_string(file);
  ssize_t length = readlink(link.c_str(), target, sizeof target - 1);
  if (length <= 0) return false;
  std::string name(target, static_cast<size_t>(length));
  name = name.substr(name.find_last_of('/') + 1);
  return name.size() >= prefix.size() &&
         strncasecmp(name.c_str(), prefix.c_str(), prefix.size()) == 0;
}

}  // namespace

uint32_t LastError() { return lastError; }
void SetLastError(uint32_t code) { lastError = code; }

FileHandle FileOpen(const std::string& path, FileAccess access, FileCreation creation,
                    FileOpenHints hints) {
  std::string hostPath = host::HostPath(path);
  if (hostPath.empty()) return Fail(kErrorPathNotFound), kInvalidFile;
  struct stat info;
  bool exists = stat(hostPath.c_str(), &info) == 0;
  if (exists && S_ISDIR(info.st_mode)) return Fail(kErrorAccessDenied), kInvalidFile;
  if (!exists && !ParentExists(hostPath)) return Fail(kErrorPathNotFound), kInvalidFile;
  bool writes = access != FileAccess::Read;
  int flags = access == FileAccess::Read ? O_RDONLY
              : access == FileAccess::Write ? O_WRONLY
                                            : O_RDWR;
  switch (creation) {
    case FileCreation::CreateNew:
      if (exists) return Fail(kErrorFileExists), kInvalidFile;
      flags |= O_CREAT | O_EXCL;
      break;
    case FileCreation::CreateAlways:
      flags |= O_CREAT | O_TRUNC;
      break;
    case FileCreation::OpenExisting:
      if (!exists) return Fail(kErrorFileNotFound), kInvalidFile;
      break;
    case FileCreation::OpenAlways:
      flags |= O_CREAT;
      break;
    case FileCreation::TruncateExisting:
      if (!exists) return Fail(kErrorFileNotFound), kInvalidFile;
      flags |= O_TRUNC;
      break;
  }
  // Windows refuses to write into (or replace) a read-only file.
  if (exists && (writes || creation == FileCreation::CreateAlways) && IsReadOnly(hostPath))
    return Fail(kErrorAccessDenied), kInvalidFile;
  if ((flags & O_TRUNC) && !writes) flags = (flags & ~O_ACCMODE) | O_RDWR;
  int fd = ::open(hostPath.c_str(), flags | O_CLOEXEC, 0644);
  if (fd < 0) return FailErrno(), kInvalidFile;
  // A run without standard streams would hand out 0 to 2, and FDI reads a handle of 0 as
  // "skip this file"; keep handles clear of them as Windows does.
  if (fd < 3) {
    int moved = fcntl(fd, F_DUPFD_CLOEXEC, 3);
    ::close(fd);
    if (moved < 0) return FailErrno(false), kInvalidFile;
    fd = moved;
  }
  if (!exists) {
    host::JournalFileSystem("create-file", host::FullWindowsPath(path));
    uint32_t attributes = hints.temporary ? kAttrArchive | 0x100 : kAttrArchive;
    std::string text = std::to_string(attributes);
    fsetxattr(fd, kAttributesName, text.data(), text.size(), 0);
  }
  if (hints.deleteOnClose) unlink(hostPath.c_str());
  if (host::State().traceFileCalls) host::State().openedFiles.push_back(path);
  lastError = 0;
  return static_cast<FileHandle>(fd);
}

int32_t FileRead(FileHandle file, void* buffer, uint32_t count) {
  ssize_t done = ::read(static_cast<int>(file), buffer, count);
  if (done < 0) return FailErrno(false), -1;
  return static_cast<int32_t>(done);
}

int32_t FileWrite(FileHandle file, const void* buffer, uint32_t count) {
  const char* bytes = static_cast<const char*>(buffer);
  host::HostState& state = host::State();
  if (state.killAtWrite != 0 && CountsForKill(file, state.killFile) &&
      ++state.writes == state.killAtWrite) {
    // A process killed in the middle of a write: half of it reached the file.
    [[maybe_unused]] ssize_t half = ::write(static_cast<int>(file), bytes, count / 2);
    ::raise(SIGKILL);
  }
  uint32_t total = 0;
  // A folder of [FolderSpace] that is full takes what fits, as a full disk does.
  uint32_t writable = host::WritableBytes(static_cast<int>(file), count);
  bool full = writable < count;
  count = writable;
  while (total < count) {
    ssize_t done = ::write(static_cast<int>(file), bytes + total, count - total);
    if (done < 0) {
      if (errno == EINTR) continue;
      return FailErrno(false), -1;
    }
    total += static_cast<uint32_t>(done);
  }
  if (full) return Fail(kErrorDiskFull), -1;
  return static_cast<int32_t>(total);
}

int64_t FileSeek(FileHandle file, int64_t distance, int origin) {
  int whence = origin == 0 ? SEEK_SET : origin == 1 ? SEEK_CUR : origin == 2 ? SEEK_END : -1;
  if (whence < 0) return Fail(kErrorInvalidParameter), -1;
  off_t position = ::lseek(static_cast<int>(file), static_cast<off_t>(distance), whence);
  if (position < 0) return Fail(errno == EINVAL ? 131 /* negative seek */ : kErrorInvalidHandle), -1;
  return static_cast<int64_t>(position);
}

bool FileTruncate(FileHandle file) {
  off_t position = ::lseek(static_cast<int>(file), 0, SEEK_CUR);
  if (position < 0 || ::ftruncate(static_cast<int>(file), position) != 0) return FailErrno(false);
  return true;
}

bool FileFlush(FileHandle file) {
  if (::fsync(static_cast<int>(file)) != 0) return FailErrno(false);
  return true;
}

bool FileClose(FileHandle file) {
  if (file == kInvalidFile || ::close(static_cast<int>(file)) != 0)
    return Fail(kErrorInvalidHandle);
  return true;
}

bool FileSetTimes(FileHandle file, const FileTime* creation, const FileTime* lastAccess,
                  const FileTime* lastWrite) {
  timespec times[2];
  times[0].tv_nsec = UTIME_OMIT;
  times[1].tv_nsec = UTIME_OMIT;
  if (lastAccess) times[0] = TimespecOf(*lastAccess);
  if (lastWrite) times[1] = TimespecOf(*lastWrite);
  if (::futimens(static_cast<int>(file), times) != 0) return FailErrno(false);
  if (creation) {
    std::string text = std::to_string(*creation);
    fsetxattr(static_cast<int>(file), kCreationName, text.data(), text.size(), 0);
  }
  return true;
}

bool DosDateTimeToFileTime(uint16_t dosDate, uint16_t dosTime, FileTime& result) {
  int day = dosDate & 0x1F, month = (dosDate >> 5) & 0x0F, year = 1980 + (dosDate >> 9);
  int second = (dosTime & 0x1F) * 2, minute = (dosTime >> 5) & 0x3F, hour = dosTime >> 11;
  if (day < 1 || month < 1 || month > 12 || hour > 23 || minute > 59 || second > 59)
    return Fail(kErrorInvalidParameter);
  tm broken = {};
  broken.tm_year = year - 1900;
  broken.tm_mon = month - 1;
  broken.tm_mday = day;
  broken.tm_hour = hour;
  broken.tm_min = minute;
  broken.tm_sec = second;
  time_t seconds = timegm(&broken);
  result = kUnixEpochAsFileTime + static_cast<FileTime>(seconds) * 10000000ULL;
  return true;
}

bool LocalFileTimeToFileTime(FileTime local, FileTime& utc) {
  time_t asIfUtc = static_cast<time_t>((local - kUnixEpochAsFileTime) / 10000000ULL);
  tm broken;
  if (!gmtime_r(&asIfUtc, &broken)) return Fail(kErrorInvalidParameter);
  broken.tm_isdst = -1;
  time_t seconds = mktime(&broken);
  if (seconds == static_cast<time_t>(-1)) return Fail(kErrorInvalidParameter);
  utc = local + (static_cast<FileTime>(seconds) - static_cast<FileTime>(asIfUtc)) * 10000000ULL;
  return true;
}

bool FileLastWriteDos(const std::string& path, uint16_t& dosDate, uint16_t& dosTime) {
  std::string hostPath = host::HostPath(path);
  struct stat info;
  if (hostPath.empty() || stat(hostPath.c_str(), &info) != 0) return FailErrno();
  std::tm local{};
  if (!localtime_r(&info.st_mtime, &local) || local.tm_year < 80) return Fail(kErrorInvalidParameter);
  dosDate = static_cast<uint16_t>(((local.tm_year - 80) << 9) | ((local.tm_mon + 1) << 5) |
                                  local.tm_mday);
  dosTime = static_cast<uint16_t>((local.tm_hour << 11) | (local.tm_min << 5) | (local.tm_sec / 2));
  return true;
}

bool FileSizeAndTime(const std::string& path, uint64_t& size, FileTime& lastWrite) {
  std::string hostPath = host::HostPath(path);
  struct stat info;
  if (hostPath.empty() || stat(hostPath.c_str(), &info) != 0) return FailErrno();
  if (S_ISDIR(info.st_mode)) return Fail(kErrorFileNotFound);
  size = static_cast<uint64_t>(info.st_size);
  const int64_t hundreds = static_cast<int64_t>(info.st_mtim.tv_sec) * 10000000 +
                           static_cast<int64_t>(info.st_mtim.tv_nsec) / 100;
  lastWrite = static_cast<FileTime>(hundreds + static_cast<int64_t>(kUnixEpochAsFileTime));
  return true;
}

uint32_t FileAttributesGet(const std::string& path) {
  std::string hostPath = host::HostPath(path);
  struct stat info;
  if (hostPath.empty() || stat(hostPath.c_str(), &info) != 0) {
    FailErrno();
    return kInvalidAttributes;
  }
  return StoredAttributes(hostPath, info);
}

bool FileAttributesSet(const std::string& path, uint32_t attributes) {
  std::string hostPath = host::HostPath(path);
  struct stat info;
  if (hostPath.empty() || stat(hostPath.c_str(), &info) != 0) return FailErrno();
  std::string text = std::to_string(attributes & ~(kAttrDirectory | kAttrNormal));
  if (setxattr(hostPath.c_str(), kAttributesName, text.data(), text.size(), 0) != 0)
    return FailErrno();
  if (host::State().traceFileCalls) host::State().attributeChanges.push_back(path);
  // Mirror read-only into the permission bits so that it shows on Linux too.
  mode_t mode = info.st_mode & 07777;
  mode = (attributes & kAttrReadOnly) ? (mode & ~0222) : (mode | 0200);
  chmod(hostPath.c_str(), mode);
  return true;
}

bool FileExists(const std::string& path) {
  std::string hostPath = host::HostPath(path);
  struct stat info;
  return !hostPath.empty() && stat(hostPath.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

bool FolderExists(const std::string& path) {
  std::string hostPath = host::HostPath(path);
  struct stat info;
  return !hostPath.empty() && stat(hostPath.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool FileDelete(const std::string& path) {
  std::string hostPath = host::HostPath(path);
  struct stat info;
  if (hostPath.empty() || stat(hostPath.c_str(), &info) != 0) return FailErrno();
  if (S_ISDIR(info.st_mode) || IsReadOnly(hostPath)) return Fail(kErrorAccessDenied);
  if (::unlink(hostPath.c_str()) != 0) return FailErrno();
  host::JournalFileSystem("delete-file", host::FullWindowsPath(path));
  return true;
}

bool FileMoveReplace(const std::string& from, const std::string& to) {
  std::string source = host::HostPath(from), target = host::HostPath(to);
  if (source.empty() || target.empty()) return Fail(kErrorPathNotFound);
  if (IsReadOnly(target)) return Fail(kErrorAccessDenied);
  if (::rename(source.c_str(), target.c_str()) != 0) return FailErrno();
  return true;
}

bool FolderCreate(const std::string& path) {
  std::string hostPath = host::HostPath(path);
  if (hostPath.empty()) return Fail(kErrorPathNotFound);
  if (::mkdir(hostPath.c_str(), 0755) != 0)
    return Fail(errno == EEXIST ? kErrorAlreadyExists : host::WindowsErrorFromErrno(errno));
  host::JournalFileSystem("create-folder", host::FullWindowsPath(path));
  return true;
}

bool FolderRemove(const std::string& path) {
  std::string hostPath = host::HostPath(path);
  if (hostPath.empty()) return Fail(kErrorPathNotFound);
  if (::rmdir(hostPath.c_str()) != 0)
    return Fail(errno == ENOTEMPTY || errno == EEXIST ? kErrorDirNotEmpty
                                                      : host::WindowsErrorFromErrno(errno));
  host::JournalFileSystem("remove-folder", host::FullWindowsPath(path));
  return true;
}

std::vector<FolderEntry> FolderList(const std::string& folder) {
  std::vector<FolderEntry> entries;
  std::string hostPath = host::HostPath(folder);
  DIR* dir = hostPath.empty() ? nullptr : opendir(hostPath.c_str());
  if (!dir) {
    FailErrno();
    return entries;
  }
  while (dirent* entry = readdir(dir)) {
    std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    std::string child = hostPath + "/" + name;
    struct stat info;
    if (lstat(child.c_str(), &info) != 0) continue;
    entries.push_back({name, StoredAttributes(child, info)});
  }
  closedir(dir);
  return entries;
}

std::string CurrentFolder() { return host::FullWindowsPath("."); }

}  // namespace platform
