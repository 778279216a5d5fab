// Files and folders, addressed by Windows paths (drive letters, backslashes) on every platform.
// Functions report failure through their result and leave the Windows error code for
// LastError(); they never throw.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

using FileHandle = intptr_t;
constexpr FileHandle kInvalidFile = -1;

enum class FileAccess { Read, Write, ReadWrite };
// The creation dispositions of the operating system's open.
enum class FileCreation { CreateNew, CreateAlways, OpenExisting, OpenAlways, TruncateExisting };

struct FileOpenHints {
  bool temporary = false;      // temporary attribute on a created file
  bool randomAccess = false;
  bool sequential = false;
  bool deleteOnClose = false;
  bool othersMayWrite = false;  // a reader that lets a writer keep the file open
};

// Windows file attribute bits.
constexpr uint32_t kAttrReadOnly = 0x01;
constexpr uint32_t kAttrHidden = 0x02;
constexpr uint32_t kAttrSystem = 0x04;
constexpr uint32_t kAttrDirectory = 0x10;
constexpr uint32_t kAttrArchive = 0x20;
constexpr uint32_t kAttrNormal = 0x80;
constexpr uint32_t kInvalidAttributes = 0xFFFFFFFF;

// 100-nanosecond intervals since 1601-01-01, as Windows counts file times.
using FileTime = uint64_t;

// Windows error codes the portable code looks at.
constexpr uint32_t kErrorFileNotFound = 2;
constexpr uint32_t kErrorPathNotFound = 3;
constexpr uint32_t kErrorAccessDenied = 5;
constexpr uint32_t kErrorInvalidHandle = 6;
constexpr uint32_t kErrorNotEnoughMemory = 8;
constexpr uint32_t kErrorWriteFault = 29;
constexpr uint32_t kErrorReadFault = 30;
constexpr uint32_t kErrorHandleEof = 38;
constexpr uint32_t kErrorFileExists = 80;
constexpr uint32_t kErrorInvalidParameter = 87;
constexpr uint32_t kErrorDiskFull = 112;
constexpr uint32_t kErrorDirNotEmpty = 145;
constexpr uint32_t kErrorAlreadyExists = 183;
constexpr uint32_t kErrorModNotFound = 126;
constexpr uint32_t kErrorProcNotFound = 127;

// The error code of the last failed platform call on this thread.
uint32_t LastError();
void SetLastError(uint32_t code);
// The operating system's message text for an error code, without trailing line break.
std::string SystemErrorText(uint32_t code);

// Share mode is always "others may read".
FileHandle FileOpen(const std::string& path, FileAccess access, FileCreation creation,
                    FileOpenHints hints = {});
// Bytes transferred, or -1.
int32_t FileRead(FileHandle file, void* buffer, uint32_t count);
int32_t FileWrite(FileHandle file, const void* buffer, uint32_t count);
// origin: 0 start, 1 current, 2 end. The new position, or -1.
int64_t FileSeek(FileHandle file, int64_t distance, int origin);
// Cuts (or extends) the file at the current position.
bool FileTruncate(FileHandle file);
bool FileFlush(FileHandle file);
bool FileClose(FileHandle file);
// Null pointers leave that time unchanged.
bool FileSetTimes(FileHandle file, const FileTime* creation, const FileTime* lastAccess,
                  const FileTime* lastWrite);

bool DosDateTimeToFileTime(uint16_t dosDate, uint16_t dosTime, FileTime& result);
bool LocalFileTimeToFileTime(FileTime local, FileTime& utc);
// The file's last-modification time in local time, at the two-second resolution of a DOS date
// and time. False when the file is missing or its time cannot be read.
bool FileLastWriteDos(const std::string& path, uint16_t& dosDate, uint16_t& dosTime);

// The file's size and last-write time, together enough to notice that someone changed it. False
// when it is missing (or a folder).
bool FileSizeAndTime(const std::string& path, uint64_t& size, FileTime& lastWrite);

uint32_t FileAttributesGet(const std::string& path);  // kInvalidAttributes when missing
bool FileAttributesSet(const std::string& path, uint32_t attributes);
bool FileExists(const std::string& path);    // an existing file, not a folder
bool FolderExists(const std::string& path);  // an existing folder
bool FileDelete(const std::string& path);
// Moves a file, replacing the target if it exists; the target then holds either the old or
// the new content, never a mix.
bool FileMoveReplace(const std::string& from, const std::string& to);

// Fails when the folder exists already or its parent is missing.
bool FolderCreate(const std::string& path);
bool FolderRemove(const std::string& path);  // an empty folder only

struct FolderEntry {
  std::string name;
  uint32_t attributes;
};
// Every entry of the folder ("*.*", every attribute) except "." and "..".
std::vector<FolderEntry> FolderList(const std::string& folder);

// The current folder, absolute, without trailing backslash (unless a root).
std::string CurrentFolder();

}  // namespace platform
