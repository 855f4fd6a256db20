// local_time.h: formatting of host time stamps (seconds since 1970-01-01 00:00 UTC) in
// local time, through localtime_r (the TZ environment variable decides the zone).
#pragma once

#include <cstdint>

#include "text.h"

namespace sys {

struct LocalTimeFields {
  int year = 0, month = 0, day = 0;  // month and day from 1
  int hour = 0, minute = 0, second = 0;
};

// The local time of `secondsSinceEpoch`; false when localtime_r cannot convert it.
[[nodiscard]] bool ToLocalTime(std::int64_t secondsSinceEpoch, LocalTimeFields& fields);

// strftime-like fields %d %m %Y %y %H %M %S and %%; other characters are copied.
// A time that localtime_r cannot convert gives an empty text.
Text FormatLocalTime(std::int64_t secondsSinceEpoch, TextView format);

// The current time, seconds since the epoch.
std::int64_t Now();

}  // namespace sys
