#include "install/files_section.h"

#include <string>
#include <vector>

#include "app/ini_file.h"

namespace {

// The number a key name stands for when it is written as std::to_string writes it.
bool CanonicalNumber(const std::string& name, int64_t& number) {
  if (name.empty() || name.size() > 10 || (name.size() > 1 && name[0] == '0')) return false;
  number = 0;
  for (char c : name) {
    if (c < '0' || c > '9') return false;
    number = number * 10 + (c - '0');
  }
  return true;
}

}  // namespace

int32_t FilesEntriesEnd(const IniFile& script, int32_t filesCount) {
  int64_t end = 0;
  for (const std::string& key : script.ReadSectionComplete("Files")) {
    int64_t number = 0;
    if (CanonicalNumber(key, number) && number < filesCount && number + 1 > end) end = number + 1;
  }
  return static_cast<int32_t>(end);
}

bool PayloadHolds(int32_t position, int32_t size, int64_t setupSize) {
  int64_t end = int64_t{position} + size;
  if (end > INT32_MAX) return false;
  return setupSize < 0 || end <= setupSize;
}
