#include "app/ini_append.h"

#include <charconv>

namespace {

constexpr std::string_view kJournalMark = "\x01IniAppend";
constexpr std::string_view kJournalEnd = " end\n";

bool ReadNumber(std::string_view& text, uint64_t& value) {
  if (!text.starts_with(' ')) return false;
  text.remove_prefix(1);
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end == text.data()) return false;
  text.remove_prefix(static_cast<size_t>(end - text.data()));
  return true;
}

}  // namespace

std::string CommentedOutLines(std::string appended, const std::vector<size_t>& lineStarts) {
  for (size_t start : lineStarts) {
    if (start < appended.size()) appended[start] = ';';
  }
  return appended;
}

std::string FormatAppendJournal(const AppendJournal& journal) {
  return std::string(kJournalMark) + " " + std::to_string(journal.base) + " " +
         std::to_string(journal.firstLine) + " " + std::to_string(journal.length) +
         std::string(kJournalEnd);
}

bool ParseAppendJournal(std::string_view text, AppendJournal& journal) {
  if (!text.starts_with(kJournalMark)) return false;
  text.remove_prefix(kJournalMark.size());
  AppendJournal read;
  if (!ReadNumber(text, read.base) || !ReadNumber(text, read.firstLine) ||
      !ReadNumber(text, read.length) || text != kJournalEnd || read.firstLine > read.length)
    return false;
  journal = read;
  return true;
}

size_t UncommittedAppendCut(const AppendJournal& journal, std::string_view tail) {
  if (tail.empty() || tail.size() > journal.length) return std::string_view::npos;
  size_t pos = journal.firstLine;
  bool committed = false;
  while (pos < tail.size()) {
    // Appended lines are key lines, which never begin with ';': a ';' there is uncommitted.
    if (tail[pos] == ';') break;
    size_t end = tail.find('\n', pos);
    // A committed line was on disk whole before its first byte was set.
    if (end == std::string_view::npos) return std::string_view::npos;
    committed = true;
    pos = end + 1;
  }
  if (pos >= tail.size() && committed) return std::string_view::npos;
  // Nothing committed: the terminator added to the old last line goes too.
  return static_cast<size_t>(journal.base) + (committed ? pos : 0);
}
