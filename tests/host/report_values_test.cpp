// report_values_test.cpp: every value of the report that lortan --batch writes with the real
// module on the demo data equals, rounded to the report digits, what vetrix-check --json
// reports for the same database and settings: the certified values, the results, the
// graph's points, the evidence of every point and the messages.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <nlohmann/json.hpp>
#include <pugixml.hpp>

#include "host/odt/zip_package.h"
#include "host_test_support.h"

namespace {

using Json = nlohmann::json;

constexpr int kReportDigits = 3;  // the profile's default

int Shell(const std::string& command) {
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// "%.*f" with a decimal comma; "---" for a value never computed (null in the JSON).
std::string Fixed(const Json& v, int digits = kReportDigits) {
  if (v.is_null()) return "---";
  char text[512];
  std::snprintf(text, sizeof text, "%.*f", digits, v.get<double>());
  std::string s = text;
  for (char& c : s)
    if (c == '.') c = ',';
  return s;
}

std::string Verdict(bool ok) { return ok ? "Да" : "Нет"; }

std::string TextOf(pugi::xml_node node) {
  std::string text;
  for (pugi::xml_node c : node.children()) {
    const std::string name = c.name();
    if (c.type() == pugi::node_pcdata) text += c.value();
    else if (name == "text:s") text += std::string(c.attribute("text:c").as_uint(1), ' ');
    else if (name == "text:tab") text += '\t';
    else if (name == "text:line-break") text += '\n';
    else text += TextOf(c);
  }
  return text;
}

// Every body row of the named table, as the texts of its cells.
std::vector<std::vector<std::string>> Rows(const pugi::xml_document& content, const char* table) {
  std::vector<std::vector<std::string>> rows;
  const std::string path = std::string("//table:table[@table:name='") + table + "']";
  for (pugi::xml_node r : content.select_node(path.c_str()).node().children("table:table-row")) {
    std::vector<std::string> cells;
    for (pugi::xml_node c : r.children("table:table-cell")) cells.push_back(TextOf(c));
    rows.push_back(cells);
  }
  return rows;
}

// The curve's points that have a mean area, in stored order.
std::vector<Json> Measured(const Json& curve) {
  std::vector<Json> out;
  for (const Json& p : curve["points"])
    if (!p["meanArea"].is_null()) out.push_back(p);
  return out;
}

TEST(ReportValues, EveryValueOfTheDemoReportIsWhatTheHeadlessCheckComputes) {
  TestFolder folder;
  ASSERT_EQ(Shell(std::string("'") + VETRIX_DEMO_DATA + "' --out '" + (folder / "demo") + "' >/dev/null"), 0);
  const std::string db = folder / "demo/lortan.db";
  ASSERT_EQ(Shell(std::string("'") + VETRIX_CHECK + "' --db '" + db + "' --json >'" + (folder / "check.json") + "'"), 0);
  const Json check = Json::parse(ReadWholeFile(folder / "check.json"));
  ASSERT_EQ(Shell(std::string("env -u XDG_RUNTIME_DIR '") + LORTAN_EXECUTABLE + "' --batch --db '" + db +
                  "' --profile '" + (folder / "profile.db") + "' --report '" + (folder / "report.odt") + "' >'" +
                  (folder / "out.txt") + "' 2>'" + (folder / "err.txt") + "'"),
            0)
      << ReadWholeFile(folder / "err.txt");
  std::string error;
  const auto package = odt::ReadPackage(folder / "report.odt", error);
  ASSERT_TRUE(package) << error;
  pugi::xml_document content;
  ASSERT_TRUE(content.load_string(odt::FindEntry(*package, "content.xml")->data.c_str()));
  const Json& curves = check["curves"];
  const Json& mixtures = check["mixtures"];
  ASSERT_FALSE(curves.empty());

  // Certified values: per ordinary curve, the pair of each of the first five mixtures.
  const auto t4 = Rows(content, "table4");
  std::size_t row = 0;
  for (std::size_t i = 0; i < curves.size(); ++i) {
    const Json& c = curves[i];
    if (c["splitPart"].get<bool>() || c["name"].get<std::string>().empty()) continue;
    ASSERT_LT(row, t4.size());
    const auto& cells = t4[row++];
    EXPECT_EQ(cells[0], std::to_string(i + 1));
    EXPECT_EQ(cells[1], c["name"].get<std::string>());
    for (std::size_t e = 0; e < std::min<std::size_t>(mixtures.size(), 5); ++e) {
      std::string conc = "---", deviation = "---";
      for (const Json& p : c["points"]) {
        if (p["mixtureId"] != mixtures[e]["id"] || p["concentration"].is_null()) continue;
        conc = Fixed(p["concentration"]);
        deviation = p["deviation"].is_null() ? "" : Fixed(p["deviation"]);
        break;
      }
      EXPECT_EQ(cells[2 + 2 * e], conc) << c["name"] << " mixture " << e + 1;
      EXPECT_EQ(cells[3 + 2 * e], deviation) << c["name"] << " mixture " << e + 1;
    }
  }
  EXPECT_EQ(row, t4.size());

  // Results: every curve that was not split, after its channel's heading.
  const auto t5 = Rows(content, "table5");
  row = 0;
  for (std::size_t i = 0; i < curves.size(); ++i) {
    const Json& c = curves[i];
    if (c["splitDone"].get<bool>()) continue;
    if (t5.at(row).size() == 1) ++row;  // the channel heading
    const auto& cells = t5.at(row++);
    const bool fitted = !c["slope"].is_null();
    EXPECT_EQ(cells[0], std::to_string(i + 1));
    EXPECT_EQ(cells[2], fitted ? "A = " + Fixed(c["slope"]) + " * x + " + Fixed(c["intercept"]) : "---");
    EXPECT_EQ(cells[3], Fixed(c["intercept"]));
    EXPECT_EQ(cells[4], Fixed(c["slope"]));
    EXPECT_EQ(cells[5], Fixed(c["correlation"]));
    EXPECT_EQ(cells[7], fitted ? Verdict(c["linearityOk"]) : "---");
    EXPECT_EQ(cells[8], fitted ? Verdict(c["correlationOk"]) : "---");
  }
  EXPECT_EQ(row, t5.size());

  // Evidence: a heading per curve, then every point with a mean area.
  const auto t7 = Rows(content, "table7");
  row = 0;
  for (std::size_t i = 0; i < curves.size(); ++i) {
    const Json& c = curves[i];
    const auto& head = t7.at(row++);
    EXPECT_EQ(head[0], std::to_string(i + 1) + ". " + c["name"].get<std::string>() + ", канал " +
                           std::to_string(c["channel"].get<int>() + 1));
    for (const Json& p : Measured(c)) {
      const auto& cells = t7.at(row++);
      const bool rsdJudged = !p["rsdNorm"].is_null(), devJudged = !p["deviationNorm"].is_null();
      const std::vector<std::string> expected = {
          cells[0], Fixed(p["concentration"]), Fixed(p["relUncertainty"]), std::to_string(p["count"].get<int>()),
          Fixed(p["meanArea"]), Fixed(p["rsd"]), Fixed(p["rsdNorm"]), rsdJudged ? Verdict(p["rsdOk"]) : "---",
          Fixed(p["calcConcentration"]), Fixed(p["relDeviation"]), Fixed(p["deviationNorm"]),
          devJudged ? Verdict(p["deviationOk"]) : "---"};
      EXPECT_EQ(cells, expected) << c["name"] << " " << p["mixture"];
      EXPECT_EQ(cells[0].rfind(p["mixture"].get<std::string>(), 0), 0u) << cells[0];
    }
  }
  EXPECT_EQ(row, t7.size());

  // The graph's points: the shown curve's measured points by concentration.
  const auto t6 = Rows(content, "table6");
  ASSERT_FALSE(t6.empty());
  bool matched = false;
  for (const Json& c : curves) {
    std::vector<Json> points;
    for (const Json& p : Measured(c))
      if (!p["concentration"].is_null()) points.push_back(p);
    std::stable_sort(points.begin(), points.end(), [](const Json& a, const Json& b) {
      return a["concentration"].get<double>() < b["concentration"].get<double>();
    });
    if (points.size() != t6.size()) continue;
    bool same = true;
    for (std::size_t k = 0; k < points.size(); ++k)
      same = same && t6[k] == std::vector<std::string>{std::to_string(k + 1), Fixed(points[k]["concentration"]),
                                                       Fixed(points[k]["meanArea"])};
    matched = matched || same;
  }
  EXPECT_TRUE(matched) << "the graph's points are those of a curve of the run";

  // Messages: errors, then warnings, numbered on.
  const auto t8 = Rows(content, "table8");
  std::vector<std::vector<std::string>> expected;
  for (const auto& [list, level] : {std::pair{"errors", "Ошибка!"}, {"warnings", "Предупреждение!"}}) {
    for (const Json& m : check["messages"][list]) {
      std::string text = m.get<std::string>();
      for (std::size_t at; (at = text.find("\r\n")) != std::string::npos;) text.erase(at, 1);
      expected.push_back({std::to_string(expected.size() + 1), level, text});
    }
  }
  if (expected.empty()) expected.push_back({"", "", "Предупреждений и ошибок нет."});
  EXPECT_EQ(t8, expected);
}

}  // namespace
