// menu.h: CMenu, popup menus with check marks and separators, and the system menu of a
// top-level window.
//
// A menu is plain data until it is tracked. TrackPopupMenu shows it at a screen point
// and returns when the user has chosen or dismissed it; the chosen command is then
// posted to the owner as WM_COMMAND (for the system menu WM_SYSCOMMAND), or returned
// with TPM_RETURNCMD. The system menu (Alt+Space on a top-level window) starts with the
// window commands SC_RESTORE, SC_MINIMIZE, SC_MAXIMIZE and SC_CLOSE.
#pragma once

#include "export.h"
#include "window.h"

class VETRIX_WIN_API CMenu {
 public:
  CMenu();
  CMenu(const CMenu&) = delete;
  CMenu& operator=(const CMenu&) = delete;
  // Destroys a menu this object still holds.
  ~CMenu();

  HMENU m_hMenu = nullptr;
  operator HMENU() const { return m_hMenu; }

  BOOL CreatePopupMenu();
  BOOL DestroyMenu();
  BOOL Attach(HMENU menu);
  HMENU Detach();

  // flags: MF_STRING or MF_SEPARATOR, with MF_CHECKED, MF_GRAYED.
  BOOL AppendMenu(UINT flags, UINT_PTR id = 0, LPCWSTR text = nullptr);
  BOOL AppendMenu(UINT flags, UINT_PTR id, const sys::Text& text) {
    return AppendMenu(flags, id, text.c_str());
  }
  BOOL DeleteMenu(UINT position, UINT flags);
  // Returns the previous check state (MF_CHECKED / MF_UNCHECKED), or (UINT)-1.
  UINT CheckMenuItem(UINT idOrPosition, UINT check);
  UINT EnableMenuItem(UINT idOrPosition, UINT enable);
  int GetMenuItemCount() const;
  UINT GetMenuItemID(int position) const;  // 0 for a separator, (UINT)-1 out of range
  sys::Text GetMenuString(UINT idOrPosition, UINT flags) const;
  UINT GetMenuState(UINT idOrPosition, UINT flags) const;
  // x, y in screen coordinates. Returns the chosen command with TPM_RETURNCMD (0 when
  // dismissed), otherwise TRUE.
  BOOL TrackPopupMenu(UINT flags, int x, int y, CWnd* owner, LPCRECT rect = nullptr);
};

VETRIX_WIN_API HMENU CreatePopupMenu();
VETRIX_WIN_API BOOL DestroyMenu(HMENU menu);
VETRIX_WIN_API BOOL AppendMenu(HMENU menu, UINT flags, UINT_PTR id, LPCWSTR text);
VETRIX_WIN_API BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int reserved,
                                   HWND owner, LPCRECT rect);
VETRIX_WIN_API HMENU GetSystemMenu(HWND hWnd, BOOL revert);
