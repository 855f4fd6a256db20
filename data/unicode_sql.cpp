// unicode_sql.cpp: the module's registration of the Unicode SQL functions, calling the
// SQLite it is linked with directly.
//
// The callbacks themselves are in unicode_sql_functions.h, shared with the loadable
// extension (sqlite_extension.cpp), which reaches SQLite through the loader's routines.
#include "data/unicode_sql.h"

#include "data/unicode_sql_functions.h"

namespace {

// The SQLite calls the shared callbacks use, as the linked library provides them.
struct LinkedSqlite {
  static constexpr auto create_function = &sqlite3_create_function;
  static constexpr auto create_collation = &sqlite3_create_collation;
  static constexpr auto user_data = &sqlite3_user_data;
  static constexpr auto value_type = &sqlite3_value_type;
  static constexpr auto value_text = &sqlite3_value_text;
  static constexpr auto value_bytes = &sqlite3_value_bytes;
  static constexpr auto value_text16 = &sqlite3_value_text16;
  static constexpr auto value_bytes16 = &sqlite3_value_bytes16;
  static constexpr auto result_text = &sqlite3_result_text;
  static constexpr auto result_text64 = &sqlite3_result_text64;
  static constexpr auto result_int = &sqlite3_result_int;
  static constexpr auto result_null = &sqlite3_result_null;
  static constexpr auto result_error = &sqlite3_result_error;
  static constexpr auto result_error_nomem = &sqlite3_result_error_nomem;
  static constexpr auto malloc64 = &sqlite3_malloc64;
  static constexpr auto realloc64 = &sqlite3_realloc64;
  static constexpr auto free = &sqlite3_free;
};

}  // namespace

int RegisterUnicodeSql(sqlite3* db) { return unicode_sql::RegisterUnicodeSqlWith<LinkedSqlite>(db); }
