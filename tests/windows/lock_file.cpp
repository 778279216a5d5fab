// Holds a file open without sharing, as another program that has it open would, until a second
// file appears (or two minutes pass). Creates a third file once the lock is taken.
//   lock_file.exe FILE READY-FILE RELEASE-FILE
#include <windows.h>

int main(int argc, char** argv) {
  if (argc != 4) return 2;
  HANDLE file = ::CreateFileA(argv[1], GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  HANDLE ready = ::CreateFileA(argv[2], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
  if (ready != INVALID_HANDLE_VALUE) ::CloseHandle(ready);
  for (int i = 0; i < 1200 && ::GetFileAttributesA(argv[3]) == INVALID_FILE_ATTRIBUTES; ++i)
    ::Sleep(100);
  ::CloseHandle(file);
  return 0;
}
