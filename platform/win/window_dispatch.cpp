// window_dispatch.cpp: CWnd's message dispatch: WindowProc to the On* handlers,
// reflection of control notifications, Default and DefWindowProc.
//
// Reflection: WM_COMMAND from a control (lParam) and WM_NOTIFY (NMHDR::hwndFrom) are
// offered to the control's own object before the parent's OnCommand / OnNotify; the
// base OnDrawItem offers WM_DRAWITEM the same way. Windows without an object of their
// own (stand-ins) take no part.
#include "handle.h"

using namespace win::detail;

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (!DispatchToHandler(message, wParam, lParam, &result)) result = DefWindowProc(message, wParam, lParam);
  return result;
}

BOOL CWnd::ReflectToChild(HWND child, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  if (!Alive(child) || child == m_hWnd || !child->wnd) return FALSE;
  LRESULT childResult = 0;
  if (!child->wnd->OnChildNotify(message, wParam, lParam, &childResult)) return FALSE;
  *result = childResult;
  return TRUE;
}

BOOL CWnd::DispatchToHandler(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  auto window = [](WPARAM w) { return CWnd::FromHandle(reinterpret_cast<HWND>(w)); };
  switch (message) {
    case WM_COMMAND:
      if (lParam && ReflectToChild(reinterpret_cast<HWND>(lParam), message, wParam, lParam, result)) return TRUE;
      return OnCommand(wParam, lParam);
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lParam);
      if (header && ReflectToChild(header->hwndFrom, message, wParam, lParam, result)) return TRUE;
      return OnNotify(wParam, lParam, result);
    }
    case WM_CREATE: *result = OnCreate(reinterpret_cast<LPCREATESTRUCT>(lParam)); return TRUE;
    case WM_DESTROY: OnDestroy(); return TRUE;
    case WM_NCDESTROY: OnNcDestroy(); return TRUE;
    case WM_CLOSE: OnClose(); return TRUE;
    case WM_SIZE: OnSize(static_cast<UINT>(wParam), LOWORD(static_cast<std::uintptr_t>(lParam)),
                         HIWORD(static_cast<std::uintptr_t>(lParam))); return TRUE;
    case WM_GETMINMAXINFO: OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam)); return TRUE;
    case WM_SYSCOMMAND: OnSysCommand(static_cast<UINT>(wParam), lParam); return TRUE;
    case WM_CONTEXTMENU: OnContextMenu(window(wParam), CPoint(lParam)); return TRUE;
    case WM_DRAWITEM:
      OnDrawItem(static_cast<int>(wParam), reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
      *result = TRUE;
      return TRUE;
    case WM_SETFOCUS: OnSetFocus(window(wParam)); return TRUE;
    case WM_KILLFOCUS: OnKillFocus(window(wParam)); return TRUE;
    case WM_KEYDOWN:
    case WM_CHAR: {
      auto repeat = static_cast<UINT>(LOWORD(static_cast<std::uintptr_t>(lParam)));
      auto flags = static_cast<UINT>(HIWORD(static_cast<std::uintptr_t>(lParam)));
      if (message == WM_KEYDOWN)
        OnKeyDown(static_cast<UINT>(wParam), repeat, flags);
      else
        OnChar(static_cast<UINT>(wParam), repeat, flags);
      return TRUE;
    }
    case WM_VSCROLL:
    case WM_HSCROLL: {
      auto code = static_cast<UINT>(LOWORD(wParam));
      auto pos = static_cast<UINT>(HIWORD(wParam));
      CWnd* bar = lParam ? FromHandle(reinterpret_cast<HWND>(lParam)) : nullptr;
      if (message == WM_VSCROLL)
        OnVScroll(code, pos, bar);
      else
        OnHScroll(code, pos, bar);
      return TRUE;
    }
    default:
      return FALSE;
  }
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  return ClassProc(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  if (!CurrentMessage(m_hWnd, &message, &wParam, &lParam)) return 0;
  return DefWindowProc(message, wParam, lParam);
}

BOOL CWnd::PreTranslateMessage(MSG*) { return FALSE; }
BOOL CWnd::OnChildNotify(UINT, WPARAM, LPARAM, LRESULT*) { return FALSE; }
BOOL CWnd::OnCommand(WPARAM, LPARAM) { return FALSE; }
BOOL CWnd::OnNotify(WPARAM, LPARAM, LRESULT*) { return FALSE; }
void CWnd::PreSubclassWindow() {}
void CWnd::PostNcDestroy() {}
void CWnd::DoDataExchange(CDataExchange*) {}

int CWnd::OnCreate(LPCREATESTRUCT) { return static_cast<int>(Default()); }
void CWnd::OnDestroy() { Default(); }
void CWnd::OnNcDestroy() {
  Default();
  if (Alive(m_hWnd) && m_hWnd->wnd == this) m_hWnd->wnd = nullptr;
  m_hWnd = nullptr;
  PostNcDestroy();
}
void CWnd::OnClose() { Default(); }
void CWnd::OnSize(UINT, int, int) { Default(); }
void CWnd::OnGetMinMaxInfo(MINMAXINFO*) { Default(); }
void CWnd::OnSysCommand(UINT, LPARAM) { Default(); }
void CWnd::OnContextMenu(CWnd*, CPoint) { Default(); }
void CWnd::OnDrawItem(int, LPDRAWITEMSTRUCT drawItem) {
  LRESULT result = 0;
  if (drawItem && ReflectToChild(drawItem->hwndItem, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(drawItem), &result))
    return;
  Default();
}
void CWnd::OnSetFocus(CWnd*) { Default(); }
void CWnd::OnKillFocus(CWnd*) { Default(); }
void CWnd::OnKeyDown(UINT, UINT, UINT) { Default(); }
void CWnd::OnChar(UINT, UINT, UINT) { Default(); }
void CWnd::OnVScroll(UINT, UINT, CWnd*) { Default(); }
void CWnd::OnHScroll(UINT, UINT, CWnd*) { Default(); }
