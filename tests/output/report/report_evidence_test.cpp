// The evidence part of the report's data document: it only adds elements after the
// standard ones, names the model that decided every curve, lists every point with a mean
// area against its norms, and the messages as the messages page numbers them.
#include <gtest/gtest.h>

#include <sstream>

#include "calc/presentation.h"
#include "output/report_evidence.h"
#include "tests/output/report/protocol_run.h"

namespace {

std::string Text(pugi::xml_node n, const char* child) { return n.child(child).text().get(); }
std::string U8(sys::TextView t) { return sys::ToUtf8(t); }

std::string Xml(pugi::xml_node n) {
  std::ostringstream out;
  n.print(out, "", pugi::format_raw);
  return out.str();
}

class ReportEvidence : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    BuildProtocolLists(lists);
    Run(lists);
  }
  pugi::xml_node Build(pugi::xml_document& doc, const ReportContent& c, int digits = 3) {
    return BuildReportDocument(doc, c, lists.mixtures, lists.assays, context, digits, 1700000000);
  }

  RunLists lists;
};

// Whatever the switches, the standard items come first, unchanged, and only the new
// elements of the switches follow.
TEST_F(ReportEvidence, StandardItemsStayAsTheyAreForEverySwitchCombination) {
  for (int mask = 0; mask < 32; ++mask) {
    ReportContent c;
    c.deviceNumber = u"Хроматограф № 17";
    c.assayList = mask & 1;
    c.mixtureList = mask & 2;
    c.mixtureInfo = mask & 4;
    c.resultCheck = mask & 8;
    const bool graph = mask & 16;
    pugi::xml_document plain, extended;
    pugi::xml_node a = Build(plain, c), b = Build(extended, c);
    if (graph) {
      AppendGraphItems(a, *context.curves.front(), 3);
      AppendGraphItems(b, *context.curves.front(), 3);
    }
    AppendReportEvidence(b, c, lists.mixtures, context, context.messages, 3);

    pugi::xml_node x = a.first_child(), y = b.first_child();
    for (; x; x = x.next_sibling(), y = y.next_sibling()) ASSERT_EQ(Xml(x), Xml(y)) << "switches " << mask;
    std::vector<std::string> added;
    for (; y; y = y.next_sibling()) added.push_back(y.name());
    std::vector<std::string> expected;
    if (c.mixtureInfo)
      for (const char* n : {"1", "2", "3", "4", "5"}) {
        expected.push_back(std::string("table4Mix") + n);
        expected.push_back(std::string("table4Balloon") + n);
      }
    if (c.resultCheck)
      for (const char* n : {"table7", "table8", "PressureCorrection", "TemperatureCorrection"}) expected.push_back(n);
    EXPECT_EQ(added, expected) << "switches " << mask;
  }
}

TEST_F(ReportEvidence, EachCurveNamesTheModelThatDecidedIt) {
  struct Case {
    const char16_t* curve;
    std::int32_t channel;
    const char16_t* model;
  } cases[] = {
      {u"Метан", 0, kModelThroughOrigin},          // failed, methane keeps its first fit
      {u"Этан", 0, kModelWithIntercept},           // failed, refitted
      {u"Азот", 0, kModelSplitParent},             // failed, split
      {u"Азот (до 0.025)", 0, kModelSplitLow},
      {u"Азот (св. 0.025)", 0, kModelSplitHigh},
      {u"Пропан", 1, kModelThroughOrigin},
      {u"Пик 7", 1, kModelNoFit},                  // no certified concentration anywhere
  };
  for (const Case& c : cases) {
    const CalibrationCurve* curve = Curve(c.curve, c.channel);
    ASSERT_NE(curve, nullptr) << U8(c.curve);
    EXPECT_EQ(U8(CurveModelText(*curve)), U8(c.model)) << U8(c.curve);
  }
  EXPECT_FALSE(Curve(u"Метан")->linearityOk);
  EXPECT_LT(Curve(u"Этан")->intercept, 0.0) << "the fixture's refit has a negative intercept";
}

// Rows follow the curve list; under each curve's heading, its points with a mean area,
// with values at the report digits and "---" where no norm applies.
TEST_F(ReportEvidence, EvidenceRowsPerCurveAndPoint) {
  ReportContent c;
  c.resultCheck = true;
  for (int digits : {0, 10}) {
    pugi::xml_document doc;
    pugi::xml_node root = Build(doc, c, digits);
    AppendReportEvidence(root, c, lists.mixtures, context, context.messages, digits);
    pugi::xml_node row = root.child("table7").first_child();
    for (std::size_t i = 0; i < context.curves.size(); ++i) {
      const CalibrationCurve& curve = *context.curves[i];
      ASSERT_TRUE(row) << "curve " << i;
      EXPECT_EQ(Text(row, "evNum"), std::to_string(i + 1));
      EXPECT_EQ(Text(row, "evComp"), U8(curve.name));
      EXPECT_EQ(Text(row, "evChannel"), std::to_string(curve.channel + 1));
      EXPECT_EQ(Text(row, "evFormula"), HasValue(curve.slope) ? U8(FormulaText(curve, digits)) : "---");
      row = row.next_sibling();
      for (const auto& p : curve.points) {
        if (!HasValue(p->meanArea)) continue;
        ASSERT_TRUE(row.child("ptX")) << U8(curve.name);
        EXPECT_EQ(Text(row, "ptBalloon"), p->mixture->ballon.empty() ? "" : "(" + U8(p->mixture->ballon) + ")");
        EXPECT_EQ(Text(row, "ptX"), U8(NumberCellText(p->concentration, digits)));
        EXPECT_EQ(Text(row, "ptN"), std::to_string(p->count));
        EXPECT_EQ(Text(row, "ptA"), U8(NumberCellText(p->meanArea, digits)));
        EXPECT_EQ(Text(row, "ptDev"), U8(NumberCellText(p->relDeviation, digits)));
        row = row.next_sibling();
      }
    }
    EXPECT_FALSE(row) << "nothing after the last curve's points";
  }

  pugi::xml_document doc;
  pugi::xml_node root = Build(doc, c, 3);
  AppendReportEvidence(root, c, lists.mixtures, context, context.messages, 3);
  auto point = [&](const char* comp, const char* x) {
    bool in = false;
    for (pugi::xml_node r : root.child("table7").children("row")) {
      if (r.child("evComp")) in = Text(r, "evComp") == comp;
      else if (in && Text(r, "ptX") == x) return r;
    }
    return pugi::xml_node();
  };
  const pugi::xml_node methane = point("Метан", "100,000");
  EXPECT_EQ(Text(methane, "ptA"), "100000000,000");
  EXPECT_EQ(Text(methane, "ptMixture"), "ГСО 10544-2014");
  const pugi::xml_node unknown = point("Пик 7", "---");
  ASSERT_TRUE(unknown) << "a peak no mixture certifies still shows its areas";
  EXPECT_EQ(Text(unknown, "ptA"), "1234,500");
  for (const char* noNorm : {"ptU", "ptRsdNorm", "ptRsdOk", "ptCalc", "ptDevNorm", "ptDevOk"})
    EXPECT_EQ(Text(unknown, noNorm), "---") << noNorm;
  const pugi::xml_node ethane = point("Этан", "0,500");
  EXPECT_EQ(Text(ethane, "ptDevOk"), "Да") << "judged by the refit, not by the failed first fit";
  EXPECT_EQ(Text(ethane, "ptRsdOk"), "Да");
  EXPECT_EQ(Text(root, "PressureCorrection"), "выключена");
}

// The messages as the page numbers them with every level shown; one row saying there is
// nothing when the run reported nothing.
TEST_F(ReportEvidence, MessagesAsTheMessagesPageShowsThem) {
  ReportContent c;
  c.resultCheck = true;
  pugi::xml_document doc;
  pugi::xml_node root = Build(doc, c);
  context.corrections.temperature = true;  // the switch the run applied
  AppendReportEvidence(root, c, lists.mixtures, context, context.messages, 3);
  EXPECT_EQ(Text(root, "TemperatureCorrection"), "включена");
  const MessageLog& log = context.messages;
  ASSERT_FALSE(log.errors.empty());
  ASSERT_FALSE(log.warnings.empty());
  std::string shown;
  for (pugi::xml_node r : root.child("table8").children("row"))
    shown += Text(r, "msgNum") + (Text(r, "msgLevel") == "Ошибка!" ? ".  " : ". ") + Text(r, "msgLevel") + " \r\n\t" +
             Text(r, "msgText") + "\r\n";
  EXPECT_EQ(shown, U8(MessagesText(log, true, true, true)));

  MessageLog quiet;
  pugi::xml_document other;
  pugi::xml_node none = Build(other, c);
  AppendReportEvidence(none, c, lists.mixtures, context, quiet, 3);
  auto rows = none.child("table8").children("row");
  ASSERT_EQ(std::distance(rows.begin(), rows.end()), 1);
  EXPECT_EQ(Xml(none.child("table8").child("row")), "<row><msgText>Предупреждений и ошибок нет.</msgText></row>");
}

TEST_F(ReportEvidence, CertifiedValuesColumnsNameTheirMixtures) {
  lists.AddMixture(u"ГСО шестая", {{u"Метан", 99.0}});  // a sixth mixture has no column
  ReportContent c;
  c.mixtureInfo = true;
  pugi::xml_document doc;
  pugi::xml_node root = Build(doc, c);
  AppendReportEvidence(root, c, lists.mixtures, context, context.messages, 3);
  EXPECT_EQ(Text(root, "table4Mix1"), "ГСО 10540-2014");
  EXPECT_EQ(Text(root, "table4Balloon1"), "№ 40-18701");
  EXPECT_EQ(Text(root, "table4Mix5"), "ГСО 10544-2014");
  EXPECT_EQ(Text(root, "table4Balloon5"), "№ 40-18705");
  EXPECT_FALSE(root.child("table4Mix6"));
  EXPECT_FALSE(root.child("table4Balloon6"));

  // Fewer mixtures, one without a cylinder: nothing for the unused columns, no cylinder
  // item where there is no cylinder.
  RunLists few;
  few.AddMixture(u"ПГС-1", {{u"Метан", 90.0}}).ballon = u"Б-1";
  few.AddMixture(u"ПГС-2", {{u"Метан", 95.0}});
  few.AddMixture(u"ПГС-3", {{u"Метан", 99.0}}).ballon = u"Б-3";
  pugi::xml_document heads;
  pugi::xml_node headsRoot = heads.append_child("root");
  AppendReportEvidence(headsRoot, c, few.mixtures, context, context.messages, 3);
  EXPECT_EQ(Xml(headsRoot), "<root><table4Mix1>ПГС-1</table4Mix1><table4Balloon1>Б-1</table4Balloon1>"
                            "<table4Mix2>ПГС-2</table4Mix2><table4Mix3>ПГС-3</table4Mix3>"
                            "<table4Balloon3>Б-3</table4Balloon3></root>");
}

}  // namespace
