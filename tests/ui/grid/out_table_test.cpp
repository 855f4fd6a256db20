// out_table_test.cpp: the one-table page: its template (table on control 1023, growing
// with the page), the number cell rule, Enter and Escape doing nothing, and the three
// module-wide instances.
#include "page_fixture.h"

#include <limits>

#include "calc/presentation.h"
#include "platform/sys/locale.h"
#include "ui/dlg_out_table.h"

namespace pagetest {
namespace {

class OutTableTest : public PageHostTest {
 protected:
  static void SetUpTestSuite() {
    PageHostTest::SetUpTestSuite();
    RegisterDlgOutTableTemplate();
  }
  void SetUp() override {
    PageHostTest::SetUp();
    sys::SetRussianLocale();
    ASSERT_TRUE(page.Create(&host));
    page.ShowWindow(SW_SHOW);
  }
  void TearDown() override {
    sys::ResetLocale();
    PageHostTest::TearDown();
  }
  CDlgOutTable page;
};

TEST_F(OutTableTest, NumberCellsUseTheDecimalCommaAndDashesForNoValue) {
  CGridCtrl& t = page.table;
  t.InsertColumn(0, u"№", LVCFMT_LEFT, 40);
  t.InsertColumn(1, u"Значение", LVCFMT_LEFT, 100);
  struct Case {
    double value;
    int decimals;
    const char16_t* text;
  };
  const Case cases[] = {
      {3.14159, 2, u"3,14"},
      {3.14159, 0, u"3"},
      {kNoValue, 2, u"---"},
      {0.999, 3, u"0,999"},
      {2.5, 3, u"2,500"},
      {-0.0049, 2, u"-0,00"},
      {std::numeric_limits<double>::max(), 0, nullptr},  // huge but a value: digits, not dashes
  };
  for (const Case& c : cases) {
    int row = t.AppendRow();
    t.SetItemText(row, 1, NumberCellText(c.value, c.decimals));
    sys::Text text = t.GetItemText(row, 1);
    if (c.text) {
      EXPECT_EQ(text, c.text) << row;
    } else {
      EXPECT_EQ(text.size(), 309u) << row;
    }
  }
}

TEST_F(OutTableTest, TableIsAGridOnControl1023ThatGrowsWithThePage) {
  ASSERT_EQ(page.table.m_hWnd, GetDlgItem(page.m_hWnd, kOutTableControl));
  EXPECT_EQ(page.table.GetStyle() & LVS_TYPEMASK, LVS_REPORT);
  EXPECT_EQ(page.table.GetExtendedStyle(), DWORD{LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP});
  EXPECT_EQ(GetWindowStyle(page.m_hWnd) & WS_CAPTION, 0u);
  RECT before{};
  page.table.GetWindowRect(&before);
  RECT pageRect{};
  page.GetClientRect(&pageRect);
  page.MoveWindow(0, 0, pageRect.right + 60, pageRect.bottom + 40);
  RECT after{};
  page.table.GetWindowRect(&after);
  EXPECT_EQ(after.left - before.left, 0);
  EXPECT_EQ(after.top - before.top, 0);
  EXPECT_EQ((after.right - after.left) - (before.right - before.left), 60);
  EXPECT_EQ((after.bottom - after.top) - (before.bottom - before.top), 40);
}

TEST_F(OutTableTest, EnterAndEscapeLeaveThePageShown) {
  page.table.InsertColumn(0, u"№", LVCFMT_LEFT, 40);
  page.table.AppendRow({u"1"});
  page.table.SetFocus();
  Press(page.table.m_hWnd, Qt::Key_Return);
  Press(page.table.m_hWnd, Qt::Key_Escape);
  EXPECT_TRUE(IsWindow(page.m_hWnd));
  EXPECT_TRUE(page.IsWindowVisible());
  EXPECT_TRUE(host.IsWindowVisible());
  EXPECT_TRUE(host.commands.empty());
}

TEST(OutTableInstancesTest, ThreeDistinctModuleWideTables) {
  CDlgOutTable* tables[] = {&ChromatogramInfoTable(), &MixtureInfoTable(), &ResultsTable()};
  EXPECT_NE(tables[0], tables[1]);
  EXPECT_NE(tables[1], tables[2]);
  EXPECT_NE(tables[0], tables[2]);
  EXPECT_EQ(tables[0], &ChromatogramInfoTable());
  EXPECT_EQ(tables[2]->GetTemplateId(), kDlgOutTableTemplate);
}

}  // namespace
}  // namespace pagetest
