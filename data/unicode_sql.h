// unicode_sql.h: registration of the Unicode text functions and the NOCASE collation on
// a SQLite connection of this module.
//
// After registration the connection's like (2 and 3 arguments), lower, upper and NOCASE
// are case- and accent-aware over the Unicode 5.1.0 tables, and title, fold, unaccent and
// unicode_version exist. Registration costs ten SQLite calls and no allocation of ours.
#pragma once

struct sqlite3;

// Registers the functions and both NOCASE collations on `db`. Returns SQLITE_OK (0) or
// the result code of the first registration step that failed; sqlite3_errmsg(db) then
// tells which.
[[nodiscard]] int RegisterUnicodeSql(sqlite3* db);
