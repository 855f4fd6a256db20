// window_api.cpp: the free window functions on handles (SendMessage, GetDlgItem,
// ShowWindow, MoveWindow, rectangles, text, focus, repainting, system colours).
//
// Each checks the handle first and answers 0 / FALSE / empty for a dead one. Text goes
// through WM_SETTEXT and WM_GETTEXT so that an object may intercept it.
#include <QApplication>
#include <QPalette>

#include "handle.h"

using namespace win::detail;

namespace {

QColor PaletteColour(int index) {
  QPalette palette = QApplication::palette();
  switch (index) {
    case COLOR_WINDOW: return palette.color(QPalette::Active, QPalette::Base);
    case COLOR_WINDOWTEXT: return palette.color(QPalette::Active, QPalette::Text);
    case COLOR_HIGHLIGHT: return palette.color(QPalette::Active, QPalette::Highlight);
    case COLOR_HIGHLIGHTTEXT: return palette.color(QPalette::Active, QPalette::HighlightedText);
    case COLOR_BTNFACE: return palette.color(QPalette::Active, QPalette::Button);
    case COLOR_GRAYTEXT: return palette.color(QPalette::Disabled, QPalette::Text);
    case COLOR_BTNTEXT: return palette.color(QPalette::Active, QPalette::ButtonText);
    default: return Qt::black;
  }
}

}  // namespace

LRESULT SendMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return Deliver(hWnd, message, wParam, lParam);
}

BOOL IsWindow(HWND hWnd) { return Alive(hWnd) ? TRUE : FALSE; }

BOOL DestroyWindow(HWND hWnd) {
  if (!Alive(hWnd)) return FALSE;
  DestroyHandle(hWnd);
  return TRUE;
}

HWND GetParent(HWND hWnd) { return Alive(hWnd) && Alive(hWnd->parent) ? hWnd->parent : nullptr; }

HWND GetDlgItem(HWND dialog, int id) {
  if (!Alive(dialog)) return nullptr;
  for (HWND child : dialog->children)
    if (child->id == id) return child;
  return nullptr;
}

int GetDlgCtrlID(HWND hWnd) { return Alive(hWnd) ? hWnd->id : 0; }

BOOL ShowWindow(HWND hWnd, int cmdShow) {
  if (!Alive(hWnd) || !hWnd->widget) return FALSE;
  QWidget* w = hWnd->widget;
  BOOL wasVisible = w->isVisible() ? TRUE : FALSE;
  bool topLevel = !IsChildWindow(hWnd);
  if (cmdShow == SW_HIDE) {
    hWnd->style &= ~WS_VISIBLE;
    w->hide();
    return wasVisible;
  }
  hWnd->style |= WS_VISIBLE;
  if (topLevel) ApplyTrackLimits(hWnd);
  if (!Alive(hWnd)) return wasVisible;
  switch (cmdShow) {
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE: w->showMinimized(); break;
    case SW_SHOWMAXIMIZED: w->showMaximized(); break;
    case SW_SHOWNORMAL:
    case SW_RESTORE: w->showNormal(); break;
    case SW_SHOWNA:
    case SW_SHOWNOACTIVATE:
      w->setAttribute(Qt::WA_ShowWithoutActivating, true);
      w->show();
      w->setAttribute(Qt::WA_ShowWithoutActivating, false);
      return wasVisible;
    default: w->show(); break;
  }
  if (topLevel) {
    w->raise();
    w->activateWindow();
  }
  return wasVisible;
}

BOOL IsWindowVisible(HWND hWnd) { return Alive(hWnd) && hWnd->widget && hWnd->widget->isVisible(); }

BOOL EnableWindow(HWND hWnd, BOOL enable) {
  if (!Alive(hWnd) || !hWnd->widget) return FALSE;
  BOOL wasDisabled = (hWnd->style & WS_DISABLED) ? TRUE : FALSE;
  if (enable)
    hWnd->style &= ~WS_DISABLED;
  else
    hWnd->style |= WS_DISABLED;
  hWnd->widget->setEnabled(enable != FALSE);
  return wasDisabled;
}

BOOL IsWindowEnabled(HWND hWnd) { return Alive(hWnd) && !(hWnd->style & WS_DISABLED); }

BOOL MoveWindow(HWND hWnd, int x, int y, int width, int height, BOOL repaint) {
  if (!Alive(hWnd)) return FALSE;
  SetWindowGeometry(hWnd, x, y, width, height, true, true);
  if (repaint && Alive(hWnd) && hWnd->widget) hWnd->widget->update();
  return TRUE;
}

BOOL SetWindowPos(HWND hWnd, HWND, int x, int y, int cx, int cy, UINT flags) {
  if (!Alive(hWnd)) return FALSE;
  bool move = !(flags & SWP_NOMOVE);
  bool size = !(flags & SWP_NOSIZE);
  if (move || size) SetWindowGeometry(hWnd, x, y, cx, cy, move, size);
  if (flags & SWP_SHOWWINDOW) ShowWindow(hWnd, (flags & SWP_NOACTIVATE) ? SW_SHOWNA : SW_SHOW);
  if (flags & SWP_HIDEWINDOW) ShowWindow(hWnd, SW_HIDE);
  return TRUE;
}

BOOL GetWindowRect(HWND hWnd, LPRECT rect) {
  if (!Alive(hWnd) || !hWnd->widget || !rect) return FALSE;
  QWidget* w = hWnd->widget;
  QRect r = IsChildWindow(hWnd) ? QRect(w->mapToGlobal(QPoint(0, 0)), w->size()) : w->frameGeometry();
  *rect = {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
  return TRUE;
}

BOOL GetClientRect(HWND hWnd, LPRECT rect) {
  if (!Alive(hWnd) || !hWnd->impl || !rect) return FALSE;
  QSize size = hWnd->impl->ClientRect().size();
  *rect = {0, 0, size.width(), size.height()};
  return TRUE;
}

BOOL ClientToScreen(HWND hWnd, LPPOINT point) {
  if (!Alive(hWnd) || !hWnd->impl || !point) return FALSE;
  QPoint global = hWnd->impl->ClientArea()->mapToGlobal(ClientToWidget(hWnd, QPoint(point->x, point->y)));
  *point = {global.x(), global.y()};
  return TRUE;
}

BOOL ScreenToClient(HWND hWnd, LPPOINT point) {
  if (!Alive(hWnd) || !hWnd->impl || !point) return FALSE;
  QPoint local = hWnd->impl->ClientArea()->mapFromGlobal(QPoint(point->x, point->y)) -
                 hWnd->impl->ClientRect().topLeft();
  *point = {local.x(), local.y()};
  return TRUE;
}

BOOL SetWindowText(HWND hWnd, LPCWSTR text) {
  static const char16_t kEmpty[] = u"";
  return Alive(hWnd) ? static_cast<BOOL>(Deliver(hWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text ? text : kEmpty)))
                     : FALSE;
}

sys::Text GetWindowText(HWND hWnd) {
  if (!Alive(hWnd)) return {};
  auto length = static_cast<std::size_t>(Deliver(hWnd, WM_GETTEXTLENGTH, 0, 0));
  sys::Text text(length + 1, u'\0');
  auto copied = static_cast<std::size_t>(
      Deliver(hWnd, WM_GETTEXT, static_cast<WPARAM>(text.size()), reinterpret_cast<LPARAM>(text.data())));
  text.resize(std::min(copied, length));
  return text;
}

BOOL SetDlgItemText(HWND dialog, int id, LPCWSTR text) { return SetWindowText(GetDlgItem(dialog, id), text); }
sys::Text GetDlgItemText(HWND dialog, int id) { return GetWindowText(GetDlgItem(dialog, id)); }

HWND GetFocus() { return HandleOfWidget(QApplication::focusWidget()); }

HWND SetFocus(HWND hWnd) {
  HWND previous = GetFocus();
  if (Alive(hWnd) && hWnd->widget) hWnd->widget->setFocus(Qt::OtherFocusReason);
  return previous;
}

DWORD GetWindowStyle(HWND hWnd) { return Alive(hWnd) ? hWnd->style : 0; }

BOOL UpdateWindow(HWND hWnd) {
  if (!Alive(hWnd) || !hWnd->widget) return FALSE;
  if (hWnd->widget->isVisible()) hWnd->widget->repaint();
  return TRUE;
}

BOOL InvalidateRect(HWND hWnd, LPCRECT rect, BOOL) {
  if (!Alive(hWnd) || !hWnd->widget) return FALSE;
  if (rect)
    hWnd->widget->update(QRect(ClientToWidget(hWnd, QPoint(rect->left, rect->top)),
                               QSize(rect->right - rect->left, rect->bottom - rect->top)));
  else
    hWnd->widget->update();
  return TRUE;
}

BOOL RedrawWindow(HWND hWnd, LPCRECT update, void*, UINT flags) {
  if (!Alive(hWnd) || !hWnd->widget) return FALSE;
  if (flags & RDW_INVALIDATE) InvalidateRect(hWnd, update, (flags & RDW_ERASE) ? TRUE : FALSE);
  if ((flags & RDW_UPDATENOW) && hWnd->widget->isVisible()) hWnd->widget->repaint();
  return TRUE;
}

COLORREF GetSysColor(int index) {
  QColor c = PaletteColour(index);
  return RGB(c.red(), c.green(), c.blue());
}
