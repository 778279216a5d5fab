#include "app/ini_file.h"

#include <utility>

#include "app/ini_append.h"
#include "platform/file_system.h"

namespace {

// The sibling the new content is written to before it replaces the file, and where an append
// keeps its journal while it runs.
constexpr const char* kTempSuffix = ".~wr";

// Bumped by NoteOutsideChanges; an object whose count differs checks its file before reading.
uint64_t outsideChanges = 0;

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

void IniFile::NoteOutsideChanges() { ++outsideChanges; }

IniFile::Stamp IniFile::DiskStamp() const {
  Stamp stamp;
  stamp.exists = platform::FileSizeAndTime(path_, stamp.size, stamp.lastWrite);
  if (!stamp.exists) stamp.size = stamp.lastWrite = 0;
  return stamp;
}

// The stamp is taken before the bytes are read: a change in between makes the next check read
// the file once more rather than miss the change.
void IniFile::Reload() const {
  notesSeen_ = outsideChanges;
  stamp_ = DiskStamp();
  std::string bytes;
  text_ = ReadAll(path_, bytes) ? IniText::Parse(bytes) : IniText();
  ++loads_;
}

bool IniFile::Refresh() const {
  notesSeen_ = outsideChanges;
  if (DiskStamp() == stamp_) return false;
  Reload();
  return true;
}

const IniText& IniFile::Current() const {
  if (notesSeen_ != outsideChanges) Refresh();
  return text_;
}

bool IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  return WriteStrings({IniWrite{std::string(section), std::string(key), std::string(value)}});
}

// A run killed while it wrote this file left its sibling: the journal of an append, whose
// uncommitted (commented-out) lines are cut from the file, or a whole new content that never
// replaced the file, which is simply dropped.
void IniFile::RemoveInterruptedWrite() {
  using namespace platform;
  const std::string temp = path_ + kTempSuffix;
  if (FileAttributesGet(temp) == kInvalidAttributes) return;
  std::string note;
  AppendJournal journal;
  if (ReadAll(temp, note) && ParseAppendJournal(note, journal)) {
    FileHandle file = FileOpen(path_, FileAccess::ReadWrite, FileCreation::OpenExisting);
    if (file != kInvalidFile) {
      const auto base = static_cast<int64_t>(journal.base);
      std::string tail;
      char buffer[65536];
      int32_t got = 0;
      bool read = FileSeek(file, base, 0) == base;
      while (read && (got = FileRead(file, buffer, sizeof buffer)) > 0 &&
             tail.size() <= journal.length)
        tail.append(buffer, static_cast<size_t>(got));
      const size_t cut = read && got >= 0 ? UncommittedAppendCut(journal, tail) : std::string::npos;
      if (cut != std::string::npos) {
        const auto at = static_cast<int64_t>(cut);
        if (FileSeek(file, at, 0) == at && FileTruncate(file)) FileFlush(file);
      }
      FileClose(file);
      if (cut != std::string::npos) Reload();
    }
  }
  FileDelete(temp);
}

bool IniFile::WriteStrings(const std::vector<IniWrite>& writes) {
  if (!wroteBefore_) {
    wroteBefore_ = true;
    RemoveInterruptedWrite();
  }
  Refresh();
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
  if ((appendsOnly && AppendInPlace(oldSize, tail, lines)) || ReplaceWhole()) {
    stamp_ = DiskStamp();
    return allAccepted;
  }
  // The disk holds the old content; match it again.
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
  // The journal tells the next write what to cut should this process be killed before the
  // last line is committed. Without it (a folder that takes no new file) the append still
  // goes on; it is not flushed either: either way the uncommitted lines of a crash stay as
  // harmless comments.
  const std::string journalPath = path_ + kTempSuffix;
  FileHandle journal = FileOpen(journalPath, FileAccess::Write, FileCreation::CreateAlways);
  if (journal != kInvalidFile) {
    const AppendJournal note{oldSize, lines.empty() ? 0 : lines.front(), tail.size()};
    WriteAll(journal, FormatAppendJournal(note));
    FileClose(journal);
  }
  bool ok = WriteAll(file, CommentedOutLines(tail, lines)) && FileFlush(file);
  for (size_t i = 0; ok && i < lines.size(); ++i) {
    const int64_t at = base + static_cast<int64_t>(lines[i]);
    ok = FileSeek(file, at, 0) == at && FileWrite(file, &tail[lines[i]], 1) == 1;
  }
  ok = ok && FileFlush(file);
  const uint32_t error = LastError();
  if (!ok && FileSeek(file, base, 0) == base && FileTruncate(file)) FileFlush(file);
  FileClose(file);
  if (journal != kInvalidFile) FileDelete(journalPath);
  if (!ok) SetLastError(error);
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
