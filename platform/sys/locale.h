// locale.h: the process-wide runtime locale of Vetrix and what depends on it.
//
// Our own setting, not the C library's (which Qt changes and which may lack ru_RU):
// before SetRussianLocale() numbers use a decimal point and case-blind comparison folds
// ASCII letters only; afterwards the decimal separator is a comma and lower-casing uses
// the Unicode lower mapping. Reads are a single relaxed atomic load.
#pragma once

#include "text.h"

namespace sys {

void SetRussianLocale();
// Back to the start-up state (decimal point, ASCII folding); for tests and tools.
void ResetLocale();
bool IsRussianLocale();

char16_t DecimalSeparator();

// Lower-casing of one unit / a text under the runtime locale.
char16_t LocaleLower(char16_t unit);
Text LocaleLower(TextView text);

// Equality after lower-casing every unit under the runtime locale; no trimming.
bool EqualNoCase(TextView a, TextView b);

}  // namespace sys
