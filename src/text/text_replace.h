// Searching and replacing inside texts that variables are expanded in. Each replacement builds
// the result once, left to right, so its cost is linear in the text; the inserted values are
// never searched again by the same replacement, which is what makes a value that contains its
// own name safe.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Equal texts, ASCII letters compared without regard to case.
bool EqualIgnoringCase(std::string_view a, std::string_view b);

// Position of the first occurrence of `name` at or after `from`, ASCII letters compared without
// regard to case; npos when there is none or the name is empty.
size_t FindIgnoringCase(std::string_view text, std::string_view name, size_t from = 0);

// Replaces every occurrence of `name` (found as FindIgnoringCase finds it) by `value`. Returns
// whether anything was replaced.
bool ReplaceIgnoringCase(std::string& text, std::string_view name, std::string_view value);

// Replaces every exact occurrence of `from` by `to`.
void ReplaceExactly(std::string& text, std::string_view from, std::string_view to);

// Replaces the occurrences of `upperName` in `image`, a copy of `text` upper-cased byte for byte
// (same length), by `value` at the same positions of `text`. For names that ASCII folding does
// not cover: the caller upper-cases both by the user's locale.
bool ReplaceMatchesOfImage(std::string& text, std::string_view image, std::string_view upperName,
                           std::string_view value);
