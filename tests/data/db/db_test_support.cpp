// db_test_support.cpp: temporary folders and raw-SQLite helpers for the database tests.
#include "db_test_support.h"

#include <cstdlib>

void TempFolderTest::SetUp() {
  std::string pattern = (std::filesystem::temp_directory_path() / "vetrix-db-XXXXXX").string();
  ASSERT_NE(mkdtemp(pattern.data()), nullptr);
  folder_ = pattern;
}

void TempFolderTest::TearDown() {
  std::error_code ignored;
  std::filesystem::remove_all(folder_, ignored);
}

std::string TempFolderTest::pathOf(const std::string& name) const { return (folder_ / name).string(); }

PlainConnection::PlainConnection(const std::string& path) {
  EXPECT_EQ(sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr),
            SQLITE_OK);
}

PlainConnection::~PlainConnection() { sqlite3_close(db_); }

void Exec(sqlite3* db, const std::string& sql) {
  char* error = nullptr;
  const int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error);
  EXPECT_EQ(rc, SQLITE_OK) << sql << ": " << (error ? error : "");
  sqlite3_free(error);
}

namespace {

// Prepares `sql` and binds `texts`; returns the statement or null (message in *error).
sqlite3_stmt* PrepareBound(sqlite3* db, const std::string& sql, const std::vector<std::string>& texts,
                           std::string* error) {
  sqlite3_stmt* statement = nullptr;
  if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) {
    *error = sqlite3_errmsg(db);
    return nullptr;
  }
  for (std::size_t i = 0; i < texts.size(); ++i)
    sqlite3_bind_text(statement, static_cast<int>(i + 1), texts[i].data(),
                      static_cast<int>(texts[i].size()), SQLITE_TRANSIENT);
  return statement;
}

std::string ColumnText(sqlite3_stmt* statement, int column) {
  const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
  return {text, static_cast<std::size_t>(sqlite3_column_bytes(statement, column))};
}

}  // namespace

std::optional<std::string> Scalar(sqlite3* db, const std::string& sql, const std::vector<std::string>& texts) {
  std::string error;
  sqlite3_stmt* statement = PrepareBound(db, sql, texts, &error);
  if (statement == nullptr) {
    ADD_FAILURE() << sql << ": " << error;
    return std::nullopt;
  }
  std::optional<std::string> result;
  const int rc = sqlite3_step(statement);
  if (rc == SQLITE_ROW && sqlite3_column_type(statement, 0) != SQLITE_NULL) result = ColumnText(statement, 0);
  if (rc != SQLITE_ROW && rc != SQLITE_DONE) ADD_FAILURE() << sql << ": " << sqlite3_errmsg(db);
  sqlite3_finalize(statement);
  return result;
}

std::string ErrorOf(sqlite3* db, const std::string& sql, const std::vector<std::string>& texts) {
  std::string error;
  sqlite3_stmt* statement = PrepareBound(db, sql, texts, &error);
  if (statement == nullptr) return error;
  int rc;
  while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
  }
  if (rc != SQLITE_DONE) error = sqlite3_errmsg(db);
  sqlite3_finalize(statement);
  return error;
}

std::vector<std::string> Rows(sqlite3* db, const std::string& sql) {
  std::vector<std::string> rows;
  std::string error;
  sqlite3_stmt* statement = PrepareBound(db, sql, {}, &error);
  if (statement == nullptr) {
    ADD_FAILURE() << sql << ": " << error;
    return rows;
  }
  int rc;
  while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
    std::string row;
    for (int c = 0; c < sqlite3_column_count(statement); ++c) {
      if (c > 0) row += '|';
      row += sqlite3_column_type(statement, c) == SQLITE_NULL ? "NULL" : ColumnText(statement, c);
    }
    rows.push_back(row);
  }
  if (rc != SQLITE_DONE) ADD_FAILURE() << sql << ": " << sqlite3_errmsg(db);
  sqlite3_finalize(statement);
  return rows;
}
