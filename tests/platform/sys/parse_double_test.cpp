// ParseDouble against the C library's own wcstod: value bit for bit and the units read,
// in both separators, over the cases where a number's range or form is decided.
#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <cmath>
#include <cwchar>
#include <string>
#include <vector>

#include "platform/sys/locale.h"
#include "platform/sys/parse.h"
#include "platform/sys/text.h"

namespace {

// Cases written with '.'; wcstod runs in the process's "C" locale.
std::vector<std::string> Cases() {
  const std::string zeros(400, '0');
  return {
      // Range decided by the value, not by the exponent's text.
      "0." + zeros + "1", "-0." + zeros + "1", "1" + zeros + "e-1", "1" + zeros, "-1" + zeros + ".5",
      "0." + zeros + "1e800", "1" + zeros + "e-800", "1e-400", "-1e-400", "1e400", "-1e400",
      "4.9406564584124654e-324", "2.4703282292062327e-324", "2.4703282292062328e-324",
      "2.2250738585072011e-308", "1.7976931348623157e308", "1.7976931348623158e308", "1.7976931348623159e308",
      "0e99999999999999999999", "1e-99999999999999999999", "1e99999999999999999999", "0." + zeros + "e400",
      // Hexadecimal floating point.
      "0x1p3", "0x1.8p1", "-0X1.8P+1", "0xA", "0xa.8", "0x.8", "0x1p-1074", "0x1p-1075", "0x1.0000000000001p-1075",
      "0x1p-1080", "-0x1p-1080", "0x1p1024", "0x1.fffffffffffffp1023", "0x1.fffffffffffff8p1023", "0x", "0xg",
      "0xp3", "0x1p", "0x1p+", "0x1.", "0x.", "0x1P-99999999999999999999",
      // Decimal forms and where they end.
      " \t-1.5e2xyz", "+.5", "5.", ".", "+", "-.e1", "1e", "1e+", "1e-x", "1,5", "3.25x", "007", "",
      // Words.
      "inf", "-Infinity", "INFINITYx", "infinit", "in", "nan", "-NaN", "nan(123)", "nan(0x7ff)", "nan(",
      "nan()", "nan(a_b9)", "nan(a b)",
  };
}

std::wstring Wide(const std::string& s) { return std::wstring(s.begin(), s.end()); }

sys::Text WithSeparator(const std::string& s, char16_t separator) {
  sys::Text out;
  for (char c : s) out += c == '.' ? separator : (c == ',' ? (separator == u',' ? u'.' : u',') : char16_t(c));
  return out;
}

void ExpectAsWcstod(char16_t separator) {
  for (const std::string& c : Cases()) {
    const std::wstring wide = Wide(c);
    wchar_t* stop = nullptr;
    const double want = std::wcstod(wide.c_str(), &stop);
    std::size_t end = 99;
    const double got = sys::ParseDouble(WithSeparator(c, separator), &end);
    const std::string shown = c.size() > 40 ? c.substr(0, 20) + "…" + c.substr(c.size() - 10) : c;
    EXPECT_EQ(std::bit_cast<std::uint64_t>(got), std::bit_cast<std::uint64_t>(want))
        << shown << ": " << got << " instead of " << want;
    EXPECT_EQ(end, static_cast<std::size_t>(stop - wide.c_str())) << shown;
  }
}

TEST(ParseDouble, ReadsAsWcstodWithAPoint) {
  sys::ResetLocale();
  ExpectAsWcstod(u'.');
}

TEST(ParseDouble, ReadsAsWcstodWithTheRussianComma) {
  sys::SetRussianLocale();
  ExpectAsWcstod(u',');
  sys::ResetLocale();
}

TEST(ParseDouble, UnderflowAndOverflowByValue) {
  const std::string zeros(400, '0');
  EXPECT_EQ(sys::ParseDouble(sys::FromUtf8("0." + zeros + "1")), 0.0);
  EXPECT_TRUE(std::signbit(sys::ParseDouble(sys::FromUtf8("-0." + zeros + "1"))));
  EXPECT_EQ(sys::ParseDouble(sys::FromUtf8("1" + zeros + "e-1")), HUGE_VAL);
  EXPECT_EQ(sys::ParseDouble(u"0x1p3"), 8.0);
}

TEST(ParseDouble, UnitsOutsideTheNumberEndIt) {
  // A NUL, a non-ASCII unit and the other separator each end the number where they stand.
  std::size_t end = 0;
  EXPECT_EQ(sys::ParseDouble(sys::Text(u"12\0" u"5", 4), &end), 12.0);
  EXPECT_EQ(end, 2u);
  EXPECT_EQ(sys::ParseDouble(u"7\u0660", &end), 7.0);  // an Arabic-Indic digit is no digit here
  EXPECT_EQ(end, 1u);
  EXPECT_EQ(sys::ParseDouble(u"\u00A01", &end), 0.0);
  EXPECT_EQ(end, 0u);
}

}  // namespace
