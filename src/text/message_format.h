// One-argument formatting of the [Messages] texts of the language file.
#pragma once

#include <string>

// Replaces the one "%s" of the format (with "%%" giving "%") by the argument, then every "<#>"
// by CR LF. A format with any other directive, or a second "%s", is returned unformatted (its
// "<#>" still become line breaks). Does not expand variables.
std::string FormatMessageText(const std::string& format, const std::string& argument);
