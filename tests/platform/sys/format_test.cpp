// The printf-style formatter: C semantics, runtime decimal separator.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/sys/format.h"
#include "platform/sys/locale.h"

namespace {

using sys::Format;

TEST(Format, IntegersAndStrings) {
  struct Case {
    sys::Text got;
    const char16_t* want;
  } cases[] = {
      {Format(u"%d_", 5), u"5_"},
      {Format(u"%i. x", -12), u"-12. x"},
      {Format(u"%u", 4000000000u), u"4000000000"},
      {Format(u"%u", -1), u"4294967295"},
      {Format(u"%02d:%02d", 7, 45), u"07:45"},
      {Format(u"%04x%04x", 0x419, 0x4b0), u"041904b0"},
      {Format(u"%.d|%.0d|%.3d", 0, 0, 7), u"||007"},
      {Format(u"%5d|%-5d|%05d", -3, 4, -3), u"   -3|4    |-0003"},
      {Format(u"%s и %s", sys::Text(u"Азот"), u"Метан"), u"Азот и Метан"},
      {Format(u"[%6s][%-6s][%.2s]", u"ab", u"ab", u"abc"), u"[    ab][ab    ][ab]"},
      {Format(u"100%%"), u"100%"},
      {Format(u"%d %d", 1), u"1 (?)"},      // missing argument
      {Format(u"%d", 1.5), u"(?)"},         // mismatched argument
      {Format(u"%lld", std::numeric_limits<long long>::min()), u"-9223372036854775808"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.got, c.want);
}

TEST(Format, FloatingPointWithBothSeparators) {
  sys::ResetLocale();
  EXPECT_EQ(Format(u"%.*f", 2, 3.14159), u"3.14");
  EXPECT_EQ(Format(u"%f", 0.5), u"0.500000");
  sys::SetRussianLocale();
  struct Case {
    sys::Text got;
    const char16_t* want;
  } cases[] = {
      {Format(u"%.*f", 2, 3.14159), u"3,14"},
      {Format(u"%.*f", 0, 3.14159), u"3"},
      {Format(u"%.*f", 0, 2.5), u"2"},          // round half to even, as printf
      {Format(u"%.*f", -1, 1.0 / 3), u"0,333333"},  // negative precision: 6
      {Format(u"%.*f", 20, 0.1), u"0,10000000000000000555"},
      {Format(u"%.*f", 21, 0.1), u"0,10000000000000000555"},  // capped at 20 decimals
      {Format(u"%.*f", 100000000, 1.5), u"1,50000000000000000000"},
      {Format(u"%.*f", 2147483647, -2.0), u"-2,00000000000000000000"},
      {Format(u"%.30e", 1.0), u"1,00000000000000000000e+00"},
      {Format(u"%.3f", 1013.25), u"1013,250"},
      {Format(u"%.1f", 0.05), u"0,1"},          // 0.05 is 0.05000000000000000277
      {Format(u"%.2f", -0.001), u"-0,00"},
      {Format(u"%.10g", 0.1 + 0.2), u"0,3"},
      {Format(u"%.*g", 17, 0.1), u"0,10000000000000001"},
      {Format(u"%g", 1e20), u"1e+20"},
      {Format(u"%8.2f|%-8.2f|%08.2f", 1.5, 1.5, -1.5), u"    1,50|1,50    |-0001,50"},
      {Format(u"%+.1f|% .1f|%+.1f", 1.5, 1.5, -1.5), u"+1,5| 1,5|-1,5"},
      {Format(u"%.3f", std::numeric_limits<double>::infinity()), u"inf"},
      {Format(u"%.3f", -std::numeric_limits<double>::infinity()), u"-inf"},
      {Format(u"%.3f", std::nan("")), u"nan"},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) EXPECT_EQ(cases[i].got, cases[i].want) << i;
  // The lowest double prints all of its 309 integer digits.
  EXPECT_EQ(Format(u"%.2f", std::numeric_limits<double>::lowest()).size(), 1u + 309u + 3u);
  sys::ResetLocale();
}

}  // namespace
