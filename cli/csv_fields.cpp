// csv_fields.cpp: parsing and writing of numbers and local dates in the import's CSV
// files, through std::from_chars / std::to_chars (no C locale involved) and mktime.
#include "cli/csv_fields.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <ctime>

#include "platform/sys/local_time.h"

namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == 0x00A0; }

// ASCII text of the value, or empty when it holds anything else.
std::string Ascii(sys::TextView text) {
  std::string out;
  out.reserve(text.size());
  for (char16_t c : text) {
    if (c >= 0x80) return {};
    out += static_cast<char>(c);
  }
  return out;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Reads 1 to maxDigits digits at s[pos]; false when there are none or more.
bool Digits(const std::string& s, std::size_t& pos, int minDigits, int maxDigits, int& value) {
  int count = 0;
  value = 0;
  while (pos < s.size() && IsDigit(s[pos])) {
    if (++count > maxDigits) return false;
    value = value * 10 + (s[pos++] - '0');
  }
  return count >= minDigits;
}

bool Expect(const std::string& s, std::size_t& pos, char c) {
  if (pos >= s.size() || s[pos] != c) return false;
  ++pos;
  return true;
}

}  // namespace

sys::TextView TrimBlanks(sys::TextView text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

std::optional<double> ParseDecimal(sys::TextView text) {
  std::string s = Ascii(TrimBlanks(text));
  if (s.empty()) return std::nullopt;
  std::size_t separators = 0;
  for (char& c : s) {
    if (c == ',') c = '.';
    if (c == '.') ++separators;
    else if (!IsDigit(c) && c != '+' && c != '-' && c != 'e' && c != 'E') return std::nullopt;
  }
  if (separators > 1) return std::nullopt;
  // from_chars takes a '-' but no '+'; after the sign a digit or the separator must follow.
  const std::size_t from = s[0] == '+' ? 1 : 0;
  const std::size_t body = from == 0 && s[0] == '-' ? 1 : from;
  if (body >= s.size() || !(IsDigit(s[body]) || s[body] == '.')) return std::nullopt;
  double value = 0;
  const auto res = std::from_chars(s.data() + from, s.data() + s.size(), value);
  if (res.ec != std::errc() || res.ptr != s.data() + s.size() || !std::isfinite(value)) return std::nullopt;
  return value;
}

std::optional<std::int32_t> ParseWhole(sys::TextView text) {
  const std::string s = Ascii(TrimBlanks(text));
  if (s.empty()) return std::nullopt;
  const std::size_t from = s[0] == '+' ? 1 : 0;
  if (from < s.size() && (s[from] == '+' || (from == 1 && s[from] == '-'))) return std::nullopt;
  std::int32_t value = 0;
  const auto res = std::from_chars(s.data() + from, s.data() + s.size(), value);
  if (res.ec != std::errc() || res.ptr != s.data() + s.size()) return std::nullopt;
  return value;
}

std::optional<std::int64_t> ParseLocalDate(sys::TextView text, bool dateOnly) {
  const std::string s = Ascii(TrimBlanks(text));
  std::size_t pos = 0;
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  const std::size_t firstRun = s.find_first_not_of("0123456789");
  if (firstRun == 4) {  // YYYY-MM-DD
    if (!Digits(s, pos, 4, 4, year) || !Expect(s, pos, '-') || !Digits(s, pos, 1, 2, month) ||
        !Expect(s, pos, '-') || !Digits(s, pos, 1, 2, day))
      return std::nullopt;
  } else {  // DD.MM.YYYY
    if (!Digits(s, pos, 1, 2, day) || !Expect(s, pos, '.') || !Digits(s, pos, 1, 2, month) ||
        !Expect(s, pos, '.') || !Digits(s, pos, 4, 4, year))
      return std::nullopt;
  }
  if (pos == s.size()) {
    if (!dateOnly) return std::nullopt;
  } else {
    if (s[pos] != ' ' && s[pos] != 'T') return std::nullopt;
    while (pos < s.size() && (s[pos] == ' ' || s[pos] == 'T')) ++pos;
    if (!Digits(s, pos, 1, 2, hour) || !Expect(s, pos, ':') || !Digits(s, pos, 2, 2, minute)) return std::nullopt;
    if (pos < s.size() && (!Expect(s, pos, ':') || !Digits(s, pos, 2, 2, second))) return std::nullopt;
    if (pos != s.size()) return std::nullopt;
  }
  if (month < 1 || month > 12 || day < 1 || day > 31 || hour > 23 || minute > 59 || second > 59) return std::nullopt;
  std::tm tm{};
  tm.tm_year = year - 1900;
  tm.tm_mon = month - 1;
  tm.tm_mday = day;
  tm.tm_hour = hour;
  tm.tm_min = minute;
  tm.tm_sec = second;
  tm.tm_isdst = -1;
  const std::time_t t = std::mktime(&tm);
  // mktime normalises 31.02 into March and a skipped hour into the next: both are not
  // the time written, so the fields must come back unchanged.
  sys::LocalTimeFields back;
  if (!sys::ToLocalTime(t, back) || back.year != year || back.month != month || back.day != day ||
      back.hour != hour || back.minute != minute || back.second != second)
    return std::nullopt;
  return static_cast<std::int64_t>(t);
}

std::string FormatExact(double value) {
  char buffer[64];
  const auto res = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, res.ptr);
}

std::string FormatLocalDate(std::int64_t secondsSinceEpoch, bool dropMidnight) {
  sys::LocalTimeFields f;
  if (!sys::ToLocalTime(secondsSinceEpoch, f)) return {};
  char buffer[48];
  if (dropMidnight && f.hour == 0 && f.minute == 0 && f.second == 0)
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", f.year, f.month, f.day);
  else
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d", f.year, f.month, f.day, f.hour, f.minute,
                  f.second);
  return buffer;
}
