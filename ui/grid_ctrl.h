// grid_ctrl.h: CGridCtrl, the report-style table of the module's pages, and
// CGridCtrlEditCell, its in-place cell editor.
//
// CGridCtrl is a list view (attached to a template's control by DDX_Control) that tells
// its parent what the user does through WM_NOTIFY with the GCN_* codes below, edits one
// cell at a time in an edit box, keeps a GridRowData record per row as item data, and
// paints selected rows in the highlight colours even without the focus. The grid owns
// its rows' records: DeleteAllRows and the window's destruction free them.
// Assumes the window layer's list view (platform/win/listctrl.h); cells, columns and
// widths are written with the ordinary CListCtrl operations. Costs: one heap record per
// row; custom draw reads the row's record per painted row and cell.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/sys/text.h"
#include "platform/win/edit.h"
#include "platform/win/listctrl.h"

// Notification codes sent to the grid's parent (NMHDR::code of a GridNotify record).
inline constexpr UINT GCN_CELLCHANGED = 0xD62;    // row, column; answer 0 restores the old text
inline constexpr UINT GCN_BEGINEDIT = 0xD63;      // row, column; non-zero lets the edit box open
inline constexpr UINT GCN_ROWSELECTED = 0xD64;    // row, column of the change; answer ignored
inline constexpr UINT GCN_CONTEXTMENU = 0xD65;    // x, y in screen coordinates; answer ignored
inline constexpr UINT GCN_SORT = 0xD66;           // column, direction (1 ascending); 0 ends it
inline constexpr UINT GCN_COLUMNMOVED = 0xD67;    // column, new order index; 1 cancels the move
inline constexpr UINT GCN_BEGINRESIZE = 0xD68;    // column, 0; non-zero refuses the resize
inline constexpr UINT GCN_COLUMNRESIZED = 0xD69;  // column, new width in pixels; answer ignored
inline constexpr UINT GCN_DBLCLK = 0xD6A;         // a GridDblClkNotify record (see below)

// The record of every GCN_* notification except GCN_DBLCLK: the header (hwndFrom = the
// grid, idFrom = its control identifier) and the two values of the code's table above.
struct GridNotify {
  NMHDR hdr;
  std::int32_t first;
  std::int32_t second;
};

// The record of GCN_DBLCLK: the list view's own double-click notification and the slot
// of its result. A parent that writes non-zero into *result takes the double click over
// (the grid then neither edits nor selects). Pointer-sized fields, so the record carries
// the addresses whole on 64-bit builds.
struct GridDblClkNotify {
  NMHDR hdr;
  NMITEMACTIVATE* activate;
  LRESULT* result;
};

// The record attached to a row as its item data. Colours CLR_DEFAULT mean the list's
// own colours; key is the page's own value for the row (a mixture identifier, ...).
struct GridRowData {
  COLORREF textColor = CLR_DEFAULT;
  COLORREF backColor = CLR_DEFAULT;
  std::int32_t key = 0;
};

// The control identifier of the edit box a grid opens on a cell.
inline constexpr UINT kGridEditCellId = 9801;

// Frees the GridRowData of every row of `list` (rows without a record are skipped), then
// deletes all rows. For grids and for plain list views whose rows carry such records.
void DeleteAllGridRows(CListCtrl& list);

class CGridCtrlEditCell;

class CGridCtrl : public CListCtrl {
 public:
  CGridCtrl();
  // Frees the row records when the window still exists.
  ~CGridCtrl() override;

  // Frees every row's record, then deletes all rows.
  void DeleteAllRows();
  // Appends a row with empty text in column 0 and a new default record; returns its
  // index, or a negative value (and no record) when the insertion failed.
  int AppendRow();
  // AppendRow, then writes cells[i] into column i. Returns the row or a negative value.
  int AppendRow(const std::vector<sys::Text>& cells);
  // The record of `row`, or null for a row without one or a row that does not exist.
  GridRowData* GetRowData(int row) const;

  // Opens an edit box on the cell (row, column) when the row can be scrolled into view
  // and the parent answers GCN_BEGINEDIT with non-zero; returns the edit cell (owned by
  // its window: it deletes itself when destroyed) or null.
  CGridCtrlEditCell* EditSubItem(int row, int column);

  // The last header column clicked (-1 before any) and the direction (1 ascending).
  int GetSortColumn() const { return m_sortColumn; }
  int GetSortDirection() const { return m_sortDirection; }

  BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
  BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;
  void PreSubclassWindow() override;
  void OnDestroy() override;
  void OnContextMenu(CWnd* wnd, CPoint point) override;
  void OnVScroll(UINT code, UINT pos, CWnd* scrollBar) override;
  void OnHScroll(UINT code, UINT pos, CWnd* scrollBar) override;

 private:
  LRESULT NotifyParent(UINT code, std::int32_t first, std::int32_t second);
  LRESULT OnCustomDraw(NMLVCUSTOMDRAW* draw);
  BOOL OnItemChanged(const NMLISTVIEW* change);
  void OnColumnClick(const NMLISTVIEW* click);
  void OnDoubleClick(NMITEMACTIVATE* activate, LRESULT* result);
  void OnEndLabelEdit(const NMLVDISPINFOW* info);
  void EndEditBeforeScrolling();

  std::int32_t m_sortColumn = -1;
  std::int32_t m_sortDirection = 1;
};

// The edit box over one cell. Made on the heap by CGridCtrl::EditSubItem; it takes the
// grid's font and the focus, commits on Enter and on losing the focus, cancels on Escape,
// reports the end as LVN_ENDLABELEDITW to the grid and deletes itself after its window.
class CGridCtrlEditCell : public CEdit {
 public:
  CGridCtrlEditCell(int row, int column, sys::Text initialText);
  ~CGridCtrlEditCell() override;

  int Row() const { return m_row; }
  int Column() const { return m_column; }
  const sys::Text& InitialText() const { return m_initialText; }
  bool IsCancelled() const { return m_cancelled != 0; }

  BOOL PreTranslateMessage(MSG* msg) override;
  int OnCreate(LPCREATESTRUCT createStruct) override;
  void OnChar(UINT ch, UINT repeatCount, UINT flags) override;
  void OnKillFocus(CWnd* newWnd) override;
  void PostNcDestroy() override;

 private:
  void ReportEndOfEdit();

  friend class CGridCtrl;
  bool* m_deletedFlag = nullptr;  // set while the grid creates the window (see EditSubItem)
  std::int32_t m_row;
  std::int32_t m_column;
  sys::Text m_initialText;
  std::int32_t m_cancelled = 0;
};
