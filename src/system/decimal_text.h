// Decimal numbers in version subkey names, read with a point as the decimal separator whatever
// the user's locale (the C library's conversions follow the locale, so they are not used).
#pragma once

#include <optional>
#include <string_view>

// Optional blanks, an optional sign, digits with at most one point (at least one digit in all),
// optional trailing blanks. Nothing when the text is not entirely such a number.
std::optional<double> ParseDecimalText(std::string_view text);
