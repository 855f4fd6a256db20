// unicode_sql_builtin_agreement_test.cpp: on ASCII text the Unicode functions and NOCASE
// give what SQLite's own like, lower, upper and NOCASE give on a second, plain connection
// to the same database file.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "data/database.h"
#include "db_test_support.h"
#include "platform/sys/text.h"

namespace {

// ASCII texts around the letters' edges ('@' 'A' 'Z' '[' '_' '`' 'a' 'z' '{'), the
// wildcards and the escape, prefixes of each other, and every printable character.
std::vector<std::string> AsciiTexts() {
  std::vector<std::string> texts = {
      "", "a", "A", "z", "Z", "@", "[", "_", "`", "{", "~", "%", "\\",
      "abc", "ABC", "abC", "abcd", "ABCD", "ab", "a_c", "a%c", "a\\%c", "a\\_c", "10%", "105",
      "Hello World", "hello world!", "HELLO_WORLD", "%o%", "_e%", "h%w%d", "%%", "\\%", "x\\",
      "a%b%c", "A%B_C", "tEsT", "[abc]", "0123", "x y z"};
  std::string printable;
  for (char c = ' '; c <= '~'; ++c) printable += c;
  texts.push_back(printable);
  return texts;
}

// Texts with a NUL byte inside, for the comparisons (which stop where the first text has
// one); LIKE reads the whole value and is compared on the texts above only.
std::vector<std::string> TextsWithNul() {
  using namespace std::string_literals;
  return {"x\0y"s, "x\0z"s, "x"s, "xy"s, "x\0"s, "X\0Y"s, "\0"s, "x\0yz"s};
}

class BuiltinAgreementTest : public TempFolderTest {
 protected:
  void SetUp() override {
    TempFolderTest::SetUp();
    path_ = pathOf("agreement.db");
    ours_ = std::make_unique<DataBase::Connection>(sys::FromUtf8(path_));
    plain_ = std::make_unique<PlainConnection>(path_);
    Exec(ours_->handle(), "CREATE TABLE t(s TEXT); CREATE TABLE e(c TEXT)");
    for (const std::string& text : AsciiTexts()) Insert("t", text);
    for (const char* escape : {"\\", "%", "_", "a", "x"}) Insert("e", escape);
  }
  void TearDown() override {
    plain_.reset();
    ours_.reset();
    TempFolderTest::TearDown();
  }

  void Insert(const std::string& table, const std::string& text) {
    EXPECT_EQ(ErrorOf(ours_->handle(), "INSERT INTO " + table + " VALUES (?1)", {text}), "");
  }

  // The rows of `sql` on both connections must agree (and not be empty).
  void ExpectSameRows(const std::string& sql) {
    const std::vector<std::string> ours = Rows(ours_->handle(), sql);
    const std::vector<std::string> builtin = Rows(plain_->handle(), sql);
    EXPECT_FALSE(ours.empty()) << sql;
    ASSERT_EQ(ours.size(), builtin.size()) << sql;
    for (std::size_t i = 0; i < ours.size(); ++i) EXPECT_EQ(ours[i], builtin[i]) << sql;
  }

  std::string path_;
  std::unique_ptr<DataBase::Connection> ours_;
  std::unique_ptr<PlainConnection> plain_;
};

TEST_F(BuiltinAgreementTest, LowerAndUpper) {
  ExpectSameRows("SELECT rowid, lower(s), upper(s) FROM t ORDER BY rowid");
}

TEST_F(BuiltinAgreementTest, LikeEveryTextAgainstEveryPattern) {
  ExpectSameRows("SELECT x.rowid, p.rowid, x.s LIKE p.s FROM t x, t p ORDER BY 1, 2");
}

TEST_F(BuiltinAgreementTest, LikeWithEscapes) {
  ExpectSameRows(
      "SELECT x.rowid, p.rowid, e.c, x.s LIKE p.s ESCAPE e.c FROM t x, t p, e ORDER BY 1, 2, 3");
}

TEST_F(BuiltinAgreementTest, NoCaseComparisonsAndOrder) {
  for (const std::string& text : TextsWithNul()) Insert("t", text);
  ExpectSameRows(
      "SELECT a.rowid, b.rowid, a.s = b.s COLLATE NOCASE, a.s < b.s COLLATE NOCASE "
      "FROM t a, t b ORDER BY 1, 2");
  ExpectSameRows("SELECT rowid FROM t ORDER BY s COLLATE NOCASE, rowid");
}

}  // namespace
