// message_test.cpp: message boxes answered through the hook, and posted messages that
// run from the event loop after the handler that posted them.
#include "win_fixture.h"

#include "platform/win/messagebox.h"

namespace {

using wintest::kPopupStyle;

constexpr UINT kPlain = 9201;
constexpr UINT WM_ASSAYS_CHANGED = WM_USER + 11;

class LogDialog : public CDialog {
 public:
  explicit LogDialog(UINT id = kPlain) : CDialog(id) {}
  std::vector<std::string> log;
  int endOnPosted = 0;  // non-zero: the posted message ends a modal run with it
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    if (endOnPosted) PostMessage(WM_ASSAYS_CHANGED);
    return TRUE;
  }
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
    if (LOWORD(wParam) != 10) return CDialog::OnCommand(wParam, lParam);
    log.push_back("click begins");
    PostMessage(WM_ASSAYS_CHANGED, 1);
    PostMessage(WM_ASSAYS_CHANGED, 2);
    SendMessage(WM_USER + 1);
    log.push_back("click ends");
    return TRUE;
  }
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_ASSAYS_CHANGED) {
      log.push_back("posted " + std::to_string(wParam));
      if (endOnPosted) EndDialog(endOnPosted);
      return 0;
    }
    if (message == WM_USER + 1) {
      log.push_back("sent");
      return 0;
    }
    return CDialog::WindowProc(message, wParam, lParam);
  }
};

class WinMessageTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    wintest::Register(kPlain, kPopupStyle, 120, 60,
                      {{win::kButtonClass, 10, u"Пересчитать", WS_TABSTOP, 0, 7, 7, 70, 16}});
  }
  void TearDown() override { win::ProcessPendingMessages(); }
};

TEST_F(WinMessageTest, HookRecordsCaptionTextAndIconAndAnswers) {
  LogDialog owner;
  ASSERT_TRUE(owner.Create(kPlain));
  win::ScopedMessageBoxRecorder recorder(IDNO);
  EXPECT_EQ(owner.MessageBox(u"Экспорт успешно завершен.", u"Экспорт данных", MB_OK | MB_ICONINFORMATION), IDNO);
  EXPECT_EQ(MessageBox(nullptr, u"Ошибка формирования отчета! Код ошибки: -1 \r\n", u"Ошибка формирования отчета",
                       MB_ICONEXCLAMATION),
            IDNO);
  EXPECT_EQ(AfxMessageBox(u"Нет данных", MB_YESNO | MB_ICONERROR), IDNO);
  const auto& calls = recorder.Calls();
  ASSERT_EQ(calls.size(), 3u);
  EXPECT_EQ(calls[0].owner, owner.m_hWnd);
  EXPECT_EQ(calls[0].caption, u"Экспорт данных");
  EXPECT_EQ(calls[0].text, u"Экспорт успешно завершен.");
  EXPECT_EQ(calls[0].Icon(), MB_ICONINFORMATION);
  EXPECT_EQ(calls[1].text, u"Ошибка формирования отчета! Код ошибки: -1 \r\n");
  EXPECT_EQ(calls[1].Icon(), MB_ICONEXCLAMATION);
  EXPECT_EQ(calls[2].caption, u"Ошибка");  // no caption given: the system's own
  EXPECT_EQ(calls[2].Buttons(), MB_YESNO);
  EXPECT_EQ(calls[2].Icon(), MB_ICONERROR);
}

TEST_F(WinMessageTest, MessageBoxFromAModalDialogIsAnsweredToo) {
  LogDialog dialog;
  win::ScopedMessageBoxRecorder recorder(IDOK);
  win::ScopedModalDialogHook hook([](HWND dlg, UINT) {
    MessageBox(dlg, u"Недостаточно данных для формирования отчета!", u"Ошибка отчета", MB_ICONERROR);
    EndDialog(dlg, IDOK);
  });
  EXPECT_EQ(dialog.DoModal(), IDOK);
  ASSERT_EQ(recorder.Calls().size(), 1u);
  EXPECT_EQ(recorder.Calls()[0].caption, u"Ошибка отчета");
}

TEST_F(WinMessageTest, PostedMessagesRunAfterTheHandlerInOrder) {
  LogDialog dialog;
  ASSERT_TRUE(dialog.Create(kPlain));
  ASSERT_TRUE(wintest::ShowActive(dialog.m_hWnd));
  wintest::Click(wintest::Centre(GetDlgItem(dialog.m_hWnd, 10)));
  std::vector<std::string> beforeLoop = dialog.log;
  win::ProcessPendingMessages();
  EXPECT_EQ(beforeLoop, (std::vector<std::string>{"click begins", "sent", "click ends"}));
  EXPECT_EQ(dialog.log, (std::vector<std::string>{"click begins", "sent", "click ends", "posted 1", "posted 2"}));
}

TEST_F(WinMessageTest, MessagePostedToADestroyedWindowIsDropped) {
  auto dialog = std::make_unique<LogDialog>();
  ASSERT_TRUE(dialog->Create(kPlain));
  ASSERT_TRUE(dialog->PostMessage(WM_ASSAYS_CHANGED, 5));
  dialog->DestroyWindow();
  LogDialog other;  // may get the same handle address
  ASSERT_TRUE(other.Create(kPlain));
  win::ProcessPendingMessages();
  EXPECT_TRUE(dialog->log.empty());
  EXPECT_TRUE(other.log.empty());
  EXPECT_FALSE(PostMessage(nullptr, WM_ASSAYS_CHANGED, 0, 0));
}

TEST_F(WinMessageTest, PostedMessagesAreDeliveredInsideAModalLoop) {
  LogDialog dialog;
  dialog.endOnPosted = 9;
  EXPECT_EQ(dialog.DoModal(), 9);  // no hook: only the posted message can end it
  EXPECT_EQ(dialog.log, (std::vector<std::string>{"posted 0"}));
}

}  // namespace
