// local_time.cpp: local-time formatting through localtime_r (zone from TZ).
#include "platform/sys/local_time.h"

#include <ctime>

#include "platform/sys/format.h"

namespace sys {

bool ToLocalTime(std::int64_t seconds, LocalTimeFields& f) {
  std::time_t t = static_cast<std::time_t>(seconds);
  std::tm tm{};
  if (!localtime_r(&t, &tm)) return false;
  f = {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
  return true;
}

Text FormatLocalTime(std::int64_t seconds, TextView format) {
  LocalTimeFields f;
  if (!ToLocalTime(seconds, f)) return {};
  Text out;
  for (std::size_t i = 0; i < format.size(); ++i) {
    if (format[i] != u'%' || i + 1 == format.size()) {
      out += format[i];
      continue;
    }
    switch (format[++i]) {
      case u'd': out += Format(u"%02d", f.day); break;
      case u'm': out += Format(u"%02d", f.month); break;
      case u'Y': out += Format(u"%d", f.year); break;
      case u'y': out += Format(u"%02d", f.year % 100); break;
      case u'H': out += Format(u"%02d", f.hour); break;
      case u'M': out += Format(u"%02d", f.minute); break;
      case u'S': out += Format(u"%02d", f.second); break;
      case u'%': out += u'%'; break;
      default: out += u'%'; out += format[i]; break;
    }
  }
  return out;
}

std::int64_t Now() { return static_cast<std::int64_t>(std::time(nullptr)); }

}  // namespace sys
