// The intermediate calculations page: the rows of one mixture and channel, and the
// column layout kept in the profile (context menu, resizing, saved only when changed).
#include <QHeaderView>
#include <QTreeView>

#include "calc/presentation.h"
#include "tests/ui/pages/pages_fixture.h"

namespace pagestest {
namespace {

using Rows = std::vector<std::vector<sys::Text>>;
constexpr char16_t kSection[] = u"TablesSettings\\CalcInfo";
constexpr int kDefaultWidths[] = {40, 200, 80, 110, 80, 80, 140, 140, 110, 120, 150, 90, 110, 110, 110};

class CalcInfoTest : public PagesTest {
 protected:
  // Creates the page window on the lower strip and shows it.
  void CreatePage() {
    CWnd* lower = CWnd::FromHandle(GetDlgItem(main.m_hWnd, kLowerTabs));
    ASSERT_TRUE(Page().Create(IDD_CALC_INFO, lower));
    ChromatogramInfoTable().ShowWindow(SW_HIDE);
    RECT r{};
    lower->GetClientRect(&r);
    Page().MoveWindow(2, 22, r.right - 6, r.bottom - 26, TRUE);
    Page().ShowWindow(SW_SHOW);
  }
  static DlgCalcInfo& Page() { return CalcInfoPage(); }
  static CGridCtrl& Table() { return CalcInfoPage().Table(); }
  std::vector<int> Widths() {
    std::vector<int> widths;
    for (int c = 0; c < Table().GetHeaderCtrl()->GetItemCount(); ++c) widths.push_back(Table().GetColumnWidth(c));
    return widths;
  }
  void StoreColumn(int position, int key, int width, int visible) {
    const sys::Text prefix = sys::Format(u"%d_", position);
    StoreInt(kSection, prefix + u"id", key);
    if (width >= 0) StoreInt(kSection, prefix + u"width", width);
    StoreInt(kSection, prefix + u"visible", visible);
  }
  // Opens the table's context menu with the mouse over a cell; the hook chooses.
  void OpenContextMenu() {
    QTreeView* view = static_cast<QTreeView*>(win::WidgetOf(Table().m_hWnd));
    QPoint local(20, 5);
    QContextMenuEvent event(QContextMenuEvent::Mouse, local, view->viewport()->mapToGlobal(local));
    QApplication::sendEvent(view->viewport(), &event);
    win::ProcessPendingMessages();  // the chosen command is posted
  }
  void DragDivider(int column, int dx) {
    auto* header = static_cast<QHeaderView*>(win::WidgetOf(Table().GetHeaderCtrl()->m_hWnd));
    QPoint from(header->sectionViewportPosition(column) + header->sectionSize(column), header->height() / 2);
    QTest::mousePress(header->viewport(), Qt::LeftButton, {}, from);
    QTest::mouseMove(header->viewport(), from + QPoint(dx / 2, 0));
    QTest::mouseMove(header->viewport(), from + QPoint(dx, 0));
    QTest::mouseRelease(header->viewport(), Qt::LeftButton, {}, from + QPoint(dx, 0));
  }
};

// Two mixtures and five curves: a full point, a point without analyses, a point without
// uncertainty and norm, a curve of another channel and one without a point for mixture 1.
struct RunFixture {
  Mixture first{1, u"Смесь-1", u"", 0, 0, {}};
  Mixture second{2, u"Смесь-2", u"", 0, 0, {}};
  CalculationContext context;

  MixturePoint& AddPoint(CalibrationCurve& curve, const Mixture& mixture, std::int32_t count) {
    curve.points.push_back(std::make_unique<MixturePoint>());
    curve.points.back()->mixture = &mixture;
    curve.points.back()->count = count;
    return *curve.points.back();
  }
  CalibrationCurve& AddCurve(const char16_t* name, std::int32_t channel) {
    context.curves.push_back(std::make_unique<CalibrationCurve>());
    context.curves.back()->name = name;
    context.curves.back()->channel = channel;
    return *context.curves.back();
  }
  RunFixture() {
    CalibrationCurve& methane = AddCurve(u"Метан", 0);
    AddPoint(methane, second, 5).sumArea = 7;
    MixturePoint& p = AddPoint(methane, first, 5);
    p.sumArea = 5000.5;
    p.meanArea = 1000.1;
    p.rsd = 0.12345;
    p.absUncertainty = 0.01;
    p.relUncertainty = 2;
    p.rsdNorm = 0.5;
    p.rsdOk = true;
    p.calcConcentration = 0.499;
    p.relDeviation = 0.2;
    p.sigmaK = 1.5;
    p.deviationNorm = 3;
    p.deviationOk = false;
    AddPoint(AddCurve(u"Этан", 0), first, 0);
    MixturePoint& bare = AddPoint(AddCurve(u"Пропан", 0), first, 2);
    bare.sumArea = 10;
    bare.meanArea = 5;
    bare.calcConcentration = 1.25;
    AddPoint(AddCurve(u"Азот", 1), first, 3).sumArea = 3;
    AddPoint(AddCurve(u"Гелий", 0), second, 4).sumArea = 8;
    context.channels = {{0, u"1"}, {1, u"2"}};
  }
};

class CalcInfoRowsTest : public CalcInfoTest {
 protected:
  // What the main window does after a run.
  void GiveRun() {
    Page().SetMixtures(&Loaded().mixtures);
    Page().SetContext(&run.context);
    for (const Mixture* m : {&run.first, &run.second}) {
      const int i = Page().MixtureCombo().AddString(m->name);
      Page().MixtureCombo().SetItemData(i, static_cast<DWORD_PTR>(m->id));
    }
    for (const ChannelEntry& c : run.context.channels) {
      const int i = Page().ChannelCombo().AddString(c.title);
      Page().ChannelCombo().SetItemData(i, static_cast<DWORD_PTR>(c.channel));
    }
    Page().MixtureCombo().SetCurSel(0);
    Page().ChannelCombo().SetCurSel(0);
    Page().ShowCalcInfo();
  }
  void Choose(CComboBox& combo, int id, int index) {
    combo.SetCurSel(index);
    ::SendMessage(Page().m_hWnd, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo.m_hWnd));
  }
  RunFixture run;
};

TEST_F(CalcInfoRowsTest, RowsOfTheChosenMixtureAndChannel) {
  CreatePage();
  Page().ShowCalcInfo();
  EXPECT_EQ(Table().GetItemCount(), 0) << "no run yet";
  EXPECT_EQ(Page().MixtureCombo().GetCount(), 0);
  EXPECT_EQ(Page().ChannelCombo().GetCount(), 0);

  GiveRun();
  EXPECT_EQ(AllRows(Table()),
            (Rows{{u"1", u"Метан", u"5", u"5000,500", u"1000,100", u"0,123", u"0,010", u"2,000", u"0,500", u"Да",
                   u"0,499", u"0,200", u"1,500", u"3,000", u"Нет"},
                  {u"2", u"Пропан", u"2", u"10,000", u"5,000", u"---", u"---", u"---", u"---", u"---", u"1,250", u"---",
                   u"---", u"---", u"---"}}));
  EXPECT_EQ(AllRows(Table()), CalcInfoRows(run.context.curves, 1, 0, 3)) << "the headless check's cells";

  Choose(Page().ChannelCombo(), IDC_CALC_INFO_CHANNEL, 1);
  ASSERT_EQ(Table().GetItemCount(), 1);
  EXPECT_EQ(Table().GetItemText(0, 0), u"1");
  EXPECT_EQ(Table().GetItemText(0, 1), u"Азот");

  Choose(Page().ChannelCombo(), IDC_CALC_INFO_CHANNEL, 0);
  Choose(Page().MixtureCombo(), IDC_CALC_INFO_MIXTURE, 1);
  ASSERT_EQ(Table().GetItemCount(), 2);
  EXPECT_EQ(Table().GetItemText(0, 1), u"Метан");
  EXPECT_EQ(Table().GetItemText(1, 1), u"Гелий");
  EXPECT_EQ(Table().GetItemText(1, 3), u"8,000");

  Page().SetContext(nullptr);
  Page().ShowCalcInfo();
  EXPECT_EQ(Table().GetItemCount(), 0) << "without a context the table stays empty";

  ::SendMessage(Page().m_hWnd, WM_COMMAND, IDCANCEL, 0);
  ::SendMessage(Page().m_hWnd, WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(Page().IsWindowVisible()) << "Enter and Escape do not close the page";
}

TEST_F(CalcInfoTest, FirstUseWritesFifteenDefaultColumnsOnceAndNothingAfterwards) {
  CreatePage();
  EXPECT_EQ(Table().GetExtendedStyle(), LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
  EXPECT_EQ(Widths(), std::vector<int>(std::begin(kDefaultWidths), std::end(kDefaultWidths)));
  const TextRow headers = CalcInfoHeader();
  ASSERT_EQ(headers.size(), 15u);
  EXPECT_EQ(headers[5], u"ОСКО");
  EXPECT_EQ(headers[12], u"σk (табл. 4), %");
  EXPECT_TRUE(Page().LayoutChanged());

  host.calls.clear();
  Page().SaveColumns();
  EXPECT_EQ(ProfileWrites(u"CalcInfo"), 46);
  EXPECT_EQ(StoredInt(kSection, u"qtyCols"), 15);
  EXPECT_EQ(StoredInt(kSection, u"6_id"), 6);
  EXPECT_EQ(StoredInt(kSection, u"6_width"), 140);
  EXPECT_EQ(StoredInt(kSection, u"6_visible"), 1);
  host.calls.clear();
  Page().SaveColumns();
  EXPECT_EQ(ProfileWrites(u"CalcInfo"), 0) << "nothing changed since the last write";

  Page().DestroyWindow();
  CreatePage();  // the next session reads what was written
  EXPECT_FALSE(Page().LayoutChanged());
  EXPECT_EQ(Widths(), std::vector<int>(std::begin(kDefaultWidths), std::end(kDefaultWidths)));
  Page().SaveColumns();
  EXPECT_EQ(ProfileWrites(u"CalcInfo"), 0);
}

TEST_F(CalcInfoTest, SavedLayoutGivesWidthsAndVisibility) {
  for (int key = 0; key < 15; ++key) StoreColumn(key, key, kDefaultWidths[key], 1);
  host.ints.erase(ProfileKey(kSection, u"3_width"));  // no width stored: 20
  StoreColumn(5, 5, 95, 0);    // hidden
  StoreColumn(15, 40, 50, 1);  // a key this version does not use: kept
  StoreColumn(16, -7, 50, 1);  // a negative key: skipped
  StoreInt(kSection, u"qtyCols", 17);
  CreatePage();
  std::vector<int> expected(std::begin(kDefaultWidths), std::end(kDefaultWidths));
  expected[3] = 20;
  expected[5] = 0;
  EXPECT_EQ(Widths(), expected);
  ASSERT_EQ(Page().Columns().size(), 16u);
  EXPECT_EQ(Page().Columns()[15].key, 40);
  EXPECT_EQ(Page().Columns()[5].width, 95);
  EXPECT_FALSE(Page().Columns()[5].visible);
  EXPECT_FALSE(Page().LayoutChanged());
  host.calls.clear();
  Page().SaveColumns();
  EXPECT_EQ(ProfileWrites(u"CalcInfo"), 0);
}

TEST_F(CalcInfoTest, ContextMenuHidesAndRestoresAColumn) {
  for (int key = 0; key < 15; ++key) StoreColumn(key, key, kDefaultWidths[key], 1);
  StoreInt(kSection, u"qtyCols", 15);
  CreatePage();
  {
    win::ScopedPopupMenuHook menu(ID_CALC_INFO_COLUMN_FIRST + 5);
    OpenContextMenu();
    ASSERT_EQ(menu.Calls().size(), 1u);
    const win::PopupMenuCall& call = menu.Calls()[0];
    EXPECT_EQ(call.owner, Page().m_hWnd);
    EXPECT_TRUE(call.flags & TPM_RIGHTBUTTON);
    ASSERT_EQ(call.items.size(), 15u);
    const TextRow headers = CalcInfoHeader();
    for (std::size_t i = 0; i < 15; ++i) {
      EXPECT_EQ(call.items[i].id, ID_CALC_INFO_COLUMN_FIRST + i);
      EXPECT_EQ(call.items[i].text, headers[i]);
      EXPECT_TRUE(call.items[i].checked);
    }
  }
  EXPECT_EQ(Table().GetColumnWidth(5), 0);
  EXPECT_FALSE(Page().Columns()[5].visible);
  EXPECT_TRUE(Page().LayoutChanged());
  {
    win::ScopedPopupMenuHook menu(ID_CALC_INFO_COLUMN_FIRST + 5);
    OpenContextMenu();
    ASSERT_EQ(menu.Calls().size(), 1u);
    EXPECT_FALSE(menu.Calls()[0].items[5].checked);
    EXPECT_TRUE(menu.Calls()[0].items[4].checked);
  }
  EXPECT_EQ(Table().GetColumnWidth(5), 80) << "ticking restores the width it had";
  {
    win::ScopedPopupMenuHook menu(0u);  // dismissed
    OpenContextMenu();
  }
  EXPECT_EQ(Table().GetColumnWidth(5), 80);
  host.calls.clear();
  Page().SaveColumns();
  EXPECT_EQ(ProfileWrites(u"CalcInfo"), 46);
  EXPECT_EQ(StoredInt(kSection, u"5_visible"), 1);
}

TEST_F(CalcInfoTest, ResizedColumnsAreSavedAndAZeroWidthAsTwo) {
  for (int key = 0; key < 15; ++key) StoreColumn(key, key, kDefaultWidths[key], 1);
  StoreInt(kSection, u"qtyCols", 15);
  CreatePage();
  DragDivider(1, 30);
  EXPECT_EQ(Page().Columns()[1].width, 230);
  EXPECT_TRUE(Page().LayoutChanged());

  GridNotify note{{Table().m_hWnd, IDC_CALC_INFO_TABLE, GCN_COLUMNRESIZED}, 2, 0};
  EXPECT_EQ(::SendMessage(Page().m_hWnd, WM_NOTIFY, IDC_CALC_INFO_TABLE, reinterpret_cast<LPARAM>(&note)), 1);
  host.calls.clear();
  Page().SaveColumns();
  EXPECT_EQ(ProfileWrites(u"CalcInfo"), 46) << "all fifteen settings and the count";
  EXPECT_EQ(StoredInt(kSection, u"1_width"), 230);
  EXPECT_EQ(StoredInt(kSection, u"2_width"), 2);
  EXPECT_EQ(Page().Columns()[2].width, 2);
  EXPECT_FALSE(Page().LayoutChanged());
}

}  // namespace
}  // namespace pagestest
