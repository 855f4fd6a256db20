// The chromatogram and mixture pages under the keyboard: Enter and Escape leave the page
// where it is (in the lists, the filter's edit field and the mixture table), and moving the
// selection with the keys fills the information table exactly as a click does.
#include <QComboBox>
#include <QLineEdit>

#include "tests/ui/pages/pages_fixture.h"

namespace pagestest {
namespace {

using Rows = std::vector<std::vector<sys::Text>>;

class KeyboardTest : public PagesTest {
 protected:
  static void Key(HWND control, Qt::Key key, Qt::KeyboardModifiers mods = {}) {
    QWidget* widget = win::WidgetOf(control);
    widget->setFocus();
    QTest::keyClick(widget, key, mods);
    win::ProcessPendingMessages();
  }
  static QLineEdit* FilterEdit() {
    auto* combo = qobject_cast<QComboBox*>(win::WidgetOf(Assays().Filter().m_hWnd));
    return combo ? combo->lineEdit() : nullptr;
  }
};

TEST_F(KeyboardTest, EnterAndEscapeNeverHideAPage) {
  AddThroughHost({1, 2, 3});
  ClickRow(Assays().List(), 0);
  ASSERT_NE(FilterEdit(), nullptr);
  for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
    Key(Assays().List().m_hWnd, key);
    EXPECT_TRUE(Assays().IsWindowVisible()) << "the chromatogram list, key " << key;
    QTest::keyClick(FilterEdit(), key);
    win::ProcessPendingMessages();
    EXPECT_TRUE(Assays().IsWindowVisible()) << "the filter's edit field, key " << key;
  }
  EXPECT_EQ(Loaded().assays.size(), 3u);

  ShowMixturePage();
  Mixtures().ShowMixtures();
  ClickRow(Mixtures().Table(), 0);
  for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
    Key(Mixtures().Table().m_hWnd, key);
    EXPECT_TRUE(Mixtures().IsWindowVisible()) << "the mixture table, key " << key;
  }
}

// For each list: what a click on each row shows, then the same rows reached by keys.
TEST_F(KeyboardTest, KeyboardSelectionFillsTheInformationTableAsAClickDoes) {
  AddThroughHost({1, 2, 3});
  std::vector<Rows> clicked;
  for (int row = 0; row < 3; ++row) {
    ClickRow(Assays().List(), row);
    clicked.push_back(AllRows(ChromatogramInfo()));
  }
  ASSERT_NE(clicked[0], clicked[2]);
  const HWND list = Assays().List().m_hWnd;
  struct Step {
    Qt::Key key;
    Qt::KeyboardModifiers mods;
    int shows;  // the clicked row whose details are shown; -1 for an empty table
  };
  const Step steps[] = {{Qt::Key_Home, {}, 0},  {Qt::Key_Down, {}, 1},        {Qt::Key_End, {}, 2},
                        {Qt::Key_Up, {}, 1},    {Qt::Key_PageUp, {}, 0},      {Qt::Key_PageDown, {}, 2},
                        {Qt::Key_Up, Qt::ShiftModifier, -1}, {Qt::Key_Down, {}, 2}};
  for (const Step& step : steps) {
    Key(list, step.key, step.mods);
    EXPECT_EQ(AllRows(ChromatogramInfo()), step.shows < 0 ? Rows{} : clicked[static_cast<std::size_t>(step.shows)])
        << "chromatograms, key " << step.key;
  }

  ShowMixturePage();
  Mixtures().ShowMixtures();
  ASSERT_EQ(Mixtures().Table().GetItemCount(), 2);
  std::vector<Rows> mixtures;
  for (int row = 0; row < 2; ++row) {
    ClickRow(Mixtures().Table(), row);
    mixtures.push_back(AllRows(MixtureInfo()));
  }
  ASSERT_NE(mixtures[0], mixtures[1]);
  const HWND table = Mixtures().Table().m_hWnd;
  const Step mixtureSteps[] = {{Qt::Key_Up, {}, 0},     {Qt::Key_End, {}, 1},    {Qt::Key_Home, Qt::ShiftModifier, -1},
                               {Qt::Key_Down, {}, 1},   {Qt::Key_PageUp, {}, 0}, {Qt::Key_PageDown, {}, 1}};
  for (const Step& step : mixtureSteps) {
    Key(table, step.key, step.mods);
    EXPECT_EQ(AllRows(MixtureInfo()), step.shows < 0 ? Rows{} : mixtures[static_cast<std::size_t>(step.shows)])
        << "mixtures, key " << step.key;
  }
}

}  // namespace
}  // namespace pagestest
