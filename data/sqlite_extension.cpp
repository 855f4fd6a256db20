// sqlite_extension.cpp: the Unicode text functions and NOCASE as a SQLite loadable
// extension (libvetrix_unicode.so), for the sqlite3 shell and other SQLite programs.
//
// A loaded extension must call the SQLite of the program that loads it, through the
// routine table handed to the entry point (sqlite3ext.h's macros), never a SQLite it was
// linked with: that may be another copy with its own memory and locks. This file is the
// only place that sees those macros; the callbacks and the registration are the module's
// own (unicode_sql_functions.h), instantiated here over the loader's routines.
#include <sqlite3ext.h>
SQLITE_EXTENSION_INIT1

#include "data/unicode_sql_functions.h"

namespace {

// The SQLite calls the shared callbacks use, taken from the loader's routine table.
struct LoaderSqlite {
  static int create_function(sqlite3* db, const char* name, int arguments, int encoding,
                             void* userData, void (*call)(sqlite3_context*, int, sqlite3_value**),
                             void (*step)(sqlite3_context*, int, sqlite3_value**),
                             void (*final)(sqlite3_context*)) {
    return sqlite3_create_function(db, name, arguments, encoding, userData, call, step, final);
  }
  static int create_collation(sqlite3* db, const char* name, int encoding, void* context,
                              int (*compare)(void*, int, const void*, int, const void*)) {
    return sqlite3_create_collation(db, name, encoding, context, compare);
  }
  static void* user_data(sqlite3_context* c) { return sqlite3_user_data(c); }
  static int value_type(sqlite3_value* v) { return sqlite3_value_type(v); }
  static const unsigned char* value_text(sqlite3_value* v) { return sqlite3_value_text(v); }
  static int value_bytes(sqlite3_value* v) { return sqlite3_value_bytes(v); }
  static const void* value_text16(sqlite3_value* v) { return sqlite3_value_text16(v); }
  static int value_bytes16(sqlite3_value* v) { return sqlite3_value_bytes16(v); }
  static void result_text(sqlite3_context* c, const char* text, int bytes, void (*del)(void*)) {
    sqlite3_result_text(c, text, bytes, del);
  }
  static void result_text64(sqlite3_context* c, const char* text, sqlite3_uint64 bytes,
                            void (*del)(void*), unsigned char encoding) {
    sqlite3_result_text64(c, text, bytes, del, encoding);
  }
  static void result_int(sqlite3_context* c, int value) { sqlite3_result_int(c, value); }
  static void result_null(sqlite3_context* c) { sqlite3_result_null(c); }
  static void result_error(sqlite3_context* c, const char* message, int bytes) {
    sqlite3_result_error(c, message, bytes);
  }
  static void result_error_nomem(sqlite3_context* c) { sqlite3_result_error_nomem(c); }
  static void* malloc64(sqlite3_uint64 bytes) { return sqlite3_malloc64(bytes); }
  static void* realloc64(void* p, sqlite3_uint64 bytes) { return sqlite3_realloc64(p, bytes); }
  static void free(void* p) { sqlite3_free(p); }
};

}  // namespace

// Entry point SQLite looks for first. Registers everything on `db`; on failure returns
// the SQLite code and sets *errorMessage (freed by SQLite) to the connection's message.
extern "C" __attribute__((visibility("default"))) int sqlite3_extension_init(
    sqlite3* db, char** errorMessage, const sqlite3_api_routines* routines) {
  SQLITE_EXTENSION_INIT2(routines);
  const int rc = unicode_sql::RegisterUnicodeSqlWith<LoaderSqlite>(db);
  if (rc != SQLITE_OK && errorMessage != nullptr)
    *errorMessage = sqlite3_mprintf("%s", sqlite3_errmsg(db));
  return rc;
}
