// The local calendar: the time now and the user's short date format.
#pragma once

#include <string>

namespace platform {

struct LocalDateTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

LocalDateTime LocalNow();
// The user's short date pattern, such as "M/d/yyyy" or "dd.MM.yyyy".
std::string ShortDateFormat();

}  // namespace platform
