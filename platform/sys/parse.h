// parse.h: wcstol / wcstod-like parsing of UTF-16 text with the runtime decimal separator.
//
// Both skip leading white space, take an optional sign and read as far as the number goes;
// *end (when given) receives the count of units consumed, 0 when no number was found, in
// which case the result is 0. Out-of-range values saturate as the C functions do.
#pragma once

#include <cstddef>

#include "text.h"

namespace sys {

// Base 10, or 16 (optional "0x"), or 0 for C's automatic base.
long ParseLong(TextView text, std::size_t* end = nullptr, int base = 10);

// wcstod's grammar and results with the runtime separator: decimal digits, the separator,
// an optional exponent; "0x" hexadecimal significands with a "p" exponent; "inf",
// "infinity", "nan" and "nan(...)" in any case. A value too small to represent reads as 0
// with its sign, one too large as ±infinity. The other separator, a NUL and every unit
// outside ASCII end the number, as a foreign locale would.
double ParseDouble(TextView text, std::size_t* end = nullptr);

}  // namespace sys
