// unicode_sql_text_test.cpp: UTF-8 decoding and the NOCASE comparisons at the byte level,
// where SQL cannot reach: lengths shorter than the buffer, odd alignment, wild keys.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "data/unicode_sql_keys.h"
#include "data/unicode_sql_text.h"
#include "platform/sys/unicode_map.h"

namespace {

using unicode_sql::CompareNoCaseUtf16;
using unicode_sql::CompareNoCaseUtf8;
using unicode_sql::DecodeUtf8;

// The key table is generated at build time; it must say what the mapping tables say.
TEST(KeyTable, AgreesWithTheMappingTablesForEveryUnit) {
  int mismatches = 0;
  for (std::uint32_t u = 0; u <= 0xFFFF; ++u) {
    const auto unit = static_cast<char16_t>(u);
    if (unicode_sql::UnitKey(unit) != sys::unicode::CompareKey(u) && ++mismatches <= 5)
      ADD_FAILURE() << "U+" << std::hex << u;
    if (u != 0 && unicode_sql::UnitKey(unit) == 0) ADD_FAILURE() << "key 0 for U+" << std::hex << u;
  }
  EXPECT_EQ(mismatches, 0);
  for (unsigned c = 0; c < 0x80; ++c) EXPECT_EQ(unicode_sql::AsciiKey(static_cast<unsigned char>(c)), sys::unicode::CompareKey(c));
  EXPECT_EQ(unicode_sql::UnitKey(u'Ё'), u'е');
  EXPECT_EQ(unicode_sql::UnitKey(u'\u212A'), u'k');
}

struct DecodeCase {
  std::string bytes;
  char32_t codePoint;
  std::size_t consumed;
};

TEST(DecodeUtf8, DecodesInSqlitesManner) {
  const DecodeCase cases[] = {
      {"A", U'A', 1},
      {"\xD0\x81", U'Ё', 2},
      {"\xE2\x81\x84", U'\u2044', 3},
      {"\xF0\x90\x90\x80", U'\U00010400', 4},
      {"\x80", 0x80, 1},                  // below 0xC0: the byte itself
      {"\xBFz", 0xBF, 1},
      {"\xC0\x80", 0xFFFD, 2},            // overlong NUL
      {"\xC1\xBF", 0xFFFD, 2},            // overlong DEL
      {"\xED\xA0\x80", 0xFFFD, 3},        // surrogate
      {"\xEF\xBF\xBE", 0xFFFD, 3},        // U+FFFE
      {"\xEF\xBF\xBF", 0xFFFD, 3},        // U+FFFF
      {"\xC3", 0xFFFD, 1},                // lead byte alone: 3 < 0x80
      {"\xC3z", 0xFFFD, 1},
      {"\xE2\x82", 0x82, 2},              // cut short: what the bytes add up to
      {"\xF8\x88\x80\x80\x80", 0x200000, 5},  // beyond Unicode, kept as SQLite keeps it
      {"\xFF\xBF\xBF\xBF\xBF\xBF\xBF\xBF\xBF\xBF\xBF\xBF", 0xFFFFFFFF, 12},  // wraps around as SQLite's does
  };
  for (const DecodeCase& c : cases) {
    const auto* begin = reinterpret_cast<const unsigned char*>(c.bytes.data());
    const unsigned char* at = begin;
    const char32_t decoded = DecodeUtf8(at, begin + c.bytes.size());
    EXPECT_EQ(decoded, c.codePoint) << testing::PrintToString(c.bytes);
    EXPECT_EQ(static_cast<std::size_t>(at - begin), c.consumed) << testing::PrintToString(c.bytes);
  }
}

TEST(DecodeUtf8, NeverReadsPastTheEnd) {
  const unsigned char bytes[] = {0xE2, 0x81, 0x84};
  const unsigned char* at = bytes;
  EXPECT_EQ(DecodeUtf8(at, bytes + 1), 0xFFFDu);  // the lead byte only: 2 < 0x80
  EXPECT_EQ(at, bytes + 1);
  // A lead byte takes every continuation byte after it, even one too many.
  EXPECT_EQ(unicode_sql::Utf8CharCount("\xD0\x81\x80z\xC3"), 3u);
  EXPECT_EQ(unicode_sql::Utf8CharCount("\x80\x80z"), 3u);
}

TEST(CompareNoCase, ReadsOnlyTheGivenLengths) {
  // The bytes past each length differ; they must not matter.
  EXPECT_EQ(CompareNoCaseUtf8("ABCx", 3, "abcy", 3), 0);
  EXPECT_LT(CompareNoCaseUtf8("ABCx", 3, "abcy", 4), 0);
  // A multi-byte character cut by the length decodes from what is inside it.
  EXPECT_NE(CompareNoCaseUtf8("\xD0\x81", 1, "\xD0\x81", 2), 0);
  EXPECT_EQ(CompareNoCaseUtf16(u"ЁЛКАx", 8, u"елкаy", 8), 0);
  EXPECT_EQ(CompareNoCaseUtf16(u"ab", 3, u"AB", 3), 0);  // an odd length: whole units only
}

TEST(CompareNoCase, StopsAtANulInTheFirstText) {
  EXPECT_EQ(CompareNoCaseUtf8("a\0b", 3, "A\0c", 3), 0);
  EXPECT_LT(CompareNoCaseUtf8("a\0b", 3, "axb", 3), 0);
  EXPECT_GT(CompareNoCaseUtf8("axb", 3, "a\0b", 3), 0);
  EXPECT_EQ(CompareNoCaseUtf16(u"a\0b", 6, u"A\0c", 6), 0);
  EXPECT_LT(CompareNoCaseUtf16(u"a\0b", 6, u"Axb", 6), 0);
}

TEST(CompareNoCase, Utf16AtAnOddAddress) {
  alignas(2) unsigned char a[12];
  alignas(2) unsigned char b[12];
  std::memcpy(a + 1, u"ЁЛКА", 8);
  std::memcpy(b + 1, u"елкб", 8);
  EXPECT_LT(CompareNoCaseUtf16(a + 1, 8, b + 1, 8), 0);
  EXPECT_EQ(CompareNoCaseUtf16(a + 1, 6, b + 1, 6), 0);
}

TEST(CompareNoCase, KeysBeyondUnicodeStillOrderBothWays) {
  // 0xFF and a run of continuation bytes decode to values near 2^32: the difference must
  // keep its sign instead of overflowing.
  const std::string huge = "\xFF\xBF\xBF\xBF\xBF\xBF\xBF\xBF\xBF\xBF\xBF\xBF";
  const int n = static_cast<int>(huge.size());
  EXPECT_GT(CompareNoCaseUtf8(huge.data(), n, "a", 1), 0);
  EXPECT_LT(CompareNoCaseUtf8("a", 1, huge.data(), n), 0);
}

}  // namespace
