// Dates and times as the user's regional settings write them, for comparing a file's time with
// the setup's build date.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/clock.h"

// The text read as a date in the order of the short date pattern ("M/d/yyyy": month, day, year),
// separated by the pattern's separator, optionally followed by a time "h:mm[:ss]" with an
// optional AM or PM. A missing year is this year; a two-digit year lies within fifty years of
// it. Nothing when the text is not such a date or names a day that does not exist.
std::optional<platform::LocalDateTime> ParseLocalDateTime(const std::string& text,
                                                          const std::string& shortDatePattern,
                                                          int currentYear);

// A DOS date and time as calendar fields.
platform::LocalDateTime FromDosDateTime(uint16_t dosDate, uint16_t dosTime);

bool Earlier(const platform::LocalDateTime& a, const platform::LocalDateTime& b);
