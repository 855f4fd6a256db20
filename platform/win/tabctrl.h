// tabctrl.h: CTabCtrl, a strip of tabs over an area where the owner places its pages.
//
// The pages are child windows of the tab control, positioned by their owner in the tab
// control's client coordinates; the strip occupies the top 21 pixels. A tab chosen by the
// user sends TCN_SELCHANGE to the parent; SetCurSel and inserting the first tab do not.
#pragma once

#include "export.h"
#include "window.h"

class VETRIX_WIN_API CTabCtrl : public CWnd {
 public:
  BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
  // Returns the new tab's index or -1.
  LONG InsertItem(int item, LPCWSTR text);
  LONG InsertItem(UINT mask, int item, LPCWSTR text, int image, LPARAM lParam);
  LONG InsertItem(int item, const TCITEMW* info);
  BOOL GetItem(int item, TCITEMW* info) const;
  BOOL DeleteItem(int item);
  BOOL DeleteAllItems();
  int GetItemCount() const;
  int GetCurSel() const;
  // Returns the previous selection, -1 for an invalid index.
  int SetCurSel(int item);
};
