// win_types.h: the basic types of the window layer, with the widths and values that
// window code written for the classic desktop API expects.
//
// Shared by the window layer and the drawing context (dc.h), so that RECT, POINT, SIZE,
// COLORREF and the handles exist once. Handles are opaque pointers of the layer; no Qt
// type appears here. Header only, no cost.
#pragma once

#include <cstdint>

#include "platform/sys/text.h"

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

using BOOL = int;
using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using UINT = unsigned int;
using LONG = std::int32_t;
using ULONG = std::uint32_t;
using INT_PTR = std::intptr_t;
using UINT_PTR = std::uintptr_t;
using LONG_PTR = std::intptr_t;
using ULONG_PTR = std::uintptr_t;
using DWORD_PTR = std::uintptr_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using COLORREF = std::uint32_t;
using WCHAR = char16_t;
using LPWSTR = char16_t*;
using LPCWSTR = const char16_t*;
using LPVOID = void*;

// Opaque handles. A window handle stays valid until the window is destroyed; IsWindow
// tells whether it still is.
struct HWND__;
using HWND = HWND__*;
struct HMENU__;
using HMENU = HMENU__*;
struct HICON__;
using HICON = HICON__*;
struct HINSTANCE__;
using HINSTANCE = HINSTANCE__*;

// The device context is the drawing layer's class (dc.h); window records carry it as a
// pointer.
class CDC;

struct POINT {
  LONG x;
  LONG y;
};
struct SIZE {
  LONG cx;
  LONG cy;
};
struct RECT {
  LONG left;
  LONG top;
  LONG right;
  LONG bottom;
};
using LPPOINT = POINT*;
using LPRECT = RECT*;
using LPCRECT = const RECT*;

constexpr WORD LOWORD(std::uintptr_t v) { return static_cast<WORD>(v & 0xFFFF); }
constexpr WORD HIWORD(std::uintptr_t v) { return static_cast<WORD>((v >> 16) & 0xFFFF); }
constexpr LONG MAKELONG(WORD low, WORD high) {
  return static_cast<LONG>(static_cast<DWORD>(low) | (static_cast<DWORD>(high) << 16));
}
constexpr WPARAM MAKEWPARAM(unsigned low, unsigned high) {
  return static_cast<WPARAM>(static_cast<DWORD>(MAKELONG(static_cast<WORD>(low), static_cast<WORD>(high))));
}
constexpr LPARAM MAKELPARAM(int low, int high) {
  return static_cast<LPARAM>(static_cast<DWORD>(MAKELONG(static_cast<WORD>(low), static_cast<WORD>(high))));
}
// Signed coordinates packed into an LPARAM (WM_CONTEXTMENU, WM_SIZE).
constexpr int GET_X_LPARAM(LPARAM v) { return static_cast<short>(LOWORD(static_cast<std::uintptr_t>(v))); }
constexpr int GET_Y_LPARAM(LPARAM v) { return static_cast<short>(HIWORD(static_cast<std::uintptr_t>(v))); }

// COLORREF is 0x00BBGGRR.
constexpr COLORREF RGB(int r, int g, int b) {
  return static_cast<COLORREF>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr BYTE GetRValue(COLORREF c) { return static_cast<BYTE>(c & 0xFF); }
constexpr BYTE GetGValue(COLORREF c) { return static_cast<BYTE>((c >> 8) & 0xFF); }
constexpr BYTE GetBValue(COLORREF c) { return static_cast<BYTE>((c >> 16) & 0xFF); }
inline constexpr COLORREF CLR_NONE = 0xFFFFFFFFu;
inline constexpr COLORREF CLR_DEFAULT = 0xFF000000u;

// The small geometry helpers that dialog code uses.
class CPoint : public POINT {
 public:
  constexpr CPoint() : POINT{0, 0} {}
  constexpr CPoint(int x0, int y0) : POINT{x0, y0} {}
  constexpr CPoint(POINT p) : POINT(p) {}
  // From a packed LPARAM (WM_CONTEXTMENU).
  explicit constexpr CPoint(LPARAM packed) : POINT{GET_X_LPARAM(packed), GET_Y_LPARAM(packed)} {}
  operator LPPOINT() { return this; }
};

class CSize : public SIZE {
 public:
  constexpr CSize() : SIZE{0, 0} {}
  constexpr CSize(int w, int h) : SIZE{w, h} {}
  constexpr CSize(SIZE s) : SIZE(s) {}
};

class CRect : public RECT {
 public:
  constexpr CRect() : RECT{0, 0, 0, 0} {}
  constexpr CRect(int l, int t, int r, int b) : RECT{l, t, r, b} {}
  constexpr CRect(const RECT& r) : RECT(r) {}
  constexpr int Width() const { return right - left; }
  constexpr int Height() const { return bottom - top; }
  constexpr CPoint TopLeft() const { return CPoint(left, top); }
  constexpr CPoint BottomRight() const { return CPoint(right, bottom); }
  constexpr bool IsRectEmpty() const { return right <= left || bottom <= top; }
  void OffsetRect(int dx, int dy) { left += dx; right += dx; top += dy; bottom += dy; }
  void DeflateRect(int l, int t, int r, int b) { left += l; top += t; right -= r; bottom -= b; }
  void InflateRect(int dx, int dy) { DeflateRect(-dx, -dy, -dx, -dy); }
  operator LPRECT() { return this; }
  operator LPCRECT() const { return this; }
};
