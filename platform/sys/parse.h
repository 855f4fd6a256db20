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

// Decimal digits, the runtime separator, an optional exponent; also "inf", "infinity",
// "nan" in any case. The other separator ends the number, as a foreign locale would.
double ParseDouble(TextView text, std::size_t* end = nullptr);

}  // namespace sys
