// chart_math_test.cpp: the chart's arithmetic as tables of cases.
//
// Value to pixel, automatic ranges, tick steps with their first and last ticks on
// automatic and fixed axes, tick values and their labels under the Russian runtime
// locale, the x tick fit, tick metrics, MulDiv and the clipping of segments.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "platform/sys/format.h"
#include "platform/sys/locale.h"
#include "platform/sys/text.h"
#include "ui/chart.h"

namespace {

std::string Utf8(const sys::Text& text) { return sys::ToUtf8(text); }

TEST(ChartValueToPixel, MapsTheRangeOntoThePlotWithHalfPixelsRoundedDown) {
  const RECT plot{10, 20, 139, 220};  // 129 columns, 200 rows
  struct Case {
    double v, min, max;
    int x, y;
  } cases[] = {
      {0, 0, 1, 10, 219},       // minimum: first column, last row
      {1, 0, 1, 138, 20},       // maximum: last column, first row
      {0.5, 0, 1, 74, 120},     // y: 219 - ceil(99.5 - 0.5), a half pixel goes down
      {10.5, 0, 128, 20, 203},  // x: 10 + ceil(10.5 - 0.5), a half pixel goes left
      {10.6, 0, 128, 21, 203},
      {-1, 0, 1, -118, 418},    // outside the range: outside the plot, not clamped to it
      {5, 5, 5, 0, 0},          // an empty range maps everything to pixel 0
      {1e300, 0, 1, chart::kPixelLimit, -chart::kPixelLimit},  // far values are held
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "v=" << c.v << " range " << c.min << ".." << c.max);
    EXPECT_EQ(chart::ValueToPixelX(c.v, {c.min, c.max}, plot), c.x);
    EXPECT_EQ(chart::ValueToPixelY(c.v, {c.min, c.max}, plot), c.y);
  }
}

TEST(ChartAutomaticRange, NeverNarrowerThanTheMinimumSpan) {
  struct Case {
    double lo, hi;
    int exp;
    double min, max;
  } cases[] = {
      {0, 10, 3, 0, 10},                      // wide enough: as is
      {1, 1, 3, 0.9995, 1.0005},              // one value: 1 / 10^exp wide around it
      {-5, -5, 3, -5.0005, -4.9995},
      {0, 0, 3, -0.0005, 0.0005},
      {100, 100.05, 3, 99.974975, 100.075025},  // span 0.05 < 100.05 / 1000: centre +- d/2
      {2, 3, 0, 1, 4},                        // exp 0: never narrower than max(|min|, |max|)
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.lo << ".." << c.hi << " exp " << c.exp);
    ChartRange r = chart::WidenRange(c.lo, c.hi, c.exp);
    EXPECT_NEAR(r.min, c.min, 1e-12);
    EXPECT_NEAR(r.max, c.max, 1e-12);
  }
}

TEST(ChartAutomaticRange, TakesEveryPointSeriesAndSkipsBandsAndEmptySeries) {
  std::deque<ChartSeries> series(4);
  float x0[] = {3, 1, 2}, y0[] = {10, 30, 20};
  series[0].SetPoints(x0, y0, 3);
  series[1].xStart = 5;  // generated points: x = 5, 5.5; y = 0, 1
  series[1].xStepGen = 0.5;
  series[1].count = 2;
  float band[] = {-100, 100};
  series[2].SetPoints(band, band, 2);
  series[2].markerType = 6;
  series[3].SetPoints(x0, y0, 0);
  EXPECT_EQ(chart::AutomaticRange(series, chart::Axis::X, 3, 0), (ChartRange{1, 5.5}));
  EXPECT_EQ(chart::AutomaticRange(series, chart::Axis::Y, 3, 0), (ChartRange{0, 30}));
  EXPECT_EQ(chart::AutomaticRange({}, chart::Axis::X, 3, 0), (ChartRange{0, 0}));
}

TEST(ChartTicks, StepIsOneTwoTwoAndAHalfThreeFiveOrTenTimesAPowerOfTen) {
  // With length == spacing the raw step q is the span itself.
  struct Case {
    double span, step;
  } cases[] = {
      {1.5, 1}, {1.6, 2}, {2.4, 2}, {2.5, 2.5}, {2.6, 2.5}, {2.7, 3}, {3.5, 3},
      {3.6, 5}, {7.5, 5}, {7.6, 10}, {0.25, 0.25}, {4000, 5000}, {0.012, 0.01},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "span " << c.span);
    EXPECT_DOUBLE_EQ(chart::ChooseTicks({0, c.span}, 100, 100, false).step, c.step);
  }
}

TEST(ChartTicks, FirstAndLastTicksOfAutomaticAndFixedAxes) {
  struct Case {
    double min, max;
    int length, spacing;
    bool automatic;
    double step, first, last, newMin, newMax;
  } cases[] = {
      // An automatic axis grows to ticks less than half a step beyond its ends.
      {0.3, 9.7, 100, 20, true, 2, 0, 10, 0, 10},
      {1.5, 8.5, 100, 20, true, 1, 2, 8, 1.5, 8.5},  // exactly half a step: stays
      {-0.35, 0.35, 100, 30, true, 0.2, -0.4, 0.4, -0.4, 0.4},
      // A fixed axis keeps its range; its ticks lie within it give or take 1 % of a step.
      {0.3, 9.7, 100, 20, false, 2, 2, 8, 0.3, 9.7},
      {2.005, 7.995, 100, 20, false, 1, 2, 8, 2.005, 7.995},
      {-0.35, 0.35, 100, 30, false, 0.2, -0.2, 0.2, -0.35, 0.35},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.min << ".." << c.max << (c.automatic ? " auto" : " fixed"));
    chart::Ticks t = chart::ChooseTicks({c.min, c.max}, c.length, c.spacing, c.automatic);
    EXPECT_NEAR(t.step, c.step, 1e-12);
    EXPECT_NEAR(t.first, c.first, 1e-12);
    EXPECT_NEAR(t.last, c.last, 1e-12);
    EXPECT_NEAR(t.range.min, c.newMin, 1e-12);
    EXPECT_NEAR(t.range.max, c.newMax, 1e-12);
  }
}

TEST(ChartTicks, NoTicksForAnEmptyRangeOrNoRoom) {
  for (ChartRange r : {ChartRange{0, 0}, ChartRange{2, 1}}) {
    EXPECT_TRUE(chart::TickValues(chart::ChooseTicks(r, 100, 20, true)).empty());
  }
  EXPECT_TRUE(chart::TickValues(chart::ChooseTicks({0, 1}, 0, 20, true)).empty());
  EXPECT_TRUE(chart::TickValues(chart::ChooseTicks({0, 1}, 100, 0, true)).empty());
  // A fixed range narrower than one step between two ticks has none.
  EXPECT_TRUE(chart::TickValues(chart::ChooseTicks({0.2, 0.25}, 10, 100, false)).empty());
}

TEST(ChartTicks, ValuesAccumulateTheStepAndAreBoundedFarFromZero) {
  chart::Ticks t;
  t.step = 0.1;
  t.first = 0;
  t.last = 0.3;
  std::vector<double> v = chart::TickValues(t);
  ASSERT_EQ(v.size(), 4u);
  EXPECT_EQ(v[3], 0.1 + 0.1 + 0.1);  // 0.30000000000000004, as accumulated
  EXPECT_NE(v[3], 0.3);
  // Adding the step changes nothing this far from zero: one tick, no endless loop.
  t.first = 1e20;
  t.last = 1e20 + 1e5;
  t.step = 1;
  EXPECT_EQ(chart::TickValues(t).size(), 1u);
}

class ChartLabels : public testing::Test {
 protected:
  void SetUp() override { sys::SetRussianLocale(); }
  void TearDown() override { sys::ResetLocale(); }
};

TEST_F(ChartLabels, TenSignificantDigitsWithTheDecimalComma) {
  struct Case {
    double v;
    const char* label;
  } cases[] = {
      {0.1 + 0.1 + 0.1, "0,3"}, {-0.5, "-0,5"},          {12500, "12500"},
      {1e-5, "1e-05"},          {123456789012.0, "1,23456789e+11"}, {0, "0"},
      {2.0 / 3.0, "0,6666666667"},
  };
  for (const Case& c : cases) EXPECT_EQ(Utf8(chart::TickLabel(c.v)), c.label) << c.v;
}

TEST_F(ChartLabels, TicksAroundZeroAreLabelledAsTheyRead) {
  // From -0.30000000000000004 up by 0.1 the fourth value is 2.8e-17, not zero.
  chart::Ticks t = chart::ChooseTicks({-0.3, 0.3}, 100, 20, true);
  std::vector<std::string> labels;
  for (double v : chart::TickValues(t)) labels.push_back(Utf8(chart::TickLabel(v)));
  EXPECT_EQ(labels, (std::vector<std::string>{"-0,3", "-0,2", "-0,1", "0", "0,1", "0,2", "0,3"}));
}

TEST(ChartLabelsBeforeTheSwitch, UseTheDecimalPoint) {
  sys::ResetLocale();
  EXPECT_EQ(Utf8(chart::TickLabel(0.1 + 0.1 + 0.1)), "0.3");
}

TEST(ChartXTickFit, StepGrowsUntilTheWidestLabelFitsBetweenTwoTicks) {
  // Ten pixels per character, average character five: a label plus 15 pixels must fit.
  auto width = [](const sys::Text& label) { return static_cast<int>(label.size()) * 10; };
  int widest = 0;
  // Spacing 30, 35, ... : steps 50000, 100000, 200000 leave 10, 40, 80 pixels between
  // ticks for "1000000" (70 + 15); spacing 100 gives 250000 and 100 pixels.
  chart::Ticks t = chart::FitXTicks({0, 1e6}, false, 400, 5, width, &widest);
  EXPECT_DOUBLE_EQ(t.step, 250000);
  EXPECT_EQ(widest, 70);
  // Labels that never fit: the spacing stops at the plot width (last pass 395 pixels).
  auto huge = [](const sys::Text&) { return 1000; };
  t = chart::FitXTicks({0, 1e6}, false, 400, 5, huge, &widest);
  EXPECT_DOUBLE_EQ(t.step, chart::ChooseTicks({0, 1e6}, 400, 395, false).step);
  // Short labels fit at once: the first spacing of 6 characters decides.
  auto narrow = [](const sys::Text&) { return 5; };
  t = chart::FitXTicks({0, 1}, true, 400, 5, narrow, &widest);
  EXPECT_DOUBLE_EQ(t.step, chart::ChooseTicks({0, 1}, 400, 30, true).step);
}

TEST(ChartTickMetrics, ComeFromTheAxisFontHeight) {
  struct Case {
    int height, in, out, gap;
  } cases[] = {{25, 8, 4, 5}, {12, 4, 2, 2}, {16, 5, 2, 3}, {2, 1, 1, 1}};
  for (const Case& c : cases) {
    chart::TickMetrics m = chart::TickMetricsFor(c.height);
    EXPECT_EQ(m.tickIn, c.in) << c.height;
    EXPECT_EQ(m.tickOut, c.out) << c.height;
    EXPECT_EQ(m.labelGap, c.gap) << c.height;
  }
}

TEST(ChartMulDiv, RoundsHalfAwayFromZeroAndReportsFailure) {
  struct Case {
    int n, num, den, result;
  } cases[] = {{10, 3, 4, 8},  {-10, 3, 4, -8}, {7, 1, 2, 4},          {-7, 1, 2, -4},
               {7, 1, -2, -4}, {5, 1, 0, -1},   {INT_MAX, 2, 1, -1},  {INT_MAX, 2, 2, INT_MAX},
               {-50, -40, -47, -43}};
  for (const Case& c : cases) EXPECT_EQ(chart::MulDiv(c.n, c.num, c.den), c.result) << c.n << "*" << c.num << "/" << c.den;
}

TEST(ChartClipping, SegmentsCrossingThePlotEdgesEndOnThem) {
  const RECT plot{10, 10, 110, 110};  // columns and rows 10..109
  struct Case {
    POINT from, to;
    bool draw;
    POINT clippedFrom, clippedTo;
  } cases[] = {
      {{20, 20}, {90, 95}, true, {20, 20}, {90, 95}},    // both inside: as is
      {{50, 0}, {50, 200}, false, {}, {}},               // above to below: not drawn
      {{0, 0}, {200, 200}, false, {}, {}},               // through the plot, both out
      {{50, 50}, {50, 0}, true, {50, 50}, {50, 10}},     // onto the top line
      {{50, 50}, {50, 200}, true, {50, 50}, {50, 109}},  // onto y = bottom - 1
      {{50, 50}, {50, 110}, true, {50, 50}, {50, 109}},  // the bottom edge is outside
      {{50, 50}, {0, 50}, true, {50, 50}, {10, 50}},
      {{50, 50}, {200, 50}, true, {50, 50}, {109, 50}},  // onto x = right - 1
      {{200, 50}, {50, 50}, true, {109, 50}, {50, 50}},  // the previous point outside
      {{50, 50}, {0, 0}, true, {50, 50}, {10, 10}},      // through the corner
      // Above and left: top line first (x = 50 - 42.55 -> 7), then the left line
      // (y = 50 - 37.2 -> 13), each rounded by MulDiv.
      {{50, 50}, {0, 3}, true, {50, 50}, {10, 13}},
      {{60, 60}, {120, 30}, true, {60, 60}, {109, 35}},  // right line: y = 60 - 24.5 -> 35
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "(" << c.from.x << "," << c.from.y << ")-(" << c.to.x << "," << c.to.y << ")");
    bool fromInside = chart::InsidePlot(c.from, plot), toInside = chart::InsidePlot(c.to, plot);
    chart::ClippedSegment s = chart::ClipSegment(c.from, fromInside, c.to, toInside, plot);
    ASSERT_EQ(s.draw, c.draw);
    if (!c.draw) continue;
    EXPECT_EQ(s.from.x, c.clippedFrom.x);
    EXPECT_EQ(s.from.y, c.clippedFrom.y);
    EXPECT_EQ(s.to.x, c.clippedTo.x);
    EXPECT_EQ(s.to.y, c.clippedTo.y);
  }
}

TEST(ChartRanges, EqualEndsMakeTheAxisAutomatic) {
  Chart chart;
  chart.SetXRange(0, 1);
  chart.SetYRange(2, 5);
  EXPECT_FALSE(chart.autoX);
  EXPECT_FALSE(chart.autoY);
  EXPECT_EQ(chart.manualY, (ChartRange{2, 5}));
  chart.SetXRange(3, 3);
  chart.SetYRange(5, 2);
  EXPECT_TRUE(chart.autoX);
  EXPECT_TRUE(chart.autoY);
  // The data range of the graph page with one repeated point: both axes automatic.
  SetRangesAroundData(chart, 0.5, 0.5, 7, 7, 0.1);
  EXPECT_TRUE(chart.autoX);
  EXPECT_TRUE(chart.autoY);
}

}  // namespace
