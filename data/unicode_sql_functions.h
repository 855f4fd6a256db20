// unicode_sql_functions.h: the Unicode SQL functions and the NOCASE collation as SQLite
// callbacks, and their registration on a connection, written once for two builds.
//
// The code reaches SQLite only through `Sql`, a type with static functions named after
// the SQLite calls they stand for, without the "sqlite3_" prefix (Sql::value_text is
// sqlite3_value_text). The module passes one that calls SQLite directly
// (unicode_sql.cpp); the loadable extension passes one that calls through the routine
// table the loading program hands over (sqlite_extension.cpp), because there the
// extension must use the loader's SQLite, which may not be the one it was linked with.
// Each Sql should live in an unnamed namespace so that the two instantiations never meet.
//
// The functions keep no state; their user data points at constant records. Costs: one
// allocation per mapped value (unaccent: more only when the result outgrows its buffer).
#pragma once

#include <sqlite3.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "data/unicode_sql_text.h"
#include "platform/sys/unicode_map.h"

namespace unicode_sql {

// What the "like" functions match with: the wildcards, and the kind of matching this
// module supports (no character sets, case- and accent-insensitive).
struct MatchDescription {
  char32_t anyString;
  char32_t oneCharacter;
  bool characterSets;
  bool caseInsensitive;
};

inline constexpr MatchDescription kLikeDescription{U'%', U'_', false, true};
inline constexpr int kLikePatternLimit = 50000;  // bytes

// Context values of the two NOCASE registrations; they select the variant.
inline constexpr std::intptr_t kNoCaseUtf8 = SQLITE_UTF8;
inline constexpr std::intptr_t kNoCaseUtf16 = SQLITE_UTF16;

inline constexpr sys::unicode::Mapping kFoldMapping = sys::unicode::Mapping::Fold;
inline constexpr sys::unicode::Mapping kLowerMapping = sys::unicode::Mapping::Lower;
inline constexpr sys::unicode::Mapping kUpperMapping = sys::unicode::Mapping::Upper;
inline constexpr sys::unicode::Mapping kTitleMapping = sys::unicode::Mapping::Title;

// Pointers to constant records as the void* user data SQLite takes; never written through.
inline void* AsUserData(const void* record) { return const_cast<void*>(record); }

// unicode_version(): the version of the mapping tables, a static UTF-8 text.
template <class Sql>
void UnicodeVersionFunction(sqlite3_context* context, int, sqlite3_value**) {
  Sql::result_text(context, sys::unicode::TablesVersion(), -1, SQLITE_STATIC);
}

// The byte-order mark that opens every UTF-16 result handed to SQLite.
inline constexpr char16_t kByteOrderMark = 0xFEFF;

// Hands the UTF-16 result in units[1 .. length] (units[0] and units[length + 1] are the
// caller's spare room) to SQLite, which frees the buffer. SQLite removes a leading
// byte-order mark from every UTF-16 result, whatever byte order the call names, and takes
// a leading U+FFFE for a big-endian mark: a result that itself begins with U+FEFF or
// U+FFFE would lose that unit or be read byte-swapped. So the result goes over behind a
// mark of its own in native order, which SQLite removes, and every unit after it survives.
template <class Sql>
void ResultUnits(sqlite3_context* context, char16_t* units, std::size_t length) {
  units[0] = kByteOrderMark;
  units[length + 1] = 0;
  Sql::result_text64(context, reinterpret_cast<const char*>(units), (length + 1) * 2, Sql::free,
                     SQLITE_UTF16);
}

// lower(X), upper(X), title(X), fold(X): every UTF-16 unit of X replaced by its mapping
// (the user data). NULL gives NULL; an allocation failure reports out-of-memory.
template <class Sql>
void MapFunction(sqlite3_context* context, int, sqlite3_value** argv) {
  if (Sql::value_type(argv[0]) == SQLITE_NULL) return Sql::result_null(context);
  const void* text = Sql::value_text16(argv[0]);
  if (text == nullptr) return Sql::result_error_nomem(context);
  const auto bytes = static_cast<sqlite3_uint64>(Sql::value_bytes16(argv[0]));
  auto* units = static_cast<char16_t*>(Sql::malloc64(bytes + 4));  // mark, text, terminator
  if (units == nullptr) return Sql::result_error_nomem(context);
  const std::size_t count = bytes / 2;
  std::memcpy(units + 1, text, count * 2);
  const auto mapping = *static_cast<const sys::unicode::Mapping*>(Sql::user_data(context));
  MapUnitsInPlace(mapping, units + 1, count);
  ResultUnits<Sql>(context, units, count);
}

// Grows the unaccent result so that it holds at least `needed` units (doubling, so that a
// text of many expanding letters is not copied again for every one). False when out of
// memory; *units is then still valid and owned by the caller.
template <class Sql>
bool ReserveUnits(char16_t** units, std::size_t* capacity, std::size_t needed) {
  if (needed <= *capacity) return true;
  const std::size_t grown = std::max(needed, *capacity * 2);
  void* moved = Sql::realloc64(*units, grown * 2);
  if (moved == nullptr) return false;
  *units = static_cast<char16_t*>(moved);
  *capacity = grown;
  return true;
}

// unaccent(X): every UTF-16 unit of X replaced by its 1 to 18 unaccent units. NULL gives
// NULL; an allocation failure reports out-of-memory.
template <class Sql>
void UnaccentFunction(sqlite3_context* context, int, sqlite3_value** argv) {
  if (Sql::value_type(argv[0]) == SQLITE_NULL) return Sql::result_null(context);
  const void* text = Sql::value_text16(argv[0]);
  if (text == nullptr) return Sql::result_error_nomem(context);
  const std::size_t count = static_cast<std::size_t>(Sql::value_bytes16(argv[0])) / 2;
  std::size_t capacity = count + 2;  // mark, text, terminator
  auto* units = static_cast<char16_t*>(Sql::malloc64(capacity * 2));
  if (units == nullptr) return Sql::result_error_nomem(context);
  std::size_t length = 1;  // units[0]: the mark
  for (std::size_t i = 0; i < count; ++i) {
    char16_t unit;
    std::memcpy(&unit, static_cast<const unsigned char*>(text) + 2 * i, sizeof unit);
    const char16_t* mapped = &unit;
    std::size_t n = sys::unicode::MapUnit(sys::unicode::Mapping::Unaccent, unit, &mapped);
    if (n == 0) n = 1, mapped = &unit;
    // Room for this unit's result, the units still to come and the terminator.
    if (!ReserveUnits<Sql>(&units, &capacity, length + n + (count - i - 1) + 1)) {
      Sql::free(units);
      return Sql::result_error_nomem(context);
    }
    std::copy(mapped, mapped + n, units + length);
    length += n;
  }
  ResultUnits<Sql>(context, units, length - 1);
}

// The UTF-8 text of a value and its length; empty view with null data for SQL NULL.
template <class Sql>
std::string_view Utf8Argument(sqlite3_value* value) {
  const auto* text = reinterpret_cast<const char*>(Sql::value_text(value));
  if (text == nullptr) return {};
  return {text, static_cast<std::size_t>(Sql::value_bytes(value))};
}

// like(P, S) and like(P, S, E): whether S matches pattern P (escape E), as 1 or 0; NULL
// when P, S or E is NULL. Errors: a pattern over 50000 bytes, an E that is not exactly
// one character.
template <class Sql>
void LikeFunction(sqlite3_context* context, int argc, sqlite3_value** argv) {
  const auto& description = *static_cast<const MatchDescription*>(Sql::user_data(context));
  if (Sql::value_bytes(argv[0]) > kLikePatternLimit)
    return Sql::result_error(context, "LIKE or GLOB pattern too complex", -1);
  LikeRules rules{description.anyString, description.oneCharacter, false, 0};
  if (argc == 3) {
    const std::string_view escape = Utf8Argument<Sql>(argv[2]);
    if (escape.data() == nullptr) return Sql::result_null(context);
    if (Utf8CharCount(escape) != 1)
      return Sql::result_error(context, "ESCAPE expression must be a single character", -1);
    const auto* at = reinterpret_cast<const unsigned char*>(escape.data());
    rules.hasEscape = true;
    rules.escape = DecodeUtf8(at, at + escape.size());
  }
  const std::string_view pattern = Utf8Argument<Sql>(argv[0]);
  const std::string_view text = Utf8Argument<Sql>(argv[1]);
  if (pattern.data() == nullptr || text.data() == nullptr) {
    // NULL in, NULL out; a non-NULL value without text means SQLite ran out of memory.
    if (Sql::value_type(argv[0]) == SQLITE_NULL || Sql::value_type(argv[1]) == SQLITE_NULL)
      return Sql::result_null(context);
    return Sql::result_error_nomem(context);
  }
  Sql::result_int(context, LikeMatches(pattern, text, rules) ? 1 : 0);
}

// NOCASE: the context value picks the UTF-8 or the UTF-16 comparison.
inline int NoCaseCollation(void* variant, int nA, const void* a, int nB, const void* b) {
  if (reinterpret_cast<std::intptr_t>(variant) == kNoCaseUtf16)
    return CompareNoCaseUtf16(a, nA, b, nB);
  return CompareNoCaseUtf8(a, nA, b, nB);
}

// Registers the functions and both NOCASE collations on `db`, replacing SQLite's own of
// the same names there. Returns SQLITE_OK, or the code of the first step that failed
// (later steps are then not tried; the connection's message tells what failed).
template <class Sql>
int RegisterUnicodeSqlWith(sqlite3* db) {
  struct Function {
    const char* name;
    int arguments;
    const void* userData;
    void (*call)(sqlite3_context*, int, sqlite3_value**);
  };
  const Function functions[] = {
      {"unicode_version", 0, nullptr, &UnicodeVersionFunction<Sql>},
      {"like", 2, &kLikeDescription, &LikeFunction<Sql>},
      {"like", 3, &kLikeDescription, &LikeFunction<Sql>},
      {"fold", 1, &kFoldMapping, &MapFunction<Sql>},
      {"lower", 1, &kLowerMapping, &MapFunction<Sql>},
      {"upper", 1, &kUpperMapping, &MapFunction<Sql>},
      {"title", 1, &kTitleMapping, &MapFunction<Sql>},
      {"unaccent", 1, nullptr, &UnaccentFunction<Sql>},
  };
  for (const Function& f : functions) {
    const int rc = Sql::create_function(db, f.name, f.arguments, SQLITE_ANY,
                                        AsUserData(f.userData), f.call, nullptr, nullptr);
    if (rc != SQLITE_OK) return rc;
  }
  for (const std::intptr_t variant : {kNoCaseUtf8, kNoCaseUtf16}) {
    const int rc = Sql::create_collation(db, "NOCASE", static_cast<int>(variant),
                                         reinterpret_cast<void*>(variant), &NoCaseCollation);
    if (rc != SQLITE_OK) return rc;
  }
  return SQLITE_OK;
}

}  // namespace unicode_sql
