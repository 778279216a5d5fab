// How lines appended at the end of an INI file are first written, so that a crash in the middle
// of the write cannot leave a readable half line.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// The appended bytes with ';' in place of the first character of every new line (at
// lineStarts): each line is a comment until its first byte is set, and so is every prefix of
// it. A prefix of the result, appended to any file, reads exactly as the file did.
std::string CommentedOutLines(std::string appended, const std::vector<size_t>& lineStarts);
