// sqlite_extension_test.cpp: libvetrix_unicode.so loaded into a plain SQLite connection,
// the way the sqlite3 shell's .load does it.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>
#include <vector>

#include "db_test_support.h"

namespace {

class SqliteExtensionTest : public TempFolderTest {};

TEST_F(SqliteExtensionTest, LoadsIntoAPlainConnection) {
  PlainConnection plain(pathOf("extension.db"));
  sqlite3* db = plain.handle();
  ASSERT_EQ(sqlite3_db_config(db, SQLITE_DBCONFIG_ENABLE_LOAD_EXTENSION, 1, static_cast<int*>(nullptr)),
            SQLITE_OK);
  EXPECT_EQ(Scalar(db, "SELECT lower('ЁЛКА')"), "ЁЛКА");  // SQLite's own: ASCII only
  char* error = nullptr;
  ASSERT_EQ(sqlite3_load_extension(db, VETRIX_UNICODE_EXTENSION, nullptr, &error), SQLITE_OK)
      << (error ? error : "");
  EXPECT_EQ(Scalar(db, "SELECT lower('ЁЛКА')"), "ёлка");
  EXPECT_EQ(Rows(db, "SELECT unaccent('Æther'), 'Ёлка' LIKE 'ел%', 'ЁЛКА' = 'елка' COLLATE NOCASE, "
                     "unicode_version()"),
            std::vector<std::string>{"AEther|1|1|5.1.0.12"});
  EXPECT_EQ(ErrorOf(db, "SELECT 'a' LIKE 'a' ESCAPE 'xy'"), "ESCAPE expression must be a single character");
  // A result that opens with U+FEFF keeps it (SQLite would take it for a byte-order mark).
  EXPECT_EQ(Rows(db, "SELECT hex(lower(char(65279))), hex(unaccent(char(65279, 198)))"),
            std::vector<std::string>{"EFBBBF|EFBBBF4145"});
}

}  // namespace
