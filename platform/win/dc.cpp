// dc.cpp: the drawing context over QPainter, with GDI's objects and pixel rules.
//
// Geometry is rasterised here, not by Qt: every line, rectangle and ellipse becomes a
// list of pixel spans filled with QPainter::fillRect on integer rectangles, which the
// raster engine maps to exactly those pixels. That keeps GDI's rules (end pixel of a
// line left out, right and bottom edges of shapes left out, one-pixel pens of width 0
// and 1) independent of Qt's own stroker. Text goes through QPainter::drawText with an
// unsmoothed, fully hinted font without kerning, so glyph advances are whole pixels
// and add up as GDI's do; "Arial" resolves through fontconfig (Liberation Sans here).
// Assumes a QGuiApplication exists before text is measured or drawn. Not thread-safe:
// like GDI objects of one thread, all of this runs on the user-interface thread.
#include "platform/win/dc.h"

#include <QFont>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QString>

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <utility>
#include <vector>

#include "platform/win/dc_bridge.h"

// ---- GDI objects ---------------------------------------------------------------------

struct GdiPen {
  int style = PS_SOLID;
  int width = 0;
  COLORREF colour = 0;
  bool stock = false;
  int selections = 0;
};

struct GdiBrush {
  bool hollow = false;
  COLORREF colour = 0;
  bool stock = false;
  int selections = 0;
};

struct GdiFont {
  LOGFONTW desc{};
  bool stock = false;
  int selections = 0;
  std::optional<QFont> qfont;  // made on first use, when a QGuiApplication exists
};

namespace {

GdiPen* StockPen(int id) {
  static GdiPen white{PS_SOLID, 0, 0xFFFFFF, true, 0};
  static GdiPen black{PS_SOLID, 0, 0x000000, true, 0};
  static GdiPen none{PS_NULL, 0, 0x000000, true, 0};
  switch (id) {
    case WHITE_PEN: return &white;
    case BLACK_PEN: return &black;
    case NULL_PEN: return &none;
    default: return nullptr;
  }
}

GdiBrush* StockBrush(int id) {
  static GdiBrush white{false, 0xFFFFFF, true, 0};
  static GdiBrush black{false, 0x000000, true, 0};
  static GdiBrush hollow{true, 0x000000, true, 0};
  switch (id) {
    case WHITE_BRUSH: return &white;
    case BLACK_BRUSH: return &black;
    case NULL_BRUSH: return &hollow;
    default: return nullptr;
  }
}

// Never destroyed: their Qt fonts must not outlive the application at exit.
GdiFont* StockFont(int id) {
  static GdiFont* system = new GdiFont{MakeLogFont(u"Arial", 16, FW_BOLD), true, 0, std::nullopt};
  static GdiFont* gui = new GdiFont{MakeLogFont(u"Arial", -11, FW_NORMAL), true, 0, std::nullopt};
  switch (id) {
    case SYSTEM_FONT: return system;
    case DEFAULT_GUI_FONT: return gui;
    default: return nullptr;
  }
}

template <class T>
BOOL DeleteGdi(T* object) {
  if (object == nullptr || object->stock || object->selections > 0) return FALSE;
  delete object;
  return TRUE;
}

QColor ToQColor(COLORREF c) { return QColor(GetRValue(c), GetGValue(c), GetBValue(c)); }

COLORREF FromQRgb(QRgb rgb) { return RGB(qRed(rgb), qGreen(rgb), qBlue(rgb)); }

QString ToQString(sys::TextView text) {
  return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

sys::TextView CountedText(const char16_t* text, int count) {
  if (text == nullptr) return {};
  return count < 0 ? sys::TextView(text) : sys::TextView(text, static_cast<std::size_t>(count));
}

// The Qt font of a description. A positive height is the cell height (ascent plus
// descent), which GDI matches by choosing the em size; we do the same from the face's
// proportions measured at a large size.
QFont MakeQFont(const LOGFONTW& desc) {
  QString face = QString::fromUtf16(desc.lfFaceName);
  QFont font(face.isEmpty() ? QStringLiteral("Arial") : face);
  font.setStyleStrategy(QFont::NoAntialias);
  font.setKerning(false);
  font.setHintingPreference(QFont::PreferFullHinting);  // whole-pixel advances, as GDI
  LONG weight = desc.lfWeight == FW_DONTCARE ? FW_NORMAL : std::clamp<LONG>(desc.lfWeight, 100, 900);
  font.setWeight(static_cast<QFont::Weight>(weight));
  font.setItalic(desc.lfItalic != 0);
  font.setUnderline(desc.lfUnderline != 0);
  font.setStrikeOut(desc.lfStrikeOut != 0);
  int em = 0;
  if (desc.lfHeight < 0) {
    em = -desc.lfHeight;
  } else {
    LONG cell = desc.lfHeight == 0 ? 16 : desc.lfHeight;
    QFont probe(font);
    probe.setPixelSize(1000);
    QFontMetricsF metrics(probe);
    double perEm = (metrics.ascent() + metrics.descent()) / 1000.0;
    em = static_cast<int>(std::lround(cell / (perEm > 0 ? perEm : 1.0)));
  }
  font.setPixelSize(std::max(1, em));
  return font;
}

const QFont& FontOf(GdiFont* font) {
  if (!font->qfont) font->qfont = MakeQFont(font->desc);
  return *font->qfont;
}

// Pixel patterns of the dashed one-pixel pens: alternating on and off run lengths.
std::vector<int> DashPattern(int style) {
  switch (style) {
    case PS_DASH: return {18, 6};
    case PS_DOT: return {3, 3};
    case PS_DASHDOT: return {9, 6, 3, 6};
    case PS_DASHDOTDOT: return {9, 3, 3, 3, 3, 3};
    default: return {};
  }
}

// Collects single pixels into horizontal or vertical runs and fills each run once.
class RunFiller {
 public:
  RunFiller(QPainter& painter, QColor colour) : painter_(painter), colour_(colour) {}
  ~RunFiller() { Flush(); }
  void Add(int x, int y) {
    if (count_ > 0) {
      bool extendsRow = y == y0_ && y1_ == y0_ && x == x1_ + 1;
      bool extendsColumn = x == x0_ && x1_ == x0_ && y == y1_ + 1;
      if (extendsRow || extendsColumn) {
        x1_ = x;
        y1_ = y;
        ++count_;
        return;
      }
      Flush();
    }
    x0_ = x1_ = x;
    y0_ = y1_ = y;
    count_ = 1;
  }
  void Flush() {
    if (count_ == 0) return;
    painter_.fillRect(QRect(x0_, y0_, x1_ - x0_ + 1, y1_ - y0_ + 1), colour_);
    count_ = 0;
  }

 private:
  QPainter& painter_;
  QColor colour_;
  int x0_ = 0, y0_ = 0, x1_ = 0, y1_ = 0, count_ = 0;
};

}  // namespace

HPEN CreatePen(int style, int width, COLORREF colour) {
  if (style < PS_SOLID || style > PS_INSIDEFRAME) return nullptr;
  return new GdiPen{style, std::max(0, width), colour & 0xFFFFFF, false, 0};
}

HBRUSH CreateSolidBrush(COLORREF colour) { return new GdiBrush{false, colour & 0xFFFFFF, false, 0}; }

HFONT CreateFontIndirectW(const LOGFONTW* font) {
  if (font == nullptr) return nullptr;
  auto* made = new GdiFont;
  made->desc = *font;
  made->desc.lfFaceName[LF_FACESIZE - 1] = 0;
  return made;
}

HPEN GetStockPen(int id) { return StockPen(id); }
HBRUSH GetStockBrush(int id) { return StockBrush(id); }
HFONT GetStockFont(int id) { return StockFont(id); }

BOOL DeleteObject(HPEN pen) { return DeleteGdi(pen); }
BOOL DeleteObject(HBRUSH brush) { return DeleteGdi(brush); }
BOOL DeleteObject(HFONT font) { return DeleteGdi(font); }

LOGFONTW MakeLogFont(sys::TextView face, LONG height, LONG weight, BYTE charSet) {
  LOGFONTW desc{};
  desc.lfHeight = height;
  desc.lfWeight = weight;
  desc.lfCharSet = charSet;
  std::size_t n = std::min<std::size_t>(face.size(), LF_FACESIZE - 1);
  std::copy_n(face.data(), n, desc.lfFaceName);
  desc.lfFaceName[n] = 0;
  return desc;
}

// ---- The context's state -------------------------------------------------------------

struct CDC::Impl {
  QPainter* painter = nullptr;
  std::unique_ptr<QImage> ownImage;      // an off-screen surface of ours
  std::unique_ptr<QPainter> ownPainter;  // painting into ownImage
  bool wrapped = false;                  // painter belongs to the caller
  HPEN pen = StockPen(BLACK_PEN);
  HBRUSH brush = StockBrush(WHITE_BRUSH);
  HFONT font = StockFont(SYSTEM_FONT);
  COLORREF textColour = 0x000000;
  COLORREF bkColour = 0xFFFFFF;
  int bkMode = OPAQUE;
  UINT align = TA_LEFT | TA_TOP;
  int curX = 0, curY = 0;
  int dashPos = 0;  // position in the dash pattern, carried from one LineTo to the next

  Impl() {
    ++pen->selections;
    ++brush->selections;
    ++font->selections;
  }
  ~Impl() {
    --pen->selections;
    --brush->selections;
    --font->selections;
    if (ownPainter) ownPainter->end();
    if (wrapped && painter != nullptr) painter->restore();
  }
  void Prepare() {
    painter->setRenderHint(QPainter::Antialiasing, false);
    painter->setRenderHint(QPainter::TextAntialiasing, false);
    painter->setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
  }
  const QImage* Image() const {
    if (ownImage) return ownImage.get();
    QPaintDevice* device = painter != nullptr ? painter->device() : nullptr;
    if (device != nullptr && device->devType() == QInternal::Image) return static_cast<QImage*>(device);
    return nullptr;
  }
  bool DrawsPen() const { return pen->style != PS_NULL; }
  bool ThinPen() const { return pen->width <= 1; }
};

template <class T>
static T* Swap(T*& slot, T* next) {
  if (next == nullptr) return nullptr;
  T* previous = slot;
  --previous->selections;
  ++next->selections;
  slot = next;
  return previous;
}

// ---- Rasterising ---------------------------------------------------------------------
namespace {

// A one-pixel line from (x0, y0) towards (x1, y1), the end pixel left out, dashed by
// pattern from position *dashPos on (updated).
void ThinLine(QPainter& painter, QColor colour, int x0, int y0, int x1, int y1,
              const std::vector<int>& pattern, int* dashPos) {
  RunFiller runs(painter, colour);
  int period = 0;
  for (int run : pattern) period += run;
  int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
  int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
  int err = dx + dy;
  int x = x0, y = y0;
  while (x != x1 || y != y1) {
    bool on = true;
    if (period > 0) {
      int at = *dashPos % period;
      for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (at < pattern[i]) {
          on = i % 2 == 0;
          break;
        }
        at -= pattern[i];
      }
      *dashPos = (*dashPos + 1) % period;
    }
    if (on) runs.Add(x, y);
    int e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y += sy;
    }
  }
}

// Extends [lo, hi] by the points of the horizontal line at height y inside the convex
// polygon given by its corners in order.
void PolygonRowExtent(const std::array<QPointF, 4>& corners, double y, double* lo, double* hi) {
  for (std::size_t i = 0; i < corners.size(); ++i) {
    QPointF p = corners[i], q = corners[(i + 1) % corners.size()];
    if (p.y() == q.y()) {
      if (p.y() == y) {
        *lo = std::min({*lo, p.x(), q.x()});
        *hi = std::max({*hi, p.x(), q.x()});
      }
      continue;
    }
    if (y < std::min(p.y(), q.y()) || y > std::max(p.y(), q.y())) continue;
    double x = p.x() + (y - p.y()) * (q.x() - p.x()) / (q.y() - p.y());
    *lo = std::min(*lo, x);
    *hi = std::max(*hi, x);
  }
}

// A line of width w >= 2 with round ends: the pixels whose centres lie closer than w/2
// to the segment. Odd widths are centred on the pixel centres, even widths on the pixel
// corners, so a width-w line covers w rows (or columns).
void WideLine(QPainter& painter, QColor colour, int x0, int y0, int x1, int y1, int width) {
  double offset = width % 2 == 1 ? 0.5 : 0.0;
  QPointF a(x0 + offset, y0 + offset), b(x1 + offset, y1 + offset);
  double r = width / 2.0;
  double length = std::hypot(b.x() - a.x(), b.y() - a.y());
  std::array<QPointF, 4> band{};
  if (length > 0) {
    QPointF normal(-(b.y() - a.y()) / length * r, (b.x() - a.x()) / length * r);
    band = {a + normal, b + normal, b - normal, a - normal};
  }
  int rowFirst = static_cast<int>(std::floor(std::min(a.y(), b.y()) - r));
  int rowLast = static_cast<int>(std::ceil(std::max(a.y(), b.y()) + r));
  for (int row = rowFirst; row <= rowLast; ++row) {
    double y = row + 0.5;
    double lo = HUGE_VAL, hi = -HUGE_VAL;
    for (QPointF end : {a, b}) {
      double dy = y - end.y();
      if (dy * dy < r * r) {
        double half = std::sqrt(r * r - dy * dy);
        lo = std::min(lo, end.x() - half);
        hi = std::max(hi, end.x() + half);
      }
    }
    if (length > 0) PolygonRowExtent(band, y, &lo, &hi);
    if (!(lo < hi)) continue;
    int first = static_cast<int>(std::floor(lo - 0.5)) + 1;  // centre strictly right of lo
    int last = static_cast<int>(std::ceil(hi - 0.5)) - 1;    // centre strictly left of hi
    if (first <= last) painter.fillRect(QRect(first, row, last - first + 1, 1), colour);
  }
}

// Horizontal extent [first, last] of an ellipse region on one pixel row: the pixels
// (x, y) with ((x - cx) / rx)^2 + ((y - cy) / ry)^2 <= 1 (or < 1 when strict).
struct RowSpan {
  int first = 0, last = -1;
  bool empty() const { return first > last; }
};
RowSpan EllipseRow(double cx, double cy, double rx, double ry, int y, bool strict) {
  if (rx <= 0 || ry <= 0) return {};
  double t = (y - cy) / ry;
  double rest = 1.0 - t * t;
  if (rest < 0 || (strict && rest <= 0)) return {};
  double half = rx * std::sqrt(rest);
  if (strict) {
    return {static_cast<int>(std::floor(cx - half)) + 1, static_cast<int>(std::ceil(cx + half)) - 1};
  }
  const double eps = 1e-9;
  return {static_cast<int>(std::ceil(cx - half - eps)), static_cast<int>(std::floor(cx + half + eps))};
}

void FillRowMinus(QPainter& painter, QColor colour, int y, RowSpan outer, RowSpan inner) {
  if (outer.empty()) return;
  if (inner.empty() || inner.first > outer.last || inner.last < outer.first) {
    painter.fillRect(QRect(outer.first, y, outer.last - outer.first + 1, 1), colour);
    return;
  }
  if (inner.first > outer.first) painter.fillRect(QRect(outer.first, y, inner.first - outer.first, 1), colour);
  if (inner.last < outer.last) painter.fillRect(QRect(inner.last + 1, y, outer.last - inner.last, 1), colour);
}

}  // namespace

// ---- CDC -----------------------------------------------------------------------------

CDC::CDC(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
CDC::~CDC() = default;

std::unique_ptr<CDC> CDC::CreateSurface(int width, int height) {
  if (width <= 0 || height <= 0) return nullptr;
  auto impl = std::make_unique<Impl>();
  impl->ownImage = std::make_unique<QImage>(width, height, QImage::Format_RGB32);
  if (impl->ownImage->isNull()) return nullptr;
  impl->ownImage->fill(Qt::black);
  impl->ownPainter = std::make_unique<QPainter>(impl->ownImage.get());
  if (!impl->ownPainter->isActive()) return nullptr;
  impl->painter = impl->ownPainter.get();
  impl->Prepare();
  return std::make_unique<CDC>(std::move(impl));
}

HPEN CDC::SelectObject(HPEN pen) { return Swap(impl_->pen, pen); }
HBRUSH CDC::SelectObject(HBRUSH brush) { return Swap(impl_->brush, brush); }
HFONT CDC::SelectObject(HFONT font) { return Swap(impl_->font, font); }

BOOL CDC::MoveToEx(int x, int y, POINT* previous) {
  if (previous != nullptr) *previous = POINT{impl_->curX, impl_->curY};
  impl_->curX = x;
  impl_->curY = y;
  impl_->dashPos = 0;
  return TRUE;
}

// Pixels this far outside the device are never drawn, so longer lines are first cut
// to the device widened by this margin (a margin, so that translated painters and pen
// patterns near the device keep their pixels).
constexpr int kFarMargin = 1 << 15;

// The part of the segment inside the device widened by kFarMargin (Liang-Barsky);
// false when nothing is left. Only used for segments longer than the margin.
static bool CutToReach(const CDC::Impl& d, int& x0, int& y0, int& x1, int& y1) {
  QPaintDevice* device = d.painter->device();
  double lo = -kFarMargin, hiX = device->width() + kFarMargin, hiY = device->height() + kFarMargin;
  double dx = static_cast<double>(x1) - x0, dy = static_cast<double>(y1) - y0, t0 = 0, t1 = 1;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {x0 - lo, hiX - x0, y0 - lo, hiY - y0};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0) {
      if (q[i] < 0) return false;
      continue;
    }
    double t = q[i] / p[i];
    if (p[i] < 0) t0 = std::max(t0, t);
    else t1 = std::min(t1, t);
  }
  if (t0 > t1) return false;
  int nx0 = static_cast<int>(std::lround(x0 + t0 * dx)), ny0 = static_cast<int>(std::lround(y0 + t0 * dy));
  int nx1 = static_cast<int>(std::lround(x0 + t1 * dx)), ny1 = static_cast<int>(std::lround(y0 + t1 * dy));
  x0 = nx0, y0 = ny0, x1 = nx1, y1 = ny1;
  return true;
}

// Draws one segment with the selected pen, without touching the current position.
static void PenSegment(CDC::Impl& d, int x0, int y0, int x1, int y1) {
  if (!d.DrawsPen() || (x0 == x1 && y0 == y1)) return;
  if (std::max(std::abs(static_cast<long long>(x1) - x0), std::abs(static_cast<long long>(y1) - y0)) > kFarMargin &&
      !CutToReach(d, x0, y0, x1, y1)) {
    return;
  }
  QColor colour = ToQColor(d.pen->colour);
  if (d.ThinPen()) {
    ThinLine(*d.painter, colour, x0, y0, x1, y1, DashPattern(d.pen->style), &d.dashPos);
  } else {
    WideLine(*d.painter, colour, x0, y0, x1, y1, d.pen->width);
  }
}

BOOL CDC::LineTo(int x, int y) {
  PenSegment(*impl_, impl_->curX, impl_->curY, x, y);
  impl_->curX = x;
  impl_->curY = y;
  return TRUE;
}

static void Normalise(int& left, int& top, int& right, int& bottom) {
  if (right < left) std::swap(left, right);
  if (bottom < top) std::swap(top, bottom);
}

BOOL CDC::Rectangle(int left, int top, int right, int bottom) {
  Normalise(left, top, right, bottom);
  if (right - left < 1 || bottom - top < 1) return TRUE;
  Impl& d = *impl_;
  if (!d.brush->hollow && right - left > 1 && bottom - top > 1) {
    d.painter->fillRect(QRect(left, top, right - left - 1, bottom - top - 1), ToQColor(d.brush->colour));
  }
  if (!d.DrawsPen()) return TRUE;
  if (right - left == 1 && bottom - top == 1) {
    if (d.ThinPen()) d.painter->fillRect(QRect(left, top, 1, 1), ToQColor(d.pen->colour));
    else WideLine(*d.painter, ToQColor(d.pen->colour), left, top, left, top, d.pen->width);
    return TRUE;
  }
  int dashKeep = d.dashPos;
  d.dashPos = 0;
  int r = right - 1, b = bottom - 1;
  PenSegment(d, left, top, r, top);
  PenSegment(d, r, top, r, b);
  PenSegment(d, r, b, left, b);
  PenSegment(d, left, b, left, top);
  d.dashPos = dashKeep;
  return TRUE;
}

BOOL CDC::Ellipse(int left, int top, int right, int bottom) {
  Normalise(left, top, right, bottom);
  if (right - left < 1 || bottom - top < 1) return TRUE;
  Impl& d = *impl_;
  // Pixel centres of the box [left, right) x [top, bottom): centre and path radii.
  double cx = (left + right - 1) / 2.0, cy = (top + bottom - 1) / 2.0;
  double rx = (right - left - 1) / 2.0, ry = (bottom - top - 1) / 2.0;
  double fillRx = rx + 0.5, fillRy = ry + 0.5;  // reaches the box's outer pixels
  int width = d.pen->width;
  int rowFirst = top, rowLast = bottom - 1;
  if (d.DrawsPen() && width > 1) {
    rowFirst = static_cast<int>(std::floor(cy - ry - width / 2.0));
    rowLast = static_cast<int>(std::ceil(cy + ry + width / 2.0));
  }
  // Rows far outside the device are not visited.
  int deviceRows = d.painter->device()->height();
  rowFirst = std::max(rowFirst, -kFarMargin);
  rowLast = std::min(rowLast, deviceRows + kFarMargin);
  if (!d.brush->hollow) {
    QColor colour = ToQColor(d.brush->colour);
    for (int y = std::max(top, -kFarMargin); y < std::min(bottom, deviceRows + kFarMargin); ++y) FillRowMinus(*d.painter, colour, y, EllipseRow(cx, cy, fillRx, fillRy, y, false), {});
  }
  if (!d.DrawsPen()) return TRUE;
  QColor colour = ToQColor(d.pen->colour);
  for (int y = rowFirst; y <= rowLast; ++y) {
    if (width <= 1) {
      // The region's boundary: pixels with a 4-neighbour outside the region.
      RowSpan here = EllipseRow(cx, cy, fillRx, fillRy, y, false);
      RowSpan above = EllipseRow(cx, cy, fillRx, fillRy, y - 1, false);
      RowSpan below = EllipseRow(cx, cy, fillRx, fillRy, y + 1, false);
      RowSpan inner{std::max({here.first + 1, above.first, below.first}),
                    std::min({here.last - 1, above.last, below.last})};
      if (above.empty() || below.empty()) inner = {};
      FillRowMinus(*d.painter, colour, y, here, inner);
    } else {
      double h = width / 2.0;
      FillRowMinus(*d.painter, colour, y, EllipseRow(cx, cy, rx + h, ry + h, y, false),
                   EllipseRow(cx, cy, rx - h, ry - h, y, true));
    }
  }
  return TRUE;
}

BOOL CDC::FillRect(const RECT* rect, HBRUSH brush) {
  if (rect == nullptr || brush == nullptr) return FALSE;
  if (brush->hollow || rect->right <= rect->left || rect->bottom <= rect->top) return TRUE;
  impl_->painter->fillRect(QRect(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top),
                           ToQColor(brush->colour));
  return TRUE;
}

// ---- Text ----------------------------------------------------------------------------

BOOL CDC::TextOutW(int x, int y, const char16_t* text, int count) {
  if (text == nullptr && count != 0) return FALSE;
  return TextOutW(x, y, CountedText(text, count));
}

BOOL CDC::TextOutW(int x, int y, sys::TextView text) {
  Impl& d = *impl_;
  const QFont& font = FontOf(d.font);
  QFontMetrics metrics(font);
  QString string = ToQString(text);
  int width = metrics.horizontalAdvance(string);
  // Offsets of the text box's left edge and of the baseline from the reference point,
  // in the direction of the text.
  int dx = 0;
  if ((d.align & TA_CENTER) == TA_CENTER) dx = -width / 2;
  else if (d.align & TA_RIGHT) dx = -width;
  int baseline = metrics.ascent();
  if ((d.align & TA_BASELINE) == TA_BASELINE) baseline = 0;
  else if (d.align & TA_BOTTOM) baseline = -metrics.descent();
  QPainter& painter = *d.painter;
  painter.save();
  painter.translate(x, y);
  if (d.font->desc.lfEscapement != 0) painter.rotate(-d.font->desc.lfEscapement / 10.0);
  if (d.bkMode == OPAQUE) {
    painter.fillRect(QRect(dx, baseline - metrics.ascent(), width, metrics.height()), ToQColor(d.bkColour));
  }
  painter.setFont(font);
  painter.setPen(ToQColor(d.textColour));
  painter.drawText(QPoint(dx, baseline), string);
  painter.restore();
  return TRUE;
}

BOOL CDC::GetTextExtentPointW(const char16_t* text, int count, SIZE* size) {
  if (size == nullptr || (text == nullptr && count != 0)) return FALSE;
  *size = GetTextExtent(CountedText(text, count));
  return TRUE;
}

SIZE CDC::GetTextExtent(sys::TextView text) {
  QFontMetrics metrics(FontOf(impl_->font));
  return SIZE{metrics.horizontalAdvance(ToQString(text)), metrics.height()};
}

BOOL CDC::GetTextMetricsW(TEXTMETRICW* tm) {
  if (tm == nullptr) return FALSE;
  const QFont& font = FontOf(impl_->font);
  QFontMetrics metrics(font);
  tm->tmHeight = metrics.height();
  tm->tmAscent = metrics.ascent();
  tm->tmDescent = metrics.descent();
  tm->tmInternalLeading = std::max(0, metrics.height() - font.pixelSize());
  tm->tmExternalLeading = std::max(0, metrics.leading());
  tm->tmAveCharWidth = metrics.averageCharWidth();
  tm->tmMaxCharWidth = metrics.maxWidth();
  tm->tmWeight = impl_->font->desc.lfWeight == FW_DONTCARE ? FW_NORMAL : impl_->font->desc.lfWeight;
  tm->tmCharSet = impl_->font->desc.lfCharSet;
  return TRUE;
}

UINT CDC::SetTextAlign(UINT align) { return std::exchange(impl_->align, align); }
COLORREF CDC::SetTextColor(COLORREF colour) { return std::exchange(impl_->textColour, colour & 0xFFFFFF); }
COLORREF CDC::SetBkColor(COLORREF colour) { return std::exchange(impl_->bkColour, colour & 0xFFFFFF); }

int CDC::SetBkMode(int mode) {
  if (mode != TRANSPARENT && mode != OPAQUE) return 0;
  return std::exchange(impl_->bkMode, mode);
}

// ---- Surfaces ------------------------------------------------------------------------

BOOL CDC::BitBlt(int x, int y, int width, int height, const CDC* source, int sourceX, int sourceY,
                 DWORD rop) {
  if (source == nullptr || rop != SRCCOPY || width < 0 || height < 0) return FALSE;
  const QImage* image = source->impl_->Image();
  if (image == nullptr) return FALSE;
  QPainter& painter = *impl_->painter;
  painter.save();
  painter.setCompositionMode(QPainter::CompositionMode_Source);
  painter.drawImage(QPoint(x, y), *image, QRect(sourceX, sourceY, width, height));
  painter.restore();
  return TRUE;
}

COLORREF CDC::GetPixel(int x, int y) const {
  const QImage* image = impl_->Image();
  if (image == nullptr || !image->valid(x, y)) return CLR_INVALID;
  return FromQRgb(image->pixel(x, y));
}

SIZE CDC::GetSurfaceSize() const {
  const QImage* image = impl_->Image();
  return image == nullptr ? SIZE{0, 0} : SIZE{image->width(), image->height()};
}

BOOL CDC::SaveAsPng(std::string_view utf8Path) const {
  const QImage* image = impl_->Image();
  if (image == nullptr || utf8Path.empty()) return FALSE;
  QString path = QString::fromUtf8(utf8Path.data(), static_cast<qsizetype>(utf8Path.size()));
  return image->save(path, "PNG") ? TRUE : FALSE;
}

BOOL CDC::SaveAsPng(sys::TextView path) const { return SaveAsPng(sys::ToUtf8(path)); }

// ---- Bridge to the window layer ------------------------------------------------------

CDC* CDC_FromPainter(void* qpainter) {
  auto* painter = static_cast<QPainter*>(qpainter);
  if (painter == nullptr || !painter->isActive()) return nullptr;
  auto impl = std::make_unique<CDC::Impl>();
  impl->painter = painter;
  impl->wrapped = true;
  painter->save();
  impl->Prepare();
  return new CDC(std::move(impl));
}

void CDC_Release(CDC* dc) { delete dc; }
