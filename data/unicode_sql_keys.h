// unicode_sql_keys.h: the comparison key of every UTF-16 unit in one table lookup.
//
// The key of a unit (unaccent's first unit above 127, then fold; see
// sys::unicode::CompareKey) takes two mapping lookups. NOCASE and LIKE need it for every
// character, so the build computes it once for all 65536 units from those same mappings
// (unicode_sql_keys_gen.cpp writes unicode_sql_keys_table.cpp). It stores key - unit
// (modulo 2^16) in blocks of 128 units, so that the many blocks whose units are their own
// keys, or that shift by the same amounts, share one block. Constant data (about 21 KB),
// nothing to set up.
#pragma once

#include <cstdint>

namespace unicode_sql {
namespace key_table {

inline constexpr unsigned kBlockShift = 7;
inline constexpr unsigned kBlockSize = 1u << kBlockShift;

// Unit u's key is u + kDeltas[kStage[u >> 7]][u & 127], modulo 2^16. Block 0 is the one of
// U+0000..U+007F.
extern const std::uint16_t kStage[0x10000 >> kBlockShift];
extern const std::uint16_t kDeltas[][kBlockSize];
// Per byte: the key of an ASCII character (ASCII keys are ASCII), and kNotAscii for the
// bytes 0x80..0xFF, which are parts of longer UTF-8 sequences.
inline constexpr std::uint8_t kNotAscii = 0x80;
extern const std::uint8_t kByteKeys[0x100];

}  // namespace key_table

// The comparison key of a UTF-16 unit; a surrogate is its own key.
inline char16_t UnitKey(char16_t unit) {
  return static_cast<char16_t>(unit + key_table::kDeltas[key_table::kStage[unit >> key_table::kBlockShift]]
                                                        [unit & (key_table::kBlockSize - 1)]);
}

// The key of an ASCII character (below 0x80).
inline char16_t AsciiKey(unsigned char c) { return key_table::kByteKeys[c]; }

}  // namespace unicode_sql
