// chart.h: the x-y plot of the graph page and of the report picture.
//
// A Chart draws into a drawing context and a rectangle its owner hands it: the outer
// background, the x title under the plot and the y title rotated beside it, a filled
// plot area with grid, axes with ticks and labels at 1, 2, 2.5, 3, 5 or 10 times a power
// of ten, and its series as markers and lines clipped to the plot. It has no window.
// The arithmetic (value to pixel, automatic ranges, tick steps, labels, clipping) is in
// the free functions of namespace chart, which Draw uses and tests call directly.
// Series do not own their point arrays: they must stay valid until a draw is over.
// Cost: a draw measures every tick label a few times while the layout settles (the
// x labels once per tried spacing) and creates and frees its pens, brushes and fonts.
#pragma once

#include <deque>
#include <functional>
#include <vector>

#include "platform/sys/text.h"
#include "platform/win/dc.h"

struct ChartRange {
  double min = 0;
  double max = 0;
  bool operator==(const ChartRange&) const = default;
};

struct ChartSeries {
  COLORREF colour = 0x000000;
  int count = 0;
  const float* xValues = nullptr;  // none: point i has x = xStart + i * xStepGen
  const float* yValues = nullptr;  // none: point i has y = yStart + i * yStepGen
  const int* bandKinds = nullptr;  // colour choice per point of marker type 6
  const ChartSeries* linkedSeries = nullptr;  // target points of marker type 5
  double xStart = 0, xEnd = 100, xStepGen = 1;
  double yStart = 0, yEnd = 100, yStepGen = 1;
  int markerType = 0;  // 0 none, 1 circle, 2 diagonal cross, 3 upright cross, 4 square,
                       // 5 circle with arrow to the linked point, 6 vertical bands
  int penStyle = PS_SOLID;
  int penWidth = 0;    // 0 draws one pixel wide
  int markerSize = 4;  // half-size in pixels
  int lineType = 1;    // 0 none, 1 straight segments, 2 smooth curve
  int curveSteps = 20;
  int hidden = 0;

  // Points the series at count values of each array (the arrays are not copied).
  void SetPoints(const float* x, const float* y, int pointCount);
};

// Chart flags (bit 0 polar, bit 1 logarithmic x, bit 2 logarithmic y) and frame flags.
inline constexpr int kChartPolar = 1;
inline constexpr int kChartLogX = 2;
inline constexpr int kChartLogY = 4;
inline constexpr int kFrameVerticalGrid = 1;
inline constexpr int kFrameHorizontalGrid = 2;
inline constexpr int kFrameTicksAllSides = 4;
inline constexpr int kFrameClosed = 8;

namespace chart {
// The default fonts: "Arial", height 12, weight 400, default character set; the title
// font also asks for TrueType output, proof quality and variable pitch.
LOGFONTW DefaultAxisFont();
LOGFONTW DefaultTitleFont();
}  // namespace chart

class Chart {
 public:

  // Every field back to its default; no series.
  void Init();
  // Index of a new series with default settings (references to series stay valid).
  int AddSeries();
  void DeleteAllSeries() { series.clear(); }
  // min >= max switches the axis to automatic; otherwise the axis is fixed to (min, max).
  void SetXRange(double min, double max);
  void SetYRange(double min, double max);
  // Lays out and draws the chart into rect of surface. With doubleBuffered the chart is
  // drawn off-screen and copied in one BitBlt, and only when the plot got room.
  void Draw(CDC* target, const RECT& rect, bool doubleBuffered);

  int flags = 0;
  RECT plotRect{};  // set by the layout
  CDC* surface = nullptr;  // during a draw
  bool autoX = true, autoY = true;
  ChartRange xRange, yRange;    // in force for the current (or last) draw
  ChartRange manualX, manualY;  // used when the axis is not automatic
  int minSpanExpX = 3, minSpanExpY = 3;
  COLORREF axisColour = 0x000000;
  COLORREF gridColour = 0xBFBFBF;
  COLORREF plotBackground = 0xFFFFFF;
  int axisPenWidth = 0;  // above 1 the plot area also gets a black border this wide
  int frameFlags = kFrameVerticalGrid | kFrameHorizontalGrid | kFrameClosed;
  double xStep = 1, xFirst = 0, xLast = 0;
  double yStep = 1, yFirst = 0, yLast = 0;
  bool xRangeDone = false, yRangeDone = false;
  int tickIn = 4, tickOut = 2, labelGap = 2;
  LOGFONTW axisFont = chart::DefaultAxisFont();
  std::deque<ChartSeries> series;
  COLORREF titleColour = 0x000000;
  COLORREF outerBackground = 0xFFFFFF;
  int titleGap = 2, margin = 1;
  sys::Text xTitle, yTitle;  // up to 256 characters are drawn
  LOGFONTW titleFont = chart::DefaultTitleFont();

 private:
  bool DrawInto(CDC* dc, RECT rect);
  void DrawTitles(CDC* dc, const RECT& area, HFONT xFont, HFONT yFont);
  RECT ReserveAxisRoom(RECT rect, const TEXTMETRICW& tm);
  void DrawContents(CDC* dc, HBRUSH ownersBrush);
  void DrawPlotArea(CDC* dc, HBRUSH ownersBrush);
  bool FitPlot(CDC* dc, const RECT& base, const TEXTMETRICW& metrics);
  void UpdateRanges();
  void DrawGrid(CDC* dc);
  void DrawAxes(CDC* dc);
};

// The two configurations the system draws. Graph page: title font "Arial" 16 Cyrillic,
// default axis font, axis pen 0, fixed ranges (0, 1); its series 0x737FFF, pen 2,
// circles of size 2, straight lines. Report picture: both fonts "Arial" 25 Cyrillic,
// axis pen 2; its series black, pen 2, circles of size 3, straight lines. Both: frame
// flags 11 and the titles "Концентрация, моль%" and "Площадь".
void ConfigureGraphPageChart(Chart& chart);
void ConfigureGraphPageSeries(ChartSeries& series);
void ConfigureReportChart(Chart& chart);
void ConfigureReportSeries(ChartSeries& series);
// Ranges of the data widened by fraction of their span on each side (0.1 on the graph
// page, 0.07 in the report); a span of zero makes that axis automatic.
void SetRangesAroundData(Chart& chart, double minX, double maxX, double minY, double maxY,
                         double fraction);

namespace chart {

// Pixel of value v on an axis of range r over the plot's columns (rows, y growing
// upwards). 0 when r.max == r.min; far values are held at +-kPixelLimit.
inline constexpr int kPixelLimit = 1 << 24;
int ValueToPixelX(double v, ChartRange r, const RECT& plot);
int ValueToPixelY(double v, ChartRange r, const RECT& plot);

// The automatic range of data from dataMin to dataMax: never narrower than
// max(|min|, |max|) / 10^minSpanExp, and 1 / 10^minSpanExp wide around a single value.
ChartRange WidenRange(double dataMin, double dataMax, int minSpanExp);
enum class Axis { X, Y };
// WidenRange over the finite values of all series (bands and empty series skipped);
// (0, 0) without any.
ChartRange AutomaticRange(const std::deque<ChartSeries>& series, Axis axis, int minSpanExp,
                          int chartFlags);

struct Ticks {
  double step = 1, first = 0, last = 0;
  ChartRange range;  // the range after the ends were moved onto ticks
};
// Tick step for an axis of length pixels and labels at least spacing pixels apart; an
// automatic axis grows to the ticks next to its ends. No ticks (first > last) for an
// empty range or a length or spacing that is not positive.
Ticks ChooseTicks(ChartRange range, int length, int spacing, bool automatic);
// The tick values, first and then adding the step while below last + step / 2; values
// within a millionth of a step from zero are zero.
std::vector<double> TickValues(const Ticks& ticks);
// "%.10g" in the runtime locale, at most 64 characters.
sys::Text TickLabel(double value);

// The x tick fit: spacing from 6 average character widths up, one width at a time,
// until the widest label plus 3 widths fits between two ticks or the spacing reaches
// the plot width. *widest gets the widest label of the last pass.
using LabelWidth = std::function<int(const sys::Text&)>;
Ticks FitXTicks(ChartRange range, bool automatic, int plotWidth, int averageCharWidth,
                const LabelWidth& labelWidth, int* widest);

struct TickMetrics {
  int tickIn, tickOut, labelGap;
};
TickMetrics TickMetricsFor(int fontHeight);

// GDI's MulDiv: number * numerator / denominator rounded half away from zero; -1 when
// the denominator is 0 or the result overflows.
int MulDiv(int number, int numerator, int denominator);

bool InsidePlot(POINT p, const RECT& plot);
struct ClippedSegment {
  bool draw = false;
  POINT from{}, to{};
};
// A line segment between two pixels cut to the plot: nothing when both ends are
// outside, as is when both are inside, otherwise the outside end moved onto the lines
// y = top, y = bottom - 1, x = left, x = right - 1 in turn.
ClippedSegment ClipSegment(POINT from, bool fromInside, POINT to, bool toInside, const RECT& plot);

}  // namespace chart
