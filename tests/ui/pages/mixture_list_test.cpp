// The mixture list page: its table of loaded mixtures, rebuilt on request, and the
// mixture information table of a clicked mixture.
#include "tests/ui/pages/pages_fixture.h"

namespace pagestest {
namespace {

using Rows = std::vector<std::vector<sys::Text>>;

class MixtureListTest : public PagesTest {
 protected:
  void SetUp() override {
    PagesTest::SetUp();
    if (HasFatalFailure()) return;
    ShowMixturePage();  // the "Смеси" tab selected
  }
};

TEST_F(MixtureListTest, TableListsTheLoadedMixturesWithTheirDates) {
  CGridCtrl& table = Mixtures().Table();
  EXPECT_EQ(table.GetExtendedStyle(), LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
  const int widths[] = {40, 400, 180, 100, 120};
  ASSERT_EQ(table.GetHeaderCtrl()->GetItemCount(), 5);
  for (int c = 0; c < 5; ++c) EXPECT_EQ(table.GetColumnWidth(c), widths[c]) << c;

  AddThroughHost({1, 2, 4});
  Mixtures().ShowMixtures();
  EXPECT_EQ(AllRows(table), (Rows{{u"1", u"Смесь-2", u"Б-2", u"----", u"----"},
                                  {u"2", u"Смесь-1", u"Б-1", u"15.11.2023", u"14.11.2024"}}));
  EXPECT_EQ(table.GetRowData(0)->key, 2);
  EXPECT_EQ(table.GetRowData(1)->key, 1);

  Mixtures().RemoveMixture(2);
  EXPECT_EQ(MixtureIds(), (std::vector<std::int32_t>{1}));
  EXPECT_EQ(table.GetItemCount(), 2) << "the table waits for the next rebuild";
  Mixtures().RemoveMixture(42);
  EXPECT_EQ(MixtureIds(), (std::vector<std::int32_t>{1}));
  Mixtures().ShowMixtures();
  EXPECT_EQ(AllRows(table), (Rows{{u"1", u"Смесь-1", u"Б-1", u"15.11.2023", u"14.11.2024"}}));
}

TEST_F(MixtureListTest, ClickOnOneMixtureShowsItsComponents) {
  StoreInt(kProgramSettingsSection, u"qtySymInProg", 4);
  AddThroughHost({1, 2});
  Mixtures().ShowMixtures();
  ClickRow(Mixtures().Table(), 1);
  EXPECT_EQ(AllRows(MixtureInfo()), (Rows{{u"1", u"Метан", u"0,5000", u"1,2500"},
                                          {u"2", u"Этан", u"2,0000", u"0,7500"}}));
  ClickRow(Mixtures().Table(), 0, Qt::ControlModifier);
  EXPECT_EQ(MixtureInfo().GetItemCount(), 0) << "two selected mixtures show nothing";

  ClickRow(Mixtures().Table(), 0);
  EXPECT_EQ(AllRows(MixtureInfo()), (Rows{{u"1", u"Азот", u"10,0000", u"1,0000"}}));
  RECT client{};
  Mixtures().Table().GetClientRect(&client);
  wintest::Click(wintest::At(Mixtures().Table().m_hWnd, client.right - 5, client.bottom - 5));
  EXPECT_EQ(Mixtures().Table().GetSelectedCount(), 0u);
  EXPECT_EQ(MixtureInfo().GetItemCount(), 0) << "a click beside the rows selects nothing";
}

TEST_F(MixtureListTest, RebuildWithoutMixturesEmptiesBothTables) {
  AddThroughHost({1});
  Mixtures().ShowMixtures();
  Mixtures().ShowMixtureInfo(2);
  ASSERT_EQ(MixtureInfo().GetItemCount(), 1);
  Loaded().Clear();
  Mixtures().ShowMixtures();
  EXPECT_EQ(Mixtures().Table().GetItemCount(), 0);
  EXPECT_EQ(MixtureInfo().GetItemCount(), 0);
}

}  // namespace
}  // namespace pagestest
