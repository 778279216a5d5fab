// The fields of a list-valued setup-script entry.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The value cut at every separator, in order. A separator at the very end opens no further
// field, two in a row enclose an empty field, and an empty value has no field at all.
std::vector<std::string> SplitEntry(std::string_view value, std::string_view separator);

// The text without blanks and control characters at either end.
std::string TrimBlanksAndControls(const std::string& text);

// The separator of [Files] entries and the one of the other installation sections.
constexpr std::string_view kFilesSeparator = "?";
constexpr std::string_view kTaskSeparator = "*?";
