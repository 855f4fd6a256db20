// grid_fixture.h: a dialog holding one CGridCtrl (control 1023, three columns: left,
// left, centred) and an edit to move the focus to, which records the grid's GCN_*
// notifications and answers each code as the test sets it; plus mouse and key input on
// the grid's cells and header.
#pragma once

#include <QHeaderView>
#include <QLineEdit>
#include <QTreeView>

#include <map>

#include "tests/platform/win/win_fixture.h"
#include "ui/grid_ctrl.h"

namespace gridtest {

inline constexpr UINT kGridDialog = 9701;
inline constexpr int kGrid = 1023;
inline constexpr int kOther = 1030;

struct GridNote {
  UINT code;
  std::int32_t first;
  std::int32_t second;
  sys::Text cellText;  // GCN_CELLCHANGED: the cell's text while the parent is asked
};

class GridDialog : public wintest::RecordingDialog {
 public:
  GridDialog() : RecordingDialog(kGridDialog) {}
  CGridCtrl grid;
  std::map<UINT, LRESULT> answers;  // per GCN code; 0 when not set
  std::vector<GridNote> gridNotes;

  void DoDataExchange(CDataExchange* dx) override { DDX_Control(dx, kGrid, grid); }
  BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override {
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    if (header->code < GCN_CELLCHANGED || header->code > GCN_DBLCLK)
      return RecordingDialog::OnNotify(wParam, lParam, result);
    EXPECT_EQ(header->hwndFrom, grid.m_hWnd);
    EXPECT_EQ(header->idFrom, static_cast<UINT_PTR>(kGrid));
    *result = 0;
    if (header->code == GCN_DBLCLK) {
      auto* nm = reinterpret_cast<GridDblClkNotify*>(lParam);
      gridNotes.push_back({header->code, nm->activate->iItem, nm->activate->iSubItem, {}});
      *nm->result = answers[GCN_DBLCLK];
      return TRUE;
    }
    auto* nm = reinterpret_cast<GridNotify*>(lParam);
    GridNote note{header->code, nm->first, nm->second, {}};
    if (header->code == GCN_CELLCHANGED) note.cellText = grid.GetItemText(nm->first, nm->second);
    gridNotes.push_back(note);
    *result = answers[header->code];
    return TRUE;
  }
  std::vector<GridNote> GridNotesWith(UINT code) const {
    std::vector<GridNote> found;
    for (const GridNote& n : gridNotes)
      if (n.code == code) found.push_back(n);
    return found;
  }
  std::vector<UINT> Codes() const {
    std::vector<UINT> codes;
    for (const GridNote& n : gridNotes) codes.push_back(n.code);
    return codes;
  }
};

class GridTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    wintest::Register(kGridDialog, wintest::kPopupStyle, 320, 200,
                      {{win::kListViewClass, kGrid, nullptr, LVS_REPORT | LVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP, 0,
                        7, 7, 300, 150},
                       {win::kEditClass, kOther, nullptr, WS_BORDER | WS_TABSTOP, 0, 7, 165, 100, 14}});
  }
  void SetUp() override {
    ASSERT_TRUE(dialog.Create(kGridDialog));
    CGridCtrl& g = dialog.grid;
    g.SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    g.InsertColumn(0, u"№", LVCFMT_LEFT, 40);
    g.InsertColumn(1, u"Компонент", LVCFMT_LEFT, 150);
    g.InsertColumn(2, u"Концентрация", LVCFMT_CENTER, 90);
    ASSERT_TRUE(wintest::ShowActive(dialog.m_hWnd));
  }
  void TearDown() override {
    dialog.DestroyWindow();
    win::ProcessPendingMessages();
  }
  // Rows "1".."n" with "Метан" in column 1 and "0,5" in column 2.
  void Fill(int rows) {
    for (int i = 0; i < rows; ++i)
      dialog.grid.AppendRow({sys::Text(1, static_cast<char16_t>(u'1' + i % 9)), u"Метан", u"0,5"});
  }
  wintest::Target Cell(int row, int column) {
    CRect r;
    EXPECT_TRUE(dialog.grid.GetSubItemRect(row, column, LVIR_LABEL, r));
    return wintest::At(dialog.grid.m_hWnd, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
  }
  QTreeView* View() { return static_cast<QTreeView*>(win::WidgetOf(dialog.grid.m_hWnd)); }
  QHeaderView* Header() { return static_cast<QHeaderView*>(win::WidgetOf(dialog.grid.GetHeaderCtrl()->m_hWnd)); }
  HWND EditBox() { return win::FindControl(dialog.grid.m_hWnd, static_cast<int>(kGridEditCellId)); }
  QLineEdit* EditWidget() { return static_cast<QLineEdit*>(win::WidgetOf(EditBox())); }
  // Opens the edit box on a cell through the grid, the parent agreeing.
  QLineEdit* OpenEdit(int row, int column) {
    dialog.answers[GCN_BEGINEDIT] = 1;
    EXPECT_NE(dialog.grid.EditSubItem(row, column), nullptr);
    return EditWidget();
  }
  void Key(QWidget* w, Qt::Key key, Qt::KeyboardModifiers mods = {}) {
    QTest::keyClick(w, key, mods);
    win::ProcessPendingMessages();  // translated keys arrive as posted WM_CHAR
  }
  void ClickHeader(int column) {
    QHeaderView* h = Header();
    QPoint p(h->sectionViewportPosition(column) + h->sectionSize(column) / 2, h->height() / 2);
    QTest::mouseClick(h->viewport(), Qt::LeftButton, {}, p);
  }
  void DragDivider(int column, int dx) {
    QHeaderView* h = Header();
    QPoint from(h->sectionViewportPosition(column) + h->sectionSize(column), h->height() / 2);
    QTest::mousePress(h->viewport(), Qt::LeftButton, {}, from);
    QTest::mouseMove(h->viewport(), from + QPoint(dx / 2, 0));
    QTest::mouseMove(h->viewport(), from + QPoint(dx, 0));
    QTest::mouseRelease(h->viewport(), Qt::LeftButton, {}, from + QPoint(dx, 0));
  }
  GridDialog dialog;
};

}  // namespace gridtest
