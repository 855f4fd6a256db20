// db_test_support.h: temporary folders and small raw-SQLite helpers for the database tests.
//
// Every test database is a real file in a fresh folder under the system temporary folder,
// removed with the fixture. The helpers run SQL straight through the SQLite C interface
// (UTF-8), so that tests can look at a connection without going through the layer tested.
#pragma once

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// A fresh temporary folder per test.
class TempFolderTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Path of `name` inside the folder, as UTF-8.
  std::string pathOf(const std::string& name) const;

  std::filesystem::path folder_;
};

// A connection without the Unicode functions: SQLite's own like, lower, upper and NOCASE.
class PlainConnection {
 public:
  explicit PlainConnection(const std::string& path);
  ~PlainConnection();
  PlainConnection(const PlainConnection&) = delete;
  PlainConnection& operator=(const PlainConnection&) = delete;
  sqlite3* handle() const { return db_; }

 private:
  sqlite3* db_ = nullptr;
};

// Runs SQL that returns nothing; fails the test on error.
void Exec(sqlite3* db, const std::string& sql);

// The first column of the first row of `sql`, with `texts` bound as UTF-8 to ?1, ?2...;
// nullopt for NULL. Fails the test when the statement fails.
std::optional<std::string> Scalar(sqlite3* db, const std::string& sql,
                                  const std::vector<std::string>& texts = {});

// The error message of running `sql` (texts bound as for Scalar); empty if it succeeds.
std::string ErrorOf(sqlite3* db, const std::string& sql, const std::vector<std::string>& texts = {});

// All rows of `sql`, each column as UTF-8 text ("NULL" for NULL), joined by '|'.
std::vector<std::string> Rows(sqlite3* db, const std::string& sql);
