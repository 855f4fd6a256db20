// chart_draw_test.cpp: the chart drawn into real surfaces and checked by its pixels.
//
// The report picture (1000 x 1000, report configuration) is saved as PNG, read back
// and checked for background, plot area, grid, axes, a marker at a known pixel and the
// room the layout left for labels and titles. Smaller surfaces check markers, hollow
// markers of later series, bands, arrows, clipped lines and a rectangle too small.
#include <gtest/gtest.h>

#include <QImage>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <tuple>
#include <vector>

#include "platform/sys/locale.h"
#include "ui/chart.h"

namespace {

constexpr COLORREF kWhite = 0xFFFFFF, kBlack = 0x000000, kRed = 0x0000FF, kGrey = 0xE0E0E0, kGrid = 0xBFBFBF;

COLORREF At(const QImage& image, int x, int y) {
  QRgb p = image.pixel(x, y);
  return RGB(qRed(p), qGreen(p), qBlue(p));
}

struct Found {
  int count = 0;
  RECT bounds{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
};

Found FindColour(const CDC& dc, COLORREF colour) {
  Found f;
  SIZE size = dc.GetSurfaceSize();
  for (int y = 0; y < size.cy; ++y) {
    for (int x = 0; x < size.cx; ++x) {
      if (dc.GetPixel(x, y) != colour) continue;
      ++f.count;
      f.bounds = {std::min<LONG>(f.bounds.left, x), std::min<LONG>(f.bounds.top, y),
                  std::max<LONG>(f.bounds.right, x + 1), std::max<LONG>(f.bounds.bottom, y + 1)};
    }
  }
  return f;
}

POINT PixelOf(const Chart& chart, double x, double y) {
  return {chart::ValueToPixelX(x, chart.xRange, chart.plotRect), chart::ValueToPixelY(y, chart.yRange, chart.plotRect)};
}

// Width of the widest tick label of one axis in the chart's axis font.
int WidestLabel(const Chart& chart, double first, double last, double step, CDC& dc) {
  HFONT font = CreateFontIndirectW(&chart.axisFont);
  HFONT old = dc.SelectObject(font);
  chart::Ticks t;
  t.first = first;
  t.last = last;
  t.step = step;
  int widest = 0;
  for (double v : chart::TickValues(t)) widest = std::max<int>(widest, dc.GetTextExtent(chart::TickLabel(v)).cx);
  dc.SelectObject(old);
  DeleteObject(font);
  return widest;
}

class ReportPicture : public testing::Test {
 protected:
  void SetUp() override {
    sys::SetRussianLocale();
    ConfigureReportChart(chart_);
    ConfigureReportSeries(chart_.series[chart_.AddSeries()]);
    chart_.series[0].SetPoints(x_, y_, 5);
    SetRangesAroundData(chart_, x_[0], x_[4], y_[0], y_[4], 0.07);
    ASSERT_TRUE(folder_.isValid());
    path_ = folder_.path() + QStringLiteral("/VetrixGraph.png");
    picture_ = CDC::CreateSurface(1000, 1000);
    chart_.Draw(picture_.get(), RECT{0, 0, 1000, 1000}, false);
    ASSERT_TRUE(picture_->SaveAsPng(std::string_view(path_.toStdString())));
    image_ = QImage(path_);
  }
  void TearDown() override { sys::ResetLocale(); }

  float x_[5] = {0.0102f, 0.2531f, 0.5003f, 0.7498f, 0.9987f};
  float y_[5] = {1210.5f, 30110.2f, 59870.3f, 89950.1f, 119800.7f};
  Chart chart_;
  QTemporaryDir folder_;
  QString path_;
  std::unique_ptr<CDC> picture_;
  QImage image_;
};

TEST_F(ReportPicture, BackgroundPlotAreaGridAndAxes) {
  ASSERT_EQ(image_.size(), QSize(1000, 1000));
  for (int i = 0; i < 1000; ++i) {  // the margin around everything is background
    ASSERT_EQ(At(image_, i, 0), kWhite) << i;
    ASSERT_EQ(At(image_, i, 999), kWhite) << i;
    ASSERT_EQ(At(image_, 0, i), kWhite) << i;
    ASSERT_EQ(At(image_, 999, i), kWhite) << i;
  }
  const RECT& p = chart_.plotRect;
  EXPECT_GT(p.left, 60);  // room for the y title and labels such as 120000
  EXPECT_GT(p.right, 950);
  EXPECT_LT(p.bottom, 940);  // room for the x labels and title
  EXPECT_GT(p.bottom - p.top, 850);
  // Axes two pixels wide in black: left and bottom, and the closed frame.
  for (int y = p.top; y < p.bottom; ++y) ASSERT_EQ(At(image_, p.left - 1, y), kBlack) << y;
  for (int x = p.left; x < p.right; ++x) {
    ASSERT_EQ(At(image_, x, p.bottom), kBlack) << x;
    ASSERT_EQ(At(image_, x, p.top - 1), kBlack) << x;
  }
  for (int y = p.top; y < p.bottom; ++y) ASSERT_EQ(At(image_, p.right, y), kBlack) << y;
  // The upper left cell of the grid is empty plot area; its left side is a grid line.
  double xTick = chart_.xFirst + chart_.xStep, yTick = chart_.yLast - chart_.yStep;
  POINT cell = PixelOf(chart_, xTick + chart_.xStep / 2, yTick + chart_.yStep / 2);
  EXPECT_EQ(At(image_, cell.x, cell.y), kWhite);
  EXPECT_EQ(At(image_, PixelOf(chart_, xTick, 0).x, cell.y), kGrid);
  EXPECT_EQ(At(image_, cell.x, PixelOf(chart_, 0, yTick).y), kGrid);
  EXPECT_FALSE(chart_.xRangeDone);
  EXPECT_EQ(chart_.surface, nullptr);
}

TEST_F(ReportPicture, MarkerAtTheFirstPoint) {
  POINT m = PixelOf(chart_, x_[0], y_[0]);
  ASSERT_GT(m.x, chart_.plotRect.left + 10);
  // A circle of half-size 3 drawn with a two-pixel pen, filled with the surface's white
  // brush; the line leaves it towards the upper right.
  EXPECT_EQ(At(image_, m.x - 3, m.y), kBlack);
  EXPECT_EQ(At(image_, m.x, m.y + 3), kBlack);
  EXPECT_EQ(At(image_, m.x - 1, m.y + 1), kWhite);
  EXPECT_NE(At(image_, m.x - 5, m.y), kBlack);
  EXPECT_NE(At(image_, m.x, m.y + 5), kBlack);
  POINT last = PixelOf(chart_, x_[4], y_[4]);
  EXPECT_EQ(At(image_, last.x + 3, last.y), kBlack);
  EXPECT_NE(At(image_, last.x + 5, last.y), kBlack);
}

TEST_F(ReportPicture, LabelsFitBetweenTicksAndBesideTheTitles) {
  auto probe = CDC::CreateSurface(1, 1);
  int wx = WidestLabel(chart_, chart_.xFirst, chart_.xLast, chart_.xStep, *probe);
  int wy = WidestLabel(chart_, chart_.yFirst, chart_.yLast, chart_.yStep, *probe);
  HFONT font = CreateFontIndirectW(&chart_.axisFont);
  HFONT old = probe->SelectObject(font);
  TEXTMETRICW tm{};
  probe->GetTextMetricsW(&tm);
  probe->SelectObject(old);
  DeleteObject(font);
  const RECT& p = chart_.plotRect;
  double tickDistance = (p.right - p.left) * chart_.xStep / (chart_.xRange.max - chart_.xRange.min);
  EXPECT_GE(tickDistance, wx + 3 * tm.tmAveCharWidth);
  // y labels end tickOut + labelGap + 1 left of the axis and start right of the y title.
  int labelsLeft = p.left - chart_.tickOut - chart_.labelGap - 1 - wy;
  EXPECT_GE(labelsLeft, chart_.margin + chart_.titleGap + 25);
  // Every label of the y axis is ink in that strip; the x labels sit under the plot.
  auto inkIn = [&](int left, int top, int right, int bottom) {
    int ink = 0;
    for (int y = top; y < bottom; ++y)
      for (int x = left; x < right; ++x) ink += At(image_, x, y) == kBlack ? 1 : 0;
    return ink;
  };
  EXPECT_GT(inkIn(labelsLeft, p.top - tm.tmAscent, p.left - chart_.tickOut - 2, p.bottom), 500);
  EXPECT_EQ(inkIn(chart_.margin + chart_.titleGap + 25, p.top, labelsLeft, p.bottom), 0);
  EXPECT_GT(inkIn(p.left, p.bottom + 2 + chart_.tickOut + 1, p.right, p.bottom + 2 + tm.tmHeight + 8), 200);
  // The titles: "Площадь" upwards at the top left, the x title at the bottom right.
  EXPECT_GT(inkIn(1, 1, 1 + 25, 200), 200);
  EXPECT_GT(inkIn(600, 999 - 25, 999, 999), 200);
}

// A 300 x 200 surface with the graph page's chart and one red series.
class SmallChart : public testing::Test {
 protected:
  void SetUp() override {
    ConfigureGraphPageChart(chart_);
    chart_.plotBackground = kGrey;  // tells white marker fill from the plot area
    dc_ = CDC::CreateSurface(300, 200);
  }
  ChartSeries& AddRedSeries(int markerType, int lineType) {
    ChartSeries& s = chart_.series[chart_.AddSeries()];
    s.colour = kRed;
    s.markerType = markerType;
    s.markerSize = 3;
    s.lineType = lineType;
    return s;
  }
  void Draw() { chart_.Draw(dc_.get(), RECT{0, 0, 300, 200}, true); }

  Chart chart_;
  std::unique_ptr<CDC> dc_;
};

TEST_F(SmallChart, MarkerShapesAtAKnownPixel) {
  struct Case {
    int type, count;
    bool whiteCentre;
  } cases[] = {{2, 13, false}, {3, 13, false}, {4, 24, true}, {1, 16, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "marker type " << c.type);
    chart_.DeleteAllSeries();
    static float x[] = {0.5f}, y[] = {0.5f};
    AddRedSeries(c.type, 0).SetPoints(x, y, 1);
    Draw();
    POINT m = PixelOf(chart_, 0.5, 0.5);
    Found red = FindColour(*dc_, kRed);
    EXPECT_EQ(red.count, c.count);
    EXPECT_EQ(red.bounds.left, m.x - 3);
    EXPECT_EQ(red.bounds.top, m.y - 3);
    EXPECT_EQ(red.bounds.right, m.x + 4);
    EXPECT_EQ(red.bounds.bottom, m.y + 4);
    EXPECT_EQ(dc_->GetPixel(m.x, m.y) == kWhite, c.whiteCentre);
  }
}

TEST_F(SmallChart, LaterSeriesDrawHollowMarkers) {
  // Off every tick, so that no grid line crosses the markers' centres.
  static float x1[] = {0.33f}, y1[] = {0.47f}, x2[] = {0.73f}, y2[] = {0.47f};
  AddRedSeries(1, 0).SetPoints(x1, y1, 1);
  AddRedSeries(1, 0).SetPoints(x2, y2, 1);
  Draw();
  POINT a = PixelOf(chart_, x1[0], y1[0]), b = PixelOf(chart_, x2[0], y2[0]);
  EXPECT_EQ(dc_->GetPixel(a.x, a.y), kWhite);
  EXPECT_EQ(dc_->GetPixel(b.x, b.y), kGrey);
  EXPECT_EQ(dc_->GetPixel(b.x - 3, b.y), kRed);
}

TEST_F(SmallChart, OnePointDrawsOnlyItsMarker) {
  static float x[] = {0.4f, 0.9f}, y[] = {0.4f, 0.9f};
  ChartSeries& s = AddRedSeries(1, 1);
  s.penWidth = 2;
  s.SetPoints(x, y, 1);
  Draw();
  POINT m = PixelOf(chart_, 0.4, 0.4);
  Found red = FindColour(*dc_, kRed);
  EXPECT_GT(red.count, 10);
  EXPECT_GE(red.bounds.left, m.x - 4);
  EXPECT_LE(red.bounds.right, m.x + 5);
  EXPECT_LE(red.bounds.bottom, m.y + 5);
  s.count = 2;  // with the second point the line reaches out to it
  Draw();
  EXPECT_GT(FindColour(*dc_, kRed).bounds.right, PixelOf(chart_, 0.85, 0).x);
}

TEST_F(SmallChart, LinesAreClippedToThePlot) {
  // Above the plot to below it, both ends outside: nothing is drawn.
  static float x[] = {0.5f, 0.52f}, outside[] = {2.0f, -1.0f}, leaving[] = {0.5f, 2.0f};
  AddRedSeries(0, 1).SetPoints(x, outside, 2);
  Draw();
  EXPECT_EQ(FindColour(*dc_, kRed).count, 0);
  // From inside to above: the line ends on the plot's top row, which LineTo leaves out.
  chart_.series[0].SetPoints(x, leaving, 2);
  Draw();
  Found red = FindColour(*dc_, kRed);
  const RECT& p = chart_.plotRect;
  EXPECT_GT(red.count, 20);
  EXPECT_EQ(red.bounds.top, p.top + 1);
  EXPECT_EQ(red.bounds.bottom, PixelOf(chart_, 0.5, 0.5).y + 1);
  EXPECT_GE(red.bounds.left, p.left);
  EXPECT_LE(red.bounds.right, p.right);
}

TEST_F(SmallChart, BandsOverlapsAndTheGridAboveThem) {
  Draw();  // the fixed ranges give the ticks before any series is there
  const double t = chart_.xFirst + 2 * chart_.xStep, step = chart_.xStep;
  // Band 1 around the tick t, band 2 from a quarter step after it; probes off the ticks.
  static float from[2], to[2];
  from[0] = static_cast<float>(t - step / 2), to[0] = static_cast<float>(t + step / 2);
  from[1] = static_cast<float>(t + step / 4), to[1] = static_cast<float>(t + step);
  static int kinds[] = {1, 2};
  ChartSeries& bands = AddRedSeries(6, 1);
  bands.SetPoints(from, to, 2);
  bands.bandKinds = kinds;
  Draw();
  int y = PixelOf(chart_, 0, chart_.yFirst + chart_.yStep / 2).y;  // between grid lines
  auto colourAt = [&](double x) { return dc_->GetPixel(PixelOf(chart_, x, 0).x, y); };
  EXPECT_EQ(colourAt(t - step / 4), 0xA2FFFFu);
  EXPECT_EQ(colourAt(t + step * 3 / 8), 0xC5C5FFu);  // the overlap
  EXPECT_EQ(colourAt(t + step * 3 / 4), 0xC5C5C5u);
  EXPECT_EQ(colourAt(t + step * 5 / 4), kGrey);
  EXPECT_EQ(colourAt(t), kGrid);  // the grid is drawn again over the bands
  EXPECT_EQ(FindColour(*dc_, kRed).count, 0);  // no outline, no line
}

TEST_F(SmallChart, ArrowFromTheMarkerToTheLinkedPoint) {
  static float x[] = {0.5f}, from[] = {0.2f}, to[] = {0.8f};
  ChartSeries& target = chart_.series[chart_.AddSeries()];
  target.SetPoints(x, to, 1);
  target.lineType = 0;
  ChartSeries& arrow = AddRedSeries(5, 0);
  arrow.SetPoints(x, from, 1);
  arrow.linkedSeries = &chart_.series[0];
  Draw();
  POINT a = PixelOf(chart_, 0.5, 0.2), b = PixelOf(chart_, 0.5, 0.8);
  ASSERT_GT(a.y - b.y, 4 * 3);
  EXPECT_EQ(dc_->GetPixel(a.x, (a.y + b.y) / 2), kRed);  // the shaft
  int headRow = b.y + 3 * 3 / 2;
  bool left = dc_->GetPixel(a.x - 1, headRow) == kRed, right = dc_->GetPixel(a.x + 1, headRow) == kRed;
  EXPECT_TRUE(left && right);
  EXPECT_NE(dc_->GetPixel(a.x, b.y - 2), kRed);  // the arrow ends at the point
}

TEST_F(SmallChart, AutomaticAxesKeepEveryPointInsideAndEndOnTicks) {
  static float x[] = {0.31f, 2.2f, 9.73f}, y[] = {-41.0f, 7.5f, 1210.0f};
  AddRedSeries(1, 1).SetPoints(x, y, 3);
  chart_.SetXRange(0, 0);
  chart_.SetYRange(0, 0);
  Draw();
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(chart::InsidePlot(PixelOf(chart_, x[i], y[i]), chart_.plotRect)) << i;
  for (auto [min, first, step] : {std::tuple{chart_.xRange.min, chart_.xFirst, chart_.xStep},
                                  std::tuple{chart_.yRange.min, chart_.yFirst, chart_.yStep}}) {
    EXPECT_LE(min, first);
    EXPECT_LT(first - min, step / 2 + 1e-9);
  }
  EXPECT_LE(chart_.xRange.min, 0.31);
  EXPECT_GE(chart_.xRange.max, 9.73);
}

TEST(ChartTooSmall, DrawsOnlyTheBackgroundAndDoubleBufferedNothing) {
  for (bool buffered : {false, true}) {
    SCOPED_TRACE(buffered ? "double-buffered" : "direct");
    auto dc = CDC::CreateSurface(100, 100);
    HBRUSH green = CreateSolidBrush(0x00FF00);
    RECT all{0, 0, 100, 100};
    dc->FillRect(&all, green);
    DeleteObject(green);
    Chart chart;
    ConfigureGraphPageChart(chart);
    chart.Draw(dc.get(), RECT{10, 10, 50, 40}, buffered);
    Found white = FindColour(*dc, kWhite);
    if (buffered) {
      EXPECT_EQ(FindColour(*dc, 0x00FF00).count, 100 * 100);
    } else {
      EXPECT_EQ(white.count, 40 * 30);
      EXPECT_EQ(white.bounds.left, 10);
      EXPECT_EQ(white.bounds.bottom, 40);
    }
  }
}

}  // namespace
