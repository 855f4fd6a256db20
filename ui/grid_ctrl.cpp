// grid_ctrl.cpp: CGridCtrl, the list view with the module's notification protocol
// (GCN_*), per-row GridRowData records, selection colours that survive focus loss and
// in-place editing of one cell.
//
// Assumes the window layer reflects the list's own notifications (NM_CUSTOMDRAW,
// LVN_ITEMCHANGED, LVN_COLUMNCLICK, NM_DBLCLK, LVN_ENDLABELEDITW) to OnChildNotify and
// offers the header's notifications to OnNotify before the list passes them on.
// Costs: one heap record per row; custom draw reads the row state once per painted cell.
#include "ui/grid_ctrl.h"

#include <memory>

namespace {

constexpr DWORD kGridExtendedStyle = LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP;
constexpr LRESULT kCustomDrawAnswer = CDRF_NOTIFYITEMDRAW | CDRF_NOTIFYPOSTPAINT;

// The edit style for a cell of a column with list-view format `format`.
DWORD EditStyleFor(int format) {
  DWORD style = WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL;
  switch (format & LVCFMT_JUSTIFYMASK) {
    case LVCFMT_RIGHT: return style | ES_RIGHT;
    case LVCFMT_CENTER: return style | ES_CENTER;
    default: return style;
  }
}

}  // namespace

void DeleteAllGridRows(CListCtrl& list) {
  int rows = list.GetItemCount();
  for (int row = 0; row < rows; ++row) {
    delete reinterpret_cast<GridRowData*>(list.GetItemData(row));
    list.SetItemData(row, 0);
  }
  list.DeleteAllItems();
}

CGridCtrl::CGridCtrl() = default;

CGridCtrl::~CGridCtrl() {
  if (IsWindow(m_hWnd)) DeleteAllRows();
}

void CGridCtrl::DeleteAllRows() { DeleteAllGridRows(*this); }

int CGridCtrl::AppendRow() {
  int row = InsertItem(GetItemCount(), u"");
  if (row < 0) return row;
  auto data = std::make_unique<GridRowData>();
  if (SetItemData(row, reinterpret_cast<DWORD_PTR>(data.get()))) data.release();
  return row;
}

int CGridCtrl::AppendRow(const std::vector<sys::Text>& cells) {
  int row = AppendRow();
  if (row < 0) return row;
  for (std::size_t column = 0; column < cells.size(); ++column)
    SetItemText(row, static_cast<int>(column), cells[column]);
  return row;
}

GridRowData* CGridCtrl::GetRowData(int row) const {
  if (row < 0 || row >= GetItemCount()) return nullptr;
  return reinterpret_cast<GridRowData*>(GetItemData(row));
}

void CGridCtrl::PreSubclassWindow() {
  CListCtrl::PreSubclassWindow();
  ModifyStyle(LVS_TYPEMASK, LVS_REPORT);
  SetExtendedStyle(kGridExtendedStyle);
}

void CGridCtrl::OnDestroy() {
  DeleteAllRows();
  CListCtrl::OnDestroy();
}

// Sends GCN `code` with its two values to the parent; returns the parent's answer
// (0 when there is no parent).
LRESULT CGridCtrl::NotifyParent(UINT code, std::int32_t first, std::int32_t second) {
  HWND parent = ::GetParent(m_hWnd);
  if (!parent) return 0;
  auto id = static_cast<UINT_PTR>(GetDlgCtrlID());
  GridNotify nm{{m_hWnd, id, code}, first, second};
  return ::SendMessage(parent, WM_NOTIFY, id, reinterpret_cast<LPARAM>(&nm));
}

BOOL CGridCtrl::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  if (message != WM_NOTIFY || !lParam) return CListCtrl::OnChildNotify(message, wParam, lParam, result);
  auto* header = reinterpret_cast<NMHDR*>(lParam);
  switch (header->code) {
    case NM_CUSTOMDRAW:
      *result = OnCustomDraw(reinterpret_cast<NMLVCUSTOMDRAW*>(lParam));
      return TRUE;
    case LVN_ITEMCHANGED:
      *result = 0;
      return OnItemChanged(reinterpret_cast<const NMLISTVIEW*>(lParam));
    case LVN_COLUMNCLICK:
      *result = 0;
      OnColumnClick(reinterpret_cast<const NMLISTVIEW*>(lParam));
      return TRUE;
    case NM_DBLCLK:
      OnDoubleClick(reinterpret_cast<NMITEMACTIVATE*>(lParam), result);
      return TRUE;
    case LVN_ENDLABELEDITW:
      *result = 0;
      OnEndLabelEdit(reinterpret_cast<const NMLVDISPINFOW*>(lParam));
      return TRUE;
    default:
      return CListCtrl::OnChildNotify(message, wParam, lParam, result);
  }
}

// Header notifications (hwndFrom = the header). Those answered here do not go on to
// the parent as header notifications; the parent hears of them as GCN_*.
BOOL CGridCtrl::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) {
  auto* nm = reinterpret_cast<NMHEADERW*>(lParam);
  if (!nm) return CListCtrl::OnNotify(wParam, lParam, result);
  const HDITEMW* item = nm->pitem;
  int column = nm->iItem;
  switch (nm->hdr.code) {
    case HDN_ENDDRAG:
      *result = 0;
      if (item && (item->mask & HDI_ORDER) && GetColumnWidth(column) != 0)
        *result = NotifyParent(GCN_COLUMNMOVED, column, item->iOrder) == 1 ? TRUE : FALSE;
      return TRUE;
    case HDN_BEGINTRACKA:
    case HDN_BEGINTRACKW:
      // A hidden (zero-width) column stays hidden: its divider cannot be dragged.
      *result = GetColumnWidth(column) == 0 ? TRUE : NotifyParent(GCN_BEGINRESIZE, column, 0);
      return TRUE;
    case HDN_ENDTRACKA:
    case HDN_ENDTRACKW:
      *result = 0;
      if (item && (item->mask & HDI_WIDTH) && GetColumnWidth(column) != 0)
        NotifyParent(GCN_COLUMNRESIZED, column, item->cxy);
      return TRUE;
    default:
      return CListCtrl::OnNotify(wParam, lParam, result);
  }
}

// Row colours from the row's record, replaced by the highlight colours on selected rows
// so the selection stays visible without the focus.
LRESULT CGridCtrl::OnCustomDraw(NMLVCUSTOMDRAW* draw) {
  DWORD stage = draw->nmcd.dwDrawStage;
  if (stage == CDDS_ITEMPREPAINT || stage == (CDDS_ITEMPREPAINT | CDDS_SUBITEM)) {
    int row = static_cast<int>(draw->nmcd.dwItemSpec);
    if (const auto* data = reinterpret_cast<const GridRowData*>(draw->nmcd.lItemlParam)) {
      draw->clrText = data->textColor;
      draw->clrTextBk = data->backColor;
    }
    if (GetItemState(row, LVIS_SELECTED) & LVIS_SELECTED) {
      draw->clrText = GetSysColor(COLOR_HIGHLIGHTTEXT);
      draw->clrTextBk = GetSysColor(COLOR_HIGHLIGHT);
    }
  }
  return kCustomDrawAnswer;
}

// TRUE (consumed) when a row has just become selected and the parent was told by
// GCN_ROWSELECTED; FALSE lets the parent see the ordinary LVN_ITEMCHANGED.
BOOL CGridCtrl::OnItemChanged(const NMLISTVIEW* change) {
  bool becameSelected = (change->uChanged & LVIF_STATE) && (change->uNewState & LVIS_SELECTED) &&
                        !(change->uOldState & LVIS_SELECTED);
  if (!becameSelected) return FALSE;
  NotifyParent(GCN_ROWSELECTED, change->iItem, change->iSubItem);
  return TRUE;
}

// A new column starts ascending; the same column again flips the direction. Nothing
// stands behind the parent's answer: no page sorts by header clicks.
void CGridCtrl::OnColumnClick(const NMLISTVIEW* click) {
  int column = click->iSubItem;
  std::int32_t direction = column != m_sortColumn ? 1 : (m_sortDirection == 1 ? 0 : 1);
  if (GetStyle() & LVS_NOSORTHEADER) return;
  m_sortColumn = column;
  m_sortDirection = direction;
  NotifyParent(GCN_SORT, column, direction);
}

// The parent may take the double click over through the result slot; otherwise a double
// click on the focused row edits the cell hit, on another row focuses and selects it.
void CGridCtrl::OnDoubleClick(NMITEMACTIVATE* activate, LRESULT* result) {
  LRESULT slot = 0;
  HWND parent = ::GetParent(m_hWnd);
  if (parent) {
    auto id = static_cast<UINT_PTR>(GetDlgCtrlID());
    GridDblClkNotify nm{{m_hWnd, id, GCN_DBLCLK}, activate, &slot};
    ::SendMessage(parent, WM_NOTIFY, id, reinterpret_cast<LPARAM>(&nm));
  }
  *result = slot;
  int row = activate->iItem;
  if (slot != 0 || row < 0) return;
  if (GetItemState(row, LVIS_FOCUSED) & LVIS_FOCUSED)
    EditSubItem(row, activate->iSubItem);
  else
    SetItemState(row, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
}

CGridCtrlEditCell* CGridCtrl::EditSubItem(int row, int column) {
  if (row < 0 || column < 0 || !EnsureVisible(row, TRUE)) return nullptr;
  if (NotifyParent(GCN_BEGINEDIT, row, column) == 0) return nullptr;
  CRect rect;
  if (!GetSubItemRect(row, column, LVIR_LABEL, rect)) return nullptr;
  rect.top -= 2;
  rect.bottom += 2;
  LVCOLUMNW info{};
  info.mask = LVCF_FMT;
  GetColumn(column, &info);
  auto* cell = new CGridCtrlEditCell(row, column, GetItemText(row, column));
  bool deleted = false;  // a window that fails in WM_CREATE deletes its object itself
  cell->m_deletedFlag = &deleted;
  if (!cell->Create(EditStyleFor(info.fmt), rect, this, kGridEditCellId)) {
    if (!deleted) {
      cell->m_deletedFlag = nullptr;
      delete cell;
    }
    return nullptr;
  }
  if (deleted) return nullptr;  // created, and already ended by a focus change
  cell->m_deletedFlag = nullptr;
  return cell;
}

// The text is taken only when it differs from the cell's (case-sensitive); a parent
// answering 0 to GCN_CELLCHANGED gets the previous text back.
void CGridCtrl::OnEndLabelEdit(const NMLVDISPINFOW* info) {
  const LVITEMW& item = info->item;
  if (!item.pszText) return;  // cancelled
  sys::Text newText(item.pszText);
  sys::Text oldText = GetItemText(item.iItem, item.iSubItem);
  if (newText == oldText) return;
  SetItemText(item.iItem, item.iSubItem, newText);
  if (NotifyParent(GCN_CELLCHANGED, item.iItem, item.iSubItem) == 0)
    SetItemText(item.iItem, item.iSubItem, oldText);
}

void CGridCtrl::OnContextMenu(CWnd*, CPoint point) {
  if (point.x == -1 && point.y == -1) {  // from the keyboard: near the client's corner
    point = CPoint(0, 0);
    ClientToScreen(&point);
    point.x += 5;
    point.y += 5;
  }
  NotifyParent(GCN_CONTEXTMENU, point.x, point.y);
}

// Taking the focus before scrolling ends an open edit cell, which would otherwise stay
// over a row that scrolled away.
void CGridCtrl::EndEditBeforeScrolling() {
  if (CWnd::GetFocus() != this) SetFocus();
}

void CGridCtrl::OnVScroll(UINT code, UINT pos, CWnd* scrollBar) {
  EndEditBeforeScrolling();
  CListCtrl::OnVScroll(code, pos, scrollBar);
}

void CGridCtrl::OnHScroll(UINT code, UINT pos, CWnd* scrollBar) {
  EndEditBeforeScrolling();
  CListCtrl::OnHScroll(code, pos, scrollBar);
}
