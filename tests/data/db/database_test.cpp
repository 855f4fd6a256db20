// database_test.cpp: the database access layer on real SQLite files: the location holder,
// opening, preparing, binding, typed rows and the fields of SqlException.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "data/database.h"
#include "db_test_support.h"
#include "platform/sys/text.h"

namespace {

using DataBase::Connection;
using DataBase::SqlException;
using DataBase::Statement;

class DataBaseTest : public TempFolderTest {
 protected:
  // A database file with the tables of the host that the tests query.
  sys::Text makeHostDatabase() {
    const std::string path = pathOf("host.db");
    PlainConnection setup(path);
    Exec(setup.handle(),
         "CREATE TABLE assay(id INTEGER PRIMARY KEY, name TEXT, channel INTEGER, area REAL);"
         "CREATE TABLE peak(assay INTEGER, name TEXT);"
         "CREATE TABLE mixture(id INTEGER, name TEXT COLLATE NOCASE);"
         "INSERT INTO assay VALUES (1, 'Смесь №1', 2, 12.5), (2, NULL, NULL, NULL), (4294967295, 'max', 7, 1);"
         "INSERT INTO peak VALUES (1, 'метан'), (1, 'этан'), (2, 'азот');"
         "INSERT INTO mixture VALUES (10, 'ГСО-ЁЛКА'), (NULL, 'пусто');");
    return sys::FromUtf8(path);
  }

  // Runs `sql` and expects it to fail with `code`, `what` and `sql` as given.
  template <class Body>
  void expectSqlException(Body body, int code, const std::string& what, const std::string& sql) {
    try {
      body();
      ADD_FAILURE() << "no exception; expected: " << what;
    } catch (const SqlException& e) {
      EXPECT_EQ(e.code, code);
      EXPECT_EQ(std::string(e.what()), what);
      EXPECT_EQ(e.sql, sql);
    }
  }
};

TEST(DataBaseConnectionBase, OneInstanceKeepsTheLastLocation) {
  DataBaseConnectionBase& base = DataBaseConnectionBase::instance();
  EXPECT_EQ(&base, &DataBaseConnectionBase::instance());
  EXPECT_TRUE(base.location().empty());
  base.setLocation(u"/первая/host.db");
  base.setLocation(u"file:host.db");
  EXPECT_EQ(DataBaseConnectionBase::instance().location(), u"file:host.db");
  base.setLocation(u"");
}

TEST_F(DataBaseTest, TypedRowsInColumnOrder) {
  Connection db(makeHostDatabase());
  Statement query;
  DataBase::prepare(db, query, u"SELECT id, name, channel, area, id FROM assay WHERE id <= ? ORDER BY id");
  DataBase::bind(query, 0xFFFFFFFFu);  // unsigned: binds 4294967295, not -1
  struct Row {
    std::int32_t id;
    sys::Text name;
    std::int16_t channel;
    double area;
    std::int64_t wideId;
  };
  std::vector<Row> rows;
  DataBase::forEachRow(query, [&](std::int32_t id, const sys::Text& name, std::int16_t channel, double area,
                                  std::int64_t wideId) { rows.push_back({id, name, channel, area, wideId}); });
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0].name, u"Смесь №1");
  EXPECT_EQ(rows[0].channel, 2);
  EXPECT_EQ(rows[0].area, 12.5);
  EXPECT_EQ(rows[2].id, -1);  // 4294967295 narrowed to 32 bits
  EXPECT_EQ(rows[2].wideId, 4294967295);
  EXPECT_EQ(query.get(), nullptr);  // finalized after the last row
}

TEST_F(DataBaseTest, NullColumnsReadAsDefaults) {
  Connection db(makeHostDatabase());
  for (int idColumn : {0, 2}) {
    Statement query;
    DataBase::prepare(db, query, u"SELECT channel, name, channel, area FROM assay WHERE id = ?");
    DataBase::bind(query, 2u);
    int calls = 0;
    DataBase::forEachRow(
        query,
        [&](std::int64_t first, sys::Text name, std::uint32_t third, double area) {
          ++calls;
          EXPECT_EQ(first, idColumn == 0 ? -1 : 0);
          EXPECT_EQ(third, idColumn == 2 ? 0xFFFFFFFFu : 0u);
          EXPECT_TRUE(name.empty());
          EXPECT_NE(name.c_str(), nullptr);
          EXPECT_EQ(area, 0.0);
        },
        DataBase::IdColumn{idColumn});
    EXPECT_EQ(calls, 1);
  }
}

TEST_F(DataBaseTest, OptionalColumnsReadNullAsNothing) {
  Connection db(makeHostDatabase());
  Statement query;
  DataBase::prepare(db, query, u"SELECT channel, area, name FROM assay WHERE id <= ? ORDER BY id");
  DataBase::bind(query, 2u);
  std::vector<std::tuple<std::optional<int>, std::optional<double>, std::optional<sys::Text>>> rows;
  DataBase::forEachRow(
      query, [&](std::optional<int> channel, std::optional<double> area, std::optional<sys::Text> name) {
        rows.emplace_back(channel, area, name);
      },
      DataBase::IdColumn{0});
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0], std::make_tuple(std::optional<int>(2), std::optional<double>(12.5),
                                     std::optional<sys::Text>(u"Смесь №1")));
  EXPECT_EQ(rows[1], std::make_tuple(std::optional<int>(), std::optional<double>(), std::optional<sys::Text>()));
}

TEST_F(DataBaseTest, NoRowsNoCalls) {
  Connection db(makeHostDatabase());
  Statement query;
  DataBase::prepare(db, query, u"SELECT id FROM assay WHERE id = ?");
  DataBase::bind(query, 3u);
  int calls = 0;
  DataBase::forEachRow(query, [&](std::int32_t) { ++calls; });
  EXPECT_EQ(calls, 0);
}

TEST_F(DataBaseTest, NameBindingMatchesNoCaseColumnsAcrossCaseAndDiacritics) {
  Connection db(makeHostDatabase());
  Statement query;
  DataBase::prepare(db, query, u"SELECT id, name FROM mixture WHERE name = ?");
  DataBase::bind(query, sys::TextView(u"гсо-елка"));
  std::vector<sys::Text> names;
  DataBase::forEachRow(query, [&](std::int32_t id, sys::Text name) {
    EXPECT_EQ(id, 10);
    names.push_back(name);
  });
  EXPECT_EQ(names, std::vector<sys::Text>{u"ГСО-ЁЛКА"});
  // A name is bound up to its first NUL: the text after it does not take part.
  const sys::Text withNul(u"гсо-елка\0пусто", 14);
  DataBase::prepare(db, query, u"SELECT id, name FROM mixture WHERE name = ?");
  DataBase::bind(query, withNul);
  names.clear();
  DataBase::forEachRow(query, [&](std::int32_t, sys::Text name) { names.push_back(name); });
  EXPECT_EQ(names, std::vector<sys::Text>{u"ГСО-ЁЛКА"});
}

TEST_F(DataBaseTest, RowFunctionsRunNestedQueriesOnTheSameConnection) {
  Connection db(makeHostDatabase());
  Statement assays;
  DataBase::prepare(db, assays, u"SELECT id FROM assay WHERE id < ? ORDER BY id");
  DataBase::bind(assays, 3u);
  std::vector<sys::Text> peaks;
  DataBase::forEachRow(assays, [&](std::int32_t id) {
    Statement peakQuery;
    DataBase::prepare(db, peakQuery, u"SELECT name FROM peak WHERE assay = ? ORDER BY rowid");
    DataBase::bind(peakQuery, static_cast<std::uint32_t>(id));
    DataBase::forEachRow(peakQuery, [&](sys::Text name) { peaks.push_back(name); });
  });
  EXPECT_EQ(peaks, (std::vector<sys::Text>{u"метан", u"этан", u"азот"}));
}

TEST_F(DataBaseTest, PrepareFormatsItsText) {
  Connection db(makeHostDatabase());
  Statement query;
  DataBase::prepare(db, query, u"SELECT %d + ?, '%s'", 40, u"ёлка");
  DataBase::bind(query, 2u);
  DataBase::forEachRow(query, [&](int sum, sys::Text text) {
    EXPECT_EQ(sum, 42);
    EXPECT_EQ(text, u"ёлка");
  });
}

TEST_F(DataBaseTest, ConnectionsEnforceForeignKeys) {
  Connection db(makeHostDatabase());
  EXPECT_EQ(Scalar(db.handle(), "PRAGMA foreign_keys"), "1");
}

TEST_F(DataBaseTest, OpenErrorCarriesTheConnectionMessage) {
  const sys::Text location = sys::FromUtf8(pathOf("missing-folder/host.db"));
  expectSqlException([&] { Connection db(location); }, SQLITE_CANTOPEN, "unable to open database file", "");
}

TEST_F(DataBaseTest, PrepareErrorCarriesTheConnectionMessage) {
  Connection db(makeHostDatabase());
  Statement query;
  expectSqlException([&] { DataBase::prepare(db, query, u"SELECT id FROM assays WHERE id = ?"); }, SQLITE_ERROR,
                     "no such table: assays", "");
  EXPECT_EQ(query.get(), nullptr);
}

TEST_F(DataBaseTest, MissingFileAndEmptyLocationOpenEmptyDatabases) {
  const std::string created = pathOf("created.db");
  for (const sys::Text& location : {sys::FromUtf8(created), sys::Text()}) {
    Connection db(location);
    Statement query;
    expectSqlException([&] { DataBase::prepare(db, query, u"SELECT id FROM assay WHERE id = ?"); },
                       SQLITE_ERROR, "no such table: assay", "");
  }
  EXPECT_TRUE(std::filesystem::exists(created));
}

TEST_F(DataBaseTest, StepErrorCarriesTheGenericTextAndTheStatement) {
  const sys::Text location = makeHostDatabase();
  Connection db(location);
  const std::string sql = "SELECT id FROM assay WHERE id > ?";
  Statement query;
  DataBase::prepare(db, query, sys::FromUtf8(sql));
  DataBase::bind(query, 0u);
  PlainConnection writer(sys::ToUtf8(location));
  Exec(writer.handle(), "BEGIN EXCLUSIVE");
  expectSqlException([&] { DataBase::forEachRow(query, [](std::int32_t) {}); }, SQLITE_BUSY,
                     "database is locked", sql);
  EXPECT_EQ(query.get(), nullptr);
  EXPECT_EQ(sqlite3_next_stmt(db.handle(), nullptr), nullptr);
  Exec(writer.handle(), "ROLLBACK");

  // An error raised by a function: the code's text, not the function's message.
  const std::string escapeSql = "SELECT name LIKE 'a' ESCAPE 'xy' FROM assay WHERE id = ?";
  DataBase::prepare(db, query, sys::FromUtf8(escapeSql));
  DataBase::bind(query, 1u);
  expectSqlException([&] { DataBase::forEachRow(query, [](int) {}); }, SQLITE_ERROR, "SQL logic error", escapeSql);
}

TEST_F(DataBaseTest, StatementsAreFinalizedWhenTheRowFunctionThrows) {
  Connection db(makeHostDatabase());
  Statement query;
  DataBase::prepare(db, query, u"SELECT id FROM assay WHERE id > ?");
  DataBase::bind(query, 0u);
  EXPECT_THROW(DataBase::forEachRow(query, [](std::int32_t) { throw std::runtime_error("stop"); }),
               std::runtime_error);
  EXPECT_EQ(sqlite3_next_stmt(db.handle(), nullptr), nullptr);
}

TEST_F(DataBaseTest, MoreParametersThanColumnsIsAnError) {
  Connection db(makeHostDatabase());
  const std::string sql = "SELECT id FROM assay WHERE id = ?";
  Statement query;
  DataBase::prepare(db, query, sys::FromUtf8(sql));
  DataBase::bind(query, 1u);
  expectSqlException([&] { DataBase::forEachRow(query, [](std::int32_t, sys::Text) {}); }, SQLITE_RANGE,
                     "column index out of range", sql);
}

TEST_F(DataBaseTest, BindErrorCarriesTheStatement) {
  Connection db(makeHostDatabase());
  const std::string sql = "SELECT id FROM assay";
  Statement query;
  DataBase::prepare(db, query, sys::FromUtf8(sql));
  expectSqlException([&] { DataBase::bind(query, 1u); }, SQLITE_RANGE, "column index out of range", sql);
}

TEST_F(DataBaseTest, FileColonLocationIsAPlainFileName) {
  const std::filesystem::path previous = std::filesystem::current_path();
  std::filesystem::current_path(folder_);
  {
    // As a URI this would open "host.db" in memory-cache mode; as a name it is one file.
    Connection db(u"file:host.db?mode=memory");
    Exec(db.handle(), "CREATE TABLE probe(x)");
  }
  std::filesystem::current_path(previous);
  EXPECT_TRUE(std::filesystem::exists(folder_ / "file:host.db?mode=memory"));
  EXPECT_FALSE(std::filesystem::exists(folder_ / "host.db"));
}

}  // namespace
