// listctrl.cpp: CListCtrl and CHeaderCtrl, thin wrappers over the LVM_* and HDM_*
// messages, so that a subclass sees every call as a message.
#include "listctrl.h"

#include "resources.h"

namespace {

template <class T>
LPARAM Ptr(T* p) {
  return reinterpret_cast<LPARAM>(p);
}

}  // namespace

int CHeaderCtrl::GetItemCount() const { return static_cast<int>(SendMessage(HDM_GETITEMCOUNT)); }
BOOL CHeaderCtrl::GetItem(int index, HDITEMW* item) const {
  return static_cast<BOOL>(SendMessage(HDM_GETITEMW, static_cast<WPARAM>(index), Ptr(item)));
}

BOOL CListCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  return CreateEx(0, win::kListViewClass, nullptr, style | WS_CHILD, rect, parent, id);
}

DWORD CListCtrl::GetExtendedStyle() const { return static_cast<DWORD>(SendMessage(LVM_GETEXTENDEDLISTVIEWSTYLE)); }
DWORD CListCtrl::SetExtendedStyle(DWORD exStyle) {
  return static_cast<DWORD>(SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, static_cast<LPARAM>(exStyle)));
}

int CListCtrl::InsertColumn(int column, LPCWSTR heading, int format, int width, int subItem) {
  LVCOLUMNW info{};
  info.mask = LVCF_TEXT | LVCF_FMT;
  info.fmt = format;
  info.pszText = const_cast<LPWSTR>(heading);
  if (width != -1) {
    info.mask |= LVCF_WIDTH;
    info.cx = width;
  }
  if (subItem != -1) {
    info.mask |= LVCF_SUBITEM;
    info.iSubItem = subItem;
  }
  return InsertColumn(column, &info);
}
int CListCtrl::InsertColumn(int column, const LVCOLUMNW* info) {
  return static_cast<int>(SendMessage(LVM_INSERTCOLUMNW, static_cast<WPARAM>(column), Ptr(info)));
}
BOOL CListCtrl::DeleteColumn(int column) {
  return static_cast<BOOL>(SendMessage(LVM_DELETECOLUMN, static_cast<WPARAM>(column)));
}
BOOL CListCtrl::GetColumn(int column, LVCOLUMNW* info) const {
  return static_cast<BOOL>(SendMessage(LVM_GETCOLUMNW, static_cast<WPARAM>(column), Ptr(info)));
}
BOOL CListCtrl::SetColumn(int column, const LVCOLUMNW* info) {
  return static_cast<BOOL>(SendMessage(LVM_SETCOLUMNW, static_cast<WPARAM>(column), Ptr(info)));
}
int CListCtrl::GetColumnWidth(int column) const {
  return static_cast<int>(SendMessage(LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column)));
}
BOOL CListCtrl::SetColumnWidth(int column, int cx) {
  return static_cast<BOOL>(SendMessage(LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column), cx));
}
BOOL CListCtrl::GetColumnOrderArray(int* order, int count) const {
  if (count < 0) count = GetHeaderCtrl() ? GetHeaderCtrl()->GetItemCount() : 0;
  return static_cast<BOOL>(SendMessage(LVM_GETCOLUMNORDERARRAY, static_cast<WPARAM>(count), Ptr(order)));
}
BOOL CListCtrl::SetColumnOrderArray(int count, const int* order) {
  return static_cast<BOOL>(SendMessage(LVM_SETCOLUMNORDERARRAY, static_cast<WPARAM>(count), Ptr(order)));
}
CHeaderCtrl* CListCtrl::GetHeaderCtrl() const {
  auto header = reinterpret_cast<HWND>(SendMessage(LVM_GETHEADER));
  return static_cast<CHeaderCtrl*>(CWnd::FromHandle(header));
}

int CListCtrl::GetItemCount() const { return static_cast<int>(SendMessage(LVM_GETITEMCOUNT)); }
int CListCtrl::InsertItem(int item, LPCWSTR text) {
  LVITEMW info{};
  info.mask = LVIF_TEXT;
  info.iItem = item;
  info.pszText = const_cast<LPWSTR>(text);
  return InsertItem(&info);
}
int CListCtrl::InsertItem(const LVITEMW* item) {
  return static_cast<int>(SendMessage(LVM_INSERTITEMW, 0, Ptr(item)));
}
BOOL CListCtrl::DeleteItem(int item) { return static_cast<BOOL>(SendMessage(LVM_DELETEITEM, static_cast<WPARAM>(item))); }
BOOL CListCtrl::DeleteAllItems() { return static_cast<BOOL>(SendMessage(LVM_DELETEALLITEMS)); }
BOOL CListCtrl::SetItem(const LVITEMW* item) { return static_cast<BOOL>(SendMessage(LVM_SETITEMW, 0, Ptr(item))); }
BOOL CListCtrl::GetItem(LVITEMW* item) const { return static_cast<BOOL>(SendMessage(LVM_GETITEMW, 0, Ptr(item))); }
BOOL CListCtrl::SetItemText(int item, int subItem, LPCWSTR text) {
  LVITEMW info{};
  info.iSubItem = subItem;
  info.pszText = const_cast<LPWSTR>(text);
  return static_cast<BOOL>(SendMessage(LVM_SETITEMTEXTW, static_cast<WPARAM>(item), Ptr(&info)));
}
sys::Text CListCtrl::GetItemText(int item, int subItem) const {
  for (std::size_t capacity = 256;; capacity *= 4) {
    sys::Text text(capacity, u'\0');
    LVITEMW info{};
    info.iSubItem = subItem;
    info.pszText = text.data();
    info.cchTextMax = static_cast<int>(capacity);
    auto length = static_cast<std::size_t>(SendMessage(LVM_GETITEMTEXTW, static_cast<WPARAM>(item), Ptr(&info)));
    if (length + 1 < capacity) {
      text.resize(length);
      return text;
    }
  }
}
BOOL CListCtrl::SetItemData(int item, DWORD_PTR data) {
  LVITEMW info{};
  info.mask = LVIF_PARAM;
  info.iItem = item;
  info.lParam = static_cast<LPARAM>(data);
  return SetItem(&info);
}
DWORD_PTR CListCtrl::GetItemData(int item) const {
  LVITEMW info{};
  info.mask = LVIF_PARAM;
  info.iItem = item;
  return GetItem(&info) ? static_cast<DWORD_PTR>(info.lParam) : 0;
}
UINT CListCtrl::GetItemState(int item, UINT mask) const {
  return static_cast<UINT>(SendMessage(LVM_GETITEMSTATE, static_cast<WPARAM>(item), static_cast<LPARAM>(mask)));
}
BOOL CListCtrl::SetItemState(int item, UINT state, UINT mask) {
  LVITEMW info{};
  info.state = state;
  info.stateMask = mask;
  return static_cast<BOOL>(SendMessage(LVM_SETITEMSTATE, static_cast<WPARAM>(item), Ptr(&info)));
}
int CListCtrl::GetNextItem(int item, int flags) const {
  return static_cast<int>(SendMessage(LVM_GETNEXTITEM, static_cast<WPARAM>(item), flags));
}
UINT CListCtrl::GetSelectedCount() const { return static_cast<UINT>(SendMessage(LVM_GETSELECTEDCOUNT)); }
BOOL CListCtrl::EnsureVisible(int item, BOOL partialOK) {
  return static_cast<BOOL>(SendMessage(LVM_ENSUREVISIBLE, static_cast<WPARAM>(item), partialOK));
}
BOOL CListCtrl::GetItemRect(int item, LPRECT rect, UINT code) const {
  if (!rect) return FALSE;
  rect->left = static_cast<LONG>(code);
  return static_cast<BOOL>(SendMessage(LVM_GETITEMRECT, static_cast<WPARAM>(item), Ptr(rect)));
}
BOOL CListCtrl::GetSubItemRect(int item, int subItem, int code, CRect& rect) const {
  rect.top = subItem;
  rect.left = code;
  return static_cast<BOOL>(SendMessage(LVM_GETSUBITEMRECT, static_cast<WPARAM>(item), Ptr(static_cast<RECT*>(&rect))));
}
int CListCtrl::HitTest(LVHITTESTINFO* info) const { return static_cast<int>(SendMessage(LVM_HITTEST, 0, Ptr(info))); }
int CListCtrl::SubItemHitTest(LVHITTESTINFO* info) const {
  return static_cast<int>(SendMessage(LVM_SUBITEMHITTEST, 0, Ptr(info)));
}
