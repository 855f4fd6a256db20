// static.h: CStatic: labels (SS_LEFT, SS_CENTER, SS_RIGHT), icons (SS_ICON, shown at the
// icon's pixel size) and owner-drawn frames (SS_OWNERDRAW: the parent receives
// WM_DRAWITEM with a DRAWITEMSTRUCT whose hDC draws into the frame). The style may be
// switched to SS_OWNERDRAW after creation (ModifyStyle).
#pragma once

#include "export.h"
#include "window.h"

class VETRIX_WIN_API CStatic : public CWnd {
 public:
  BOOL Create(LPCWSTR text, DWORD style, const RECT& rect, CWnd* parent, UINT id);
  HICON SetIcon(HICON icon);
  HICON GetIcon() const;
};
