// window.cpp: CWnd's life (creation, attaching, destruction) and its thin wrappers over
// the free window functions.
//
// An object owns the window it is attached to: destroying the object destroys the
// window. Stand-in objects from FromHandle belong to their window instead.
#include "window.h"

#include "controls.h"
#include "dialog.h"
#include "menu_impl.h"
#include "messagebox.h"

using namespace win::detail;

CWnd::CWnd() = default;

CWnd::~CWnd() {
  if (Alive(m_hWnd) && m_hWnd->wnd == this) {
    HWND h = Detach();
    DestroyHandle(h);
  }
}

CWnd* CWnd::FromHandle(HWND hWnd) {
  if (!Alive(hWnd)) return nullptr;
  if (hWnd->wnd) return hWnd->wnd;
  if (!hWnd->standIn) {
    hWnd->standIn = MakeStandIn(hWnd->kind);
    hWnd->standIn->m_hWnd = hWnd;
  }
  return hWnd->standIn.get();
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, const RECT& rect,
                    CWnd* parent, UINT id, LPVOID param) {
  if (m_hWnd) return FALSE;
  CreateRequest request;
  request.className = className;
  request.text = ToQt(windowName);
  request.style = style;
  request.exStyle = exStyle;
  request.rect = rect;
  request.parent = parent ? parent->m_hWnd : nullptr;
  request.id = static_cast<int>(id);
  request.attach = this;
  request.param = param;
  HWND h = CreateWindowFrom(request);
  if (!h && m_hWnd) m_hWnd = nullptr;
  return h ? TRUE : FALSE;
}

BOOL CWnd::Create(LPCWSTR className, LPCWSTR windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  return CreateEx(0, className, windowName, style | WS_CHILD, rect, parent, id);
}

BOOL CWnd::DestroyWindow() { return ::DestroyWindow(m_hWnd); }

BOOL CWnd::Attach(HWND hWnd) {
  if (m_hWnd || !Alive(hWnd) || hWnd->wnd) return FALSE;
  m_hWnd = hWnd;
  hWnd->wnd = this;
  return TRUE;
}

HWND CWnd::Detach() {
  HWND h = m_hWnd;
  if (Alive(h) && h->wnd == this) h->wnd = nullptr;
  m_hWnd = nullptr;
  return h;
}

BOOL CWnd::SubclassWindow(HWND hWnd) {
  if (!Attach(hWnd)) return FALSE;
  PreSubclassWindow();
  return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent) {
  return parent ? SubclassWindow(::GetDlgItem(parent->m_hWnd, static_cast<int>(id))) : FALSE;
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
  return ::SendMessage(m_hWnd, message, wParam, lParam);
}
BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
  return ::PostMessage(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::UpdateData(BOOL saveAndValidate) {
  if (!Alive(m_hWnd)) return FALSE;
  CDataExchange dx(this, saveAndValidate);
  DoDataExchange(&dx);
  return TRUE;
}

void CWnd::GetWindowRect(LPRECT rect) const { ::GetWindowRect(m_hWnd, rect); }
void CWnd::GetClientRect(LPRECT rect) const { ::GetClientRect(m_hWnd, rect); }
void CWnd::MoveWindow(int x, int y, int width, int height, BOOL repaint) {
  ::MoveWindow(m_hWnd, x, y, width, height, repaint);
}
void CWnd::MoveWindow(LPCRECT rect, BOOL repaint) {
  if (rect) ::MoveWindow(m_hWnd, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, repaint);
}
BOOL CWnd::SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags) {
  return ::SetWindowPos(m_hWnd, insertAfter ? insertAfter->m_hWnd : nullptr, x, y, cx, cy, flags);
}
void CWnd::ScreenToClient(LPPOINT point) const { ::ScreenToClient(m_hWnd, point); }
void CWnd::ClientToScreen(LPPOINT point) const { ::ClientToScreen(m_hWnd, point); }
void CWnd::ScreenToClient(LPRECT rect) const {
  auto* corners = reinterpret_cast<POINT*>(rect);
  ::ScreenToClient(m_hWnd, &corners[0]);
  ::ScreenToClient(m_hWnd, &corners[1]);
}
void CWnd::ClientToScreen(LPRECT rect) const {
  auto* corners = reinterpret_cast<POINT*>(rect);
  ::ClientToScreen(m_hWnd, &corners[0]);
  ::ClientToScreen(m_hWnd, &corners[1]);
}

BOOL CWnd::ShowWindow(int cmdShow) { return ::ShowWindow(m_hWnd, cmdShow); }
BOOL CWnd::IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
BOOL CWnd::EnableWindow(BOOL enable) { return ::EnableWindow(m_hWnd, enable); }
BOOL CWnd::IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
void CWnd::Invalidate(BOOL erase) { ::InvalidateRect(m_hWnd, nullptr, erase); }
void CWnd::UpdateWindow() { ::UpdateWindow(m_hWnd); }
BOOL CWnd::RedrawWindow(LPCRECT update, void* region, UINT flags) {
  return ::RedrawWindow(m_hWnd, update, region, flags);
}

void CWnd::SetWindowText(LPCWSTR text) { ::SetWindowText(m_hWnd, text); }
void CWnd::GetWindowText(sys::Text& text) const { text = ::GetWindowText(m_hWnd); }
sys::Text CWnd::GetWindowText() const { return ::GetWindowText(m_hWnd); }
int CWnd::GetWindowTextLength() const { return static_cast<int>(SendMessage(WM_GETTEXTLENGTH)); }

CWnd* CWnd::GetDlgItem(int id) const { return FromHandle(::GetDlgItem(m_hWnd, id)); }
int CWnd::GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
void CWnd::SetDlgItemText(int id, LPCWSTR text) { ::SetDlgItemText(m_hWnd, id, text); }
sys::Text CWnd::GetDlgItemText(int id) const { return ::GetDlgItemText(m_hWnd, id); }
void CWnd::CheckDlgButton(int id, UINT check) { ::SendMessage(::GetDlgItem(m_hWnd, id), BM_SETCHECK, check); }
UINT CWnd::IsDlgButtonChecked(int id) const {
  return static_cast<UINT>(::SendMessage(::GetDlgItem(m_hWnd, id), BM_GETCHECK));
}

CWnd* CWnd::GetParent() const { return FromHandle(::GetParent(m_hWnd)); }
CWnd* CWnd::SetFocus() { return FromHandle(::SetFocus(m_hWnd)); }
CWnd* CWnd::GetFocus() { return FromHandle(::GetFocus()); }

DWORD CWnd::GetStyle() const { return GetWindowStyle(m_hWnd); }
DWORD CWnd::GetExStyle() const { return Alive(m_hWnd) ? m_hWnd->exStyle : 0; }

BOOL CWnd::ModifyStyle(DWORD remove, DWORD add, UINT) {
  if (!Alive(m_hWnd)) return FALSE;
  DWORD before = m_hWnd->style;
  m_hWnd->style = (before & ~remove) | add;
  if (m_hWnd->style == before) return FALSE;
  if (m_hWnd->impl) m_hWnd->impl->StyleChanged();
  return TRUE;
}

BOOL CWnd::ModifyStyleEx(DWORD remove, DWORD add, UINT) {
  if (!Alive(m_hWnd)) return FALSE;
  DWORD before = m_hWnd->exStyle;
  m_hWnd->exStyle = (before & ~remove) | add;
  if (m_hWnd->exStyle != before && m_hWnd->impl) m_hWnd->impl->StyleChanged();
  return m_hWnd->exStyle != before;
}

HICON CWnd::SetIcon(HICON icon, BOOL bigIcon) {
  return reinterpret_cast<HICON>(SendMessage(WM_SETICON, bigIcon ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(icon)));
}
HICON CWnd::GetIcon(BOOL bigIcon) const {
  if (!Alive(m_hWnd)) return nullptr;
  return bigIcon ? m_hWnd->bigIcon : m_hWnd->smallIcon;
}

CMenu* CWnd::GetSystemMenu(BOOL revert) const { return SystemMenuObject(m_hWnd, revert); }

int CWnd::MessageBox(LPCWSTR text, LPCWSTR caption, UINT type) const {
  return ::MessageBox(m_hWnd, text, caption, type);
}
