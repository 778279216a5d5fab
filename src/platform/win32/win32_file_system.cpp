// Files and folders through the ANSI Windows API.
#include "platform/file_system.h"

#include <windows.h>

namespace platform {
namespace {

HANDLE AsHandle(FileHandle file) { return reinterpret_cast<HANDLE>(file); }

FILETIME AsFiletime(FileTime time) {
  FILETIME result;
  result.dwLowDateTime = static_cast<DWORD>(time);
  result.dwHighDateTime = static_cast<DWORD>(time >> 32);
  return result;
}

FileTime FromFiletime(const FILETIME& time) {
  return (static_cast<FileTime>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

}  // namespace

uint32_t LastError() { return ::GetLastError(); }
void SetLastError(uint32_t code) { ::SetLastError(code); }

std::string SystemErrorText(uint32_t code) {
  char* buffer = nullptr;
  DWORD length = ::FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS |
          FORMAT_MESSAGE_ARGUMENT_ARRAY,
      nullptr, code, 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
  std::string text = length && buffer ? std::string(buffer, length) : std::string();
  if (buffer) ::LocalFree(buffer);
  // Like the framework's error texts: no trailing line break, blanks or full stop.
  while (!text.empty() && (static_cast<unsigned char>(text.back()) <= ' ' || text.back() == '.'))
    text.pop_back();
  return text;
}

FileHandle FileOpen(const std::string& path, FileAccess access, FileCreation creation,
                    FileOpenHints hints) {
  DWORD desired = access == FileAccess::Read    ? GENERIC_READ
                  : access == FileAccess::Write ? GENERIC_WRITE
                                                : GENERIC_READ | GENERIC_WRITE;
  static const DWORD kDispositions[] = {CREATE_NEW, CREATE_ALWAYS, OPEN_EXISTING, OPEN_ALWAYS,
                                        TRUNCATE_EXISTING};
  DWORD flags = hints.temporary ? FILE_ATTRIBUTE_TEMPORARY : FILE_ATTRIBUTE_NORMAL;
  if (hints.randomAccess) flags |= FILE_FLAG_RANDOM_ACCESS;
  if (hints.sequential) flags |= FILE_FLAG_SEQUENTIAL_SCAN;
  if (hints.deleteOnClose) flags |= FILE_FLAG_DELETE_ON_CLOSE;
  DWORD share = FILE_SHARE_READ | (hints.othersMayWrite ? FILE_SHARE_WRITE : 0);
  HANDLE file = ::CreateFileA(path.c_str(), desired, share, nullptr,
                              kDispositions[static_cast<int>(creation)], flags, nullptr);
  if (file == INVALID_HANDLE_VALUE) return kInvalidFile;
  return reinterpret_cast<FileHandle>(file);
}

int32_t FileRead(FileHandle file, void* buffer, uint32_t count) {
  DWORD done = 0;
  if (!::ReadFile(AsHandle(file), buffer, count, &done, nullptr)) return -1;
  return static_cast<int32_t>(done);
}

int32_t FileWrite(FileHandle file, const void* buffer, uint32_t count) {
  DWORD done = 0;
  if (!::WriteFile(AsHandle(file), buffer, count, &done, nullptr)) return -1;
  return static_cast<int32_t>(done);
}

int64_t FileSeek(FileHandle file, int64_t distance, int origin) {
  LONG high = static_cast<LONG>(distance >> 32);
  ::SetLastError(NO_ERROR);
  DWORD low = ::SetFilePointer(AsHandle(file), static_cast<LONG>(distance & 0xFFFFFFFF), &high,
                               static_cast<DWORD>(origin));
  if (low == INVALID_SET_FILE_POINTER && ::GetLastError() != NO_ERROR) return -1;
  return (static_cast<int64_t>(high) << 32) | low;
}

bool FileTruncate(FileHandle file) { return ::SetEndOfFile(AsHandle(file)) != 0; }
bool FileFlush(FileHandle file) { return ::FlushFileBuffers(AsHandle(file)) != 0; }
bool FileClose(FileHandle file) { return ::CloseHandle(AsHandle(file)) != 0; }

bool FileSetTimes(FileHandle file, const FileTime* creation, const FileTime* lastAccess,
                  const FileTime* lastWrite) {
  FILETIME c, a, w;
  if (creation) c = AsFiletime(*creation);
  if (lastAccess) a = AsFiletime(*lastAccess);
  if (lastWrite) w = AsFiletime(*lastWrite);
  return ::SetFileTime(AsHandle(file), creation ? &c : nullptr, lastAccess ? &a : nullptr,
                       lastWrite ? &w : nullptr) != 0;
}

bool DosDateTimeToFileTime(uint16_t dosDate, uint16_t dosTime, FileTime& result) {
  FILETIME time;
  if (!::DosDateTimeToFileTime(dosDate, dosTime, &time)) return false;
  result = FromFiletime(time);
  return true;
}

bool LocalFileTimeToFileTime(FileTime local, FileTime& utc) {
  FILETIME in = AsFiletime(local), out;
  if (!::LocalFileTimeToFileTime(&in, &out)) return false;
  utc = FromFiletime(out);
  return true;
}

bool FileLastWriteDos(const std::string& path, uint16_t& dosDate, uint16_t& dosTime) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return false;
  FILETIME local;
  WORD date, time;
  if (!::FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) ||
      !::FileTimeToDosDateTime(&local, &date, &time))
    return false;
  dosDate = date;
  dosTime = time;
  return true;
}

bool FileSizeAndTime(const std::string& path, uint64_t& size, FileTime& lastWrite) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return false;
  if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
    ::SetLastError(ERROR_FILE_NOT_FOUND);
    return false;
  }
  size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  lastWrite = (static_cast<uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
              data.ftLastWriteTime.dwLowDateTime;
  return true;
}

uint32_t FileAttributesGet(const std::string& path) { return ::GetFileAttributesA(path.c_str()); }

bool FileAttributesSet(const std::string& path, uint32_t attributes) {
  return ::SetFileAttributesA(path.c_str(), attributes) != 0;
}

bool FileExists(const std::string& path) {
  DWORD attributes = ::GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::string& path) {
  DWORD attributes = ::GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FileDelete(const std::string& path) { return ::DeleteFileA(path.c_str()) != 0; }

bool FileMoveReplace(const std::string& from, const std::string& to) {
  if (::MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return true;
  if (::GetLastError() != ERROR_CALL_NOT_IMPLEMENTED) return false;
  // Windows 9x has no atomic replace.
  ::DeleteFileA(to.c_str());
  return ::MoveFileA(from.c_str(), to.c_str()) != 0;
}

bool FolderCreate(const std::string& path) { return ::CreateDirectoryA(path.c_str(), nullptr) != 0; }
bool FolderRemove(const std::string& path) { return ::RemoveDirectoryA(path.c_str()) != 0; }

std::vector<FolderEntry> FolderList(const std::string& folder) {
  std::vector<FolderEntry> entries;
  WIN32_FIND_DATAA data;
  HANDLE find = ::FindFirstFileA((folder + "\\*.*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return entries;
  do {
    std::string name = data.cFileName;
    if (name != "." && name != "..") entries.push_back({name, data.dwFileAttributes});
  } while (::FindNextFileA(find, &data));
  ::FindClose(find);
  return entries;
}

std::string CurrentFolder() {
  char buffer[MAX_PATH + 1];
  DWORD length = ::GetCurrentDirectoryA(sizeof buffer, buffer);
  return length && length < sizeof buffer ? std::string(buffer, length) : std::string();
}

}  // namespace platform
