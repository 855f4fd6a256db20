// edit.h: CEdit, single- or multi-line text, read-only or not, aligned left, centre or
// right (ES_CENTER, ES_RIGHT), with a vertical scroll bar when WS_VSCROLL is given.
//
// Key input reaches the object as WM_KEYDOWN and, for keys that type a character,
// WM_CHAR; the default handling of WM_CHAR types it. Focus changes arrive as
// WM_SETFOCUS / WM_KILLFOCUS. User edits send EN_CHANGE. Multi-line text uses "\r\n".
#pragma once

#include "export.h"
#include "window.h"

class VETRIX_WIN_API CEdit : public CWnd {
 public:
  BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
  // Character positions; end -1 means the end of the text.
  void SetSel(int start, int end, BOOL noScroll = FALSE);
  void GetSel(int& start, int& end) const;
  void ReplaceSel(LPCWSTR text);
  BOOL SetReadOnly(BOOL readOnly = TRUE);
  void LimitText(int maxChars = 0);
};
