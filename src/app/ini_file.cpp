#include "app/ini_file.h"

#include <utility>

#include "app/ini_append.h"
#include "platform/file_system.h"

namespace {

// The sibling the new content is written to before it replaces the file.
constexpr const char* kTempSuffix = ".~wr";

bool WriteAll(platform::FileHandle file, std::string_view data) {
  while (!data.empty()) {
    const auto chunk = static_cast<uint32_t>(data.size() < (1u << 20) ? data.size() : 1u << 20);
    int32_t written = platform::FileWrite(file, data.data(), chunk);
    if (written <= 0) return false;
    data.remove_prefix(static_cast<size_t>(written));
  }
  return true;
}

bool ReadAll(const std::string& path, std::string& bytes) {
  platform::FileHandle file =
      platform::FileOpen(path, platform::FileAccess::Read, platform::FileCreation::OpenExisting);
  if (file == platform::kInvalidFile) return false;
  char buffer[65536];
  int32_t got;
  while ((got = platform::FileRead(file, buffer, sizeof buffer)) > 0) {
    bytes.append(buffer, static_cast<size_t>(got));
  }
  platform::FileClose(file);
  return got == 0;
}

}  // namespace

IniFile::IniFile(std::string path) : path_(std::move(path)) { Reload(); }

void IniFile::Reload() {
  std::string bytes;
  text_ = ReadAll(path_, bytes) ? IniText::Parse(bytes) : IniText();
}

bool IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  return WriteStrings({IniWrite{std::string(section), std::string(key), std::string(value)}});
}

bool IniFile::WriteStrings(const std::vector<IniWrite>& writes) {
  const size_t oldSize = text_.Size();
  bool allAccepted = true;
  bool appendsOnly = true;
  bool changed = false;
  std::string tail;
  std::vector<size_t> lines;
  for (const IniWrite& write : writes) {
    IniText::Change change = text_.Write(write.section, write.key, write.value);
    switch (change.kind) {
      case IniText::Change::kRejected:
        allAccepted = false;
        break;
      case IniText::Change::kUnchanged:
        break;
      case IniText::Change::kAppended:
        changed = true;
        lines.push_back(tail.size() + change.lineOffset);
        tail += change.appended;
        break;
      case IniText::Change::kRewritten:
        changed = true;
        appendsOnly = false;
        break;
    }
  }
  if (!changed) return allAccepted;
  if (appendsOnly && AppendInPlace(oldSize, tail, lines)) return allAccepted;
  if (ReplaceWhole()) return allAccepted;
  // The disk holds the old content (or the old content and a comment line); match it again.
  Reload();
  return false;
}

// Lines added at the very end of the file are appended in place, so that adding a record to a
// long uninstall record costs the record and not the file. Each line is first written with ';'
// in place of its first character, making it a comment: a crash during that write leaves at
// most a partial comment line, which every reader skips. Only once the line is on disk is its
// first byte set to the real character, a one-byte write that happens entirely or not at all;
// the flush between the two keeps that order on the disk too, so that a power cut cannot leave
// a line whose first byte was set but whose rest was lost.
bool IniFile::AppendInPlace(size_t oldSize, const std::string& tail,
                            const std::vector<size_t>& lines) {
  using namespace platform;
  FileHandle file = FileOpen(path_, FileAccess::ReadWrite, FileCreation::OpenExisting);
  if (file == kInvalidFile) return false;
  const auto base = static_cast<int64_t>(oldSize);
  // A file of another size is not the one the image was read from: no place to append to.
  if (FileSeek(file, 0, 2) != base) {
    FileClose(file);
    return false;
  }
  bool ok = WriteAll(file, CommentedOutLines(tail, lines)) && FileFlush(file);
  for (size_t i = 0; ok && i < lines.size(); ++i) {
    const int64_t at = base + static_cast<int64_t>(lines[i]);
    ok = FileSeek(file, at, 0) == at && FileWrite(file, &tail[lines[i]], 1) == 1;
  }
  ok = ok && FileFlush(file);
  if (!ok) {
    const uint32_t error = LastError();
    if (FileSeek(file, base, 0) == base && FileTruncate(file)) FileFlush(file);
    SetLastError(error);
  }
  FileClose(file);
  return ok;
}

// Every other change writes the whole image to a sibling file and moves it over the old one,
// which then holds either the old or the new content.
bool IniFile::ReplaceWhole() {
  using namespace platform;
  const uint32_t attributes = FileAttributesGet(path_);
  if (attributes != kInvalidAttributes && (attributes & (kAttrReadOnly | kAttrDirectory))) {
    SetLastError(kErrorAccessDenied);
    return false;
  }
  const std::string temp = path_ + kTempSuffix;
  FileHandle file = FileOpen(temp, FileAccess::Write, FileCreation::CreateAlways);
  if (file == kInvalidFile) return false;
  bool ok = WriteAll(file, text_.Serialize()) && FileFlush(file);
  ok = FileClose(file) && ok;
  // A hidden or system file (desktop.ini) stays so.
  const uint32_t kept = kAttrHidden | kAttrSystem;
  if (ok && attributes != kInvalidAttributes && (attributes & kept)) {
    FileAttributesSet(temp, attributes & (kept | kAttrArchive));
  }
  ok = ok && FileMoveReplace(temp, path_);
  if (!ok) {
    const uint32_t error = LastError();
    FileDelete(temp);
    SetLastError(error);
  }
  return ok;
}
