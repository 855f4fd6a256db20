// button.h: CButton: push buttons, automatic check boxes, group boxes and icon buttons
// (BS_ICON). A click sends BN_CLICKED to the parent; an automatic check box toggles
// before that. BM_CLICK clicks it from code.
#pragma once

#include "export.h"
#include "window.h"

class VETRIX_WIN_API CButton : public CWnd {
 public:
  BOOL Create(LPCWSTR caption, DWORD style, const RECT& rect, CWnd* parent, UINT id);
  int GetCheck() const;
  void SetCheck(int check);
  // The icon shown at the icon's own pixel size; returns the previous icon.
  HICON SetIcon(HICON icon);
  HICON GetIcon() const;
};
