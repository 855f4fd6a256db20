// window.h: CWnd, the C++ object over one window of the layer, and the free window
// functions (SendMessage, PostMessage, GetDlgItem, MoveWindow, ...).
//
// A window is a Qt widget behind an opaque HWND. Messages go to the CWnd attached to
// the window (by Create, a dialog template plus DDX_Control, or SubclassWindow) through
// its virtual WindowProc; what the object leaves to the default handling reaches the
// window class of the layer (a list view answers LVM_*, a dialog applies its dynamic
// layout on WM_SIZE). Notifications from controls arrive at the parent as WM_COMMAND and
// WM_NOTIFY; before the parent's OnCommand/OnNotify sees them they are offered to the
// control's own object (OnChildNotify: reflection), which may consume them.
// Everything runs on the user-interface thread. SendMessage is a direct call;
// PostMessage queues the message in the Qt event loop, so it runs after the current
// handler has returned.
#pragma once

#include "export.h"
#include "win_messages.h"
#include "win_records.h"
#include "win_styles.h"
#include "win_types.h"

class CDataExchange;
class CMenu;

class VETRIX_WIN_API CWnd {
 public:
  CWnd();
  CWnd(const CWnd&) = delete;
  CWnd& operator=(const CWnd&) = delete;
  // Destroys the window when this object still owns one.
  virtual ~CWnd();

  HWND m_hWnd = nullptr;
  HWND GetSafeHwnd() const { return m_hWnd; }
  operator HWND() const { return m_hWnd; }

  // The object attached to a window, or a lasting stand-in of the window's class
  // (CListCtrl for a list view, CEdit for an edit, ...) owned by the window. Null for
  // null or destroyed handles.
  static CWnd* FromHandle(HWND hWnd);

  // Creates a child control or window of a layer class ("Button", "Edit", "Static",
  // "ComboBox", "SysListView32", "SysTabControl32"; null or "" for a plain window).
  // rect is in the parent's client coordinates, in pixels. WM_CREATE reaches this
  // object; FALSE when the class is unknown or OnCreate answers -1.
  BOOL CreateEx(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style,
                const RECT& rect, CWnd* parent, UINT id, LPVOID param = nullptr);
  BOOL Create(LPCWSTR className, LPCWSTR windowName, DWORD style, const RECT& rect,
              CWnd* parent, UINT id);
  virtual BOOL DestroyWindow();

  // Attach binds the object to a window without calling PreSubclassWindow; Subclass*
  // calls it. Each returns FALSE when the window already has an object.
  BOOL Attach(HWND hWnd);
  HWND Detach();
  BOOL SubclassWindow(HWND hWnd);
  BOOL SubclassDlgItem(UINT id, CWnd* parent);

  LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
  BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;

  // Message handling. WindowProc dispatches to the On* handlers below; each handler's
  // base implementation passes the message being handled to DefWindowProc (Default).
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Default();
  // Called for a key message of this window or a descendant before it is handled;
  // TRUE means "handled here, do nothing more".
  virtual BOOL PreTranslateMessage(MSG* msg);
  // A notification of this control offered to it before its parent handles it (WM_COMMAND,
  // WM_NOTIFY, WM_DRAWITEM). TRUE consumes it; *result becomes the message's result.
  virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
  // WM_COMMAND / WM_NOTIFY after reflection; TRUE when handled.
  virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
  virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result);
  virtual void PreSubclassWindow();
  // After the last message of the window (WM_NCDESTROY); the place for "delete this".
  virtual void PostNcDestroy();
  virtual void DoDataExchange(CDataExchange* dx);
  // Runs DoDataExchange: TRUE takes the controls into the members, FALSE the reverse.
  BOOL UpdateData(BOOL saveAndValidate = TRUE);

  virtual int OnCreate(LPCREATESTRUCT createStruct);
  virtual void OnDestroy();
  virtual void OnNcDestroy();
  virtual void OnClose();
  virtual void OnSize(UINT type, int cx, int cy);
  virtual void OnGetMinMaxInfo(MINMAXINFO* info);
  virtual void OnSysCommand(UINT id, LPARAM lParam);
  // point in screen coordinates; (-1, -1) when the menu was asked for by keyboard.
  virtual void OnContextMenu(CWnd* wnd, CPoint point);
  virtual void OnDrawItem(int idCtl, LPDRAWITEMSTRUCT drawItem);
  virtual void OnSetFocus(CWnd* oldWnd);
  virtual void OnKillFocus(CWnd* newWnd);
  virtual void OnKeyDown(UINT ch, UINT repeatCount, UINT flags);
  virtual void OnChar(UINT ch, UINT repeatCount, UINT flags);
  virtual void OnVScroll(UINT code, UINT pos, CWnd* scrollBar);
  virtual void OnHScroll(UINT code, UINT pos, CWnd* scrollBar);

  // Geometry in pixels: window rectangles in screen coordinates (frame included for
  // top-level windows), client rectangles from (0, 0).
  void GetWindowRect(LPRECT rect) const;
  void GetClientRect(LPRECT rect) const;
  void MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE);
  void MoveWindow(LPCRECT rect, BOOL repaint = TRUE);
  BOOL SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags);
  void ScreenToClient(LPPOINT point) const;
  void ScreenToClient(LPRECT rect) const;
  void ClientToScreen(LPPOINT point) const;
  void ClientToScreen(LPRECT rect) const;

  BOOL ShowWindow(int cmdShow);
  BOOL IsWindowVisible() const;
  BOOL EnableWindow(BOOL enable = TRUE);
  BOOL IsWindowEnabled() const;
  void Invalidate(BOOL erase = TRUE);
  void UpdateWindow();
  BOOL RedrawWindow(LPCRECT update = nullptr, void* region = nullptr,
                    UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);

  void SetWindowText(LPCWSTR text);
  void SetWindowText(const sys::Text& text) { SetWindowText(text.c_str()); }
  void GetWindowText(sys::Text& text) const;
  sys::Text GetWindowText() const;
  int GetWindowTextLength() const;

  CWnd* GetDlgItem(int id) const;
  int GetDlgCtrlID() const;
  void SetDlgItemText(int id, LPCWSTR text);
  void SetDlgItemText(int id, const sys::Text& text) { SetDlgItemText(id, text.c_str()); }
  sys::Text GetDlgItemText(int id) const;
  void CheckDlgButton(int id, UINT check);
  UINT IsDlgButtonChecked(int id) const;

  CWnd* GetParent() const;
  CWnd* SetFocus();
  static CWnd* GetFocus();

  DWORD GetStyle() const;
  DWORD GetExStyle() const;
  // Changes the style bits; controls whose look depends on them follow at once.
  BOOL ModifyStyle(DWORD remove, DWORD add, UINT flags = 0);
  BOOL ModifyStyleEx(DWORD remove, DWORD add, UINT flags = 0);

  // WM_SETICON: the big or the small window icon. Returns the previous one.
  HICON SetIcon(HICON icon, BOOL bigIcon);
  HICON GetIcon(BOOL bigIcon) const;
  // The window's system menu (top-level windows); owned by the window.
  CMenu* GetSystemMenu(BOOL revert) const;
  int MessageBox(LPCWSTR text, LPCWSTR caption = nullptr, UINT type = MB_OK) const;

 private:
  BOOL DispatchToHandler(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
  BOOL ReflectToChild(HWND child, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
};

// Free functions on handles; each does nothing and returns 0 for a handle that is not
// (or no longer) a window.
VETRIX_WIN_API LRESULT SendMessage(HWND hWnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
// Queues the message; it is delivered from the Qt event loop after the current handler
// returns, and dropped if the window has been destroyed meanwhile.
VETRIX_WIN_API BOOL PostMessage(HWND hWnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
VETRIX_WIN_API BOOL IsWindow(HWND hWnd);
VETRIX_WIN_API BOOL DestroyWindow(HWND hWnd);
VETRIX_WIN_API HWND GetParent(HWND hWnd);
VETRIX_WIN_API HWND GetDlgItem(HWND dialog, int id);
VETRIX_WIN_API int GetDlgCtrlID(HWND hWnd);
VETRIX_WIN_API BOOL ShowWindow(HWND hWnd, int cmdShow);
VETRIX_WIN_API BOOL IsWindowVisible(HWND hWnd);
VETRIX_WIN_API BOOL EnableWindow(HWND hWnd, BOOL enable);
VETRIX_WIN_API BOOL IsWindowEnabled(HWND hWnd);
VETRIX_WIN_API BOOL MoveWindow(HWND hWnd, int x, int y, int width, int height, BOOL repaint);
VETRIX_WIN_API BOOL SetWindowPos(HWND hWnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
VETRIX_WIN_API BOOL GetWindowRect(HWND hWnd, LPRECT rect);
VETRIX_WIN_API BOOL GetClientRect(HWND hWnd, LPRECT rect);
VETRIX_WIN_API BOOL ScreenToClient(HWND hWnd, LPPOINT point);
VETRIX_WIN_API BOOL ClientToScreen(HWND hWnd, LPPOINT point);
VETRIX_WIN_API BOOL SetWindowText(HWND hWnd, LPCWSTR text);
VETRIX_WIN_API sys::Text GetWindowText(HWND hWnd);
VETRIX_WIN_API BOOL SetDlgItemText(HWND dialog, int id, LPCWSTR text);
VETRIX_WIN_API sys::Text GetDlgItemText(HWND dialog, int id);
VETRIX_WIN_API HWND SetFocus(HWND hWnd);
VETRIX_WIN_API HWND GetFocus();
VETRIX_WIN_API DWORD GetWindowStyle(HWND hWnd);
VETRIX_WIN_API BOOL UpdateWindow(HWND hWnd);
VETRIX_WIN_API BOOL InvalidateRect(HWND hWnd, LPCRECT rect, BOOL erase);
VETRIX_WIN_API BOOL RedrawWindow(HWND hWnd, LPCRECT update, void* region, UINT flags);
// Dispatches a message now, as the message loop would (to the window's WindowProc).
VETRIX_WIN_API LRESULT DispatchMessage(const MSG* msg);
// For a WM_KEYDOWN that produces a character: posts the WM_CHAR for it.
VETRIX_WIN_API BOOL TranslateMessage(const MSG* msg);
// Negative (high bit set) while the key is held, for VK_CONTROL, VK_SHIFT and VK_MENU.
VETRIX_WIN_API short GetKeyState(int virtualKey);
// System colours of the current palette (COLOR_HIGHLIGHT, COLOR_WINDOW, ...).
VETRIX_WIN_API COLORREF GetSysColor(int index);
