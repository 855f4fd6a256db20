// grid_edit_cell.cpp: CGridCtrlEditCell, the edit box a CGridCtrl opens over one cell.
//
// Lives from CGridCtrl::EditSubItem until it loses the focus: Enter and a focus change
// commit, Escape cancels; either way the grid hears of the end through an
// LVN_ENDLABELEDITW sent to its parent (and reflected back to it), and the object
// deletes itself after its window's last message. Assumes its parent is the grid and the
// grid has a parent. Costs nothing beyond the edit box.
#include "ui/grid_ctrl.h"

CGridCtrlEditCell::CGridCtrlEditCell(int row, int column, sys::Text initialText)
    : m_row(row), m_column(column), m_initialText(std::move(initialText)) {}

CGridCtrlEditCell::~CGridCtrlEditCell() {
  if (m_deletedFlag) *m_deletedFlag = true;
}

// The grid's font comes by inheritance; the cell shows its text wholly selected.
int CGridCtrlEditCell::OnCreate(LPCREATESTRUCT createStruct) {
  if (CEdit::OnCreate(createStruct) == -1) return -1;
  SetWindowText(m_initialText);
  SetFocus();
  SetSel(0, -1, TRUE);
  SendMessage(EM_SCROLLCARET);
  return 0;
}

// Enter and Escape go to the edit box before the dialog could take them as its default
// button and cancel keys. Delete and Ctrl combinations take the ordinary way: the edit
// box's own handling uses them up, so no dialog acts on them either, and a key dispatched
// from here would lose that handling (the window layer runs a key's editing only when it
// is delivered the ordinary way).
BOOL CGridCtrlEditCell::PreTranslateMessage(MSG* msg) {
  if (msg->message == WM_KEYDOWN && (msg->wParam == VK_RETURN || msg->wParam == VK_ESCAPE)) {
    TranslateMessage(msg);
    DispatchMessage(msg);
    return TRUE;
  }
  return CEdit::PreTranslateMessage(msg);
}

// Escape and Enter end the edit by handing the focus back to the grid.
void CGridCtrlEditCell::OnChar(UINT ch, UINT repeatCount, UINT flags) {
  if (ch == VK_ESCAPE || ch == VK_RETURN) {
    if (ch == VK_ESCAPE) m_cancelled = 1;
    if (CWnd* grid = GetParent()) grid->SetFocus();
    return;
  }
  CEdit::OnChar(ch, repeatCount, flags);
}

void CGridCtrlEditCell::OnKillFocus(CWnd* newWnd) {
  CEdit::OnKillFocus(newWnd);
  ReportEndOfEdit();
  DestroyWindow();
}

// LVN_ENDLABELEDITW as the list view itself would send it: from the grid to the grid's
// parent, with a null text when the edit was cancelled.
void CGridCtrlEditCell::ReportEndOfEdit() {
  HWND grid = ::GetParent(m_hWnd);
  HWND owner = ::GetParent(grid);
  if (!grid || !owner) return;
  sys::Text text = GetWindowText();
  auto id = static_cast<UINT_PTR>(::GetDlgCtrlID(grid));
  NMLVDISPINFOW info{};
  info.hdr = {grid, id, LVN_ENDLABELEDITW};
  info.item.mask = LVIF_TEXT;
  info.item.iItem = m_row;
  info.item.iSubItem = m_column;
  info.item.pszText = m_cancelled ? nullptr : text.data();
  info.item.cchTextMax = static_cast<int>(text.size());
  ::SendMessage(owner, WM_NOTIFY, id, reinterpret_cast<LPARAM>(&info));
}

void CGridCtrlEditCell::PostNcDestroy() { delete this; }
