// unicode_sql_text.cpp: NOCASE comparison, the LIKE matcher and case mapping of the
// Unicode SQL functions, on plain byte ranges.
//
// Characters are compared by the keys of unicode_sql_keys.h (built from the tables of
// platform/sys/unicode_map.h), one lookup each. Nothing here allocates or keeps state;
// every loop is bounded by the lengths it is given.
#include "data/unicode_sql_text.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace unicode_sql {
namespace {

// key(a) - key(b) as an int. Keys of malformed UTF-8 can exceed the code point range, so
// the difference is clamped rather than left to overflow; its sign is what orders.
int KeyDifference(std::uint32_t a, std::uint32_t b) {
  const std::int64_t d = static_cast<std::int64_t>(a) - static_cast<std::int64_t>(b);
  return static_cast<int>(std::clamp<std::int64_t>(d, INT_MIN, INT_MAX));
}

// The key of the character at `p` (before `end`), advancing `p` past it. As KeyOf of
// DecodeUtf8, with the common one- and two-byte forms decoded inline.
std::uint32_t NextKey(const unsigned char*& p, const unsigned char* end) {
  const unsigned char lead = *p;
  if (lead < 0x80) {
    ++p;
    return AsciiKey(lead);
  }
  // 0xC2..0xDF and one continuation byte, not followed by another: U+0080..U+07FF, which
  // is never replaced. Other forms take the general path.
  if (lead >= 0xC2 && lead < 0xE0 && end - p >= 2 && (p[1] & 0xC0) == 0x80 &&
      (end - p == 2 || (p[2] & 0xC0) != 0x80)) {
    const auto unit = static_cast<char16_t>(((lead & 0x1F) << 6) | (p[1] & 0x3F));
    p += 2;
    return UnitKey(unit);
  }
  return KeyOf(DecodeUtf8(p, end));
}

// One UTF-16 unit at byte offset 2 * index; SQLite does not promise alignment.
char16_t LoadUnit(const unsigned char* bytes, std::size_t index) {
  char16_t unit;
  std::memcpy(&unit, bytes + 2 * index, sizeof unit);
  return unit;
}

// A read position in UTF-8 bytes.
struct Utf8Cursor {
  const unsigned char* at;
  const unsigned char* end;

  explicit Utf8Cursor(std::string_view s)
      : at(reinterpret_cast<const unsigned char*>(s.data())), end(at + s.size()) {}
  bool atEnd() const { return at == end; }
  char32_t next() { return DecodeUtf8(at, end); }
};

// The three outcomes of matching a stretch of pattern. NoMatchPossible means the text ran
// out: no later starting point can do better, because it leaves even less text.
enum class Outcome { Match, NoMatch, NoMatchPossible };

// Matches the pattern from `pattern` against the text from `text` up to the next
// any-string wildcard (left unread, so `pattern` stands on it) or the end of the pattern,
// where the text must end too. Advances both cursors; on failure their positions are moot.
Outcome MatchStretch(Utf8Cursor& pattern, Utf8Cursor& text, const LikeRules& rules) {
  while (!pattern.atEnd()) {
    const Utf8Cursor before = pattern;
    char32_t c = pattern.next();
    if (rules.hasEscape && c == rules.escape) {
      if (pattern.atEnd()) return Outcome::NoMatch;  // the escape escapes nothing
      c = pattern.next();
    } else if (c == rules.anyString) {
      pattern = before;
      return Outcome::Match;
    } else if (c == rules.oneCharacter) {
      if (text.atEnd()) return Outcome::NoMatchPossible;
      text.next();
      continue;
    }
    if (text.atEnd()) return Outcome::NoMatchPossible;
    if (KeyOf(text.next()) != KeyOf(c)) return Outcome::NoMatch;
  }
  return text.atEnd() ? Outcome::Match : Outcome::NoMatch;
}

// Reads the wildcard run at `pattern` (any-string and one-character wildcards, each of the
// latter taking one text character) and the literal after it into *literal. Returns Match
// when the pattern ends within the run, NoMatch when a literal follows, NoMatchPossible
// when the text or the pattern (right after an escape) runs out.
Outcome ReadWildcardRun(Utf8Cursor& pattern, Utf8Cursor& text, const LikeRules& rules,
                        char32_t* literal) {
  while (!pattern.atEnd()) {
    const char32_t c = pattern.next();
    if (rules.hasEscape && c == rules.escape) {
      if (pattern.atEnd()) return Outcome::NoMatchPossible;
      *literal = pattern.next();
      return Outcome::NoMatch;
    }
    if (c == rules.anyString) continue;
    if (c == rules.oneCharacter) {
      if (text.atEnd()) return Outcome::NoMatchPossible;
      text.next();
      continue;
    }
    *literal = c;
    return Outcome::NoMatch;
  }
  return Outcome::Match;
}

}  // namespace

std::size_t Utf8CharCount(std::string_view utf8) {
  Utf8Cursor cursor(utf8);
  std::size_t count = 0;
  for (; !cursor.atEnd(); cursor.next()) ++count;
  return count;
}

int CompareNoCaseUtf8(const void* a, int nA, const void* b, int nB) {
  nA = std::max(nA, 0);
  nB = std::max(nB, 0);
  const auto* const startA = static_cast<const unsigned char*>(a);
  const auto* const startB = static_cast<const unsigned char*>(b);
  const std::ptrdiff_t shorter = std::min(nA, nB);
  // The ASCII start of both texts, at the same offsets, in a loop as tight as a plain
  // case-blind byte comparison: a key per byte, no test whether the bytes are equal (in
  // text of mixed case that would be a coin toss). It stops at a difference, a NUL (the
  // only key 0) or a byte of a longer character (key kNotAscii).
  std::ptrdiff_t i = 0;
  for (; i < shorter; ++i) {
    const unsigned keyA = key_table::kByteKeys[startA[i]];
    const unsigned keyB = key_table::kByteKeys[startB[i]];
    if (keyA != keyB || keyA - 1 >= key_table::kNotAscii - 1) break;
  }
  if (i == shorter) return nA - nB;
  if ((startA[i] | startB[i]) < 0x80) {  // ASCII on both sides: a difference or two NULs
    const int difference = AsciiKey(startA[i]) - AsciiKey(startB[i]);
    return difference != 0 ? difference : nA - nB;
  }
  // The rest, character by character; the two byte positions may now drift apart.
  const auto* pa = startA + i;
  const auto* pb = startB + i;
  while (pa - startA < shorter && pb - startB < shorter) {
    const bool nulInA = *pa == 0;
    const std::uint32_t keyA = NextKey(pa, startA + nA);
    const std::uint32_t keyB = NextKey(pb, startB + nB);
    if (keyA != keyB) return KeyDifference(keyA, keyB);
    if (nulInA) break;
  }
  return nA - nB;
}

int CompareNoCaseUtf16(const void* a, int nA, const void* b, int nB) {
  nA = std::max(nA, 0);
  nB = std::max(nB, 0);
  const auto* const bytesA = static_cast<const unsigned char*>(a);
  const auto* const bytesB = static_cast<const unsigned char*>(b);
  const std::size_t units = static_cast<std::size_t>(std::min(nA, nB)) / 2;
  // A key per unit, without first testing whether the units are equal (a coin toss in
  // text of mixed case). Only NUL has key 0, so a NUL in A ends the comparison.
  for (std::size_t i = 0; i < units; ++i) {
    const int keyA = UnitKey(LoadUnit(bytesA, i));
    const int keyB = UnitKey(LoadUnit(bytesB, i));
    if (keyA != keyB) return keyA - keyB;
    if (keyA == 0) break;
  }
  return nA - nB;
}

// The stretch before the first wildcard run is anchored at the start of the text. Each
// run then scans the text for its literal and matches the following stretch from there.
// Once a stretch has reached the next run, no earlier run is ever resumed: if the rest of
// the pattern fails from the earliest point where that run could start, it fails from
// every later point too (the run would just absorb more text), so that failure means "no
// match possible" for the whole pattern. Hence O(pattern × text) time and no recursion.
bool LikeMatches(std::string_view patternText, std::string_view textText,
                 const LikeRules& rules) {
  Utf8Cursor pattern(patternText);
  Utf8Cursor text(textText);
  if (MatchStretch(pattern, text, rules) != Outcome::Match) return false;
  while (!pattern.atEnd()) {
    char32_t literal = 0;
    const Outcome run = ReadWildcardRun(pattern, text, rules, &literal);
    if (run != Outcome::NoMatch) return run == Outcome::Match;
    const std::uint32_t literalKey = KeyOf(literal);
    for (;;) {
      if (text.atEnd()) return false;
      if (KeyOf(text.next()) != literalKey) continue;
      Utf8Cursor restOfPattern = pattern;
      Utf8Cursor restOfText = text;
      const Outcome stretch = MatchStretch(restOfPattern, restOfText, rules);
      if (stretch == Outcome::NoMatchPossible) return false;
      if (stretch == Outcome::Match) {
        pattern = restOfPattern;
        text = restOfText;
        break;
      }
    }
  }
  return true;
}

void MapUnitsInPlace(sys::unicode::Mapping mapping, char16_t* units, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) units[i] = sys::unicode::MapSingle(mapping, units[i]);
}

}  // namespace unicode_sql
