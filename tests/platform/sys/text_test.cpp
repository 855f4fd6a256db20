// UTF-8 conversion, parsing and local time.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdlib>
#include <ctime>

#include "platform/sys/local_time.h"
#include "platform/sys/locale.h"
#include "platform/sys/parse.h"
#include "platform/sys/text.h"

namespace {

TEST(Utf8, RoundTripsEveryPlane) {
  const sys::Text text = u"Азот ё é \u20AC \U0001F600 end";
  EXPECT_EQ(sys::FromUtf8(sys::ToUtf8(text)), text);
  EXPECT_EQ(sys::ToUtf8(u"Ё"), "\xD0\x81");
  EXPECT_EQ(sys::CharCount(u"a\U0001F600б"), 3u);
}

TEST(Utf8, MalformedInputBecomesReplacementCharacters) {
  struct Case {
    const char* name;
    std::string in;
    sys::Text out;
  } cases[] = {
      {"lone continuation", "a\x80z", u"a\uFFFDz"},
      {"truncated sequence", "a\xD0", u"a\uFFFD"},
      {"overlong slash", "\xC0\xAF", u"\uFFFD"},
      {"encoded surrogate", "\xED\xA0\x80", u"\uFFFD"},
      {"above U+10FFFF", "\xF4\x90\x80\x80", u"\uFFFD"},
      {"bad byte mid-sequence", "\xE2\x28\xA1", u"\uFFFD(\uFFFD"},
  };
  for (const auto& c : cases) EXPECT_EQ(sys::FromUtf8(c.in), c.out) << c.name;
  EXPECT_EQ(sys::ToUtf8(sys::Text(1, u'\xD800')), "\xEF\xBF\xBD");
}

TEST(Parse, LongLikeWcstol) {
  struct Case {
    const char16_t* in;
    long value;
    std::size_t end;
  } cases[] = {
      {u"  42abc", 42, 4}, {u"-7", -7, 2},  {u"+3", 3, 2},         {u"abc", 0, 0},
      {u"", 0, 0},         {u"- 5", 0, 0},  {u"99999999999999999999", LONG_MAX, 20},
  };
  for (const auto& c : cases) {
    std::size_t end = 99;
    EXPECT_EQ(sys::ParseLong(c.in, &end), c.value) << sys::ToUtf8(c.in);
    EXPECT_EQ(end, c.end) << sys::ToUtf8(c.in);
  }
  EXPECT_EQ(sys::ParseLong(u"0x1F", nullptr, 16), 31);
  EXPECT_EQ(sys::ParseLong(u"017", nullptr, 0), 15);
}

TEST(Parse, DoubleFollowsRuntimeSeparator) {
  sys::ResetLocale();
  std::size_t end = 0;
  EXPECT_DOUBLE_EQ(sys::ParseDouble(u"3.25x", &end), 3.25);
  EXPECT_EQ(end, 4u);
  EXPECT_DOUBLE_EQ(sys::ParseDouble(u"3,25", &end), 3.0);  // comma ends the number
  EXPECT_EQ(end, 1u);
  sys::SetRussianLocale();
  EXPECT_DOUBLE_EQ(sys::ParseDouble(u" -1,5e2", &end), -150.0);
  EXPECT_EQ(end, 7u);
  EXPECT_DOUBLE_EQ(sys::ParseDouble(u"1.5", &end), 1.0);
  EXPECT_EQ(sys::ParseDouble(u"0,1"), 0.1);  // correctly rounded
  EXPECT_TRUE(std::isinf(sys::ParseDouble(u"-Infinity")));
  EXPECT_TRUE(std::isnan(sys::ParseDouble(u"nan")));
  EXPECT_EQ(sys::ParseDouble(u"1e999"), HUGE_VAL);
  EXPECT_EQ(sys::ParseDouble(u",", &end), 0.0);
  EXPECT_EQ(end, 0u);
  sys::ResetLocale();
}

TEST(LocalTime, FormatsInTheZoneOfTz) {
  setenv("TZ", "MSK-3", 1);  // a POSIX zone string: needs no zone database
  tzset();
  EXPECT_EQ(sys::FormatLocalTime(1700000000, u"%d.%m.%Y  %H:%M"), u"15.11.2023  01:13");
  EXPECT_EQ(sys::FormatLocalTime(0, u"%d.%m.%Y"), u"01.01.1970");
  EXPECT_EQ(sys::FormatLocalTime(1700000000, u"%y%S %% %q"), u"2320 % %q");
}

TEST(Locale, CaseFoldingBeforeAndAfterTheSwitch) {
  sys::ResetLocale();
  EXPECT_TRUE(sys::EqualNoCase(u"AZOT", u"azot"));
  EXPECT_FALSE(sys::EqualNoCase(u"АЗОТ", u"азот"));  // ASCII only before the switch
  EXPECT_EQ(sys::DecimalSeparator(), u'.');
  sys::SetRussianLocale();
  EXPECT_TRUE(sys::EqualNoCase(u"АЗОТ", u"азот"));
  EXPECT_TRUE(sys::EqualNoCase(u"Ёлка", u"ёЛКА"));
  EXPECT_FALSE(sys::EqualNoCase(u"елка", u"ёлка"));  // lower-casing, not accent folding
  EXPECT_FALSE(sys::EqualNoCase(u"Азот ", u"Азот"));  // no trimming
  EXPECT_EQ(sys::LocaleLower(u"ДИОКСИД Углерода"), u"диоксид углерода");
  EXPECT_EQ(sys::DecimalSeparator(), u',');
  sys::ResetLocale();
}

}  // namespace
