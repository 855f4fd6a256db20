// chart.cpp: layout, scaling, ticks and series drawing of the x-y plot.
//
// Everything here is integer pixel arithmetic over the drawing context's GDI-like
// operations; the free functions of namespace chart carry the rules and are shared by
// Draw and the tests. Pens, brushes and fonts made during a draw are freed before it
// returns; the context's previous pen, brush, font and text settings come back too.
#include "ui/chart.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>

#include "platform/sys/format.h"

namespace chart {

namespace {

int ClampPixel(double pixel) {
  if (std::isnan(pixel)) return -kPixelLimit;
  return static_cast<int>(std::clamp<double>(pixel, -kPixelLimit, kPixelLimit));
}

// Position of v along a run of `pixels` pixels, rounded as the axes are.
double Offset(double v, ChartRange r, int pixels) {
  return std::ceil((v - r.min) / (r.max - r.min) * (pixels - 1) - 0.5);
}

}  // namespace

int ValueToPixelX(double v, ChartRange r, const RECT& plot) {
  if (r.max == r.min) return 0;
  return ClampPixel(plot.left + Offset(v, r, plot.right - plot.left));
}

int ValueToPixelY(double v, ChartRange r, const RECT& plot) {
  if (r.max == r.min) return 0;
  return ClampPixel(plot.bottom - 1 - Offset(v, r, plot.bottom - plot.top));
}

ChartRange WidenRange(double dataMin, double dataMax, int minSpanExp) {
  double a = std::pow(10.0, minSpanExp);
  if (dataMax == dataMin) return {dataMin - 0.5 / a, dataMax + 0.5 / a};
  double d = std::max(std::abs(dataMax), std::abs(dataMin)) / a;
  if (dataMax - dataMin < d) {
    double centre = (dataMin + dataMax) / 2;
    return {centre - d / 2, centre + d / 2};
  }
  return {dataMin, dataMax};
}

namespace {

struct PointValue {
  double x, y;
};

double AxisValue(const float* values, double start, double step, int i, bool logarithmic) {
  double v = values != nullptr ? static_cast<double>(values[i]) : start + i * step;
  return logarithmic ? std::log10(v) : v;
}

// Point i of a series in plot coordinates: logarithms first, then the polar placement.
PointValue ValueOf(const ChartSeries& s, int i, int chartFlags) {
  double x = AxisValue(s.xValues, s.xStart, s.xStepGen, i, (chartFlags & kChartLogX) != 0);
  double y = AxisValue(s.yValues, s.yStart, s.yStepGen, i, (chartFlags & kChartLogY) != 0);
  if (chartFlags & kChartPolar) return {y * std::cos(x), y * std::sin(x)};
  return {x, y};
}

}  // namespace

ChartRange AutomaticRange(const std::deque<ChartSeries>& series, Axis axis, int minSpanExp,
                          int chartFlags) {
  double lo = std::numeric_limits<double>::infinity();
  double hi = -lo;
  for (const ChartSeries& s : series) {
    if (s.markerType == 6 || s.count <= 0) continue;
    for (int i = 0; i < s.count; ++i) {
      PointValue p = ValueOf(s, i, chartFlags);
      double v = axis == Axis::X ? p.x : p.y;
      if (!std::isfinite(v)) continue;
      lo = std::min(lo, v);
      hi = std::max(hi, v);
    }
  }
  if (lo > hi) return {0, 0};
  return WidenRange(lo, hi, minSpanExp);
}

Ticks ChooseTicks(ChartRange range, int length, int spacing, bool automatic) {
  Ticks t;
  t.range = range;
  t.first = 1;
  t.last = 0;
  if (!(range.max > range.min) || !std::isfinite(range.max - range.min) || length <= 0 || spacing <= 0) {
    return t;
  }
  double q = (range.max - range.min) * spacing / length;
  double k = std::floor(std::log10(q));
  double power = std::pow(10.0, k);
  double m = q / power;
  double mantissa = m > 7.5 ? 10 : m > 3.5 ? 5 : m > 2.6 ? 3 : m > 2.4 ? 2.5 : m > 1.5 ? 2 : 1;
  double step = mantissa * power;
  t.step = step;
  double h = std::floor(range.min / step);
  if (automatic && range.min - h * step < step / 2) {
    t.first = h * step;
    t.range.min = std::floor(range.min / step) * step;
  } else {
    t.first = std::ceil(range.min / step - 0.01) * step;
  }
  double u = range.max / step;
  if (automatic && std::ceil(u) * step - range.max < step / 2) {
    t.last = std::ceil(u) * step;
    t.range.max = std::ceil(range.max / step) * step;
  } else {
    t.last = std::floor(u + 0.01) * step;
  }
  return t;
}

std::vector<double> TickValues(const Ticks& ticks) {
  std::vector<double> values;
  double step = ticks.step;
  if (!(step > 0) || !std::isfinite(step) || !std::isfinite(ticks.first) || !std::isfinite(ticks.last)) {
    return values;
  }
  // A bound against ranges so far from zero that adding the step changes nothing.
  const std::size_t kMaxTicks = 10000;
  for (double v = ticks.first; v < ticks.last + step / 2 && values.size() < kMaxTicks; v += step) {
    if (std::abs(v) < step * 1e-6) v = 0;  // accumulated error around zero
    values.push_back(v);
    if (v + step == v) break;
  }
  return values;
}

sys::Text TickLabel(double value) {
  sys::Text label = sys::Format(u"%.10g", value);
  if (label.size() > 64) label.resize(64);
  return label;
}

Ticks FitXTicks(ChartRange range, bool automatic, int plotWidth, int averageCharWidth,
                const LabelWidth& labelWidth, int* widest) {
  int avg = std::max(1, averageCharWidth);
  int spacing = 6 * avg;
  Ticks ticks;
  while (true) {
    ticks = ChooseTicks(range, plotWidth, spacing, automatic);
    int wide = 0;
    for (double v : TickValues(ticks)) wide = std::max(wide, labelWidth(TickLabel(v)));
    if (widest != nullptr) *widest = wide;
    spacing += avg;
    double span = ticks.range.max - ticks.range.min;
    if (spacing >= plotWidth || wide + 3 * avg <= plotWidth * ticks.step / span) break;
  }
  return ticks;
}

TickMetrics TickMetricsFor(int fontHeight) {
  return {std::max(1, fontHeight / 3), std::max(1, fontHeight / 6), std::max(1, fontHeight / 5)};
}

int MulDiv(int number, int numerator, int denominator) {
  if (denominator == 0) return -1;
  std::int64_t product = static_cast<std::int64_t>(number) * numerator;
  bool negative = (product < 0) != (denominator < 0);
  std::int64_t magnitude = product < 0 ? -product : product;
  std::int64_t divisor = denominator < 0 ? -static_cast<std::int64_t>(denominator) : denominator;
  std::int64_t quotient = (magnitude + divisor / 2) / divisor;
  if (quotient > std::numeric_limits<int>::max()) return -1;
  return static_cast<int>(negative ? -quotient : quotient);
}

bool InsidePlot(POINT p, const RECT& plot) {
  return p.x >= plot.left && p.x < plot.right && p.y >= plot.top && p.y < plot.bottom;
}

namespace {

// Moves `end` along the segment from `fixed` onto the horizontal line y = line.
void OntoY(POINT& end, POINT fixed, int line) {
  end.x = fixed.x + MulDiv(end.x - fixed.x, line - fixed.y, end.y - fixed.y);
  end.y = line;
}

void OntoX(POINT& end, POINT fixed, int line) {
  end.y = fixed.y + MulDiv(end.y - fixed.y, line - fixed.x, end.x - fixed.x);
  end.x = line;
}

}  // namespace

ClippedSegment ClipSegment(POINT from, bool fromInside, POINT to, bool toInside, const RECT& plot) {
  if (fromInside && toInside) return {true, from, to};
  if (!fromInside && !toInside) return {false, from, to};
  POINT a = from, b = to;
  // At each line, the end on the far side (above the top line, below the bottom line,
  // left of the left line, right of the right line) moves onto the line when the
  // segment crosses it.
  int top = plot.top, bottom = plot.bottom - 1, left = plot.left, right = plot.right - 1;
  POINT& upper = a.y <= b.y ? a : b;
  if (upper.y < top && std::max(a.y, b.y) >= top) OntoY(upper, &upper == &a ? b : a, top);
  POINT& lower = a.y >= b.y ? a : b;
  if (lower.y > bottom && std::min(a.y, b.y) <= bottom) OntoY(lower, &lower == &a ? b : a, bottom);
  POINT& leftEnd = a.x <= b.x ? a : b;
  if (leftEnd.x < left && std::max(a.x, b.x) >= left) OntoX(leftEnd, &leftEnd == &a ? b : a, left);
  POINT& rightEnd = a.x >= b.x ? a : b;
  if (rightEnd.x > right && std::min(a.x, b.x) <= right) OntoX(rightEnd, &rightEnd == &a ? b : a, right);
  return {true, a, b};
}

}  // namespace chart

// ---- Series --------------------------------------------------------------------------

void ChartSeries::SetPoints(const float* x, const float* y, int pointCount) {
  xValues = x;
  yValues = y;
  count = std::max(0, pointCount);
}

namespace {

// What a series takes from the chart for one draw.
struct SeriesFrame {
  CDC* dc;
  int flags;
  RECT plot;
  ChartRange x, y;
};

POINT PixelOf(const ChartSeries& s, int i, const SeriesFrame& f) {
  chart::PointValue v = chart::ValueOf(s, i, f.flags);
  return POINT{chart::ValueToPixelX(v.x, f.x, f.plot), chart::ValueToPixelY(v.y, f.y, f.plot)};
}

// The polyline walker: clips each step to the plot and marks long steps with a dot.
class LineWalker {
 public:
  LineWalker(const SeriesFrame& frame, POINT start) : f_(frame), last_(start) {
    lastInside_ = chart::InsidePlot(start, f_.plot);
    f_.dc->MoveToEx(start.x, start.y);
  }
  void To(POINT p) {
    if (p.x == last_.x && p.y == last_.y) return;
    bool inside = chart::InsidePlot(p, f_.plot);
    chart::ClippedSegment c = chart::ClipSegment(last_, lastInside_, p, inside, f_.plot);
    if (c.draw) {
      if (!lastInside_) f_.dc->MoveToEx(c.from.x, c.from.y);
      f_.dc->LineTo(c.to.x, c.to.y);
      if (std::abs(c.to.x - c.from.x) > 12) f_.dc->Ellipse(c.to.x - 2, c.to.y - 2, c.to.x + 3, c.to.y + 3);
    }
    last_ = p;
    lastInside_ = inside;
  }

 private:
  const SeriesFrame& f_;
  POINT last_;
  bool lastInside_ = false;
};

void DrawStraightLine(const ChartSeries& s, const SeriesFrame& f) {
  LineWalker walk(f, PixelOf(s, 0, f));
  for (int i = 1; i < s.count; ++i) walk.To(PixelOf(s, i, f));
}

// A Catmull-Rom curve through the points' pixels, the ends' tangents taken from their
// one neighbour, walked in curveSteps straight steps per interval.
void DrawSmoothCurve(const ChartSeries& s, const SeriesFrame& f) {
  std::vector<POINT> p(static_cast<std::size_t>(s.count));
  for (int i = 0; i < s.count; ++i) p[static_cast<std::size_t>(i)] = PixelOf(s, i, f);
  int steps = std::max(1, s.curveSteps);
  LineWalker walk(f, p[0]);
  for (std::size_t i = 0; i + 1 < p.size(); ++i) {
    POINT p0 = p[i == 0 ? 0 : i - 1], p1 = p[i], p2 = p[i + 1], p3 = p[std::min(i + 2, p.size() - 1)];
    for (int j = 1; j <= steps; ++j) {
      double t = static_cast<double>(j) / steps, t2 = t * t, t3 = t2 * t;
      auto blend = [&](double a, double b, double c, double d) {
        return 0.5 * (2 * b + (c - a) * t + (2 * a - 5 * b + 4 * c - d) * t2 + (3 * b - a - 3 * c + d) * t3);
      };
      double x = blend(p0.x, p1.x, p2.x, p3.x), y = blend(p0.y, p1.y, p2.y, p3.y);
      walk.To(POINT{static_cast<LONG>(std::lround(std::clamp<double>(x, -chart::kPixelLimit, chart::kPixelLimit))),
                    static_cast<LONG>(std::lround(std::clamp<double>(y, -chart::kPixelLimit, chart::kPixelLimit)))});
    }
  }
}

void DrawArrowToLinked(const ChartSeries& s, int i, POINT at, const SeriesFrame& f) {
  const ChartSeries* linked = s.linkedSeries;
  if (linked == nullptr || i >= linked->count) return;
  POINT to = PixelOf(*linked, i, f);
  int size = s.markerSize, dy = to.y - at.y;
  if (std::abs(dy) < size) return;
  int towards = dy > 0 ? 1 : -1;
  f.dc->MoveToEx(at.x, at.y + towards * size);
  f.dc->LineTo(to.x, to.y);
  if (std::abs(dy) < 4 * size) return;
  for (int side : {-2, 2}) {
    f.dc->MoveToEx(to.x, to.y);
    f.dc->LineTo(to.x + side, to.y - towards * 3 * size);
  }
}

void DrawMarker(const ChartSeries& s, int i, POINT p, const SeriesFrame& f) {
  CDC* dc = f.dc;
  int x = p.x, y = p.y, m = s.markerSize;
  switch (s.markerType) {
    case 1:
      dc->Ellipse(x - m, y - m, x + m + 1, y + m + 1);
      break;
    case 2:
      dc->MoveToEx(x - m, y - m);
      dc->LineTo(x + m + 1, y + m + 1);
      dc->MoveToEx(x + m, y - m);
      dc->LineTo(x - m - 1, y + m + 1);
      break;
    case 3:
      dc->MoveToEx(x, y - m);
      dc->LineTo(x, y + m + 1);
      dc->MoveToEx(x - m, y);
      dc->LineTo(x + m + 1, y);
      break;
    case 4:
      dc->Rectangle(x - m, y - m, x + m + 1, y + m + 1);
      break;
    case 5:
      dc->Ellipse(x - m, y - m, x + m + 1, y + m + 1);
      DrawArrowToLinked(s, i, p, f);
      break;
    default:
      break;
  }
}

COLORREF BandColour(const ChartSeries& s, int i) {
  switch (s.bandKinds != nullptr ? s.bandKinds[i] : 0) {
    case 1: return 0xA2FFFF;
    case 2: return 0xC5C5C5;
    case 3: return 0xC5C5FF;
    default: return 0xFFFFC2;
  }
}

RECT Intersect(const RECT& a, const RECT& b) {
  RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
  if (r.left >= r.right || r.top >= r.bottom) return RECT{0, 0, 0, 0};
  return r;
}

bool IsEmpty(const RECT& r) { return r.left >= r.right || r.top >= r.bottom; }

void FillWith(CDC* dc, const RECT& r, COLORREF colour) {
  if (IsEmpty(r)) return;
  HBRUSH brush = CreateSolidBrush(colour);
  dc->FillRect(&r, brush);
  DeleteObject(brush);
}

// Marker type 6: each point's two values are x positions bounding a band over the full
// plot height; where two bands overlap the overlap gets its own colour.
void DrawBands(const ChartSeries& s, const SeriesFrame& f) {
  bool logX = (f.flags & kChartLogX) != 0;
  std::vector<RECT> bands;
  for (int i = 0; i < s.count; ++i) {
    double a = chart::AxisValue(s.xValues, s.xStart, s.xStepGen, i, logX);
    double b = chart::AxisValue(s.yValues, s.yStart, s.yStepGen, i, logX);
    int xa = chart::ValueToPixelX(a, f.x, f.plot), xb = chart::ValueToPixelX(b, f.x, f.plot);
    RECT band = Intersect(RECT{std::min(xa, xb), f.plot.top, std::max(xa, xb), f.plot.bottom}, f.plot);
    bands.push_back(band);
    FillWith(f.dc, band, BandColour(s, i));
  }
  for (std::size_t i = 0; i < bands.size(); ++i) {
    if (IsEmpty(bands[i])) continue;
    for (std::size_t j = i + 1; j < bands.size(); ++j) FillWith(f.dc, Intersect(bands[i], bands[j]), 0xC5C5FF);
  }
}

// One series: markers at the points inside the plot, then the line. Bands have no line.
void DrawSeries(const ChartSeries& s, const SeriesFrame& f) {
  if (s.count <= 0) return;
  HPEN pen = CreatePen(s.penStyle, s.penWidth, s.colour);
  HPEN previous = f.dc->SelectObject(pen);
  if (s.markerType == 6) {
    DrawBands(s, f);
  } else {
    if (s.markerType != 0) {
      for (int i = 0; i < s.count; ++i) {
        POINT p = PixelOf(s, i, f);
        if (chart::InsidePlot(p, f.plot)) DrawMarker(s, i, p, f);
      }
    }
    bool smooth = s.lineType == 2 && s.count >= 3;
    if (smooth) DrawSmoothCurve(s, f);
    else if ((s.lineType == 1 || s.lineType == 2) && s.count >= 2) DrawStraightLine(s, f);
  }
  f.dc->SelectObject(previous);
  DeleteObject(pen);
}

// Restores a context's pen, brush, font and text settings when a draw ends.
class DcStateKeeper {
 public:
  explicit DcStateKeeper(CDC* dc) : dc_(dc) {
    pen_ = dc->SelectObject(GetStockPen(BLACK_PEN));
    dc->SelectObject(pen_);
    brush_ = dc->SelectObject(GetStockBrush(NULL_BRUSH));
    dc->SelectObject(brush_);
    font_ = dc->SelectObject(GetStockFont(SYSTEM_FONT));
    dc->SelectObject(font_);
    align_ = dc->SetTextAlign(TA_LEFT | TA_TOP);
    colour_ = dc->SetTextColor(0);
    mode_ = dc->SetBkMode(OPAQUE);
  }
  ~DcStateKeeper() {
    dc_->SelectObject(pen_);
    dc_->SelectObject(brush_);
    dc_->SelectObject(font_);
    dc_->SetTextAlign(align_);
    dc_->SetTextColor(colour_);
    dc_->SetBkMode(mode_);
  }
  HBRUSH brush() const { return brush_; }

 private:
  CDC* dc_;
  HPEN pen_;
  HBRUSH brush_;
  HFONT font_;
  UINT align_;
  COLORREF colour_;
  int mode_;
};

// Deletes a font when a scope ends (the font must be deselected by then).
struct FontHolder {
  HFONT font;
  ~FontHolder() { DeleteObject(font); }
};

sys::TextView Title(const sys::Text& text) { return sys::TextView(text).substr(0, 256); }

}  // namespace

// ---- Chart ---------------------------------------------------------------------------

LOGFONTW chart::DefaultAxisFont() { return MakeLogFont(u"Arial", 12, FW_NORMAL, DEFAULT_CHARSET); }

LOGFONTW chart::DefaultTitleFont() {
  LOGFONTW font = DefaultAxisFont();
  font.lfOutPrecision = OUT_TT_ONLY_PRECIS;
  font.lfQuality = PROOF_QUALITY;
  font.lfPitchAndFamily = VARIABLE_PITCH;
  return font;
}

void Chart::Init() { *this = Chart(); }

int Chart::AddSeries() {
  series.emplace_back();
  return static_cast<int>(series.size()) - 1;
}

void Chart::SetXRange(double min, double max) {
  if (flags & kChartLogX) {
    min = std::log10(std::max(min, 0.0));
    max = std::log10(max);
  }
  if (!(min < max) || !std::isfinite(min) || !std::isfinite(max)) {
    autoX = true;
    return;
  }
  autoX = false;
  manualX = {min, max};
}

void Chart::SetYRange(double min, double max) {
  if (flags & kChartLogY) {
    min = std::log10(min);
    max = std::log10(max);
  }
  if (!(min < max) || !std::isfinite(min) || !std::isfinite(max)) {
    autoY = true;
    return;
  }
  autoY = false;
  manualY = {min, max};
}

void Chart::Draw(CDC* target, const RECT& rect, bool doubleBuffered) {
  int width = rect.right - rect.left, height = rect.bottom - rect.top;
  if (target == nullptr || width <= 0 || height <= 0) return;
  if (doubleBuffered) {
    std::unique_ptr<CDC> buffer = CDC::CreateSurface(width, height);
    if (buffer && DrawInto(buffer.get(), RECT{0, 0, width, height})) {
      target->BitBlt(rect.left, rect.top, width, height, buffer.get(), 0, 0, SRCCOPY);
    }
  } else {
    DrawInto(target, rect);
  }
  xRangeDone = yRangeDone = false;
  surface = nullptr;
}

// Draws into dc; false when the plot got no room, and then only the outer background
// is there: the layout is settled before anything else is drawn.
bool Chart::DrawInto(CDC* dc, RECT rect) {
  surface = dc;
  DcStateKeeper keep(dc);
  FillWith(dc, rect, outerBackground);
  rect.bottom -= margin;
  rect.left += margin;
  const RECT titleArea = rect;

  LOGFONTW rotated = titleFont;
  rotated.lfEscapement = rotated.lfOrientation = 900;
  FontHolder xTitleFont{CreateFontIndirectW(&titleFont)};
  FontHolder yTitleFont{CreateFontIndirectW(&rotated)};
  FontHolder axis{CreateFontIndirectW(&axisFont)};
  dc->SelectObject(xTitleFont.font);
  SIZE xTitleSize = dc->GetTextExtent(Title(xTitle));
  dc->SelectObject(yTitleFont.font);
  SIZE yTitleSize = dc->GetTextExtent(Title(yTitle));  // upright, its height is its width
  rect.bottom -= titleGap + xTitleSize.cy;
  rect.left += titleGap + yTitleSize.cy;

  dc->SelectObject(axis.font);
  TEXTMETRICW tm{};
  dc->GetTextMetricsW(&tm);
  bool fitted = FitPlot(dc, ReserveAxisRoom(rect, tm), tm);
  if (fitted) {
    DrawTitles(dc, titleArea, xTitleFont.font, yTitleFont.font);
    dc->SelectObject(axis.font);
    DrawContents(dc, keep.brush());
  }
  dc->SelectObject(GetStockFont(SYSTEM_FONT));  // the fonts can be deleted now
  return fitted;
}

// Sets the tick metrics from the axis font and returns rect less the room for the
// ticks and labels outside the plot (and the frame, when it is closed).
RECT Chart::ReserveAxisRoom(RECT rect, const TEXTMETRICW& tm) {
  chart::TickMetrics ticks = chart::TickMetricsFor(tm.tmHeight);
  tickIn = ticks.tickIn;
  tickOut = ticks.tickOut;
  labelGap = ticks.labelGap;
  int e = (frameFlags & (kFrameTicksAllSides | kFrameClosed)) ? 1 : 0;
  if (frameFlags & kFrameTicksAllSides) e += tickOut;
  int f = labelGap + tickOut;
  rect.top += std::max<int>(e, tm.tmAscent);
  rect.left += f + 1;
  rect.right -= e;
  rect.bottom -= f + tm.tmHeight + 1;
  return rect;
}

// Plot area, grid, series in list order and axes, into the laid-out plot rectangle.
void Chart::DrawContents(CDC* dc, HBRUSH ownersBrush) {
  DrawPlotArea(dc, ownersBrush);
  DrawGrid(dc);
  SeriesFrame frame{dc, flags, plotRect, xRange, yRange};
  for (const ChartSeries& s : series) {
    if (s.hidden != 0) continue;
    DrawSeries(s, frame);
    dc->SelectObject(GetStockBrush(NULL_BRUSH));  // later series draw hollow markers
    if (s.markerType == 6) DrawGrid(dc);          // bands cover the grid
  }
  DrawAxes(dc);
}

// The x title right- and bottom-aligned at the bottom right of area, the y title
// reading upwards and ending near its top left.
void Chart::DrawTitles(CDC* dc, const RECT& area, HFONT xFont, HFONT yFont) {
  dc->SetTextColor(titleColour);
  dc->SetBkMode(TRANSPARENT);
  dc->SelectObject(xFont);
  dc->SetTextAlign(TA_RIGHT | TA_BOTTOM);
  dc->TextOutW(area.right - margin - 1, area.bottom, Title(xTitle));
  dc->SelectObject(yFont);
  dc->SetTextAlign(TA_RIGHT | TA_TOP);
  dc->TextOutW(area.left, area.top + margin + 1, Title(yTitle));
}

// The plot area in plotBackground, bordered when the axis pen is wider than one pixel;
// afterwards the brush of the context's owner is selected again for the first series.
void Chart::DrawPlotArea(CDC* dc, HBRUSH ownersBrush) {
  HBRUSH fill = CreateSolidBrush(plotBackground);
  HPEN border = axisPenWidth > 1 ? CreatePen(PS_SOLID, axisPenWidth, 0x000000) : GetStockPen(NULL_PEN);
  HPEN pen = dc->SelectObject(border);
  dc->SelectObject(fill);
  dc->Rectangle(plotRect.left, plotRect.top, plotRect.right, plotRect.bottom);
  dc->SelectObject(pen);
  dc->SelectObject(ownersBrush);
  DeleteObject(border);
  DeleteObject(fill);
}

void Chart::UpdateRanges() {
  if (!autoX) {
    xRange = manualX;
  } else if (!xRangeDone) {
    xRange = chart::AutomaticRange(series, chart::Axis::X, minSpanExpX, flags);
    xRangeDone = true;
  }
  if (!autoY) {
    yRange = manualY;
  } else if (!yRangeDone) {
    yRange = chart::AutomaticRange(series, chart::Axis::Y, minSpanExpY, flags);
    yRangeDone = true;
  }
}

// The fit loop: ticks and labels of the current plot rectangle decide how much room the
// labels need at the left and right; repeat until the rectangle stays.
bool Chart::FitPlot(CDC* dc, const RECT& base, const TEXTMETRICW& metrics) {
  RECT plot = base;
  auto width = [dc](const sys::Text& label) { return static_cast<int>(dc->GetTextExtent(label).cx); };
  while (!IsEmpty(plot)) {
    plotRect = plot;
    UpdateRanges();
    int wx = 0, wy = 0;
    chart::Ticks x = chart::FitXTicks(xRange, autoX, plot.right - plot.left, metrics.tmAveCharWidth, width, &wx);
    chart::Ticks y = chart::ChooseTicks(yRange, plot.bottom - plot.top, 2 * metrics.tmHeight, autoY);
    for (double v : chart::TickValues(y)) wy = std::max(wy, width(chart::TickLabel(v)));
    xRange = x.range;
    yRange = y.range;
    xStep = x.step, xFirst = x.first, xLast = x.last;
    yStep = y.step, yFirst = y.first, yLast = y.last;
    RECT next{base.left + std::max(wy, wx / 2 - labelGap - tickOut), base.top, base.right - wx / 2 - 1, base.bottom};
    next = Intersect(next, plot);
    if (next.left == plot.left && next.top == plot.top && next.right == plot.right && next.bottom == plot.bottom) {
      return true;
    }
    plot = next;
  }
  plotRect = RECT{0, 0, 0, 0};
  return false;
}

void Chart::DrawGrid(CDC* dc) {
  HPEN pen = CreatePen(PS_SOLID, 1, gridColour);
  HPEN previous = dc->SelectObject(pen);
  const RECT& p = plotRect;
  bool allSides = (frameFlags & kFrameTicksAllSides) != 0;
  if (frameFlags & kFrameVerticalGrid) {
    for (double v : chart::TickValues({xStep, xFirst, xLast, xRange})) {
      int x = chart::ValueToPixelX(v, xRange, p);
      dc->MoveToEx(x, allSides ? p.top + tickIn : p.top);
      dc->LineTo(x, p.bottom - tickIn);
    }
  }
  if (frameFlags & kFrameHorizontalGrid) {
    for (double v : chart::TickValues({yStep, yFirst, yLast, yRange})) {
      int y = chart::ValueToPixelY(v, yRange, p);
      dc->MoveToEx(allSides ? p.right - tickIn - 1 : p.right - 1, y);
      dc->LineTo(p.left + tickIn - 1, y);
    }
  }
  dc->SelectObject(previous);
  DeleteObject(pen);
}

void Chart::DrawAxes(CDC* dc) {
  HPEN pen = CreatePen(PS_SOLID, axisPenWidth, axisColour);
  HPEN previous = dc->SelectObject(pen);
  const RECT& p = plotRect;
  bool allSides = (frameFlags & kFrameTicksAllSides) != 0;
  dc->MoveToEx(p.left - 1, p.top - 1);
  dc->LineTo(p.left - 1, p.bottom);
  dc->LineTo(p.right, p.bottom);
  if (frameFlags & (kFrameTicksAllSides | kFrameClosed)) {
    dc->LineTo(p.right, p.top - 1);
    dc->LineTo(p.left - 1, p.top - 1);
  }
  dc->SetTextColor(axisColour);
  dc->SetBkMode(TRANSPARENT);
  dc->SetTextAlign(TA_CENTER | TA_TOP);
  for (double v : chart::TickValues({xStep, xFirst, xLast, xRange})) {
    int x = chart::ValueToPixelX(v, xRange, p);
    dc->MoveToEx(x, p.bottom - tickIn);
    dc->LineTo(x, p.bottom + tickOut + 1);
    if (allSides) {
      dc->MoveToEx(x, p.top - tickOut - 1);
      dc->LineTo(x, p.top + tickIn);
    }
    dc->TextOutW(x, p.bottom + tickOut + 1 + labelGap, chart::TickLabel(v));
  }
  dc->SetTextAlign(TA_RIGHT | TA_BASELINE);
  for (double v : chart::TickValues({yStep, yFirst, yLast, yRange})) {
    int y = chart::ValueToPixelY(v, yRange, p);
    dc->MoveToEx(p.left + tickIn - 1, y);
    dc->LineTo(p.left - tickOut - 2, y);
    if (allSides) {
      dc->MoveToEx(p.right + tickOut, y);
      dc->LineTo(p.right - tickIn - 1, y);
    }
    dc->TextOutW(p.left - tickOut - labelGap - 1, y, chart::TickLabel(v));
  }
  dc->SelectObject(previous);
  DeleteObject(pen);
}

// ---- The system's two configurations -------------------------------------------------

namespace {

void ConfigureCommon(Chart& chart) {
  chart.Init();
  chart.flags = 0;
  chart.frameFlags = kFrameVerticalGrid | kFrameHorizontalGrid | kFrameClosed;
  chart.xTitle = u"Концентрация, моль%";
  chart.yTitle = u"Площадь";
}

void ConfigureSeries(ChartSeries& series, COLORREF colour, int markerSize) {
  series.colour = colour;
  series.penWidth = 2;
  series.markerType = 1;
  series.markerSize = markerSize;
  series.lineType = 1;
}

}  // namespace

void ConfigureGraphPageChart(Chart& chart) {
  ConfigureCommon(chart);
  chart.titleFont.lfHeight = 16;
  chart.titleFont.lfCharSet = RUSSIAN_CHARSET;
  chart.axisPenWidth = 0;
  chart.SetXRange(0, 1);
  chart.SetYRange(0, 1);
}

void ConfigureGraphPageSeries(ChartSeries& series) { ConfigureSeries(series, 0x737FFF, 2); }

void ConfigureReportChart(Chart& chart) {
  ConfigureCommon(chart);
  chart.titleFont.lfHeight = 25;
  chart.titleFont.lfCharSet = RUSSIAN_CHARSET;
  chart.axisFont.lfHeight = 25;
  chart.axisFont.lfCharSet = RUSSIAN_CHARSET;
  chart.axisPenWidth = 2;
}

void ConfigureReportSeries(ChartSeries& series) { ConfigureSeries(series, 0x000000, 3); }

void SetRangesAroundData(Chart& chart, double minX, double maxX, double minY, double maxY, double fraction) {
  double dx = maxX - minX, dy = maxY - minY;
  chart.SetXRange(minX - fraction * dx, maxX + fraction * dx);
  chart.SetYRange(minY - fraction * dy, maxY + fraction * dy);
}
