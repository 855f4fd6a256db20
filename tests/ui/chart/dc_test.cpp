// dc_test.cpp: the drawing context's pixel rules, objects, text, copying and PNG files.
//
// Every case draws into a real off-screen surface (or a QPainter wrapped through the
// bridge) and reads the pixels back; PNG files go to a temporary folder.
#include <gtest/gtest.h>

#include <QFontInfo>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <algorithm>
#include <set>
#include <utility>

#include "platform/sys/text.h"
#include "platform/win/dc.h"
#include "platform/win/dc_bridge.h"

namespace {

constexpr COLORREF kWhite = 0xFFFFFF, kBlack = 0x000000, kRed = 0x0000FF, kGreen = 0x00FF00;

using Pixels = std::set<std::pair<int, int>>;

// A white surface with helpers to read what was drawn.
class Canvas {
 public:
  Canvas(int width, int height) : dc(CDC::CreateSurface(width, height)), width_(width), height_(height) {
    RECT all{0, 0, width, height};
    dc->FillRect(&all, GetStockBrush(WHITE_BRUSH));
  }
  Pixels Of(COLORREF colour) const {
    Pixels found;
    for (int y = 0; y < height_; ++y)
      for (int x = 0; x < width_; ++x)
        if (dc->GetPixel(x, y) == colour) found.insert({x, y});
    return found;
  }
  Pixels NotWhite() const {
    Pixels found;
    for (int y = 0; y < height_; ++y)
      for (int x = 0; x < width_; ++x)
        if (dc->GetPixel(x, y) != kWhite) found.insert({x, y});
    return found;
  }
  std::unique_ptr<CDC> dc;

 private:
  int width_, height_;
};

RECT BoundsOf(const Pixels& pixels) {
  RECT r{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
  for (auto [x, y] : pixels) {
    r.left = std::min<LONG>(r.left, x);
    r.top = std::min<LONG>(r.top, y);
    r.right = std::max<LONG>(r.right, x + 1);
    r.bottom = std::max<LONG>(r.bottom, y + 1);
  }
  return r;
}

// Draws with a pen made for the call and frees it afterwards.
template <class Draw>
void WithPen(CDC& dc, int style, int width, COLORREF colour, Draw draw) {
  HPEN pen = CreatePen(style, width, colour);
  HPEN old = dc.SelectObject(pen);
  draw();
  dc.SelectObject(old);
  EXPECT_TRUE(DeleteObject(pen));
}

TEST(DcLines, LineToLeavesOutItsEndPixelAndMovesThere) {
  struct Case {
    int x0, y0, x1, y1;
    size_t count;
  } cases[] = {
      {2, 5, 10, 5, 8}, {10, 5, 2, 5, 8}, {5, 2, 5, 12, 10}, {2, 2, 8, 8, 6}, {0, 0, 10, 3, 10}, {4, 4, 4, 4, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.x0 << "," << c.y0 << " to " << c.x1 << "," << c.y1);
    Canvas canvas(20, 20);
    canvas.dc->MoveToEx(c.x0, c.y0);
    canvas.dc->LineTo(c.x1, c.y1);
    Pixels drawn = canvas.Of(kBlack);
    EXPECT_EQ(drawn.size(), c.count);
    EXPECT_EQ(drawn.count({c.x1, c.y1}), 0u);
    if (c.count > 0) {
      EXPECT_EQ(drawn.count({c.x0, c.y0}), 1u);
    }
    POINT at{};
    canvas.dc->MoveToEx(0, 0, &at);
    EXPECT_EQ(at.x, c.x1);
    EXPECT_EQ(at.y, c.y1);
  }
}

TEST(DcLines, EndsFarOutsideTheSurfaceAreCutBeforeRasterising) {
  // Without the cut this would walk two billion pixels.
  for (int width : {0, 2}) {
    Canvas canvas(40, 20);
    WithPen(*canvas.dc, PS_SOLID, width, kBlack, [&] {
      canvas.dc->MoveToEx(5, 10);
      canvas.dc->LineTo(2000000000, 10);
      canvas.dc->MoveToEx(-2000000000, -2000000000);
      canvas.dc->LineTo(2000000000, 2000000000);
    });
    for (int x = 5; x < 40; ++x) EXPECT_EQ(canvas.dc->GetPixel(x, 10), kBlack) << x;
    EXPECT_EQ(canvas.dc->GetPixel(15, 15), kBlack);  // the diagonal through the surface
    EXPECT_EQ(canvas.dc->GetPixel(3, 10), kWhite);
  }
}

TEST(DcLines, PensOfWidthZeroAndOneDrawOnePixelWideLines) {
  Pixels reference;
  for (int width : {0, 1}) {
    Canvas canvas(30, 30);
    WithPen(*canvas.dc, PS_SOLID, width, kRed, [&] {
      canvas.dc->MoveToEx(3, 1);
      canvas.dc->LineTo(11, 28);  // steep: one pixel per row
    });
    Pixels drawn = canvas.Of(kRed);
    EXPECT_EQ(drawn.size(), 27u) << "width " << width;
    std::set<int> rows;
    for (auto [x, y] : drawn) rows.insert(y);
    EXPECT_EQ(rows.size(), drawn.size());
    if (width == 0) reference = drawn;
    else EXPECT_EQ(drawn, reference);
  }
}

TEST(DcLines, WidePensCoverTheirWidthAcrossTheLine) {
  struct Case {
    int width, firstRow, lastRow;
  } cases[] = {{2, 9, 10}, {3, 9, 11}, {4, 8, 11}};
  for (const Case& c : cases) {
    Canvas canvas(40, 20);
    WithPen(*canvas.dc, PS_SOLID, c.width, kBlack, [&] {
      canvas.dc->MoveToEx(5, 10);
      canvas.dc->LineTo(30, 10);
    });
    for (int y = 0; y < 20; ++y) {
      bool inLine = y >= c.firstRow && y <= c.lastRow;
      EXPECT_EQ(canvas.dc->GetPixel(17, y) == kBlack, inLine) << "width " << c.width << " row " << y;
    }
    // Round ends reach past the end points by about half the width, no further.
    RECT bounds = BoundsOf(canvas.Of(kBlack));
    EXPECT_GE(bounds.left, 5 - c.width / 2 - 1);
    EXPECT_LE(bounds.right, 30 + c.width / 2 + 1);
  }
}

TEST(DcLines, NullAndDottedPens) {
  Canvas canvas(40, 10);
  WithPen(*canvas.dc, PS_NULL, 1, kBlack, [&] {
    canvas.dc->MoveToEx(0, 2);
    canvas.dc->LineTo(30, 2);
  });
  EXPECT_TRUE(canvas.NotWhite().empty());
  WithPen(*canvas.dc, PS_DOT, 0, kBlack, [&] {
    canvas.dc->MoveToEx(0, 5);
    canvas.dc->LineTo(30, 5);
  });
  Pixels dots = canvas.Of(kBlack);
  EXPECT_EQ(dots.size(), 15u);
  for (int x : {0, 1, 2, 6, 7, 8}) EXPECT_EQ(dots.count({x, 5}), 1u) << x;
  for (int x : {3, 4, 5, 9}) EXPECT_EQ(dots.count({x, 5}), 0u) << x;
}

TEST(DcShapes, RectangleLeavesOutTheRightAndBottomEdges) {
  Canvas canvas(20, 20);
  HBRUSH red = CreateSolidBrush(kRed);
  HBRUSH old = canvas.dc->SelectObject(red);
  canvas.dc->Rectangle(5, 5, 15, 12);  // black one-pixel pen of a new context
  Pixels outline = canvas.Of(kBlack);
  EXPECT_EQ(outline.size(), 30u);  // columns 5..14, rows 5..11
  EXPECT_EQ(BoundsOf(outline).right, 15);
  EXPECT_EQ(BoundsOf(outline).bottom, 12);
  EXPECT_EQ(canvas.Of(kRed).size(), 40u);  // 6..13 x 6..10
  EXPECT_EQ(BoundsOf(canvas.Of(kRed)).left, 6);

  // Without a pen the fill is one pixel smaller on the right and at the bottom.
  Canvas filled(20, 20);
  filled.dc->SelectObject(red);
  filled.dc->SelectObject(GetStockPen(NULL_PEN));
  filled.dc->Rectangle(5, 5, 15, 12);
  Pixels fill = filled.Of(kRed);
  EXPECT_EQ(fill.size(), 54u);  // 5..13 x 5..10
  EXPECT_EQ(fill, filled.NotWhite());
  EXPECT_EQ(BoundsOf(fill).right, 14);
  EXPECT_EQ(BoundsOf(fill).bottom, 11);

  // The hollow brush leaves the inside alone.
  Canvas hollow(20, 20);
  hollow.dc->SelectObject(GetStockBrush(NULL_BRUSH));
  hollow.dc->Rectangle(5, 5, 15, 12);
  EXPECT_EQ(hollow.NotWhite().size(), 30u);

  filled.dc->SelectObject(old);  // deselect before deleting
  EXPECT_FALSE(DeleteObject(red));
  canvas.dc->SelectObject(old);
  EXPECT_TRUE(DeleteObject(red));
}

TEST(DcShapes, EllipseFitsTheBoxWithoutItsRightAndBottomEdges) {
  for (int size : {7, 6, 11}) {
    SCOPED_TRACE(testing::Message() << "box " << size);
    Canvas canvas(30, 30);
    HBRUSH red = CreateSolidBrush(kRed);
    HBRUSH old = canvas.dc->SelectObject(red);
    canvas.dc->Ellipse(10, 10, 10 + size, 10 + size);
    canvas.dc->SelectObject(old);
    DeleteObject(red);
    Pixels outline = canvas.Of(kBlack);
    RECT box = BoundsOf(outline);
    EXPECT_EQ(box.left, 10);
    EXPECT_EQ(box.top, 10);
    EXPECT_EQ(box.right, 10 + size);
    EXPECT_EQ(box.bottom, 10 + size);
    EXPECT_EQ(canvas.dc->GetPixel(10, 10), kWhite);  // round, not square
    EXPECT_EQ(canvas.dc->GetPixel(10 + size / 2, 10 + size / 2), kRed);
    // Symmetric in both directions, and the fill is enclosed by the outline.
    for (auto [x, y] : outline) {
      EXPECT_EQ(outline.count({2 * 10 + size - 1 - x, y}), 1u);
      EXPECT_EQ(outline.count({x, 2 * 10 + size - 1 - y}), 1u);
    }
    for (auto [x, y] : canvas.Of(kRed)) {
      EXPECT_GT(x, 10);
      EXPECT_LT(x, 10 + size - 1);
    }
  }
}

TEST(DcShapes, FillRectCoversLeftToRightMinusOne) {
  Canvas canvas(10, 10);
  HBRUSH red = CreateSolidBrush(kRed);
  RECT r{2, 3, 6, 5};
  canvas.dc->FillRect(&r, red);
  EXPECT_EQ(canvas.Of(kRed).size(), 8u);
  EXPECT_EQ(BoundsOf(canvas.Of(kRed)).right, 6);
  RECT all{0, 0, 10, 10};
  canvas.dc->FillRect(&all, GetStockBrush(NULL_BRUSH));
  EXPECT_EQ(canvas.Of(kRed).size(), 8u);
  EXPECT_TRUE(DeleteObject(red));
}

TEST(DcObjects, SelectionReturnsThePreviousObjectAndStockObjectsStay) {
  auto dc = CDC::CreateSurface(4, 4);
  HPEN pen = CreatePen(PS_SOLID, 2, kRed);
  HPEN first = dc->SelectObject(pen);
  EXPECT_EQ(first, GetStockPen(BLACK_PEN));
  EXPECT_FALSE(DeleteObject(pen));  // selected
  EXPECT_EQ(dc->SelectObject(first), pen);
  EXPECT_TRUE(DeleteObject(pen));
  EXPECT_FALSE(DeleteObject(GetStockPen(BLACK_PEN)));
  EXPECT_FALSE(DeleteObject(GetStockBrush(NULL_BRUSH)));
  EXPECT_EQ(dc->SelectObject(static_cast<HBRUSH>(nullptr)), nullptr);
  EXPECT_EQ(dc->SelectObject(GetStockBrush(NULL_BRUSH)), GetStockBrush(WHITE_BRUSH));
  EXPECT_EQ(CreatePen(42, 1, 0), nullptr);
}

// Text in Arial 25, drawn at (100, 100) with each alignment.
class DcText : public testing::Test {
 protected:
  void SetUp() override {
    LOGFONTW desc = MakeLogFont(u"Arial", 25, FW_NORMAL, RUSSIAN_CHARSET);
    font_ = CreateFontIndirectW(&desc);
    desc.lfEscapement = desc.lfOrientation = 900;
    upright_ = CreateFontIndirectW(&desc);
  }
  void TearDown() override {
    EXPECT_TRUE(DeleteObject(font_));
    EXPECT_TRUE(DeleteObject(upright_));
  }
  HFONT font_ = nullptr, upright_ = nullptr;
};

TEST_F(DcText, MetricsOfTheCellHeightAskedFor) {
  EXPECT_EQ(QFontInfo(QFont(QStringLiteral("Arial"))).family(), QStringLiteral("Liberation Sans"));
  auto dc = CDC::CreateSurface(10, 10);
  HFONT old = dc->SelectObject(font_);
  TEXTMETRICW tm{};
  ASSERT_TRUE(dc->GetTextMetricsW(&tm));
  EXPECT_NEAR(tm.tmHeight, 25, 1);
  EXPECT_EQ(tm.tmAscent + tm.tmDescent, tm.tmHeight);
  EXPECT_GT(tm.tmAveCharWidth, 5);
  EXPECT_LT(tm.tmAveCharWidth, 20);
  SIZE size{};
  ASSERT_TRUE(dc->GetTextExtentPointW(u"Площадь", -1, &size));
  EXPECT_EQ(size.cy, tm.tmHeight);
  EXPECT_GT(size.cx, 4 * tm.tmAveCharWidth);
  // No kerning, as GDI's TextOut: widths add up.
  EXPECT_EQ(dc->GetTextExtent(u"AV").cx, dc->GetTextExtent(u"A").cx + dc->GetTextExtent(u"V").cx);
  dc->SelectObject(old);
}

TEST_F(DcText, AlignmentPlacesTheTextAroundTheReferencePoint) {
  auto probe = CDC::CreateSurface(1, 1);
  HFONT old = probe->SelectObject(font_);
  SIZE s = probe->GetTextExtent(u"Площадь");
  TEXTMETRICW tm{};
  probe->GetTextMetricsW(&tm);
  probe->SelectObject(old);
  struct Case {
    UINT align;
    bool upright;
    RECT box;  // where the ink must lie
  } cases[] = {
      {TA_LEFT | TA_TOP, false, {100, 100, 100 + s.cx, 100 + s.cy}},
      {TA_RIGHT | TA_BOTTOM, false, {100 - s.cx, 100 - s.cy, 100, 100}},
      {TA_CENTER | TA_TOP, false, {100 - s.cx / 2, 100, 100 - s.cx / 2 + s.cx, 100 + s.cy}},
      {TA_RIGHT | TA_BASELINE, false, {100 - s.cx, 100 - tm.tmAscent, 100, 100 + tm.tmDescent}},
      // Turned by 90 degrees and read upwards: right-aligned, it ends at the point.
      {TA_RIGHT | TA_TOP, true, {100, 100, 100 + s.cy, 100 + s.cx}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "align " << c.align << (c.upright ? " upright" : ""));
    Canvas canvas(300, 300);
    canvas.dc->SelectObject(c.upright ? upright_ : font_);
    canvas.dc->SetTextAlign(c.align);
    canvas.dc->SetBkMode(TRANSPARENT);
    canvas.dc->SetTextColor(kRed);
    canvas.dc->TextOutW(100, 100, u"Площадь");
    canvas.dc->SelectObject(old);
    Pixels ink = canvas.NotWhite();
    EXPECT_EQ(ink, canvas.Of(kRed));  // unsmoothed: one colour only
    RECT bounds = BoundsOf(ink);
    EXPECT_GE(bounds.left, c.box.left);
    EXPECT_GE(bounds.top, c.box.top);
    EXPECT_LE(bounds.right, c.box.right);
    EXPECT_LE(bounds.bottom, c.box.bottom);
    int along = c.upright ? bounds.bottom - bounds.top : bounds.right - bounds.left;
    EXPECT_GT(along, s.cx * 3 / 4);
  }
}

TEST_F(DcText, OpaqueBackgroundFillsTheTextCell) {
  Canvas canvas(300, 100);
  canvas.dc->SelectObject(font_);
  canvas.dc->SetBkColor(kGreen);
  canvas.dc->SetTextColor(kBlack);
  canvas.dc->TextOutW(10, 20, u"Площадь", 7);
  SIZE s = canvas.dc->GetTextExtent(u"Площадь");
  canvas.dc->SelectObject(GetStockFont(SYSTEM_FONT));
  EXPECT_EQ(canvas.NotWhite().size(), static_cast<size_t>(s.cx * s.cy));
  EXPECT_EQ(BoundsOf(canvas.NotWhite()).left, 10);
  EXPECT_EQ(BoundsOf(canvas.NotWhite()).top, 20);
  EXPECT_GT(canvas.Of(kBlack).size(), 50u);
}

TEST(DcSurfaces, BitBltCopiesAPartOfASurface) {
  Canvas source(20, 20), target(30, 30);
  HBRUSH red = CreateSolidBrush(kRed);
  RECT square{4, 4, 8, 8};
  source.dc->FillRect(&square, red);
  DeleteObject(red);
  EXPECT_TRUE(target.dc->BitBlt(10, 12, 6, 6, source.dc.get(), 3, 3, SRCCOPY));
  Pixels copied = target.Of(kRed);
  EXPECT_EQ(copied.size(), 16u);
  EXPECT_EQ(BoundsOf(copied).left, 11);
  EXPECT_EQ(BoundsOf(copied).top, 13);
  EXPECT_FALSE(target.dc->BitBlt(0, 0, 5, 5, source.dc.get(), 0, 0, 0x00EE0086));
  EXPECT_FALSE(target.dc->BitBlt(0, 0, 5, 5, nullptr, 0, 0, SRCCOPY));
  EXPECT_EQ(CDC::CreateSurface(0, 10), nullptr);
}

TEST(DcSurfaces, SavesPngUnderUtf16AndUtf8Paths) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  Canvas canvas(40, 30);
  HBRUSH red = CreateSolidBrush(kRed);
  RECT r{5, 6, 9, 10};
  canvas.dc->FillRect(&r, red);
  DeleteObject(red);
  sys::Text wide = sys::FromUtf8(folder.path().toStdString()) + u"/График.png";
  std::string narrow = folder.path().toStdString() + "/plain.png";
  ASSERT_TRUE(canvas.dc->SaveAsPng(sys::TextView(wide)));
  ASSERT_TRUE(canvas.dc->SaveAsPng(std::string_view(narrow)));
  for (const QString& path : {QString::fromUtf16(wide.c_str()), QString::fromStdString(narrow)}) {
    QImage image(path);
    ASSERT_FALSE(image.isNull()) << path.toStdString();
    EXPECT_EQ(image.size(), QSize(40, 30));
    EXPECT_EQ(image.pixel(5, 6), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(9, 10), qRgb(255, 255, 255));
  }
  EXPECT_FALSE(canvas.dc->SaveAsPng(std::string_view(folder.path().toStdString() + "/missing/x.png")));
}

TEST(DcBridge, WrapsAPainterAndGivesItBackAsItWas) {
  QImage image(20, 20, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setPen(QPen(Qt::green, 5));
  EXPECT_EQ(CDC_FromPainter(nullptr), nullptr);
  CDC* dc = CDC_FromPainter(&painter);
  ASSERT_NE(dc, nullptr);
  dc->MoveToEx(2, 2);
  dc->LineTo(12, 2);
  EXPECT_EQ(dc->GetPixel(2, 2), kBlack);
  EXPECT_EQ(dc->GetSurfaceSize().cx, 20);
  CDC_Release(dc);
  EXPECT_TRUE(painter.testRenderHint(QPainter::Antialiasing));
  EXPECT_EQ(painter.pen().width(), 5);
  painter.end();
  int black = 0;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x) black += image.pixel(x, y) == qRgb(0, 0, 0) ? 1 : 0;
  EXPECT_EQ(black, 10);
  EXPECT_EQ(image.pixel(12, 2), qRgb(255, 255, 255));
}

}  // namespace
