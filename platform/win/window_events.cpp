// window_events.cpp: the default handling shared by every window class (CommonProc),
// focus and context-menu routing, sizing messages and geometry conventions.
//
// Conventions: a child window's rectangle is in its parent's client coordinates; a
// top-level window's rectangle includes the frame Qt reports for it, its client area
// is the widget. WM_SIZE carries the client size and is sent once per size change.
#include <QApplication>
#include <QScreen>
#include <QWindow>

#include "handle.h"
#include "menu_impl.h"
#include "resources_impl.h"

namespace win::detail {
namespace {

HWND g_lastFocusLost = nullptr;

void SetWindowIconFrom(HWND h) {
  HICON icon = h->bigIcon ? h->bigIcon : h->smallIcon;
  if (h->widget) h->widget->setWindowIcon(IconToQt(icon));
}

LRESULT HandleSysCommand(HWND h, WPARAM wParam) {
  QWidget* w = h->widget;
  switch (static_cast<UINT>(wParam) & 0xFFF0u) {
    case SC_CLOSE:
      Deliver(h, WM_CLOSE, 0, 0);
      break;
    case SC_MINIMIZE:
      if (w) w->showMinimized();
      break;
    case SC_MAXIMIZE:
      if (w) w->showMaximized();
      break;
    case SC_RESTORE:
      if (w) w->showNormal();
      break;
    case SC_KEYMENU:
      ShowSystemMenu(h);
      break;
    default:
      break;
  }
  return 0;
}

bool IsContextMenuKey(WPARAM vk) {
  return vk == VK_APPS || (vk == VK_F10 && GetKeyState(VK_SHIFT) < 0);
}

}  // namespace

LRESULT CommonProc(HWND h, UINT message, WPARAM wParam, LPARAM lParam) {
  WindowImpl* impl = h->impl;
  switch (message) {
    case WM_SETTEXT:
      if (impl) impl->SetText(ToQt(reinterpret_cast<LPCWSTR>(lParam)));
      return TRUE;
    case WM_GETTEXT:
      return impl ? CopyOut(impl->Text(), reinterpret_cast<LPWSTR>(lParam), static_cast<int>(wParam)) : 0;
    case WM_GETTEXTLENGTH:
      return impl ? impl->Text().size() : 0;
    case WM_SETICON: {
      HICON& slot = wParam == ICON_BIG ? h->bigIcon : h->smallIcon;
      HICON previous = slot;
      slot = reinterpret_cast<HICON>(lParam);
      SetWindowIconFrom(h);
      return reinterpret_cast<LRESULT>(previous);
    }
    case WM_KEYDOWN:
      RunPendingDefault(h, WM_KEYDOWN);
      if (Alive(h) && IsContextMenuKey(wParam))
        Deliver(h, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(h), MAKELPARAM(-1, -1));
      return 0;
    case WM_CONTEXTMENU:
      if (IsChildWindow(h) && Alive(h->parent)) return Deliver(h->parent, WM_CONTEXTMENU, wParam, lParam);
      return 0;
    case WM_SYSCOMMAND:
      return HandleSysCommand(h, wParam);
    case WM_CLOSE:
      DestroyHandle(h);
      return 0;
    default:
      return 0;
  }
}

void RouteFocus(WindowImpl* impl, bool gained) {
  HWND h = impl->handle;
  if (!h) return;
  if (gained) {
    HWND previous = Alive(g_lastFocusLost) ? g_lastFocusLost : nullptr;
    Deliver(h, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous), 0);
  } else {
    g_lastFocusLost = h;
    HWND next = HandleOfWidget(QApplication::focusWidget());
    Deliver(h, WM_KILLFOCUS, reinterpret_cast<WPARAM>(next), 0);
  }
}

void RouteContextMenu(WindowImpl* impl, QContextMenuEvent* event, const std::function<void()>& base) {
  HWND h = impl->handle;
  event->accept();
  if (!h) {
    base();
    return;
  }
  // Keyboard requests are made from the key messages (Shift+F10, the menu key).
  if (event->reason() == QContextMenuEvent::Keyboard) return;
  PendingDefault pending(h, WM_CONTEXTMENU, base);
  QPoint global = event->globalPos();
  Deliver(h, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(h), MAKELPARAM(global.x(), global.y()));
}

QMargins FrameMargins(HWND h) {
  if (!Alive(h) || IsChildWindow(h) || !h->widget) return {};
  QWindow* window = h->widget->windowHandle();
  return window ? window->frameMargins() : QMargins();
}

QPoint ClientToWidget(HWND h, QPoint client) {
  return h->impl ? client + h->impl->ClientRect().topLeft() : client;
}

QRect ChildRectToQt(HWND parent, const RECT& rect) {
  QPoint origin = Alive(parent) && parent->impl ? parent->impl->ClientRect().topLeft() : QPoint();
  return QRect(QPoint(rect.left, rect.top) + origin, QSize(rect.right - rect.left, rect.bottom - rect.top));
}

void NotifyResized(HWND h) {
  if (!Alive(h) || !h->impl || !h->widget) return;
  QSize size = h->impl->ClientRect().size();
  if (size == h->lastClientSize) return;
  h->lastClientSize = size;
  UINT kind = h->widget->isMinimized() ? SIZE_MINIMIZED
              : h->widget->isMaximized() ? SIZE_MAXIMIZED
                                         : SIZE_RESTORED;
  Deliver(h, WM_SIZE, kind, MAKELPARAM(size.width(), size.height()));
}

void SetWindowGeometry(HWND h, int x, int y, int width, int height, bool move, bool size, bool notify) {
  QWidget* w = h->widget;
  if (!w) return;
  if (IsChildWindow(h)) {
    QPoint origin = Alive(h->parent) && h->parent->impl ? h->parent->impl->ClientRect().topLeft() : QPoint();
    // A combo box keeps the height of its closed box; the rest is its list's height.
    if (h->kind == WindowKind::ComboBox) height = w->sizeHint().height();
    if (move) w->move(origin + QPoint(x, y));
    if (size) w->resize(std::max(0, width), std::max(0, height));
  } else {
    QMargins m = FrameMargins(h);
    if (move) w->move(x, y);
    if (size) {
      ApplyTrackLimits(h);
      w->resize(std::max(0, width - m.left() - m.right()), std::max(0, height - m.top() - m.bottom()));
    }
  }
  // Qt defers resize events of hidden widgets; windows hear of their size at once.
  if (notify) NotifyResized(h);
}

void ApplyTrackLimits(HWND h) {
  if (!Alive(h) || IsChildWindow(h) || !h->widget || !(h->style & WS_THICKFRAME)) return;
  QMargins m = FrameMargins(h);
  int frameX = m.left() + m.right();
  int frameY = m.top() + m.bottom();
  QSize screen = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->size() : QSize(1024, 768);
  MINMAXINFO info{};
  info.ptMaxSize = {screen.width(), screen.height()};
  info.ptMinTrackSize = {frameX, frameY};
  info.ptMaxTrackSize = {QWIDGETSIZE_MAX, QWIDGETSIZE_MAX};
  Deliver(h, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  if (!Alive(h) || !h->widget) return;
  auto clientOf = [](LONG outer, int frame) { return std::clamp<int>(outer - frame, 0, QWIDGETSIZE_MAX); };
  h->widget->setMinimumSize(clientOf(info.ptMinTrackSize.x, frameX), clientOf(info.ptMinTrackSize.y, frameY));
  h->widget->setMaximumSize(clientOf(info.ptMaxTrackSize.x, frameX), clientOf(info.ptMaxTrackSize.y, frameY));
}

}  // namespace win::detail
