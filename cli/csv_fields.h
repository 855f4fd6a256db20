// csv_fields.h: the values of the import's CSV fields — numbers with a decimal point or
// a decimal comma, whole numbers, and local dates — and their text for writing.
//
// Reading trims blanks (space, tab, no-break space) around a value and accepts nothing
// else around it; an empty text is "no value", which callers decide about. Writing is
// independent of any locale and exact: a double written and read back is the same
// double. Dates are local time (the TZ environment variable decides the zone).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/sys/text.h"

// The value without surrounding blanks.
sys::TextView TrimBlanks(sys::TextView text);

// A finite decimal number: optional sign, digits with one '.' or ',' as decimal
// separator, optional exponent ("1,5", "-0.25", "2e-3"). nullopt for anything else
// (thousands separators, "inf", "nan", a second separator).
[[nodiscard]] std::optional<double> ParseDecimal(sys::TextView text);

// A whole decimal number within 32 bits, optional sign; nullopt otherwise.
[[nodiscard]] std::optional<std::int32_t> ParseWhole(sys::TextView text);

// A local date and time as "YYYY-MM-DD HH:MM[:SS]" or "DD.MM.YYYY HH:MM[:SS]" (day,
// month and hour may have one digit); with `dateOnly` also the date alone (midnight).
// Seconds since 1970-01-01 00:00 UTC; nullopt for a text of another form, a day that
// does not exist, or a local time that the clock skips.
[[nodiscard]] std::optional<std::int64_t> ParseLocalDate(sys::TextView text, bool dateOnly);

// The shortest text that reads back as exactly `value`, with a decimal point ("0.1",
// "1e-07", "123456.75").
std::string FormatExact(double value);

// "YYYY-MM-DD HH:MM:SS" in local time; with `dropMidnight` just "YYYY-MM-DD" when the
// time is 00:00:00. Empty when the time cannot be converted.
std::string FormatLocalDate(std::int64_t secondsSinceEpoch, bool dropMidnight);
