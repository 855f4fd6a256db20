// The graph page on real widgets: which curves it offers per channel, the points table
// and the plot of the chosen curve, and the empty states.
#include <cmath>

#include "tests/ui/dialogs/dialog_fixture.h"

namespace dialogs {
namespace {

constexpr COLORREF kSeriesColour = 0x737FFF;

class GraphPageTest : public DialogTest {};

TEST_F(GraphPageTest, OffersOnlyCurvesOfTheChannelWithTwoPlottablePoints) {
  BuildRun();
  DlgGraphPreview& page = ShowGraphPage();
  // Channel "1": methane, ethane and propane. Helium (channel "3", one point with a
  // concentration) is never offered.
  EXPECT_EQ(Entries(page.ChannelCombo()), (std::vector<sys::Text>{u"1", u"3"}));
  EXPECT_EQ(Entries(page.ComponentCombo()), (std::vector<sys::Text>{u"Метан", u"Этан", u"Пропан"}));
  for (int i = 0; i < page.ComponentCombo().GetCount(); ++i) {
    const auto index = static_cast<std::size_t>(page.ComponentCombo().GetItemData(i));
    ASSERT_LT(index, context.curves.size());
    EXPECT_EQ(context.curves[index]->name, page.ComponentCombo().GetLBText(i));
  }

  PressOn(page.ChannelCombo(), Qt::Key_Down);  // the user picks channel "3"
  EXPECT_EQ(page.ComponentCombo().GetCount(), 0);
  EXPECT_EQ(page.Table().GetItemCount(), 0);
  EXPECT_TRUE(page.chart.series.empty());
  EXPECT_EQ(page.SelectedCurve(), nullptr);
  EXPECT_EQ(CountColour(page.plotFrame.m_hWnd, kSeriesColour), 0);
}

TEST_F(GraphPageTest, ShowsTheChosenCurveAsTableAndPlot) {
  BuildRun();
  DlgGraphPreview& page = ShowGraphPage();
  ASSERT_NE(page.SelectedCurve(), nullptr);
  EXPECT_EQ(page.SelectedCurve()->name, u"Метан");
  const auto rows = Cells(page.Table(), 3);
  ASSERT_EQ(rows.size(), 5u);
  EXPECT_EQ(rows[0], (std::vector<sys::Text>{u"1", u"85,000000", u"8500,000000"}));
  EXPECT_EQ(rows[4][0], u"5");
  EXPECT_EQ(rows[4][1], u"95,000000");

  ASSERT_EQ(page.chart.series.size(), 1u);
  const ChartSeries& s = page.chart.series[0];
  EXPECT_EQ(s.count, 5);
  EXPECT_EQ(s.xValues, page.xValues.data());
  EXPECT_EQ(s.colour, kSeriesColour);
  EXPECT_EQ(s.markerType, 1);
  EXPECT_DOUBLE_EQ(page.minX, 85);
  EXPECT_DOUBLE_EQ(page.maxX, 95);
  EXPECT_FALSE(page.chart.autoX);
  EXPECT_DOUBLE_EQ(page.chart.manualX.min, 84);
  EXPECT_DOUBLE_EQ(page.chart.manualX.max, 96);
  EXPECT_NEAR(page.chart.manualY.min, page.minY - 0.1 * (page.maxY - page.minY), 1e-9);
  EXPECT_GT(CountColour(page.plotFrame.m_hWnd, kSeriesColour), 20);
}

TEST_F(GraphPageTest, LeavesOutPointsWithoutMeanAreaOrConcentration) {
  BuildRun();
  DlgGraphPreview& page = ShowGraphPage();
  PressOn(page.ComponentCombo(), Qt::Key_Down);
  PressOn(page.ComponentCombo(), Qt::Key_Down);  // propane: no peaks in the third mixture
  ASSERT_EQ(page.SelectedCurve()->name, u"Пропан");
  auto rows = Cells(page.Table(), 3);
  ASSERT_EQ(rows.size(), 4u);
  std::vector<sys::Text> shown;
  for (const auto& r : rows) shown.push_back(r[0] + u" " + r[1]);
  EXPECT_EQ(shown, (std::vector<sys::Text>{u"1 0,100000", u"2 0,200000", u"3 1,000000", u"4 2,000000"}));
  EXPECT_EQ(page.chart.series[0].count, 4);

  PressOn(page.ComponentCombo(), Qt::Key_Up);  // ethane: areas in the fifth mixture, no certificate
  ASSERT_EQ(page.SelectedCurve()->name, u"Этан");
  rows = Cells(page.Table(), 3);
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[3][1], u"4,000000");
  EXPECT_DOUBLE_EQ(page.minX, 1);
  EXPECT_DOUBLE_EQ(page.maxX, 4);
  for (float x : page.xValues) EXPECT_TRUE(std::isfinite(x));
}

TEST_F(GraphPageTest, WithoutCurvesTheAxesRunFromZeroToOne) {
  Run(lists);  // nothing loaded: the run makes no curves
  DlgGraphPreview& page = ShowGraphPage();
  EXPECT_EQ(page.ChannelCombo().GetCount(), 0);
  EXPECT_EQ(page.ComponentCombo().GetCount(), 0);
  EXPECT_TRUE(page.chart.series.empty());
  EXPECT_FALSE(page.chart.autoX);
  EXPECT_FALSE(page.chart.autoY);
  EXPECT_EQ(page.chart.manualX, (ChartRange{0, 1}));
  EXPECT_EQ(page.chart.manualY, (ChartRange{0, 1}));
  EXPECT_EQ(CountColour(page.plotFrame.m_hWnd, kSeriesColour), 0);
}

TEST_F(GraphPageTest, TwoEqualPointsSwitchTheAxesToAutomaticAndStayVisible) {
  Mixture a, b;
  CalibrationCurveList curves;
  auto curve = std::make_unique<CalibrationCurve>();
  curve->channel = 0;
  curve->name = u"Этан";
  for (const Mixture* m : {&a, &b}) {
    auto p = std::make_unique<MixturePoint>();
    p->mixture = m;
    p->concentration = 2.0;
    p->meanArea = 500.0;
    curve->points.push_back(std::move(p));
  }
  curves.push_back(std::move(curve));
  context.channels = {{0, u"1"}};
  DlgGraphPreview& page = ShowGraphPage();
  page.SetCurves(&curves);
  page.FillComponents();
  page.Refresh();
  ASSERT_EQ(page.Table().GetItemCount(), 2);
  EXPECT_TRUE(page.chart.autoX);
  EXPECT_TRUE(page.chart.autoY);
  EXPECT_GT(CountColour(page.plotFrame.m_hWnd, kSeriesColour), 4);
}

}  // namespace
}  // namespace dialogs
