// dc.h: the drawing context of the window layer, with the GDI operations the module draws
// with and GDI's pixel rules.
//
// A CDC draws either through a QPainter owned by someone else (a widget's paint event,
// see dc_bridge.h) or into an off-screen 32-bit surface it owns (CDC::CreateSurface),
// which can be copied with BitBlt and saved as PNG. Pixel rules follow GDI: Rectangle
// and Ellipse leave out their right and bottom edges, LineTo leaves out its end pixel, a
// pen of width 0 or 1 draws one pixel, nothing is antialiased (text included). Lines,
// rectangles and ellipses are rasterised here into pixel spans, so the same call gives
// the same pixels on every paint device. Wide pens (width 2 and more) are centred on
// the path with round ends; dashed styles apply to one-pixel pens only, as in GDI.
//
// Pens, brushes and fonts are opaque handles made by CreatePen, CreateSolidBrush and
// CreateFontIndirectW and freed by DeleteObject, which refuses (returns FALSE) while
// the object is selected into a context. Stock objects are never freed.
// Colours are COLORREF values 0x00BBGGRR. Text is UTF-16 (sys::Text).
// Cost: a line or an ellipse costs one fill per pixel row (or column) it covers.
// No Qt type appears here; Qt stays in dc.cpp.
#pragma once

#include <memory>
#include <string_view>

#include "platform/sys/text.h"
#include "platform/win/export.h"
#include "platform/win/win_types.h"  // RECT, POINT, SIZE, COLORREF, RGB, BOOL

// ---- Drawing constants ----------------------------------------------------------------
inline constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;

// Pen styles.
inline constexpr int PS_SOLID = 0;
inline constexpr int PS_DASH = 1;
inline constexpr int PS_DOT = 2;
inline constexpr int PS_DASHDOT = 3;
inline constexpr int PS_DASHDOTDOT = 4;
inline constexpr int PS_NULL = 5;
inline constexpr int PS_INSIDEFRAME = 6;

// Stock objects.
inline constexpr int WHITE_BRUSH = 0;
inline constexpr int BLACK_BRUSH = 4;
inline constexpr int NULL_BRUSH = 5;
inline constexpr int HOLLOW_BRUSH = NULL_BRUSH;
inline constexpr int WHITE_PEN = 6;
inline constexpr int BLACK_PEN = 7;
inline constexpr int NULL_PEN = 8;
inline constexpr int SYSTEM_FONT = 13;
inline constexpr int DEFAULT_GUI_FONT = 17;

// Text alignment (SetTextAlign) and background modes (SetBkMode).
inline constexpr UINT TA_NOUPDATECP = 0;
inline constexpr UINT TA_UPDATECP = 1;
inline constexpr UINT TA_LEFT = 0;
inline constexpr UINT TA_RIGHT = 2;
inline constexpr UINT TA_CENTER = 6;
inline constexpr UINT TA_TOP = 0;
inline constexpr UINT TA_BOTTOM = 8;
inline constexpr UINT TA_BASELINE = 24;
inline constexpr UINT GDI_ERROR = 0xFFFFFFFF;
inline constexpr int TRANSPARENT = 1;
inline constexpr int OPAQUE = 2;

// Raster operation of BitBlt (only plain copying is offered).
inline constexpr DWORD SRCCOPY = 0x00CC0020;

// Font description fields.
inline constexpr LONG FW_DONTCARE = 0;
inline constexpr LONG FW_NORMAL = 400;
inline constexpr LONG FW_BOLD = 700;
inline constexpr BYTE ANSI_CHARSET = 0;
inline constexpr BYTE DEFAULT_CHARSET = 1;
inline constexpr BYTE RUSSIAN_CHARSET = 204;
inline constexpr BYTE OUT_DEFAULT_PRECIS = 0;
inline constexpr BYTE OUT_TT_ONLY_PRECIS = 7;
inline constexpr BYTE CLIP_DEFAULT_PRECIS = 0;
inline constexpr BYTE DEFAULT_QUALITY = 0;
inline constexpr BYTE PROOF_QUALITY = 2;
inline constexpr BYTE DEFAULT_PITCH = 0;
inline constexpr BYTE FIXED_PITCH = 1;
inline constexpr BYTE VARIABLE_PITCH = 2;
inline constexpr int LF_FACESIZE = 32;

// lfHeight > 0: cell height (ascent + descent) in pixels; < 0: character (em) height;
// 0: the default size. lfEscapement: text direction in tenths of a degree,
// counter-clockwise. lfCharSet, precision, quality and pitch are kept as given: the
// fonts used carry Cyrillic and are always drawn unsmoothed.
struct LOGFONTW {
  LONG lfHeight;
  LONG lfWidth;
  LONG lfEscapement;
  LONG lfOrientation;
  LONG lfWeight;
  BYTE lfItalic;
  BYTE lfUnderline;
  BYTE lfStrikeOut;
  BYTE lfCharSet;
  BYTE lfOutPrecision;
  BYTE lfClipPrecision;
  BYTE lfQuality;
  BYTE lfPitchAndFamily;
  char16_t lfFaceName[LF_FACESIZE];
};

struct TEXTMETRICW {
  LONG tmHeight;
  LONG tmAscent;
  LONG tmDescent;
  LONG tmInternalLeading;
  LONG tmExternalLeading;
  LONG tmAveCharWidth;
  LONG tmMaxCharWidth;
  LONG tmWeight;
  BYTE tmCharSet;
};

// ---- GDI objects ---------------------------------------------------------------------
struct GdiPen;
struct GdiBrush;
struct GdiFont;
using HPEN = GdiPen*;
using HBRUSH = GdiBrush*;
using HFONT = GdiFont*;

// A pen of the given style (PS_*), width in pixels (0 and 1 draw one pixel) and colour.
VETRIX_WIN_API HPEN CreatePen(int style, int width, COLORREF colour);
VETRIX_WIN_API HBRUSH CreateSolidBrush(COLORREF colour);
// A font as described; null when font is null.
VETRIX_WIN_API HFONT CreateFontIndirectW(const LOGFONTW* font);
// Stock objects by their identifiers above; null for an identifier of another kind.
VETRIX_WIN_API HPEN GetStockPen(int id);
VETRIX_WIN_API HBRUSH GetStockBrush(int id);
VETRIX_WIN_API HFONT GetStockFont(int id);
// Frees an object. FALSE (and nothing freed) for null, stock objects and objects that
// are selected into a context.
VETRIX_WIN_API BOOL DeleteObject(HPEN pen);
VETRIX_WIN_API BOOL DeleteObject(HBRUSH brush);
VETRIX_WIN_API BOOL DeleteObject(HFONT font);

// A font description with the given face (truncated to 31 units), height, weight and
// character set; everything else zero. For code that fills LOGFONTW field by field.
VETRIX_WIN_API LOGFONTW MakeLogFont(sys::TextView face, LONG height, LONG weight = FW_NORMAL,
                                   BYTE charSet = DEFAULT_CHARSET);

// ---- The drawing context -------------------------------------------------------------
// A new context has the black one-pixel pen, the white brush, the system font, black
// text on an opaque white background and TA_LEFT | TA_TOP; the current position is
// (0, 0). Methods return FALSE (or 0, GDI_ERROR, CLR_INVALID) on invalid arguments.
class VETRIX_WIN_API CDC {
 public:
  // An off-screen 32-bit surface of width x height pixels, black at first; null when a
  // side is not positive or the memory cannot be had. Needs a QGuiApplication for text.
  static std::unique_ptr<CDC> CreateSurface(int width, int height);

  ~CDC();
  CDC(const CDC&) = delete;
  CDC& operator=(const CDC&) = delete;

  // Selection returns the object selected before (null when the argument is null, and
  // then nothing changes).
  HPEN SelectObject(HPEN pen);
  HBRUSH SelectObject(HBRUSH brush);
  HFONT SelectObject(HFONT font);

  // Moves the current position; the previous one goes to *previous when given.
  BOOL MoveToEx(int x, int y, POINT* previous = nullptr);
  // Draws from the current position to (x, y) without the end pixel, then moves there.
  BOOL LineTo(int x, int y);
  // Outline with the pen, inside with the brush; the right and bottom edges are out.
  BOOL Rectangle(int left, int top, int right, int bottom);
  BOOL Ellipse(int left, int top, int right, int bottom);
  // Fills the rectangle's pixels [left, right) x [top, bottom) with the brush; no pen.
  BOOL FillRect(const RECT* rect, HBRUSH brush);

  // Text at (x, y) placed by the text alignment; count -1 means up to a NUL.
  BOOL TextOutW(int x, int y, const char16_t* text, int count);
  BOOL TextOutW(int x, int y, sys::TextView text);
  // Advance width and cell height of the text in the selected font (unrotated).
  BOOL GetTextExtentPointW(const char16_t* text, int count, SIZE* size);
  SIZE GetTextExtent(sys::TextView text);
  BOOL GetTextMetricsW(TEXTMETRICW* metrics);
  // Each returns the previous value.
  UINT SetTextAlign(UINT align);
  COLORREF SetTextColor(COLORREF colour);
  COLORREF SetBkColor(COLORREF colour);
  int SetBkMode(int mode);

  // Copies width x height pixels from source (an off-screen surface, or a context
  // drawing into an image) at (sourceX, sourceY) to (x, y). Only SRCCOPY.
  BOOL BitBlt(int x, int y, int width, int height, const CDC* source, int sourceX,
              int sourceY, DWORD rop);

  // The pixel at (x, y) when this context draws into an image; CLR_INVALID otherwise
  // or outside it.
  COLORREF GetPixel(int x, int y) const;
  // Size of the image drawn into; 0 x 0 when the device is not an image.
  SIZE GetSurfaceSize() const;
  // Saves the image drawn into as PNG; FALSE when there is none or writing fails.
  BOOL SaveAsPng(std::string_view utf8Path) const;
  BOOL SaveAsPng(sys::TextView path) const;

  // For the layer's own construction (off-screen surfaces, dc_bridge.h); Impl is opaque.
  struct Impl;
  explicit CDC(std::unique_ptr<Impl> impl);

 private:
  std::unique_ptr<Impl> impl_;
};
