// The limits of what vetrix-check and lortan --batch take: an export folder the settings
// could not give back whole is refused before anything is written, and a digit count far
// beyond what a double shows is written with the formatter's cap of 20 decimals.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

struct Result {
  int code;
  std::string out, err;
};

Result Shell(const fs::path& folder, const std::string& command) {
  const std::string out = (folder / "out.txt").string(), err = (folder / "err.txt").string();
  const int status = std::system((command + " >'" + out + "' 2>'" + err + "'").c_str());
  auto read = [](const std::string& file) {
    std::ifstream in(file);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
  };
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, read(out), read(err)};
}

class Limits : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = fs::temp_directory_path() / ("vetrix_limits_" + std::to_string(::getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    ASSERT_EQ(Shell(folder, std::string(VETRIX_DEMO_DATA) + " --out '" + (folder / "demo").string() + "'").code, 0);
    db = (folder / "demo/lortan.db").string();
  }
  void TearDown() override { fs::remove_all(folder); }
  fs::path folder;
  std::string db;
};

TEST_F(Limits, ExportFolderLongerThanTheSettingsKeepIsRefused) {
  const std::string longest = "/tmp/" + std::string(122, 'a');  // 127 characters
  const std::string tooLong = longest + "b";
  struct Case {
    std::string command;
  } cases[] = {{std::string(VETRIX_CHECK) + " --db '" + db + "' --export '" + tooLong + "'"},
               {std::string(LORTAN_EXECUTABLE) + " --batch --db '" + db + "' --profile '" +
                (folder / "profile.db").string() + "' --export '" + tooLong + "'"}};
  for (const Case& c : cases) {
    const Result r = Shell(folder, c.command);
    EXPECT_EQ(r.code, 2) << c.command;
    EXPECT_NE(r.err.find("--export: the folder " + tooLong + " is 128 characters long"), std::string::npos) << r.err;
    EXPECT_TRUE(r.out.empty()) << "refused before the check ran";
    EXPECT_FALSE(fs::exists(tooLong));
    EXPECT_FALSE(fs::exists(longest));
  }
  // Characters count, not bytes: 127 characters, most of them two-byte letters, are taken.
  std::string name = folder.string() + "/";
  for (std::size_t characters = name.size(); characters < 127; ++characters) name += "д";
  const Result fits = Shell(folder, std::string(VETRIX_CHECK) + " --db '" + db + "' --export '" + name + "'");
  EXPECT_EQ(fits.code, 0) << fits.err;
  EXPECT_TRUE(fs::is_directory(name)) << fits.err;
}

TEST_F(Limits, HugeDigitCountsAreWrittenWithTwentyDecimals) {
  const Result r = Shell(folder, std::string(VETRIX_CHECK) + " --db '" + db + "' --digits 100000000");
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_NE(r.out.find(" 0,00000000000000000000 "), std::string::npos) << r.out.substr(0, 2000);
  EXPECT_EQ(r.out.find("000000000000000000000"), std::string::npos) << "never more than 20 decimals";
}

}  // namespace
