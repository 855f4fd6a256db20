// unicode_sql_every_unit_test.cpp: lower, upper, title, fold and unaccent of every 16-bit
// unit, each alone so that it opens the result, through SQL on a connection of the
// database layer, against the mapping tables; in a UTF-8 and in UTF-16 databases.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "data/database.h"
#include "db_test_support.h"
#include "platform/sys/text.h"
#include "platform/sys/unicode_map.h"

namespace {

using sys::unicode::Mapping;

struct Function {
  const char* name;
  Mapping mapping;
};

constexpr Function kFunctions[] = {{"lower", Mapping::Lower},
                                   {"upper", Mapping::Upper},
                                   {"title", Mapping::Title},
                                   {"fold", Mapping::Fold},
                                   {"unaccent", Mapping::Unaccent}};

sys::Text Mapped(Mapping mapping, char16_t unit) {
  const char16_t* units = nullptr;
  const std::size_t n = sys::unicode::MapUnit(mapping, unit, &units);
  return n == 0 ? sys::Text(1, unit) : sys::Text(units, n);
}

bool Utf8CannotHold(char16_t unit) { return (unit >= 0xD800 && unit <= 0xDFFF) || unit >= 0xFFFE; }

class EveryUnitTest : public TempFolderTest, public ::testing::WithParamInterface<const char*> {
 protected:
  void SetUp() override {
    TempFolderTest::SetUp();
    connection_ = std::make_unique<DataBase::Connection>(sys::FromUtf8(pathOf("units.db")));
    Exec(db(), std::string("PRAGMA encoding = '") + GetParam() + "'");
    Exec(db(), "CREATE TABLE t(x)");  // the file takes the encoding now
  }
  void TearDown() override {
    connection_.reset();
    TempFolderTest::TearDown();
  }
  sqlite3* db() const { return connection_->handle(); }
  bool Utf8Database() const { return std::string(GetParam()) == "UTF-8"; }

  std::unique_ptr<DataBase::Connection> connection_;
};

TEST_P(EveryUnitTest, EveryResultUnitSurvives) {
  ASSERT_EQ(Scalar(db(), "PRAGMA encoding"), GetParam());
  for (const Function& f : kFunctions) {
    sqlite3_stmt* statement = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db(), (std::string("SELECT ") + f.name + "(?1)").c_str(), -1, &statement, nullptr),
              SQLITE_OK);
    int failures = 0;
    std::string first;
    for (std::uint32_t u = 0; u <= 0xFFFF; ++u) {
      const auto unit = static_cast<char16_t>(u);
      // SQLite takes the leading mark for the byte order and removes it: the bound text is
      // exactly the one unit, U+FEFF and U+FFFE included.
      const char16_t input[2] = {0xFEFF, unit};
      sqlite3_bind_text16(statement, 1, input, sizeof input, SQLITE_STATIC);
      // A UTF-8 database cannot hold a lone surrogate, U+FFFE or U+FFFF: SQLite decodes
      // them to U+FFFD before the function sees them.
      const sys::Text want = Mapped(f.mapping, Utf8Database() && Utf8CannotHold(unit) ? u'\uFFFD' : unit);
      sys::Text got = u"<no row>";
      if (sqlite3_step(statement) == SQLITE_ROW) {
        const auto* text = static_cast<const char16_t*>(sqlite3_column_text16(statement, 0));
        got.assign(text, static_cast<std::size_t>(sqlite3_column_bytes16(statement, 0)) / 2);
      }
      sqlite3_reset(statement);
      if (got != want && failures++ < 5) {
        char line[96];
        std::snprintf(line, sizeof line, " U+%04X: %zu units, first U+%04X;", static_cast<unsigned>(u), got.size(),
                      got.empty() ? 0u : static_cast<unsigned>(got[0]));
        first += line;
      }
    }
    sqlite3_finalize(statement);
    EXPECT_EQ(failures, 0) << f.name << first;
  }
}

INSTANTIATE_TEST_SUITE_P(Encodings, EveryUnitTest, ::testing::Values("UTF-8", "UTF-16le", "UTF-16be"),
                         [](const auto& info) {
                           std::string name = info.param;
                           std::erase(name, '-');
                           return name;
                         });

}  // namespace
