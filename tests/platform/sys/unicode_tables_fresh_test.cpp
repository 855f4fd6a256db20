// unicode_tables_fresh_test.cpp: the committed unicode_tables.cpp is exactly what the
// generator writes, from the Unicode 5.1.0 files and from a newer database cut back to 5.1.
//
// Needs VETRIX_SOURCE_DIR (the repository root, set by the test registration) and runs
// /usr/bin/python3; skips when the source tree or a database is not on this machine.
// Each case costs one generator run, about half a second.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// `text` as one single-quoted shell word.
std::string Quoted(const std::string& text) {
  std::string out = "'";
  for (const char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

fs::path SourceDir() {
  const char* dir = std::getenv("VETRIX_SOURCE_DIR");
  return dir ? fs::path(dir) : fs::path();
}

bool HasDatabase(const fs::path& folder, bool withAges) {
  return fs::exists(folder / "UnicodeData.txt") && fs::exists(folder / "CaseFolding.txt") &&
         (!withAges || fs::exists(folder / "DerivedAge.txt"));
}

// Runs the generator on `ucd` with `options` and compares its output with the committed file.
void ExpectGeneratorReproducesTables(const fs::path& ucd, const std::string& options) {
  const fs::path root = SourceDir();
  const fs::path committed = root / "platform/sys/unicode_tables.cpp";
  const fs::path output = fs::temp_directory_path() /
                          ("vetrix_unicode_tables_" + std::to_string(getpid()) + "_" +
                           testing::UnitTest::GetInstance()->current_test_info()->name() + ".cpp");
  const std::string command = "/usr/bin/python3 " +
                              Quoted((root / "tools/gen_unicode_tables.py").string()) +
                              " --ucd " + Quoted(ucd.string()) + options + " --output " +
                              Quoted(output.string());
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
  const std::string fresh = ReadAll(output);
  fs::remove(output);
  ASSERT_FALSE(fresh.empty()) << command;
  // Not EXPECT_EQ on the texts: a 200 kB diff in the log helps nobody.
  EXPECT_TRUE(fresh == ReadAll(committed))
      << committed << " differs from what " << command << " writes; regenerate it";
}

TEST(UnicodeTablesFresh, MatchGeneratorOnUnicode51Files) {
  if (SourceDir().empty()) GTEST_SKIP() << "VETRIX_SOURCE_DIR not set";
  const fs::path ucd = SourceDir() / ".." / "shared" / "ucd-5.1.0";
  if (!HasDatabase(ucd, false)) GTEST_SKIP() << "no Unicode 5.1.0 files at " << ucd;
  ExpectGeneratorReproducesTables(ucd, "");
}

TEST(UnicodeTablesFresh, MatchGeneratorOnNewerDatabaseCutTo51) {
  if (SourceDir().empty()) GTEST_SKIP() << "VETRIX_SOURCE_DIR not set";
  const fs::path ucd = "/usr/share/unicode";
  if (!HasDatabase(ucd, true)) GTEST_SKIP() << "no Unicode database at " << ucd;
  ExpectGeneratorReproducesTables(ucd, " --max-age 5.1");
}

}  // namespace
