// report_values_test.cpp: every value of the report that lortan --batch writes with the real
// module on the demo data equals, rounded to the report digits, what vetrix-check --json
// reports for the same database and settings: the mixtures and chromatograms, the certified
// values and their column heads, the results, the graph's line and points, the evidence of
// every curve and point, and the messages of every level.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <nlohmann/json.hpp>
#include <pugixml.hpp>

#include "host/odt/zip_package.h"
#include "host_test_support.h"
#include "tests/support/odf_text.h"

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

// The curve's line as the report writes it: "A = b * x + B".
std::string Formula(const Json& curve) {
  return "A = " + Fixed(curve["slope"]) + " * x + " + Fixed(curve["intercept"]);
}

// A date of the host database (seconds since 1970) in local time; "----" for none.
std::string Date(const Json& seconds, const char* format) {
  const std::time_t t = seconds.get<std::int64_t>();
  if (t <= 0) return "----";
  std::tm local{};
  localtime_r(&t, &local);
  char text[64];
  std::strftime(text, sizeof text, format, &local);
  return text;
}

// The cylinder of the mixture with identifier `id`.
std::string Ballon(const Json& mixtures, const Json& id) {
  for (const Json& m : mixtures)
    if (m["id"] == id) return m["ballon"].get<std::string>();
  return "";
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
  const auto t4 = OdfBodyRows(content, "table4");
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
  const auto t5 = OdfBodyRows(content, "table5");
  row = 0;
  for (std::size_t i = 0; i < curves.size(); ++i) {
    const Json& c = curves[i];
    if (c["splitDone"].get<bool>()) continue;
    if (t5.at(row).size() == 1) {  // the channel heading
      EXPECT_EQ(t5[row][0], "-- Канал " + std::to_string(c["channel"].get<int>() + 1) + " --");
      ++row;
    }
    const auto& cells = t5.at(row++);
    const bool fitted = !c["slope"].is_null();
    EXPECT_EQ(cells[0], std::to_string(i + 1));
    EXPECT_EQ(cells[1], c["name"].get<std::string>());
    EXPECT_EQ(cells[2], fitted ? Formula(c) : "---");
    EXPECT_EQ(cells[3], Fixed(c["intercept"]));
    EXPECT_EQ(cells[4], Fixed(c["slope"]));
    EXPECT_EQ(cells[5], Fixed(c["correlation"]));
    EXPECT_EQ(cells[6], "0,999");
    EXPECT_EQ(cells[7], fitted ? Verdict(c["linearityOk"]) : "---");
    EXPECT_EQ(cells[8], fitted ? Verdict(c["correlationOk"]) : "---");
  }
  EXPECT_EQ(row, t5.size());

  // Evidence: one table per curve, its heading (number, name, channel, line) in the first
  // header row, then every point with a mean area.
  for (std::size_t i = 0; i < curves.size(); ++i) {
    const Json& c = curves[i];
    const pugi::xml_node table = OdfTable(content, ("table7_" + std::to_string(i + 1)).c_str());
    ASSERT_TRUE(table) << "curve " << i + 1;
    const auto head = OdfCells(table.child("table:table-header-rows").child("table:table-row"));
    ASSERT_EQ(head.size(), 2u);
    EXPECT_EQ(head[0], std::to_string(i + 1) + ". " + c["name"].get<std::string>() + ", канал " +
                           std::to_string(c["channel"].get<int>() + 1));
    const std::string formula = c["slope"].is_null() ? "---" : Formula(c);
    EXPECT_EQ(head[1].substr(head[1].size() - formula.size()), formula) << head[1];
    std::vector<std::vector<std::string>> rows;
    for (pugi::xml_node r : table.children("table:table-row")) rows.push_back(OdfCells(r));
    const std::vector<Json> points = Measured(c);
    ASSERT_EQ(rows.size(), points.size()) << c["name"];
    for (std::size_t k = 0; k < points.size(); ++k) {
      const Json& p = points[k];
      const bool rsdJudged = !p["rsdNorm"].is_null(), devJudged = !p["deviationNorm"].is_null();
      const std::string ballon = Ballon(mixtures, p["mixtureId"]);
      const std::vector<std::string> expected = {
          p["mixture"].get<std::string>() + (ballon.empty() ? "" : "(" + ballon + ")"), Fixed(p["concentration"]),
          Fixed(p["relUncertainty"]), std::to_string(p["count"].get<int>()), Fixed(p["meanArea"]), Fixed(p["rsd"]),
          Fixed(p["rsdNorm"]), rsdJudged ? Verdict(p["rsdOk"]) : "---", Fixed(p["calcConcentration"]),
          Fixed(p["relDeviation"]), Fixed(p["deviationNorm"]), devJudged ? Verdict(p["deviationOk"]) : "---"};
      EXPECT_EQ(rows[k], expected) << c["name"] << " " << p["mixture"];
    }
  }
  EXPECT_FALSE(OdfTable(content, ("table7_" + std::to_string(curves.size() + 1)).c_str()));

  // The graph: the caption names the curve shown, its line, and the table its measured
  // points by concentration.
  std::string caption;
  for (const pugi::xpath_node& n : content.select_nodes("//text:p[@text:style-name='Figure_Caption']"))
    caption = OdfText(n.node());
  const Json* shown = nullptr;
  for (const Json& c : curves)
    if (caption.find("компонент " + c["name"].get<std::string>() + ", канал " +
                     std::to_string(c["channel"].get<int>() + 1) + "\n") != std::string::npos)
      shown = &c;
  ASSERT_NE(shown, nullptr) << caption;
  EXPECT_EQ(caption.substr(caption.find('\n') + 1), Formula(*shown));
  std::vector<Json> points;
  for (const Json& p : Measured(*shown))
    if (!p["concentration"].is_null()) points.push_back(p);
  std::stable_sort(points.begin(), points.end(), [](const Json& a, const Json& b) {
    return a["concentration"].get<double>() < b["concentration"].get<double>();
  });
  std::vector<std::vector<std::string>> expectedPoints;
  for (std::size_t k = 0; k < points.size(); ++k)
    expectedPoints.push_back({std::to_string(k + 1), Fixed(points[k]["concentration"]), Fixed(points[k]["meanArea"])});
  EXPECT_EQ(OdfBodyRows(content, "table6"), expectedPoints);

  // The mixtures with their dates, the chromatograms that have a mixture, and the
  // certified values' column heads.
  std::vector<std::vector<std::string>> expectedMixtures;
  std::string heads;
  for (std::size_t e = 0; e < mixtures.size(); ++e) {
    const Json& m = mixtures[e];
    expectedMixtures.push_back({std::to_string(e + 1), m["name"].get<std::string>(), m["ballon"].get<std::string>(),
                                Date(m["release"], "%d.%m.%Y"), Date(m["expiry"], "%d.%m.%Y")});
    if (e < 5)
      heads += "Смесь " + std::to_string(e + 1) + m["name"].get<std::string>() +
               (m["ballon"].get<std::string>().empty() ? "" : "(" + m["ballon"].get<std::string>() + ")");
  }
  EXPECT_EQ(OdfBodyRows(content, "table2"), expectedMixtures);
  std::vector<std::vector<std::string>> expectedAssays;
  for (const Json& a : check["assays"]) {
    if (a["mixture"].is_null()) continue;
    std::string ballon;
    for (const Json& m : mixtures)
      if (m["name"] == a["mixture"]) ballon = m["ballon"].get<std::string>();
    expectedAssays.push_back({std::to_string(expectedAssays.size() + 1), a["sample"].get<std::string>(),
                              Date(a["date"], "%d.%m.%Y  %H:%M"), ballon});
  }
  EXPECT_EQ(OdfBodyRows(content, "table3"), expectedAssays);
  const auto headRow = OdfCells(OdfTable(content, "table4").child("table:table-header-rows").child("table:table-row"));
  std::string shownHeads;
  for (std::size_t k = 2; k < headRow.size(); ++k) shownHeads += headRow[k];
  EXPECT_EQ(shownHeads, heads);

  // Messages: errors, then warnings, then information, numbered on.
  const auto t8 = OdfBodyRows(content, "table8");
  std::vector<std::vector<std::string>> expected;
  for (const auto& [list, level] : {std::pair{"errors", "Ошибка!"}, {"warnings", "Предупреждение!"}, {"infos", "Информация!"}}) {
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
