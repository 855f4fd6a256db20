// The report's data document: items per switch, the tables' rows and the edge cases.
#include <gtest/gtest.h>

#include <sstream>

#include "output/report_document.h"
#include "tests/calc/fixture.h"

namespace {

std::string Text(pugi::xml_node n, const char* child) { return n.child(child).text().get(); }

std::vector<std::string> ChildNames(pugi::xml_node n) {
  std::vector<std::string> names;
  for (auto c : n.children()) names.push_back(c.name());
  return names;
}

class ReportDocument : public EngineTest {
 protected:
  // Six mixtures; nitrogen split, propane on channel 1, and a component named in no list.
  void BuildRun() {
    static const double kN2[6] = {0.005, 0.01, 0.025, 1.0, 5.0, 7.0};
    static sys::Text names[6];
    for (int m = 0; m < 6; ++m) {
      names[m] = u"ГСО-" + sys::Text(1, static_cast<char16_t>(u'1' + m));
      if (m == 5) lists.AddMixture(names[m].c_str(), {{u"Азот", kN2[m], 0.5}});
      else lists.AddMixture(names[m].c_str(), {{u"Азот", kN2[m], 0.5}, {u"Пропан", 0.5 * (m + 1), kNoValue}});
      lists.mixtures.back()->ballon = u"Б-" + sys::Text(1, static_cast<char16_t>(u'1' + m));
      lists.mixtures.back()->release = m == 0 ? 0 : 1700000000;
    }
    for (int m = 0; m < 6; ++m)
      for (int k = 0; k < 5; ++k) {
        const double f = 1 + 0.001 * (k - 2);
        const double low = kN2[m] <= 0.025 ? 1.6 : 1.0;
        lists.AddAssay(m, {{u"Азот", 20000 * kN2[m] * low * f, 0, 2.0},
                           {u"Пропан", 75000 * 0.5 * (m + 1) * f, 1, 2.9},
                           {u"Аргон", 100 * f, 1, 1.5}});
      }
    lists.AddAssay(99, {});  // a chromatogram without a mixture
    Run(lists);
  }
  pugi::xml_node Build(const ReportContent& c) {
    doc.reset();
    return BuildReportDocument(doc, c, lists.mixtures, lists.assays, context, 3, 1700000000);
  }

  RunLists lists;
  pugi::xml_document doc;
};

TEST_F(ReportDocument, EverySwitchOffGivesDateAndHeaderTable) {
  BuildRun();
  const pugi::xml_node root = Build({});
  EXPECT_EQ(ChildNames(root), (std::vector<std::string>{"DateCreated", "table1"}));
  EXPECT_EQ(Text(root, "DateCreated"), "15.11.2023, 01:13");
  const auto rows = root.child("table1").children("row");
  ASSERT_EQ(std::distance(rows.begin(), rows.end()), 1);
  EXPECT_EQ(Text(root.child("table1").child("row"), "title"), "Нормативный документ");
  EXPECT_EQ(Text(root.child("table1").child("row"), "DataString"), "ГОСТ 31371.7-2020, приложение Б");
  std::ostringstream out;
  doc.save(out, "", pugi::format_raw);
  EXPECT_EQ(out.str().rfind("<?xml version=\"1.0\" encoding=\"utf-8\"?><root>", 0), 0u) << out.str().substr(0, 80);
}

TEST_F(ReportDocument, ListsAndHeaderRows) {
  BuildRun();
  ReportContent c;
  c.deviceNumber = u"Хроматэк-1234";
  c.operatorName = u"Иванова А. А.";
  c.mixtureList = c.assayList = true;
  const pugi::xml_node root = Build(c);
  EXPECT_EQ(ChildNames(root), (std::vector<std::string>{"DateCreated", "table1", "table2", "table3"}));
  auto t1 = root.child("table1").children("row");
  EXPECT_EQ(std::distance(t1.begin(), t1.end()), 3);
  const pugi::xml_node m1 = root.child("table2").child("row");
  EXPECT_EQ(ChildNames(m1), (std::vector<std::string>{"num", "MixtureName", "NumBalloon", "DateRelease", "DateExpiry"}));
  EXPECT_EQ(Text(m1, "DateRelease"), "----");
  EXPECT_EQ(Text(m1.next_sibling(), "DateRelease"), "15.11.2023");
  auto t3 = root.child("table3").children("row");
  EXPECT_EQ(std::distance(t3.begin(), t3.end()), 30) << "the chromatogram without a mixture is left out";
  EXPECT_EQ(Text(root.child("table3").child("row"), "Mixture"), "Б-1");
}

TEST_F(ReportDocument, MixtureInfoPairsForAtMostFiveMixtures) {
  BuildRun();
  ReportContent c;
  c.mixtureInfo = true;
  const pugi::xml_node t4 = Build(c).child("table4");
  std::vector<std::string> comps;
  for (auto r : t4.children("row")) comps.push_back(Text(r, "Comp"));
  // Split parent once, no partial curves; ordinary curves in run order.
  EXPECT_EQ(comps, (std::vector<std::string>{"Азот", "Аргон", "Пропан"}));
  pugi::xml_node nitrogen = t4.child("row");
  EXPECT_EQ(ChildNames(nitrogen).size(), 2u + 10u) << "Conc1..Conc5, Deviation1..Deviation5";
  EXPECT_FALSE(nitrogen.child("Conc6"));
  EXPECT_EQ(Text(nitrogen, "Conc1"), "0,005");
  EXPECT_EQ(Text(nitrogen, "Deviation1"), "0,500");
  pugi::xml_node argon = nitrogen.next_sibling();
  EXPECT_EQ(Text(argon, "Conc3"), "---");
  EXPECT_EQ(Text(argon, "Deviation3"), "---");
  pugi::xml_node propane = argon.next_sibling();
  EXPECT_EQ(Text(propane, "Conc2"), "1,000");
  EXPECT_EQ(Text(propane, "Deviation2"), "") << "a deviation never given is an empty text";
}

TEST_F(ReportDocument, ResultsByChannelWithSplitPartsAndMissingSlopes) {
  BuildRun();
  ReportContent c;
  c.resultCheck = true;
  const pugi::xml_node t5 = Build(c).child("table5");
  std::vector<std::string> order;
  for (auto r : t5.children("row")) order.push_back(r.child("CompName") ? Text(r, "CompName") : Text(r, "formula"));
  // The split nitrogen curve itself is left out, so channel 1 first shows with its parts.
  EXPECT_EQ(order, (std::vector<std::string>{"-- Канал 2 --", "Аргон", "Пропан", "-- Канал 1 --", "Азот (до 0.025)",
                                             "Азот (св. 0.025)"}));
  pugi::xml_node argon = t5.find_child([](pugi::xml_node n) { return Text(n, "CompName") == "Аргон"; });
  EXPECT_EQ(Text(argon, "formula"), "---");
  EXPECT_EQ(Text(argon, "b"), "---");
  EXPECT_EQ(Text(argon, "BB"), "0,000");
  EXPECT_EQ(Text(argon, "b_OK"), "---");
  EXPECT_EQ(Text(argon, "R_OK"), "---");
  EXPECT_EQ(Text(argon, "R_norm"), "0,999");
  pugi::xml_node propane = argon.next_sibling();
  EXPECT_EQ(Text(propane, "num"), "3");
  EXPECT_EQ(Text(propane, "b_OK"), "Да");
  EXPECT_EQ(Text(propane, "formula").rfind("A = 75000,", 0), 0u) << Text(propane, "formula");
}

TEST_F(ReportDocument, GraphItemsAndPicture) {
  BuildRun();
  pugi::xml_node root = Build({});
  const CalibrationCurve* low = Curve(u"Азот (до 0.025)");
  ASSERT_NE(low, nullptr);
  AppendGraphItems(root, *low, 2);
  AppendPicture(root, u"/tmp/x.cat/VetrixGraph.png");
  EXPECT_EQ(Text(root, "graphComp"), "Азот (до 0.025)");
  EXPECT_EQ(Text(root, "graph_Ch"), "1");
  std::vector<std::string> xs;
  for (auto r : root.child("table6").children("row")) xs.push_back(Text(r, "graph_x"));
  EXPECT_EQ(xs, (std::vector<std::string>{"0,01", "0,01", "0,03"})) << "points with areas, by concentration";
  EXPECT_EQ(Text(root, "PictureGraph"), "/tmp/x.cat/VetrixGraph.png");

  // Propane's sixth mixture lacks propane but its chromatograms show the peak: that point
  // has a mean area and no concentration, and stays off the graph.
  pugi::xml_node again = Build({});
  const CalibrationCurve* propane = Curve(u"Пропан", 1);
  ASSERT_NE(propane, nullptr);
  AppendGraphItems(again, *propane, 3);
  auto rows = again.child("table6").children("row");
  EXPECT_EQ(std::distance(rows.begin(), rows.end()), 5);
  for (auto r : rows) EXPECT_EQ(Text(r, "graph_x").find("---"), std::string::npos);
}

TEST_F(ReportDocument, GraphCaptionOfACurveWithoutSlopeIsTheNoValueMarker) {
  // Certified concentrations of 0 everywhere: no fit point, so no slope.
  for (int m = 0; m < 5; ++m) lists.AddMixture(u"ГСО", {{u"Пропан", 0.0}});
  for (int m = 0; m < 5; ++m) lists.AddAssay(m, {{u"Пропан", 1000.0}});
  Run(lists);
  const CalibrationCurve* propane = Curve(u"Пропан");
  ASSERT_NE(propane, nullptr);
  ASSERT_FALSE(HasValue(propane->slope));
  pugi::xml_node root = Build({});
  AppendGraphItems(root, *propane, 3);
  EXPECT_EQ(Text(root, "graphComp"), "Пропан");
  EXPECT_EQ(Text(root, "graphFormula"), "---");
}

TEST(ReportErrors, ReasonsPerCode) {
  struct Case {
    int rc;
    const char16_t* tail;
  } cases[] = {
      {-1, u" - Не удалось найти шаблон отчета.\r\n - Отсутствует плагин формирования ODT отчетов.\r\n"},
      {-2, u" - Не удалось создать временный файл.\r\n"},
      {-4, u" - Ошибка обработки временного файла.\r\n"},
      {-6, u" - Ошибка обработки данных отчета.\r\n"},
      {-8, u" - Ошибка окончания формирования отчета.\r\n"},
      {-11, u" - Неизвестная ошибка.\r\n"},
  };
  for (const auto& c : cases) {
    const sys::Text head = u"Ошибка формирования отчета! Код ошибки: " + sys::FromUtf8(std::to_string(c.rc)) +
                           u" \r\nВозможные причины:\r\n";
    EXPECT_EQ(ReportErrorText(c.rc), head + c.tail) << c.rc;
  }
}

}  // namespace
