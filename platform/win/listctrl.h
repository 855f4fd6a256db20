// listctrl.h: CListCtrl, the list view in report mode, and CHeaderCtrl, its header.
//
// Rows have a text per column (column 0 is the item, the others its sub-items), a
// 64-bit item data and the selected and focused states; columns have header text,
// width, alignment and display order. The list notifies its parent with WM_NOTIFY:
// LVN_ITEMCHANGED (state changes, user or program), NM_CLICK and NM_DBLCLK (NMITEMACTIVATE
// with the row and column hit), LVN_COLUMNCLICK (header click, not with
// LVS_NOSORTHEADER), NM_CUSTOMDRAW (item and sub-item stages; handlers set
// clrText/clrTextBk), and passes on its header's HDN_BEGINTRACKW, HDN_ENDTRACKW,
// HDN_ENDDRAG and HDN_ITEMCHANGEDW. A subclass sees header notifications first, in its
// OnNotify, and may answer them. The methods wrap the LVM_* messages.
#pragma once

#include "export.h"
#include "window.h"

class VETRIX_WIN_API CHeaderCtrl : public CWnd {
 public:
  int GetItemCount() const;
  // By logical column index; honours HDI_TEXT, HDI_WIDTH, HDI_FORMAT, HDI_ORDER.
  BOOL GetItem(int index, HDITEMW* item) const;
};

class VETRIX_WIN_API CListCtrl : public CWnd {
 public:
  BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);

  DWORD GetExtendedStyle() const;
  // Sets exactly these extended styles; returns the previous ones.
  DWORD SetExtendedStyle(DWORD exStyle);

  // Columns. width -1 leaves the width unset (0). Returns the new column's index or -1.
  int InsertColumn(int column, LPCWSTR heading, int format = LVCFMT_LEFT, int width = -1,
                   int subItem = -1);
  int InsertColumn(int column, const LVCOLUMNW* info);
  BOOL DeleteColumn(int column);
  BOOL GetColumn(int column, LVCOLUMNW* info) const;
  BOOL SetColumn(int column, const LVCOLUMNW* info);
  int GetColumnWidth(int column) const;
  // cx in pixels, 0 hides the column; LVSCW_AUTOSIZE fits the contents.
  BOOL SetColumnWidth(int column, int cx);
  // order[display position] = column index.
  BOOL GetColumnOrderArray(int* order, int count = -1) const;
  BOOL SetColumnOrderArray(int count, const int* order);
  CHeaderCtrl* GetHeaderCtrl() const;

  // Rows.
  int GetItemCount() const;
  // Inserts before `item` (at the end when item >= count); returns the row or -1.
  int InsertItem(int item, LPCWSTR text);
  int InsertItem(int item, const sys::Text& text) { return InsertItem(item, text.c_str()); }
  int InsertItem(const LVITEMW* item);
  BOOL DeleteItem(int item);
  BOOL DeleteAllItems();
  BOOL SetItem(const LVITEMW* item);
  BOOL GetItem(LVITEMW* item) const;
  BOOL SetItemText(int item, int subItem, LPCWSTR text);
  BOOL SetItemText(int item, int subItem, const sys::Text& text) {
    return SetItemText(item, subItem, text.c_str());
  }
  sys::Text GetItemText(int item, int subItem) const;
  BOOL SetItemData(int item, DWORD_PTR data);
  DWORD_PTR GetItemData(int item) const;
  UINT GetItemState(int item, UINT mask) const;
  // item -1: every row.
  BOOL SetItemState(int item, UINT state, UINT mask);
  // The next row after `item` (-1: from the start) with all the LVNI_* states asked for.
  int GetNextItem(int item, int flags) const;
  UINT GetSelectedCount() const;
  BOOL EnsureVisible(int item, BOOL partialOK);

  // Rectangles in client coordinates; code is LVIR_BOUNDS or LVIR_LABEL.
  BOOL GetItemRect(int item, LPRECT rect, UINT code) const;
  BOOL GetSubItemRect(int item, int subItem, int code, CRect& rect) const;
  int HitTest(LVHITTESTINFO* info) const;
  int SubItemHitTest(LVHITTESTINFO* info) const;
};
