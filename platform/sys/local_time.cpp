// local_time.cpp: local-time formatting through localtime_r (zone from TZ).
#include "platform/sys/local_time.h"

#include <ctime>

#include "platform/sys/format.h"

namespace sys {

Text FormatLocalTime(std::int64_t seconds, TextView format) {
  std::time_t t = static_cast<std::time_t>(seconds);
  std::tm tm{};
  if (!localtime_r(&t, &tm)) return {};
  Text out;
  for (std::size_t i = 0; i < format.size(); ++i) {
    if (format[i] != u'%' || i + 1 == format.size()) {
      out += format[i];
      continue;
    }
    switch (format[++i]) {
      case u'd': out += Format(u"%02d", tm.tm_mday); break;
      case u'm': out += Format(u"%02d", tm.tm_mon + 1); break;
      case u'Y': out += Format(u"%d", tm.tm_year + 1900); break;
      case u'y': out += Format(u"%02d", (tm.tm_year + 1900) % 100); break;
      case u'H': out += Format(u"%02d", tm.tm_hour); break;
      case u'M': out += Format(u"%02d", tm.tm_min); break;
      case u'S': out += Format(u"%02d", tm.tm_sec); break;
      case u'%': out += u'%'; break;
      default: out += u'%'; out += format[i]; break;
    }
  }
  return out;
}

std::int64_t Now() { return static_cast<std::int64_t>(std::time(nullptr)); }

}  // namespace sys
