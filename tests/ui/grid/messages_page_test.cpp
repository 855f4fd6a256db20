// messages_page_test.cpp: the system messages page: numbering through the shown levels,
// the nothing-reported text whatever the boxes say, the boxes read back on a click, the
// page clearing the module-wide log when made, and Enter / Escape doing nothing.
#include "page_fixture.h"

#include "calc/presentation.h"
#include "ui/dlg_msg.h"

namespace pagetest {
namespace {

class MessagesPageTest : public PageHostTest {
 protected:
  static void SetUpTestSuite() {
    PageHostTest::SetUpTestSuite();
    RegisterDlgMsgTemplate();
  }
  void SetUp() override {
    PageHostTest::SetUp();
    SystemMessageLog().AddMessage(MessageLevel::Error, u"от прошлого запуска");
    ASSERT_TRUE(page.Create(&host));
    page.ShowWindow(SW_SHOW);
  }
  void TearDown() override {
    SystemMessageLog().Clear();
    PageHostTest::TearDown();
  }
  // A run that reported two errors and one warning.
  void Report() {
    page.Clear();
    page.AddMessage(MessageLevel::Error, u"Нет смесей.");
    page.AddMessage(MessageLevel::Warning, u"Мало точек: Метан");
    page.AddMessage(MessageLevel::Error, u"Нет хроматограмм.");
    page.ShowMessages();
  }
  sys::Text Shown() const { return GetDlgItemText(page.m_hWnd, kMsgTextEdit); }
  void Toggle(int box) { wintest::Click(wintest::Centre(GetDlgItem(page.m_hWnd, box))); }
  CDlgMSG page;
};

TEST_F(MessagesPageTest, MadePageHasClearedTheLogAndSaysNothingWasReported) {
  EXPECT_TRUE(SystemMessageLog().nothingReported);
  EXPECT_TRUE(SystemMessageLog().errors.empty());
  EXPECT_EQ(Shown(), u"Предупреждений и ошибок нет.");
  for (int box : {kMsgErrorsCheck, kMsgWarningsCheck, kMsgInfosCheck})
    EXPECT_EQ(page.IsDlgButtonChecked(box), 1u) << box;
  EXPECT_EQ(&page.log, &SystemMessageLog());
  EXPECT_EQ(&MessagesPage().log, &SystemMessageLog());
  DWORD style = GetWindowStyle(GetDlgItem(page.m_hWnd, kMsgTextEdit));
  EXPECT_EQ(style & (ES_MULTILINE | ES_READONLY | WS_VSCROLL), ES_MULTILINE | ES_READONLY | WS_VSCROLL);
}

TEST_F(MessagesPageTest, EntriesAreNumberedThroughTheShownLevelsOnly) {
  Report();
  EXPECT_EQ(Shown(),
            u"1.  Ошибка! \r\n\tНет смесей.\r\n"
            u"2.  Ошибка! \r\n\tНет хроматограмм.\r\n"
            u"3. Предупреждение! \r\n\tМало точек: Метан\r\n");
  Toggle(kMsgErrorsCheck);
  EXPECT_EQ(page.showErrors, 0);
  EXPECT_EQ(Shown(), u"1. Предупреждение! \r\n\tМало точек: Метан\r\n");
  Toggle(kMsgWarningsCheck);
  Toggle(kMsgInfosCheck);
  EXPECT_EQ(Shown(), u"");
  EXPECT_EQ(page.shownText, u"");

  page.AddMessage(MessageLevel::Information, u"Расчет выполнен.");
  Toggle(kMsgInfosCheck);
  EXPECT_EQ(Shown(), u"1. Информация! \r\n\tРасчет выполнен.\r\n");
  Report();  // the boxes stay as the user left them over a new run
  EXPECT_EQ(page.showErrors, 0);
  EXPECT_EQ(Shown(), MessagesText(SystemMessageLog(), false, false, true));
  EXPECT_EQ(Shown(), u"");
}

TEST_F(MessagesPageTest, NothingReportedIsSaidEvenWithAllBoxesCleared) {
  for (int box : {kMsgErrorsCheck, kMsgWarningsCheck, kMsgInfosCheck}) Toggle(box);
  page.Clear();
  page.ShowMessages();
  EXPECT_EQ(Shown(), u"Предупреждений и ошибок нет.");
  EXPECT_EQ(Shown(), kNoMessagesText);
}

TEST_F(MessagesPageTest, EnterAndEscapeLeaveThePageShown) {
  Report();
  HWND text = GetDlgItem(page.m_hWnd, kMsgTextEdit);
  SetFocus(text);
  Press(text, Qt::Key_Return);
  Press(text, Qt::Key_Escape);
  EXPECT_TRUE(page.IsWindowVisible());
  EXPECT_TRUE(host.IsWindowVisible());
  EXPECT_TRUE(host.commands.empty());
  EXPECT_EQ(Shown().substr(0, 3), u"1. ");
}

}  // namespace
}  // namespace pagetest
