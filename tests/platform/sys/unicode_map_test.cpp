// unicode_map_test.cpp: the lookups of unicode_map.h against rows and counts known to hold
// for the Unicode 5.1.0 tables. Runs over all 65536 units a few times; well under a second.
#include "platform/sys/unicode_map.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <string>

namespace sys::unicode {
namespace {

// The units `unit` maps to, the unit itself when it maps to itself.
std::u16string Mapped(Mapping mapping, char16_t unit) {
  const char16_t* units = nullptr;
  const std::size_t count = MapUnit(mapping, unit, &units);
  return count == 0 ? std::u16string(1, unit) : std::u16string(units, count);
}

const char* NameOf(Mapping mapping) {
  switch (mapping) {
    case Mapping::Lower: return "lower";
    case Mapping::Upper: return "upper";
    case Mapping::Title: return "title";
    case Mapping::Fold: return "fold";
    case Mapping::Unaccent: return "unaccent";
  }
  return "?";
}

constexpr Mapping kAll[] = {Mapping::Lower, Mapping::Upper, Mapping::Title, Mapping::Fold,
                            Mapping::Unaccent};

struct Row {
  Mapping mapping;
  char16_t unit;
  std::u16string expected;
};

TEST(UnicodeMap, KnownRows) {
  const Row rows[] = {
      {Mapping::Lower, u'Ё', u"ё"},
      {Mapping::Lower, 0x0130, u"i"},
      {Mapping::Lower, u'ё', u"ё"},
      {Mapping::Upper, u'ÿ', u"\u0178"},
      {Mapping::Upper, u'ß', u"ß"},  // the simple mapping keeps one unit
      {Mapping::Upper, u'я', u"Я"},
      {Mapping::Title, 0x01C6, u"\u01C5"},
      {Mapping::Title, 0x01C4, u"\u01C5"},
      {Mapping::Title, u'a', u"A"},  // no titlecase field: the uppercase one
      {Mapping::Fold, 0x03C2, u"\u03C3"},
      {Mapping::Fold, 0x212A, u"k"},
      {Mapping::Fold, 0x00B5, u"\u03BC"},
      {Mapping::Fold, 0x1E9E, u"ß"},  // status S, not the full "ss" of status F
      {Mapping::Unaccent, u'é', u"e"},
      {Mapping::Unaccent, u'Ё', u"Е"},
      {Mapping::Unaccent, u'й', u"и"},
      {Mapping::Unaccent, u'Æ', u"AE"},
      {Mapping::Unaccent, u'Œ', u"OE"},
      {Mapping::Unaccent, 0x01FC, u"AE"},  // Ǽ: the ligature under a mark
      {Mapping::Unaccent, 0xFB01, u"fi"},
      {Mapping::Unaccent, u'½', u"1\u20442"},
      {Mapping::Unaccent, u'Ø', u"O"},
      {Mapping::Unaccent, 0x01FF, u"o"},  // ǿ: o with stroke and acute
      {Mapping::Unaccent, u'ł', u"l"},
      {Mapping::Unaccent, u'Đ', u"D"},
      {Mapping::Unaccent, 0x024A, u"Q"},
      {Mapping::Unaccent, 0x0286, u"\u0286"},  // esh with curl: no plain base letter
      {Mapping::Unaccent, 0x1E17, u"e"},       // two marks, both dropped
      {Mapping::Unaccent, 0xFACF, u"\U0002284A"},
      {Mapping::Unaccent, 0xAC00, u"\uAC00"},  // Hangul syllables stay whole
      {Mapping::Unaccent, 0xFF9E, u"\uFF9E"},  // would lose everything
      {Mapping::Unaccent, 0xFF9F, u"\uFF9F"},
      {Mapping::Unaccent, 0x0301, u"\u0301"},  // a lone combining mark
      {Mapping::Unaccent, 0x0344, u"\u0344"},  // decomposes to marks only
      {Mapping::Unaccent, 0x09CB, u"\u09C7\u09BE"},  // spacing marks (Mc) stay
      {Mapping::Unaccent, 0xFDFA,
       u"\u0635\u0644\u0649 \u0627\u0644\u0644\u0647 \u0639\u0644\u064A\u0647 "
       u"\u0648\u0633\u0644\u0645"},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(Mapped(row.mapping, row.unit), row.expected)
        << NameOf(row.mapping) << " of U+" << std::hex << int(row.unit);
  }
}

TEST(UnicodeMap, CountsOfUnitsThatChange) {
  const std::size_t expected[] = {983, 991, 991, 995, 3964};
  for (std::size_t m = 0; m < std::size(kAll); ++m) {
    std::size_t changed = 0;
    std::size_t longest = 0;
    for (std::uint32_t u = 0; u <= 0xFFFF; ++u) {
      const char16_t* units = nullptr;
      const std::size_t count = MapUnit(kAll[m], static_cast<char16_t>(u), &units);
      if (count == 0) continue;
      ++changed;
      longest = std::max(longest, count);
      // An identity entry would have to report 0, not the unit itself.
      EXPECT_FALSE(count == 1 && units[0] == u) << NameOf(kAll[m]) << " U+" << std::hex << u;
    }
    EXPECT_EQ(changed, expected[m]) << NameOf(kAll[m]);
    EXPECT_EQ(longest, kAll[m] == Mapping::Unaccent ? 18u : 1u) << NameOf(kAll[m]);
  }
}

TEST(UnicodeMap, SurrogatesAndLastUnitsMapToThemselves) {
  for (const Mapping mapping : kAll) {
    for (std::uint32_t u = 0xD800; u <= 0xDFFF; ++u) {
      const char16_t* units = nullptr;
      ASSERT_EQ(MapUnit(mapping, static_cast<char16_t>(u), &units), 0u)
          << NameOf(mapping) << " U+" << std::hex << u;
      EXPECT_EQ(units, nullptr);  // left alone
    }
    EXPECT_EQ(MapSingle(mapping, 0xFFFF), 0xFFFF) << NameOf(mapping);
    EXPECT_EQ(MapSingle(mapping, 0xFFFE), 0xFFFE) << NameOf(mapping);
  }
}

TEST(UnicodeMap, MapSingleGivesTheFirstUnit) {
  EXPECT_EQ(ToLower(u'Ё'), u'ё');
  EXPECT_EQ(ToUpper(u'ё'), u'Ё');
  EXPECT_EQ(ToLower(u'7'), u'7');
  EXPECT_EQ(MapSingle(Mapping::Unaccent, u'Æ'), u'A');
  EXPECT_EQ(MapSingle(Mapping::Unaccent, 0xFACF), 0xD84A);
  EXPECT_EQ(MapSingle(Mapping::Unaccent, u'x'), u'x');
}

TEST(UnicodeMap, CompareKeyIgnoresCaseAndMarks) {
  struct KeyRow {
    std::uint32_t codePoint;
    std::uint32_t key;
  };
  const KeyRow rows[] = {
      {u'Ё', 0x0435}, {u'ё', 0x0435}, {u'Е', 0x0435}, {u'е', 0x0435},
      {u'É', u'e'},   {u'é', u'e'},   {u'E', u'e'},   {u'e', u'e'},
      {u'Æ', u'a'},   {0x212A, u'k'}, {u'ς', u'σ'},   {u'%', u'%'},
      {0xFACF, 0xD84A},  // its unaccent mapping starts with a high surrogate
      {0x1F600, 0x1F600}, {0x10400, 0x10400},  // outside the BMP: their own key
  };
  for (const KeyRow& row : rows) {
    EXPECT_EQ(CompareKey(row.codePoint), row.key) << "U+" << std::hex << row.codePoint;
  }
}

TEST(UnicodeMap, TablesVersion) { EXPECT_STREQ(TablesVersion(), "5.1.0.12"); }

}  // namespace
}  // namespace sys::unicode
