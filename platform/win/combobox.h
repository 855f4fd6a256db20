// combobox.h: CComboBox, a drop-down list (CBS_DROPDOWNLIST) or a drop-down with an
// edit field (CBS_DROPDOWN), optionally sorted (CBS_SORT, case-blind), with 64-bit item
// data per entry.
//
// A selection made by the user sends CBN_SELCHANGE to the parent; typing into the edit
// field sends CBN_EDITCHANGE and leaves no selection (GetCurSel gives CB_ERR). The
// methods wrap the CB_* messages.
#pragma once

#include "export.h"
#include "window.h"

class VETRIX_WIN_API CComboBox : public CWnd {
 public:
  BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
  // Appends (or inserts in sorted place); returns the index or CB_ERR.
  int AddString(LPCWSTR text);
  int AddString(const sys::Text& text) { return AddString(text.c_str()); }
  int InsertString(int index, LPCWSTR text);
  int DeleteString(UINT index);
  void ResetContent();
  int GetCount() const;
  int GetCurSel() const;
  // -1 clears the selection; returns CB_ERR for an index out of range or -1.
  int SetCurSel(int index);
  DWORD_PTR GetItemData(int index) const;  // CB_ERR (as DWORD_PTR) when out of range
  int SetItemData(int index, DWORD_PTR data);
  sys::Text GetLBText(int index) const;
  int GetLBTextLen(int index) const;
  int FindStringExact(int startAfter, LPCWSTR text) const;
};
