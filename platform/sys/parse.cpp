// parse.cpp: wcstol / wcstod-like parsing on UTF-16 with the runtime decimal separator.
//
// ParseDouble collects the number's characters into a narrow buffer with a '.' and hands
// it to std::from_chars, so the result is correctly rounded and locale-independent.
#include "platform/sys/parse.h"

#include <cerrno>
#include <charconv>
#include <climits>
#include <cmath>
#include <limits>
#include <string>

#include "platform/sys/locale.h"

namespace sys {
namespace {

bool IsSpace(char16_t c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); }

int DigitValue(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'z') return c - u'a' + 10;
  if (c >= u'A' && c <= u'Z') return c - u'A' + 10;
  return 99;
}

bool MatchWord(TextView text, std::size_t pos, std::u16string_view word) {
  if (text.size() - pos < word.size()) return false;
  for (std::size_t k = 0; k < word.size(); ++k) {
    char16_t c = text[pos + k];
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
    if (c != word[k]) return false;
  }
  return true;
}

}  // namespace

long ParseLong(TextView text, std::size_t* end, int base) {
  std::size_t i = 0;
  while (i < text.size() && IsSpace(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
  auto hexPrefix = [&] {
    return i + 1 < text.size() && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X') &&
           i + 2 < text.size() && DigitValue(text[i + 2]) < 16;
  };
  if (base == 0) {
    if (hexPrefix()) { base = 16; i += 2; }
    else if (i < text.size() && text[i] == u'0') base = 8;
    else base = 10;
  } else if (base == 16 && hexPrefix()) {
    i += 2;
  }
  std::size_t start = i;
  unsigned long long magnitude = 0;
  bool overflow = false;
  const unsigned long long limit = negative ? static_cast<unsigned long long>(LONG_MAX) + 1 : LONG_MAX;
  for (; i < text.size() && DigitValue(text[i]) < base; ++i) {
    if (magnitude > (limit - DigitValue(text[i])) / base) overflow = true;
    else magnitude = magnitude * base + DigitValue(text[i]);
  }
  if (i == start) {
    if (end) *end = 0;
    return 0;
  }
  if (end) *end = i;
  if (overflow) return negative ? LONG_MIN : LONG_MAX;
  return negative ? static_cast<long>(0 - magnitude) : static_cast<long>(magnitude);
}

double ParseDouble(TextView text, std::size_t* end) {
  std::size_t i = 0;
  while (i < text.size() && IsSpace(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
  if (MatchWord(text, i, u"inf")) {
    std::size_t n = MatchWord(text, i, u"infinity") ? 8 : 3;
    if (end) *end = i + n;
    return negative ? -std::numeric_limits<double>::infinity() : std::numeric_limits<double>::infinity();
  }
  if (MatchWord(text, i, u"nan")) {
    if (end) *end = i + 3;
    return negative ? -std::numeric_limits<double>::quiet_NaN() : std::numeric_limits<double>::quiet_NaN();
  }
  const char16_t sep = DecimalSeparator();
  std::string digits;
  std::size_t j = i;
  bool any = false;
  while (j < text.size() && text[j] >= u'0' && text[j] <= u'9') { digits += char(text[j++]); any = true; }
  if (j < text.size() && text[j] == sep) {
    std::size_t k = j + 1;
    std::string frac;
    while (k < text.size() && text[k] >= u'0' && text[k] <= u'9') { frac += char(text[k++]); }
    if (any || !frac.empty()) { digits += '.'; digits += frac; j = k; any = true; }
  }
  if (!any) {
    if (end) *end = 0;
    return 0.0;
  }
  if (j < text.size() && (text[j] == u'e' || text[j] == u'E')) {
    std::size_t k = j + 1;
    std::string exp = "e";
    if (k < text.size() && (text[k] == u'+' || text[k] == u'-')) exp += char(text[k++]);
    std::size_t expStart = k;
    while (k < text.size() && text[k] >= u'0' && text[k] <= u'9') exp += char(text[k++]);
    if (k > expStart) { digits += exp; j = k; }
  }
  double value = 0.0;
  auto res = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (res.ec == std::errc::result_out_of_range) {
    // from_chars leaves value untouched: saturate as strtod does.
    bool tiny = digits.find('e') != std::string::npos && digits[digits.find('e') + 1] == '-';
    value = tiny ? 0.0 : std::numeric_limits<double>::infinity();
  }
  if (end) *end = j;
  return negative ? -value : value;
}

}  // namespace sys
