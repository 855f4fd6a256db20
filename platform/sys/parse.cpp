// parse.cpp: wcstol / wcstod-like parsing on UTF-16 with the runtime decimal separator.
//
// ParseDouble copies the text into a narrow buffer with a '.' for the runtime separator
// and hands it to the C library's strtod_l in the "C" locale: the C library's own
// conversion, correctly rounded, with its whole grammar (hexadecimal significands, "inf",
// "nan(...)") and its range rules (a value too small reads as 0 with its sign, one too
// large as infinity, decided by the value). Cost: one copy of the number's text.
#include "platform/sys/parse.h"

#include <climits>
#include <cstdlib>
#include <string>

#include <locale.h>

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

// Whether `unit` may stand inside a number's text ("0x1.8p-3", "nan(ab_1)", "-inf").
bool NumberUnit(char16_t unit) {
  return (unit >= u'0' && unit <= u'9') || (unit >= u'a' && unit <= u'z') || (unit >= u'A' && unit <= u'Z') ||
         unit == u'+' || unit == u'-' || unit == u'_' || unit == u'(' || unit == u')';
}

// The "C" locale, made once: its '.' is the separator the copy in ParseDouble writes.
locale_t CLocale() {
  static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  return c;
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
  // One byte per unit, so the C parser's end pointer counts units. The runtime separator
  // becomes '.'; the other separator and every unit the number grammar cannot hold end
  // the copy (they end the number where they stand, as in the C parser).
  const char16_t sep = DecimalSeparator();
  std::string narrow;
  std::size_t i = 0;
  for (; i < text.size() && IsSpace(text[i]); ++i) narrow += static_cast<char>(text[i]);
  for (; i < text.size(); ++i) {
    if (text[i] == sep) narrow += '.';
    else if (NumberUnit(text[i])) narrow += static_cast<char>(text[i]);
    else break;
  }
  char* stop = nullptr;
  const double value = strtod_l(narrow.c_str(), &stop, CLocale());
  if (end) *end = static_cast<std::size_t>(stop - narrow.c_str());
  return value;
}

}  // namespace sys
