// listview_test.cpp: the report-mode list view through real mouse input: states and
// clicks, header clicks and divider drags (refusable, zero-width columns), reflection
// to a subclass, custom-draw colours checked by pixels, and the LVM_* operations.
#include "win_fixture.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>
#include <QTreeView>

#include "platform/win/edit.h"
#include "platform/win/listctrl.h"

namespace {

using wintest::kPopupStyle;

constexpr UINT kLists = 9401;
constexpr int kList = 200;
constexpr int kPlainHeader = 201;
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

class ListDialog : public wintest::RecordingDialog {
 public:
  ListDialog() : RecordingDialog(kLists) {}
  CListCtrl list, plain;
  LRESULT refuseTrack = FALSE;
  LRESULT refuseDrop = FALSE;
  bool colours = false;
  std::vector<int> widthDuringEndTrack;
  void DoDataExchange(CDataExchange* dx) override {
    DDX_Control(dx, kList, list);
    DDX_Control(dx, kPlainHeader, plain);
  }
  BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override {
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    if (header->code == NM_CUSTOMDRAW) return CustomDraw(reinterpret_cast<NMLVCUSTOMDRAW*>(lParam), result);
    RecordingDialog::OnNotify(wParam, lParam, result);
    if (header->code == HDN_BEGINTRACKW) *result = refuseTrack;
    if (header->code == HDN_ENDDRAG) *result = refuseDrop;
    if (header->code == HDN_ENDTRACKW)
      widthDuringEndTrack.push_back(list.GetColumnWidth(reinterpret_cast<NMHEADERW*>(lParam)->iItem));
    return TRUE;
  }
  // Row 1 red at the item stage; in row 2 only column 2 blue, at the sub-item stage.
  BOOL CustomDraw(NMLVCUSTOMDRAW* draw, LRESULT* result) {
    *result = CDRF_DODEFAULT;
    if (!colours) return TRUE;
    switch (draw->nmcd.dwDrawStage) {
      case CDDS_PREPAINT: *result = CDRF_NOTIFYITEMDRAW; break;
      case CDDS_ITEMPREPAINT:
        if (draw->nmcd.dwItemSpec == 1) draw->clrTextBk = kRed;
        if (draw->nmcd.dwItemSpec == 2) *result = CDRF_NOTIFYSUBITEMDRAW;
        break;
      case CDDS_ITEMPREPAINT | CDDS_SUBITEM:
        if (draw->iSubItem == 2) draw->clrTextBk = kBlue;
        break;
      default: break;
    }
    return TRUE;
  }
};

class WinListViewTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    wintest::Register(kLists, kPopupStyle, 300, 200,
                      {{win::kListViewClass, kList, nullptr, LVS_REPORT | LVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP, 0,
                        7, 7, 286, 120},
                       {win::kListViewClass, kPlainHeader, nullptr, LVS_REPORT | LVS_NOSORTHEADER | WS_BORDER, 0, 7,
                        130, 286, 60}});
  }
  void SetUp() override {
    ASSERT_TRUE(dialog.Create(kLists));
    for (CListCtrl* l : {&dialog.list, &dialog.plain}) {
      l->SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
      l->InsertColumn(0, u"№", LVCFMT_LEFT, 40);
      l->InsertColumn(1, u"Пик", LVCFMT_LEFT, 150);
      l->InsertColumn(2, u"Канал", LVCFMT_CENTER, 80);
    }
    ASSERT_TRUE(wintest::ShowActive(dialog.m_hWnd));
  }
  void TearDown() override {
    dialog.DestroyWindow();
    win::ProcessPendingMessages();
  }
  void Fill(CListCtrl& l, int rows) {
    for (int i = 0; i < rows; ++i) {
      int row = l.InsertItem(i, sys::Text(u"") + static_cast<char16_t>(u'0' + i % 10));
      l.SetItemText(row, 1, u"Метан");
      l.SetItemData(row, static_cast<DWORD_PTR>(100 + i));
    }
  }
  wintest::Target Cell(CListCtrl& l, int row, int column) {
    CRect r;
    EXPECT_TRUE(l.GetSubItemRect(row, column, LVIR_LABEL, r));
    return wintest::At(l.m_hWnd, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
  }
  QHeaderView* HeaderOf(CListCtrl& l) {
    return static_cast<QHeaderView*>(win::WidgetOf(l.GetHeaderCtrl()->m_hWnd));
  }
  void DragDivider(CListCtrl& l, int column, int dx) {
    QHeaderView* header = HeaderOf(l);
    QPoint from(header->sectionViewportPosition(column) + header->sectionSize(column), header->height() / 2);
    QTest::mousePress(header->viewport(), Qt::LeftButton, {}, from);
    QTest::mouseMove(header->viewport(), from + QPoint(dx / 2, 0));
    QTest::mouseMove(header->viewport(), from + QPoint(dx, 0));
    QTest::mouseRelease(header->viewport(), Qt::LeftButton, {}, from + QPoint(dx, 0));
  }
  ListDialog dialog;
};

TEST_F(WinListViewTest, ClicksSelectFocusAndReportTheCellHit) {
  Fill(dialog.list, 5);
  EXPECT_TRUE(dialog.NotesWith(LVN_ITEMCHANGED).empty());  // filling is not a state change
  wintest::Click(Cell(dialog.list, 2, 1));
  EXPECT_EQ(dialog.list.GetItemState(2, LVIS_SELECTED | LVIS_FOCUSED), LVIS_SELECTED | LVIS_FOCUSED);
  bool becameSelected = false;
  for (const auto& n : dialog.NotesWith(LVN_ITEMCHANGED))
    becameSelected |= n.data[0] == 2 && (n.data[3] & LVIS_SELECTED) && !(n.data[2] & LVIS_SELECTED);
  EXPECT_TRUE(becameSelected);
  auto clicks = dialog.NotesWith(NM_CLICK);
  ASSERT_EQ(clicks.size(), 1u);
  EXPECT_EQ(clicks[0].data, (std::vector<std::intptr_t>{2, 1}));
  EXPECT_EQ(clicks[0].id, kList);

  wintest::Click(Cell(dialog.list, 4, 0), Qt::ControlModifier);
  EXPECT_EQ(dialog.list.GetSelectedCount(), 2u);
  EXPECT_EQ(dialog.list.GetNextItem(-1, LVNI_SELECTED), 2);
  EXPECT_EQ(dialog.list.GetNextItem(2, LVNI_SELECTED), 4);
  EXPECT_EQ(dialog.list.GetNextItem(-1, LVNI_FOCUSED), 4);
  bool lostFocus = false;
  for (const auto& n : dialog.NotesWith(LVN_ITEMCHANGED))
    lostFocus |= n.data[0] == 2 && (n.data[2] & LVIS_FOCUSED) && !(n.data[3] & LVIS_FOCUSED);
  EXPECT_TRUE(lostFocus);

  RECT client{};
  dialog.list.GetClientRect(&client);
  wintest::Click(wintest::At(dialog.list.m_hWnd, 60, client.bottom - 5));  // below the rows
  EXPECT_EQ(dialog.NotesWith(NM_CLICK).back().data[0], -1);
}

TEST_F(WinListViewTest, DoubleClickReportsNmDblClkAndNoSecondClick) {
  Fill(dialog.list, 3);
  wintest::DoubleClick(Cell(dialog.list, 1, 2));
  auto doubles = dialog.NotesWith(NM_DBLCLK);
  ASSERT_EQ(doubles.size(), 1u);
  EXPECT_EQ(doubles[0].data, (std::vector<std::intptr_t>{1, 2}));
  EXPECT_EQ(dialog.NotesWith(NM_CLICK).size(), 1u);
}

TEST_F(WinListViewTest, HeaderClicksBecomeColumnClicksUnlessNoSortHeader) {
  for (CListCtrl* l : {&dialog.list, &dialog.plain}) {
    QHeaderView* header = HeaderOf(*l);
    QPoint middle(header->sectionViewportPosition(1) + header->sectionSize(1) / 2, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, middle);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, middle);
  }
  auto columnClicks = dialog.NotesWith(LVN_COLUMNCLICK);
  ASSERT_EQ(columnClicks.size(), 2u);
  for (const auto& n : columnClicks) {
    EXPECT_EQ(n.id, kList);
    EXPECT_EQ(n.data[1], 1);
  }
}

TEST_F(WinListViewTest, DividerDragIsReportedAndCanBeRefused) {
  int before = dialog.list.GetColumnWidth(0);
  DragDivider(dialog.list, 0, 40);
  auto begins = dialog.NotesWith(HDN_BEGINTRACKW);
  auto ends = dialog.NotesWith(HDN_ENDTRACKW);
  ASSERT_EQ(begins.size(), 1u);
  ASSERT_EQ(ends.size(), 1u);
  EXPECT_EQ(begins[0].data, (std::vector<std::intptr_t>{0, before}));
  EXPECT_EQ(ends[0].data, (std::vector<std::intptr_t>{0, before + 40}));
  EXPECT_EQ(dialog.widthDuringEndTrack, std::vector<int>{before});  // still the old width
  EXPECT_EQ(dialog.list.GetColumnWidth(0), before + 40);
  EXPECT_EQ(dialog.NotesWith(HDN_ITEMCHANGEDW).size(), 1u);

  dialog.refuseTrack = TRUE;
  DragDivider(dialog.list, 0, 30);
  EXPECT_EQ(dialog.list.GetColumnWidth(0), before + 40);
  EXPECT_EQ(dialog.NotesWith(HDN_BEGINTRACKW).size(), 2u);
  EXPECT_EQ(dialog.NotesWith(HDN_ENDTRACKW).size(), 1u);
}

TEST_F(WinListViewTest, DividerOfAZeroWidthColumnDragsThatColumn) {
  dialog.list.SetColumnWidth(1, 0);
  DragDivider(dialog.list, 0, 25);  // column 1's divider lies on column 0's
  auto begins = dialog.NotesWith(HDN_BEGINTRACKW);
  ASSERT_EQ(begins.size(), 1u);
  EXPECT_EQ(begins[0].data[0], 1);
}

TEST_F(WinListViewTest, HeaderDropIsReportedWithTheNewOrderAndCanBeCancelled) {
  CListCtrl& l = dialog.list;
  l.SetExtendedStyle(l.GetExtendedStyle() | LVS_EX_HEADERDRAGDROP);
  QHeaderView* header = HeaderOf(l);
  auto dragColumn2ToFront = [&] { wintest::DragHeaderSection(header, 2, 0); };
  int order[3] = {};
  dialog.refuseDrop = 1;
  dragColumn2ToFront();
  auto drops = dialog.NotesWith(HDN_ENDDRAG);
  ASSERT_EQ(drops.size(), 1u);
  EXPECT_EQ(drops[0].data[0], 2);
  EXPECT_LT(drops[0].data[1], 2);  // the display position it was dropped at
  l.GetColumnOrderArray(order, 3);
  EXPECT_EQ(std::vector<int>(order, order + 3), (std::vector<int>{0, 1, 2}));
  dialog.refuseDrop = 0;
  dragColumn2ToFront();
  drops = dialog.NotesWith(HDN_ENDDRAG);
  ASSERT_EQ(drops.size(), 2u);
  l.GetColumnOrderArray(order, 3);
  EXPECT_EQ(order[drops[1].data[1]], 2);
  LVCOLUMNW column{LVCF_ORDER, 0, 0, nullptr, 0, 0, 0, 0};
  l.GetColumn(2, &column);
  EXPECT_EQ(column.iOrder, drops[1].data[1]);
}

// A list object that answers for itself, as an editable grid does.
class OwnList : public CListCtrl {
 public:
  int itemChanges = 0;
  int vscrolls = 0;
  std::vector<DWORD> stages;
  BOOL OnChildNotify(UINT message, WPARAM, LPARAM lParam, LRESULT* result) override {
    if (message != WM_NOTIFY) return FALSE;
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    if (header->code == NM_CUSTOMDRAW) stages.push_back(reinterpret_cast<NMCUSTOMDRAW*>(lParam)->dwDrawStage);
    if (header->code != LVN_ITEMCHANGED) return FALSE;
    ++itemChanges;
    *result = 0;
    return TRUE;
  }
  BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override {
    if (reinterpret_cast<NMHDR*>(lParam)->code != HDN_BEGINTRACKW) return CListCtrl::OnNotify(wParam, lParam, result);
    *result = TRUE;  // no column of this list may be resized
    return TRUE;
  }
  void OnVScroll(UINT code, UINT pos, CWnd* bar) override {
    ++vscrolls;
    CListCtrl::OnVScroll(code, pos, bar);
  }
};

TEST_F(WinListViewTest, SubclassTakesReflectedAndHeaderNotificationsFirst) {
  OwnList own;
  HWND h = dialog.list.Detach();
  ASSERT_TRUE(own.SubclassWindow(h));
  Fill(own, 60);
  wintest::Click(Cell(own, 1, 1));
  EXPECT_GT(own.itemChanges, 0);
  EXPECT_TRUE(dialog.NotesWith(LVN_ITEMCHANGED).empty());
  EXPECT_EQ(dialog.NotesWith(NM_CLICK).size(), 1u);  // not taken: passed on
  win::WidgetOf(own.m_hWnd)->grab();
  ASSERT_FALSE(own.stages.empty());
  EXPECT_EQ(own.stages.front(), CDDS_PREPAINT);

  int width = own.GetColumnWidth(0);
  DragDivider(own, 0, 40);
  EXPECT_EQ(own.GetColumnWidth(0), width);
  EXPECT_TRUE(dialog.NotesWith(HDN_BEGINTRACKW).empty());

  static_cast<QTreeView*>(win::WidgetOf(own.m_hWnd))->verticalScrollBar()->triggerAction(
      QAbstractSlider::SliderPageStepAdd);
  EXPECT_EQ(own.vscrolls, 1);
  own.Detach();
  dialog.list.Attach(h);
}

TEST_F(WinListViewTest, CustomDrawColoursPaintRowsAndCells) {
  Fill(dialog.list, 4);
  dialog.colours = true;
  auto* view = static_cast<QTreeView*>(win::WidgetOf(dialog.list.m_hWnd));
  QImage picture = view->grab().toImage();
  auto colourAt = [&](int row, int column) {
    CRect r;
    dialog.list.GetSubItemRect(row, column, LVIR_LABEL, r);
    QPoint p = QPoint((r.left + r.right) / 2, r.top + 2) + view->contentsRect().topLeft();
    QColor c = picture.pixelColor(p);
    return RGB(c.red(), c.green(), c.blue());
  };
  EXPECT_EQ(colourAt(1, 0), kRed);
  EXPECT_EQ(colourAt(1, 2), kRed);
  EXPECT_EQ(colourAt(2, 2), kBlue);
  EXPECT_NE(colourAt(2, 1), kBlue);
  EXPECT_NE(colourAt(0, 1), kRed);
}

TEST_F(WinListViewTest, OperationsOnRowsColumnsAndRectangles) {
  CListCtrl& l = dialog.list;
  l.InsertItem(0, u"a");
  l.InsertItem(1, u"c");
  EXPECT_EQ(l.InsertItem(1, u"b"), 1);
  EXPECT_EQ(l.InsertItem(99, u"d"), 3);
  EXPECT_EQ(l.GetItemText(1, 0), u"b");
  sys::Text longText(700, u'ж');
  l.SetItemText(2, 1, longText);
  EXPECT_EQ(l.GetItemText(2, 1), longText);
  EXPECT_EQ(l.GetItemText(2, 2), u"");
  l.SetItemData(3, 0xABCDEF);
  EXPECT_EQ(l.GetItemData(3), 0xABCDEFu);

  l.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);  // from code: reported too
  auto changes = dialog.NotesWith(LVN_ITEMCHANGED);
  ASSERT_EQ(changes.size(), 1u);
  EXPECT_EQ(changes[0].data, (std::vector<std::intptr_t>{1, 0, 0, LVIS_SELECTED}));
  l.DeleteItem(1);  // removing a selected row is not a state change
  EXPECT_EQ(dialog.NotesWith(LVN_ITEMCHANGED).size(), 1u);
  EXPECT_EQ(l.GetItemCount(), 3);
  EXPECT_EQ(l.GetSelectedCount(), 0u);

  LVCOLUMNW column{LVCF_FMT | LVCF_TEXT | LVCF_WIDTH, 0, 0, nullptr, 0, 0, 0, 0};
  char16_t text[16];
  column.pszText = text;
  column.cchTextMax = 16;
  ASSERT_TRUE(l.GetColumn(2, &column));
  EXPECT_EQ(column.fmt, LVCFMT_CENTER);
  EXPECT_EQ(column.cx, 80);
  EXPECT_EQ(sys::Text(text), u"Канал");
  HDITEMW item{};
  item.mask = HDI_TEXT;
  item.pszText = text;
  item.cchTextMax = 16;
  ASSERT_TRUE(l.GetHeaderCtrl()->GetItem(1, &item));
  EXPECT_EQ(sys::Text(text), u"Пик");
  EXPECT_EQ(l.GetHeaderCtrl()->GetItemCount(), 3);

  int order[3] = {2, 0, 1};
  ASSERT_TRUE(l.SetColumnOrderArray(3, order));
  int back[3] = {};
  ASSERT_TRUE(l.GetColumnOrderArray(back, 3));
  EXPECT_EQ(std::vector<int>(back, back + 3), std::vector<int>(order, order + 3));

  CRect cell;
  ASSERT_TRUE(l.GetSubItemRect(1, 1, LVIR_LABEL, cell));
  LVHITTESTINFO hit{{(cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2}, 0, -1, -1};
  EXPECT_EQ(l.SubItemHitTest(&hit), 1);
  EXPECT_EQ(hit.iSubItem, 1);
  EXPECT_EQ(hit.flags, LVHT_ONITEMLABEL);
  l.DeleteAllItems();
  EXPECT_EQ(l.GetItemCount(), 0);
}

// As the grid's in-place editor is made: on a cell's label rectangle, taking the focus
// and selecting its text when created.
class CellEdit : public CEdit {
 public:
  int OnCreate(LPCREATESTRUCT create) override {
    if (CEdit::OnCreate(create) == -1) return -1;
    SetWindowText(u"Метан");
    SetFocus();
    SetSel(0, -1);
    return 0;
  }
};

TEST_F(WinListViewTest, EditMadeOnACellCoversItAndTakesTheFocus) {
  Fill(dialog.list, 3);
  CRect cell;
  ASSERT_TRUE(dialog.list.GetSubItemRect(1, 1, LVIR_LABEL, cell));
  cell.top -= 2;
  cell.bottom += 2;
  CellEdit edit;
  ASSERT_TRUE(edit.Create(WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, cell, &dialog.list, 9801));
  EXPECT_EQ(GetFocus(), edit.m_hWnd);
  EXPECT_EQ(GetParent(edit.m_hWnd), dialog.list.m_hWnd);
  RECT r{};
  edit.GetWindowRect(&r);
  POINT topLeft{r.left, r.top};
  dialog.list.ScreenToClient(&topLeft);
  EXPECT_EQ(topLeft.x, cell.left);
  EXPECT_EQ(topLeft.y, cell.top);
  EXPECT_EQ(r.right - r.left, cell.Width());
  EXPECT_EQ(Cell(dialog.list, 1, 1).widget, win::WidgetOf(edit.m_hWnd));  // on top of the rows
  EXPECT_EQ(static_cast<QLineEdit*>(win::WidgetOf(edit.m_hWnd))->selectedText(), QStringLiteral("Метан"));
}

TEST_F(WinListViewTest, EnsureVisibleScrollsTheRowIntoTheClientArea) {
  Fill(dialog.list, 200);
  RECT client{};
  dialog.list.GetClientRect(&client);
  CRect row;
  dialog.list.GetItemRect(150, &row, LVIR_BOUNDS);
  EXPECT_GT(row.top, client.bottom);
  ASSERT_TRUE(dialog.list.EnsureVisible(150, FALSE));
  dialog.list.GetItemRect(150, &row, LVIR_BOUNDS);
  EXPECT_GE(row.top, 0);
  EXPECT_LE(row.bottom, client.bottom);
  EXPECT_FALSE(dialog.list.EnsureVisible(200, FALSE));
}

// Ctrl+C copies the selected rows, or every row without a selection, with the header,
// as tab-separated text in the columns' shown order, hidden (zero-width) columns left out.
TEST_F(WinListViewTest, CtrlCCopiesRowsAsTabSeparatedTextWithTheHeader) {
  Fill(dialog.list, 3);
  dialog.list.SetItemText(1, 2, u"1,250");
  dialog.list.SetItemText(2, 1, u"Этан\tи\nпропан");
  auto copy = [&] {
    QApplication::clipboard()->clear();
    QWidget* view = win::WidgetOf(dialog.list.m_hWnd);
    view->setFocus();
    QTest::keyClick(view, Qt::Key_C, Qt::ControlModifier);
    win::ProcessPendingMessages();
    return QApplication::clipboard()->text();
  };
  EXPECT_EQ(copy(), QStringLiteral("№\tПик\tКанал\n0\tМетан\t\n1\tМетан\t1,250\n2\tЭтан и пропан\t\n"))
      << "no selection: every row";
  wintest::Click(Cell(dialog.list, 1, 1));
  wintest::Click(Cell(dialog.list, 2, 1), Qt::ControlModifier);
  EXPECT_EQ(copy(), QStringLiteral("№\tПик\tКанал\n1\tМетан\t1,250\n2\tЭтан и пропан\t\n"));
  dialog.list.SetColumnWidth(1, 0);
  HeaderOf(dialog.list)->moveSection(2, 0);
  EXPECT_EQ(copy(), QStringLiteral("Канал\t№\n1,250\t1\n\t2\n"));
}

}  // namespace
