// unicode_sql_functions_test.cpp: the Unicode SQL functions and NOCASE on a connection of
// the database layer, over a real database file.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "data/database.h"
#include "db_test_support.h"
#include "platform/sys/text.h"

namespace {

class UnicodeSqlTest : public TempFolderTest {
 protected:
  void SetUp() override {
    TempFolderTest::SetUp();
    connection_ = std::make_unique<DataBase::Connection>(sys::FromUtf8(pathOf("unicode.db")));
    // A new file opened through the 16-bit interface would become UTF-16; the host's is UTF-8.
    Exec(db(), "PRAGMA encoding = 'UTF-8'");
  }
  void TearDown() override {
    connection_.reset();
    TempFolderTest::TearDown();
  }
  sqlite3* db() const { return connection_->handle(); }

  std::unique_ptr<DataBase::Connection> connection_;
};

std::string Repeat(const std::string& piece, int times) {
  std::string s;
  for (int i = 0; i < times; ++i) s += piece;
  return s;
}

struct MappingCase {
  const char* function;
  const char* input;
  const char* expected;
};

TEST_F(UnicodeSqlTest, MappingFunctionsFollowTheirTables) {
  const MappingCase cases[] = {
      {"lower", "ЁЛКА", "ёлка"},
      {"lower", "İ", "i"},
      {"lower", "Hello, МИР!", "hello, мир!"},
      {"upper", "ÿ", "Ÿ"},
      {"upper", "straße", "STRAßE"},
      {"upper", "ёлка", "ЁЛКА"},
      {"title", "ǆ", "ǅ"},
      {"title", "hello world", "HELLO WORLD"},  // every unit, no word boundaries
      {"fold", "ς", "σ"},
      {"fold", "\u212A", "k"},
      {"fold", "µ", "μ"},
      {"fold", "ЁЛКА", "ёлка"},
      {"unaccent", "Ёлка", "Елка"},
      {"unaccent", "Æther", "AEther"},
      {"unaccent", "é", "e"},
      {"unaccent", "й", "и"},
      {"unaccent", "Œuvre", "OEuvre"},
      {"unaccent", "\uFB01", "fi"},
      {"unaccent", "½", "1\u20442"},
      {"unaccent", "Øl łza Đak", "Ol lza Dak"},
      {"unaccent", "\u0301", "\u0301"},  // a lone combining mark stays
      {"unaccent", "한", "한"},            // Hangul syllables stay
      {"lower", "", ""},
  };
  for (const MappingCase& c : cases)
    EXPECT_EQ(Scalar(db(), std::string("SELECT ") + c.function + "(?1)", {c.input}), c.expected)
        << c.function << "('" << c.input << "')";
}

TEST_F(UnicodeSqlTest, UnaccentExpandsOneUnitToMany) {
  EXPECT_EQ(Scalar(db(), "SELECT length(unaccent(?1))", {"\uFDFA"}), "18");
  // Many expanding letters in a row grow the result buffer more than once.
  EXPECT_EQ(Scalar(db(), "SELECT unaccent(?1) = ?2", {Repeat("Æ", 5000) + "!", Repeat("AE", 5000) + "!"}),
            "1");
}

TEST_F(UnicodeSqlTest, CharactersOutsideTheBasicPlanePassThrough) {
  // U+10400 has a lowercase form in Unicode, but the tables cover 16-bit units only.
  const MappingCase cases[] = {
      {"lower", "a\U00010400Ё", "a\U00010400ё"},   {"upper", "a\U00010400Ё", "A\U00010400Ё"},
      {"title", "a\U00010400Ё", "A\U00010400Ё"},   {"fold", "a\U00010400Ё", "a\U00010400ё"},
      {"unaccent", "a\U00010400Ё", "a\U00010400Е"},
  };
  for (const MappingCase& c : cases)
    EXPECT_EQ(Scalar(db(), std::string("SELECT ") + c.function + "(?1)", {c.input}), c.expected) << c.function;
  EXPECT_EQ(Scalar(db(), "SELECT ?1 = ?2 COLLATE NOCASE", {"\U00010400", "\U00010428"}), "0");
  EXPECT_EQ(Scalar(db(), "SELECT ?1 LIKE '_'", {"\U00010400"}), "1");
}

TEST_F(UnicodeSqlTest, NullGivesNull) {
  for (const char* sql : {"SELECT lower(NULL)", "SELECT upper(NULL)", "SELECT title(NULL)",
                          "SELECT fold(NULL)", "SELECT unaccent(NULL)", "SELECT like(NULL, 'a')",
                          "SELECT like('a', NULL)", "SELECT like('a', 'a', NULL)",
                          "SELECT NULL LIKE 'a'"})
    EXPECT_EQ(Scalar(db(), sql), std::nullopt) << sql;
}

TEST_F(UnicodeSqlTest, NonTextArgumentsAreReadAsText) {
  EXPECT_EQ(Scalar(db(), "SELECT upper(12.5)"), "12.5");
  EXPECT_EQ(Scalar(db(), "SELECT 125 LIKE '1_5'"), "1");
}

TEST_F(UnicodeSqlTest, UnicodeVersion) { EXPECT_EQ(Scalar(db(), "SELECT unicode_version()"), "5.1.0.12"); }

struct LikeCase {
  const char* text;
  const char* pattern;
  const char* escape;  // null: no ESCAPE clause
  const char* expected;
};

TEST_F(UnicodeSqlTest, LikeMatchesByKey) {
  const LikeCase cases[] = {
      {"Ёлка", "ел%", nullptr, "1"},
      {"ЁЛКА", "_лк_", nullptr, "1"},
      {"Émile", "emile", nullptr, "1"},
      {"abc", "a_c", nullptr, "1"},
      {"ac", "a_c", nullptr, "0"},
      {"10%", "10\\%", "\\", "1"},
      {"105", "10\\%", "\\", "0"},
      {"", "", nullptr, "1"},
      {"", "%", nullptr, "1"},
      {"a", "", nullptr, "0"},
      {"", "_", nullptr, "0"},
      {"abc", "%_%_%_%", nullptr, "1"},
      {"ab", "%_%_%_%", nullptr, "0"},
      {"abcabd", "%ab_", nullptr, "1"},  // the first candidate fails, a later one matches
      {"xaxb", "%a%b", nullptr, "1"},
      {"xaxc", "%a%b", nullptr, "0"},
      {"[ab]", "[ab]", nullptr, "1"},  // "[" is an ordinary character
      {"a", "[a]", nullptr, "0"},
      {"a", "a\\", "\\", "0"},    // a pattern that ends in the escape
      {"ab", "a%\\", "\\", "0"},  // ... also within a wildcard run
      {"x%y", "%\\%%", "\\", "1"},
      {"xy", "%\\%%", "\\", "0"},
      {"a_", "aё_", "ё", "1"},  // an escape character of two bytes
      {"ab", "aё_", "ё", "0"},
      {"a%", "a%%", "%", "1"},  // an escape equal to a wildcard replaces it
      {"ab", "a%%", "%", "0"},
      {"a_b", "a__b", "_", "1"},
  };
  for (const LikeCase& c : cases) {
    const std::string sql = c.escape ? "SELECT ?1 LIKE ?2 ESCAPE ?3" : "SELECT ?1 LIKE ?2";
    std::vector<std::string> args{c.text, c.pattern};
    if (c.escape) args.push_back(c.escape);
    EXPECT_EQ(Scalar(db(), sql, args), c.expected)
        << "'" << c.text << "' LIKE '" << c.pattern << "'" << (c.escape ? " ESCAPE " : "")
        << (c.escape ? c.escape : "");
  }
}

TEST_F(UnicodeSqlTest, LikeReportsItsErrors) {
  const std::string escapeError = "ESCAPE expression must be a single character";
  EXPECT_EQ(ErrorOf(db(), "SELECT 'a' LIKE 'a' ESCAPE 'xy'"), escapeError);
  EXPECT_EQ(ErrorOf(db(), "SELECT 'a' LIKE 'a' ESCAPE ''"), escapeError);
  EXPECT_EQ(ErrorOf(db(), "SELECT like('a', 'a', 'ёё')"), escapeError);
  EXPECT_EQ(ErrorOf(db(), "SELECT ?1 LIKE ?2", {"a", std::string(50001, '%')}),
            "LIKE or GLOB pattern too complex");
  EXPECT_EQ(ErrorOf(db(), "SELECT ?1 LIKE ?2", {"a", std::string(50000, '%')}), "");
}

TEST_F(UnicodeSqlTest, LikeTakesPolynomialTimeOnPathologicalPatterns) {
  // Backtracking into every earlier wildcard would take longer than the universe exists.
  EXPECT_EQ(Scalar(db(), "SELECT ?1 LIKE ?2", {std::string(20000, 'a'), "%a%a%a%a%a%a%a%a%a%a%b"}), "0");
  // The longest pattern allowed, one wildcard run after another: no recursion to overflow.
  const std::string pattern = Repeat("%a", 25000);
  EXPECT_EQ(Scalar(db(), "SELECT ?1 LIKE ?2", {std::string(25000, 'a'), pattern}), "1");
  EXPECT_EQ(Scalar(db(), "SELECT ?1 LIKE ?2", {std::string(24999, 'a'), pattern}), "0");
  EXPECT_EQ(Scalar(db(), "SELECT ?1 LIKE ?2", {std::string(30000, 'a'), Repeat("%a", 24999) + "%b"}), "0");
}

// Text with bytes that are not UTF-8, as a host database may hold.
TEST_F(UnicodeSqlTest, MalformedUtf8DecodesCharacterByCharacter) {
  const LikeCase cases[] = {
      {"X'80'", "_", nullptr, "1"},              // a stray continuation byte: one character
      {"X'C3'", "_", nullptr, "1"},              // a lead byte at the end
      {"X'C3A9'", "É", nullptr, "1"},            // well-formed é
      {"X'C3A9'", "__", nullptr, "0"},
      {"X'E0808A'", "_", nullptr, "1"},          // overlong: U+FFFD, not a line feed
      {"X'E0808A'", "\n", nullptr, "0"},
      {"X'E0808A'", "\uFFFD", nullptr, "1"},
      {"X'EDA080'", "\uFFFD", nullptr, "1"},     // an encoded surrogate
      {"X'61FF62'", "a_b", nullptr, "1"},
      {"X'FEBFBFBFBFBFBFBFBFBFBF'", "_", nullptr, "1"},  // endless continuation bytes
  };
  for (const LikeCase& c : cases)
    EXPECT_EQ(Scalar(db(), std::string("SELECT CAST(") + c.text + " AS TEXT) LIKE ?1", {c.pattern}), c.expected)
        << c.text << " LIKE '" << c.pattern << "'";
  EXPECT_EQ(Scalar(db(), "SELECT CAST(X'C3' AS TEXT) = CAST(X'EFBFBD' AS TEXT) COLLATE NOCASE"), "0");
  EXPECT_EQ(Scalar(db(), "SELECT CAST(X'FEBFBFBFBFBFBF' AS TEXT) < CAST(X'FFBFBFBFBFBFBF' AS TEXT) COLLATE NOCASE"),
            "0");  // both decode to the same value
  EXPECT_NE(Scalar(db(), "SELECT lower(CAST(X'41FF42C3' AS TEXT))"), std::nullopt);
}

// The NOCASE variant SQLite calls follows the database encoding: UTF-8 compares byte
// lengths, UTF-16 (either byte order) unit counts.
struct NoCaseCase {
  const char* a;
  const char* b;
  int utf8Sign;
  int utf16Sign;
};

TEST_F(UnicodeSqlTest, NoCaseOrdersByKeyThenLengthInEachEncoding) {
  const NoCaseCase cases[] = {
      {"ЁЛКА", "елка", 0, 0},    // same keys, 8 bytes each
      {"Émile", "emile", 1, 0},  // same keys; 6 bytes against 5, but 5 units each
      {"emile", "Émile", -1, 0},
      {"abc", "abcd", -1, -1},
      {"", "a", -1, -1},
      {"", "", 0, 0},
      {"ёлка", "ЕЛКИ", -1, -1},
      {"Straße", "STRASSE", 1, 1},  // ß folds to itself, after s
      {"Ärger", "arg", 1, 1},
      {"Ärg", "arx", 1, -1},  // UTF-8 stops at byte 3 of the shorter text: g and x unseen
      {"ZEBRA", "apple", 1, 1},
  };
  for (const char* encoding : {"UTF-8", "UTF-16le", "UTF-16be"}) {
    const std::string path = pathOf(std::string("nocase-") + encoding + ".db");
    DataBase::Connection connection(sys::FromUtf8(path));
    Exec(connection.handle(), std::string("PRAGMA encoding = '") + encoding + "'");
    Exec(connection.handle(), "CREATE TABLE t(a TEXT, b TEXT)");
    const bool utf8 = std::string(encoding) == "UTF-8";
    for (const NoCaseCase& c : cases) {
      Exec(connection.handle(), "DELETE FROM t");
      EXPECT_EQ(ErrorOf(connection.handle(), "INSERT INTO t VALUES (?1, ?2)", {c.a, c.b}), "");
      const auto sign = Scalar(connection.handle(),
                               "SELECT (a > b COLLATE NOCASE) - (a < b COLLATE NOCASE) FROM t");
      EXPECT_EQ(sign, std::to_string(utf8 ? c.utf8Sign : c.utf16Sign))
          << encoding << ": '" << c.a << "' vs '" << c.b << "'";
    }
  }
}

TEST_F(UnicodeSqlTest, NoCaseColumnsSortAndMatchWithTheirIndex) {
  Exec(db(), "CREATE TABLE mixture(name TEXT COLLATE NOCASE UNIQUE)");
  Exec(db(), "INSERT INTO mixture VALUES ('ЁЛКА'), ('emile'), ('Émile'), ('abcd'), ('abc'), ('')");
  EXPECT_EQ(Rows(db(), "SELECT name FROM mixture ORDER BY name"),
            (std::vector<std::string>{"", "abc", "abcd", "emile", "Émile", "ЁЛКА"}));
  EXPECT_EQ(Scalar(db(), "SELECT count(*) FROM mixture WHERE name = 'елка'"), "1");
  EXPECT_EQ(ErrorOf(db(), "INSERT INTO mixture VALUES ('ёлка')"), "UNIQUE constraint failed: mixture.name");
}

}  // namespace
