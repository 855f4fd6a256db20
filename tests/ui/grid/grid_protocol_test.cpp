// grid_protocol_test.cpp: the grid's notifications for rows through real mouse and key
// input: double click (taken over, refused, editing), row selection, the context menu
// point from mouse and keyboard, selection colours without focus, and the row records.
#include "grid_fixture.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>

namespace gridtest {
namespace {

TEST_F(GridTest, DoubleClickOnTheFocusedRowEditsOnlyWhenTheParentAgrees) {
  Fill(3);
  struct Case {
    const char* what;
    LRESULT dblclkAnswer, beginEditAnswer;
    std::vector<UINT> codes;  // after the double click's own row selection
    bool opens;
  };
  const Case cases[] = {
      {"parent answers nothing", 0, 0, {GCN_DBLCLK, GCN_BEGINEDIT}, false},
      {"parent takes the double click over", 1, 1, {GCN_DBLCLK}, false},
      {"parent agrees to the edit", 0, 1, {GCN_DBLCLK, GCN_BEGINEDIT}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    dialog.answers[GCN_DBLCLK] = c.dblclkAnswer;
    dialog.answers[GCN_BEGINEDIT] = c.beginEditAnswer;
    wintest::Click(Cell(1, 1));
    dialog.gridNotes.clear();
    QTest::mouseDClick(Cell(1, 1).widget, Qt::LeftButton, {}, Cell(1, 1).point);
    EXPECT_EQ(dialog.Codes(), c.codes);
    auto dbl = dialog.GridNotesWith(GCN_DBLCLK);
    ASSERT_EQ(dbl.size(), 1u);
    EXPECT_EQ(dbl[0].first, 1);
    EXPECT_EQ(dbl[0].second, 1);
    for (const GridNote& n : dialog.GridNotesWith(GCN_BEGINEDIT)) {
      EXPECT_EQ(n.first, 1);
      EXPECT_EQ(n.second, 1);
    }
    EXPECT_TRUE(dialog.NotesWith(NM_DBLCLK).empty());  // the parent hears GCN_DBLCLK instead
    ASSERT_EQ(EditBox() != nullptr, c.opens);
  }
  QLineEdit* edit = EditWidget();
  EXPECT_EQ(edit->text(), QStringLiteral("Метан"));
  EXPECT_EQ(edit->selectedText(), QStringLiteral("Метан"));
  EXPECT_EQ(GetFocus(), EditBox());
}

TEST_F(GridTest, ClickedRowIsReportedAsSelectedOtherStateChangesPassOn) {
  Fill(3);
  wintest::Click(Cell(2, 1));
  auto selected = dialog.GridNotesWith(GCN_ROWSELECTED);
  ASSERT_EQ(selected.size(), 1u);
  EXPECT_EQ(selected[0].first, 2);
  for (const auto& n : dialog.NotesWith(LVN_ITEMCHANGED))  // none of them a new selection
    EXPECT_FALSE((n.data[3] & LVIS_SELECTED) && !(n.data[2] & LVIS_SELECTED));

  dialog.gridNotes.clear();
  dialog.notes.clear();
  wintest::Click(Cell(0, 0));
  ASSERT_EQ(dialog.GridNotesWith(GCN_ROWSELECTED).size(), 1u);
  EXPECT_EQ(dialog.GridNotesWith(GCN_ROWSELECTED)[0].first, 0);
  bool deselectionPassed = false;
  for (const auto& n : dialog.NotesWith(LVN_ITEMCHANGED))
    deselectionPassed |= n.data[0] == 2 && (n.data[2] & LVIS_SELECTED) && !(n.data[3] & LVIS_SELECTED);
  EXPECT_TRUE(deselectionPassed);
}

TEST_F(GridTest, ContextMenuPointComesFromTheMouseOrNearTheClientCorner) {
  Fill(2);
  QTreeView* view = View();
  view->setFocus();
  QTest::keyClick(view, Qt::Key_F10, Qt::ShiftModifier);
  wintest::Target t = Cell(1, 1);
  QPoint global = t.widget->mapToGlobal(t.point);
  QContextMenuEvent mouse(QContextMenuEvent::Mouse, t.point, global);
  QApplication::sendEvent(t.widget, &mouse);

  auto menus = dialog.GridNotesWith(GCN_CONTEXTMENU);
  ASSERT_EQ(menus.size(), 2u);
  POINT corner{0, 0};
  ClientToScreen(dialog.grid.m_hWnd, &corner);
  EXPECT_EQ(menus[0].first, corner.x + 5);
  EXPECT_EQ(menus[0].second, corner.y + 5);
  EXPECT_EQ(menus[1].first, global.x());
  EXPECT_EQ(menus[1].second, global.y());
}

TEST_F(GridTest, SelectedRowKeepsTheHighlightWithoutFocusAndRecordsGiveRowColours) {
  Fill(3);
  constexpr COLORREF kPink = RGB(255, 200, 200);
  dialog.grid.GetRowData(2)->backColor = kPink;
  dialog.grid.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
  SetFocus(GetDlgItem(dialog.m_hWnd, kOther));
  ASSERT_NE(GetFocus(), dialog.grid.m_hWnd);

  QTreeView* view = View();
  QImage picture = view->grab().toImage();
  auto colourAt = [&](int row, int column) {
    CRect r;
    dialog.grid.GetSubItemRect(row, column, LVIR_LABEL, r);
    QColor c = picture.pixelColor(QPoint(r.right - 3, r.top + 2) + view->contentsRect().topLeft());
    return RGB(c.red(), c.green(), c.blue());
  };
  for (int column = 0; column < 3; ++column) {
    EXPECT_EQ(colourAt(0, column), GetSysColor(COLOR_HIGHLIGHT)) << column;
    EXPECT_EQ(colourAt(2, column), kPink) << column;
  }
  EXPECT_NE(colourAt(1, 1), GetSysColor(COLOR_HIGHLIGHT));
}

TEST_F(GridTest, RowsCarryDefaultRecordsUntilAllAreDeleted) {
  CGridCtrl& g = dialog.grid;
  EXPECT_EQ(g.GetExtendedStyle(), DWORD{LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT});
  EXPECT_EQ(g.GetStyle() & LVS_TYPEMASK, LVS_REPORT);
  EXPECT_EQ(g.AppendRow(), 0);
  EXPECT_EQ(g.AppendRow({u"2", u"Этан", u"1,5"}), 1);
  EXPECT_EQ(g.GetItemText(1, 1), u"Этан");
  EXPECT_EQ(g.GetItemText(0, 0), u"");
  for (int row = 0; row < 2; ++row) {
    GridRowData* data = g.GetRowData(row);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->textColor, CLR_DEFAULT);
    EXPECT_EQ(data->backColor, CLR_DEFAULT);
    EXPECT_EQ(data->key, 0);
    EXPECT_EQ(g.GetItemData(row), reinterpret_cast<DWORD_PTR>(data));
  }
  g.GetRowData(1)->key = 42;
  EXPECT_EQ(g.GetRowData(1)->key, 42);
  EXPECT_EQ(g.GetRowData(2), nullptr);
  EXPECT_EQ(g.GetRowData(-1), nullptr);
  g.InsertItem(2, u"без записи");  // a row without a record is allowed
  EXPECT_EQ(g.GetRowData(2), nullptr);
  g.DeleteAllRows();
  EXPECT_EQ(g.GetItemCount(), 0);
  EXPECT_EQ(g.AppendRow(), 0);
}

TEST(GridAttachTest, AttachingSetsReportModeAndTheGridsExtendedStyles) {
  wintest::Register(9702, wintest::kPopupStyle, 200, 100,
                    {{win::kListViewClass, kGrid, nullptr, WS_BORDER, 0, 7, 7, 180, 80}});
  CDialog host(9702);
  ASSERT_TRUE(host.Create(9702));
  CGridCtrl grid;
  CDataExchange dx(&host, FALSE);
  DDX_Control(&dx, kGrid, grid);
  EXPECT_EQ(grid.GetStyle() & LVS_TYPEMASK, LVS_REPORT);
  EXPECT_EQ(grid.GetExtendedStyle(), DWORD{LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP});
  EXPECT_EQ(grid.GetSortColumn(), -1);
  EXPECT_EQ(grid.GetSortDirection(), 1);
  host.DestroyWindow();
  win::ProcessPendingMessages();
}

// Ctrl+C in the grid: the selected row with the header, as tab-separated text, numbers as
// shown; without a selection every row.
TEST_F(GridTest, CtrlCCopiesTheRowsWithTheHeader) {
  Fill(2);
  dialog.grid.SetItemText(1, 2, u"1,250");
  auto copy = [&] {
    QApplication::clipboard()->clear();
    Key(View(), Qt::Key_C, Qt::ControlModifier);
    return QApplication::clipboard()->text();
  };
  View()->setFocus();
  EXPECT_EQ(copy(), QStringLiteral("№\tКомпонент\tКонцентрация\n1\tМетан\t0,5\n2\tМетан\t1,250\n"));
  wintest::Click(Cell(1, 1));
  EXPECT_EQ(copy(), QStringLiteral("№\tКомпонент\tКонцентрация\n2\tМетан\t1,250\n"));
}

}  // namespace
}  // namespace gridtest
