// unicode_sql_text.h: the text algorithms behind the Unicode SQL functions, free of SQLite.
//
// UTF-8 decoding in SQLite's manner, the case- and accent-blind comparison key, the NOCASE
// comparisons on UTF-8 and UTF-16 bytes, the LIKE matcher and in-place case mapping. They
// read only the bytes they are given (no terminator needed), never allocate and never
// fail: malformed UTF-8 decodes to some code point and compares like any other. Costs are
// linear in the text, except LIKE: at most pattern × text character steps, constant stack.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "data/unicode_sql_keys.h"
#include "platform/sys/unicode_map.h"

namespace unicode_sql {

// Decodes one character at `p` (which must be before `end`) and advances `p` past it.
// A lead byte below 0xC0 stands for itself; otherwise the continuation bytes (0x80..0xBF)
// that follow are added. A multi-byte result below 0x80, a surrogate, U+FFFE or U+FFFF
// becomes U+FFFD. Never reads at or past `end`.
inline char32_t DecodeUtf8(const unsigned char*& p, const unsigned char* end) {
  std::uint32_t c = *p++;
  if (c < 0xC0) return c;
  // Payload bits of the lead byte: 5 for 110xxxxx, 4 for 1110xxxx, ... none for 0xFE/0xFF.
  static constexpr std::uint8_t kLeadMask[8] = {0x1F, 0x1F, 0x1F, 0x1F, 0x0F, 0x0F, 0x07, 0x03};
  if (c >= 0xFC)
    c = c <= 0xFD ? c & 0x01 : 0;
  else
    c &= kLeadMask[(c - 0xC0) >> 3];
  while (p < end && (*p & 0xC0) == 0x80) c = (c << 6) + (*p++ & 0x3F);
  if (c < 0x80 || (c & 0xFFFFF800) == 0xD800 || (c & 0xFFFFFFFE) == 0xFFFE) c = 0xFFFD;
  return c;
}

// Number of characters in UTF-8 bytes, counted the way DecodeUtf8 splits them.
std::size_t Utf8CharCount(std::string_view utf8);

// The comparison key of a code point (unaccent's first unit above 127, then fold); a code
// point outside the BMP, or beyond Unicode from malformed UTF-8, is its own key.
inline std::uint32_t KeyOf(char32_t codePoint) {
  return codePoint > 0xFFFF ? codePoint : UnitKey(static_cast<char16_t>(codePoint));
}

// NOCASE on UTF-8 texts of nA and nB bytes: keys compared in order while both byte
// positions are below min(nA, nB), stopping where A holds a NUL. Returns key(A) - key(B)
// at the first difference (clamped to int), else nA - nB. Negative lengths count as 0.
int CompareNoCaseUtf8(const void* a, int nA, const void* b, int nB);

// NOCASE on native-order UTF-16 texts of nA and nB bytes: at most min(nA, nB) / 2 units,
// stopping where A holds a NUL unit; results as for the UTF-8 form. Any alignment works.
int CompareNoCaseUtf16(const void* a, int nA, const void* b, int nB);

// What a LIKE pattern means: its two wildcards and its escape character, if any. An
// escape character that equals a wildcard takes that wildcard's place.
struct LikeRules {
  char32_t anyString = U'%';
  char32_t oneCharacter = U'_';
  bool hasEscape = false;
  char32_t escape = 0;
};

// Whether UTF-8 `text` matches UTF-8 `pattern` under `rules`, characters compared by key.
bool LikeMatches(std::string_view pattern, std::string_view text, const LikeRules& rules);

// Replaces each of `count` UTF-16 units by its one-unit `mapping` (Lower, Upper, Title or
// Fold). Surrogates stay as they are.
void MapUnitsInPlace(sys::unicode::Mapping mapping, char16_t* units, std::size_t count);

}  // namespace unicode_sql
