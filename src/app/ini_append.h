// How lines appended at the end of an INI file are first written, so that a crash in the middle
// of the write cannot leave a readable half line, and how the next write finds and removes what
// an interrupted append left.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The appended bytes with ';' in place of the first character of every new line (at
// lineStarts): each line is a comment until its first byte is set, and so is every prefix of
// it. A prefix of the result, appended to any file, reads exactly as the file did.
std::string CommentedOutLines(std::string appended, const std::vector<size_t>& lineStarts);

// The note an append keeps beside the file while it runs: where the appended bytes begin, where
// the first new line starts within them (after the terminator added to an unterminated last
// line) and how many bytes there are. Lines are committed first to last, so a killed append
// leaves committed lines followed by commented-out ones.
struct AppendJournal {
  uint64_t base = 0;
  uint64_t firstLine = 0;
  uint64_t length = 0;
};

std::string FormatAppendJournal(const AppendJournal& journal);
// False for anything but a whole note (a note cut short by a crash included).
bool ParseAppendJournal(std::string_view text, AppendJournal& journal);

// Where the file must be cut so that nothing of an interrupted append but its committed lines
// stays: the offset from the file's start, or npos when there is nothing to cut. tail holds the
// file's bytes from journal.base to its end. A file longer than the append could have made it,
// or with bytes the append cannot have written, was changed since: npos, it is left alone.
size_t UncommittedAppendCut(const AppendJournal& journal, std::string_view tail);
