// vetrix-check on the demo data: the verdicts the demo was built to show, the text and
// JSON forms, and the failures a user can meet.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>

#include "tests/support/run_command.h"

namespace {

namespace fs = std::filesystem;
using Json = nlohmann::json;

using test_support::Result;
using test_support::RunCommand;

class DemoCheck : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir = new fs::path(fs::temp_directory_path() / ("vetrix_demo_" + std::to_string(::getpid())));
    fs::remove_all(*dir);
    const Result gen = RunCommand(std::string(VETRIX_DEMO_DATA) + " --out " + dir->string());
    ASSERT_EQ(gen.code, 0) << gen.err;
    db = new std::string((*dir / "lortan.db").string());
  }
  static void TearDownTestSuite() {
    fs::remove_all(*dir);
    delete dir;
    delete db;
  }
  static Result Check(const std::string& args) { return RunCommand(std::string(VETRIX_CHECK) + " --db " + *db + " " + args); }
  static const Json* FindCurve(const Json& doc, const std::string& name, int channel) {
    for (const auto& c : doc["curves"])
      if (c["name"] == name && c["channel"] == channel) return &c;
    return nullptr;
  }

  static fs::path* dir;
  static std::string* db;
};
fs::path* DemoCheck::dir = nullptr;
std::string* DemoCheck::db = nullptr;

TEST_F(DemoCheck, VerdictsTheDemoWasBuiltToShow) {
  const Result r = Check("--json");
  ASSERT_EQ(r.code, 0) << r.err;
  const Json doc = Json::parse(r.out);
  EXPECT_EQ(doc.begin().key(), "assays");
  EXPECT_EQ(doc["assays"].size(), 25u) << "the hidden and the deleted analysis stay out";
  EXPECT_EQ(doc["mixtures"].size(), 5u);
  for (const auto& a : doc["assays"]) EXPECT_FALSE(a["mixture"].is_null()) << "lower-case mixture name matched";
  ASSERT_EQ(doc["channels"].size(), 2u);

  const Json* nitrogen = FindCurve(doc, "Азот", 0);
  ASSERT_NE(nitrogen, nullptr);
  EXPECT_TRUE((*nitrogen)["splitDone"].get<bool>());
  EXPECT_FALSE((*nitrogen)["linearityOk"].get<bool>());
  for (const char* part : {"Азот (до 0.025)", "Азот (св. 0.025)"}) {
    const Json* c = FindCurve(doc, part, 0);
    ASSERT_NE(c, nullptr) << part;
    EXPECT_TRUE((*c)["splitPart"].get<bool>());
    EXPECT_TRUE((*c)["linearityOk"].get<bool>()) << part;
  }
  const Json* ethane = FindCurve(doc, "Этан", 1);
  ASSERT_NE(ethane, nullptr);
  EXPECT_TRUE((*ethane)["linearityOk"].get<bool>());
  EXPECT_GT((*ethane)["intercept"].get<double>(), 1000.0) << "refitted with an intercept";
  const Json* methane = FindCurve(doc, "Метан", 0);
  ASSERT_NE(methane, nullptr);
  EXPECT_TRUE((*methane)["linearityOk"].get<bool>());
  EXPECT_EQ((*methane)["intercept"].get<double>(), 0.0);
  const Json* argon = FindCurve(doc, "Аргон", 0);
  ASSERT_NE(argon, nullptr);
  EXPECT_TRUE((*argon)["component"].is_null());
  EXPECT_TRUE((*argon)["slope"].is_null()) << "no fit: the no-value marker is null";

  const auto& errors = doc["messages"]["errors"];
  ASSERT_EQ(errors.size(), 2u);
  EXPECT_EQ(errors[0], "Следующие компоненты не найдены в списке копмонентов программы:\r\n\t- Аргон, канал: 1");
  ASSERT_EQ(doc["messages"]["warnings"].size(), 1u);
  EXPECT_NE(doc["messages"]["warnings"][0].get<std::string>().find("\r\n\t- Азот"), std::string::npos);
}

TEST_F(DemoCheck, JsonDoublesReadBackExactly) {
  const Json doc = Json::parse(Check("--json").out);
  const Json& area = doc["curves"][0]["points"][0]["areas"][0];
  // The corrected area equals the raw one with both corrections off.
  EXPECT_EQ(area["area"].get<double>(), area["corrected"].get<double>());
  const Json docP = Json::parse(Check("--json --pressure-correction --select 1").out);
  const double p = docP["assays"][0]["atmPressure"].get<double>();
  const Json& a = docP["curves"][0]["points"].back()["areas"][0];
  EXPECT_EQ(a["corrected"].get<double>(), a["area"].get<double>() / (p / 101.325));
}

TEST_F(DemoCheck, TextFormAndSelection) {
  const Result r = Check("--select 3,1,2 --digits 2");
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out.rfind("№   Пик", 0), 0u) << r.out.substr(0, 200);
  EXPECT_NE(r.out.find("0,999"), std::string::npos);
  // Three analyses of one mixture: too few mixtures and analyses.
  EXPECT_NE(r.out.find("1.  Ошибка! \n\tКолличество смесй не соответствует"), std::string::npos);
  const Result points = Check("--points --alt-name 18=Аргон");
  ASSERT_EQ(points.code, 0);
  EXPECT_NE(points.out.find("Соответствие ОСКО"), std::string::npos);
  EXPECT_EQ(points.out.find("не найдены в списке"), std::string::npos) << "argon now matches entry 18";
}

TEST_F(DemoCheck, FailuresExitWithTwoAndOneLine) {
  struct Case {
    std::string args;
    std::string message;
  } cases[] = {
      {"--select 1,x", "--select: not a list of identifiers: 1,x"},
      {"--digits three", "--digits: not an integer: three"},
      {"--alt-name 99=X", "--alt-name: no component with identifier 99"},
      {"--frobnicate", "unknown argument: --frobnicate"},
  };
  for (const auto& c : cases) {
    const Result r = Check(c.args);
    EXPECT_EQ(r.code, 2) << c.args;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    EXPECT_TRUE(r.out.empty());
  }
  const Result missing = RunCommand(std::string(VETRIX_CHECK) + " --db /nonexistent/x.db");
  EXPECT_EQ(missing.code, 2);
  EXPECT_NE(missing.err.find("no database file: /nonexistent/x.db"), std::string::npos);
  EXPECT_FALSE(fs::exists("/nonexistent/x.db"));

  const fs::path broken = *dir / "broken.db";
  RunCommand("sqlite3 " + broken.string() + " 'CREATE TABLE assay (id INTEGER, ishidden INTEGER, isdeleted INTEGER);"
             "INSERT INTO assay VALUES (1, 0, 0);'");
  const Result r = RunCommand(std::string(VETRIX_CHECK) + " --db " + broken.string());
  EXPECT_EQ(r.code, 2);
  EXPECT_NE(r.err.find("no such column: date"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find(broken.string()), std::string::npos) << r.err;
  EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1);
}

TEST_F(DemoCheck, GeneratorIsDeterministic) {
  const fs::path again = *dir / "again";
  ASSERT_EQ(RunCommand(std::string(VETRIX_DEMO_DATA) + " --out " + again.string()).code, 0);
  EXPECT_EQ(test_support::ReadBytes(*dir / "chromatograms" / "gso2_3.stg"),
            test_support::ReadBytes(again / "chromatograms" / "gso2_3.stg"));
  EXPECT_EQ(Check("--json").out, RunCommand(std::string(VETRIX_CHECK) + " --json --db " + (again / "lortan.db").string()).out);
}

}  // namespace
