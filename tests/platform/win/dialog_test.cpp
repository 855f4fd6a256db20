// dialog_test.cpp: modal dialogs answered through the modal dialog hook with real
// clicks and keys, data exchange, reuse of a dialog object, and modeless pages.
#include "win_fixture.h"

#include <QGuiApplication>
#include <QScreen>
#include <cstdlib>

#include "platform/win/button.h"
#include "platform/win/edit.h"

namespace {

using wintest::kChildStyle;
using wintest::kPopupStyle;

constexpr UINT kNameDialog = 9001;
constexpr UINT kCustomButtons = 9002;
constexpr UINT kPage = 9003;
constexpr UINT kOwner = 9004;

class NameDialog : public CDialog {
 public:
  NameDialog() : CDialog(kNameDialog) {}
  sys::Text name = u"старое";
  int ticked = 0;
  int inits = 0;
  int endInInit = 0;  // non-zero: OnInitDialog ends the dialog with it
  BOOL OnInitDialog() override {
    ++inits;
    CDialog::OnInitDialog();
    if (endInInit) EndDialog(endInInit);
    return TRUE;
  }
  void DoDataExchange(CDataExchange* dx) override {
    DDX_Text(dx, 100, name);
    DDX_Check(dx, 101, ticked);
  }
};

class WinDialogTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    wintest::Register(kNameDialog, kPopupStyle, 160, 80,
                      {{win::kEditClass, 100, nullptr, WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 0, 7, 7, 140, 14},
                       {win::kButtonClass, 101, u"Отметка", BS_AUTOCHECKBOX | WS_TABSTOP, 0, 7, 26, 80, 10},
                       {win::kButtonClass, IDOK, u"ОК", BS_DEFPUSHBUTTON | WS_TABSTOP, 0, 50, 59, 50, 14},
                       {win::kButtonClass, IDCANCEL, u"Отмена", BS_PUSHBUTTON | WS_TABSTOP, 0, 103, 59, 50, 14}});
    wintest::Register(kCustomButtons, kPopupStyle, 160, 60,
                      {{win::kEditClass, 1032, u"3", WS_BORDER | WS_TABSTOP | ES_CENTER, 0, 7, 7, 40, 14},
                       {win::kButtonClass, 1035, u"ОК", BS_DEFPUSHBUTTON | WS_TABSTOP, 0, 50, 40, 50, 14},
                       {win::kButtonClass, 1036, u"Отмена", WS_TABSTOP, 0, 103, 40, 50, 14}});
    wintest::Register(kPage, kChildStyle, 100, 50,
                      {{win::kEditClass, 200, nullptr, WS_BORDER | WS_TABSTOP, 0, 7, 7, 80, 14}});
    wintest::Register(kOwner, kPopupStyle | WS_THICKFRAME, 200, 120, {});
  }
  void TearDown() override { win::ProcessPendingMessages(); }
};

TEST_F(WinDialogTest, ModalDialogAnsweredByTypingAndClickingOk) {
  NameDialog dialog;
  UINT shownTemplate = 0;
  bool wasActive = false;
  win::ScopedModalDialogHook hook([&](HWND dlg, UINT templateId) {
    shownTemplate = templateId;
    EXPECT_EQ(win::FindDialog(kNameDialog), dlg);
    EXPECT_EQ(win::DialogTemplateOf(dlg), kNameDialog);
    wasActive = win::WidgetOf(dlg)->isActiveWindow();
    HWND edit = GetDlgItem(dlg, 100);
    QWidget* editWidget = win::WidgetOf(edit);
    editWidget->setFocus();
    QTest::keyClick(editWidget, Qt::Key_A, Qt::ControlModifier);  // select the old name
    wintest::Type(editWidget, QStringLiteral("Метан"));
    wintest::Click(wintest::Centre(GetDlgItem(dlg, 101)));
    wintest::Click(wintest::Centre(GetDlgItem(dlg, IDOK)));
  });
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(shownTemplate, kNameDialog);
  EXPECT_TRUE(wasActive);
  EXPECT_EQ(dialog.name, u"Метан");
  EXPECT_EQ(dialog.ticked, 1);
  EXPECT_EQ(dialog.m_hWnd, nullptr);  // the window is gone, the object stays
  EXPECT_EQ(win::FindDialog(kNameDialog), nullptr);
}

TEST_F(WinDialogTest, EscapeCancelsWithoutTakingTheControls) {
  NameDialog dialog;
  win::ScopedModalDialogHook hook([](HWND dlg, UINT) {
    QWidget* edit = win::WidgetOf(GetDlgItem(dlg, 100));
    edit->setFocus();
    wintest::Type(edit, QStringLiteral("xyz"));
    QTest::keyClick(edit, Qt::Key_Escape);
  });
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_EQ(dialog.name, u"старое");
}

TEST_F(WinDialogTest, SameObjectRunsAgainAndEndDialogInInitSkipsTheLoop) {
  NameDialog dialog;
  int hookRuns = 0;
  win::ScopedModalDialogHook hook([&](HWND dlg, UINT) {
    ++hookRuns;
    EndDialog(dlg, 40 + hookRuns);
  });
  EXPECT_EQ(dialog.DoModal(), 41);
  EXPECT_EQ(dialog.DoModal(), 42);
  dialog.endInInit = 77;
  EXPECT_EQ(dialog.DoModal(), 77);
  EXPECT_EQ(dialog.inits, 3);
  EXPECT_EQ(hookRuns, 2);
}

TEST_F(WinDialogTest, UnregisteredTemplateFailsWithMinusOne) {
  CDialog dialog(4242);
  EXPECT_EQ(dialog.DoModal(), -1);
  EXPECT_FALSE(dialog.Create(4242));
}

// Buttons with their own identifiers end the dialog through the owner's handlers; Enter
// presses the default push button, not IDOK.
class CustomButtonsDialog : public CDialog {
 public:
  CustomButtonsDialog() : CDialog(kCustomButtons) {}
  int oks = 0;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
    if (LOWORD(wParam) == 1035) EndDialog(1);
    if (LOWORD(wParam) == 1036) EndDialog(2);
    return LOWORD(wParam) == 1035 || LOWORD(wParam) == 1036 || CDialog::OnCommand(wParam, lParam);
  }
  void OnOK() override { ++oks; }
};

TEST_F(WinDialogTest, EnterPressesTheDefaultButton) {
  CustomButtonsDialog dialog;
  win::ScopedModalDialogHook hook([](HWND dlg, UINT) {
    QWidget* edit = win::WidgetOf(GetDlgItem(dlg, 1032));
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Return);
  });
  EXPECT_EQ(dialog.DoModal(), 1);
  EXPECT_EQ(dialog.oks, 0);
}

class Page : public CDialog {
 public:
  bool quiet = true;  // OK and Cancel do nothing, as on the main window's pages
  void OnOK() override {
    if (!quiet) CDialog::OnOK();
  }
  void OnCancel() override {
    if (!quiet) CDialog::OnCancel();
  }
};

TEST_F(WinDialogTest, ChildPageHasNoCaptionAndSurvivesEnterAndEscapeOnlyWhenItSaysSo) {
  CDialog owner(kOwner);
  ASSERT_TRUE(owner.Create(kOwner));
  ASSERT_TRUE(wintest::ShowActive(owner.m_hWnd));
  for (bool quiet : {true, false}) {
    Page page;
    page.quiet = quiet;
    ASSERT_TRUE(page.Create(kPage, &owner));
    EXPECT_FALSE(win::WidgetOf(page.m_hWnd)->isWindow());
    EXPECT_EQ(GetParent(page.m_hWnd), owner.m_hWnd);
    EXPECT_EQ(win::FindControl(owner.m_hWnd, 200), GetDlgItem(page.m_hWnd, 200));
    EXPECT_EQ(win::ChildWindows(owner.m_hWnd), std::vector<HWND>{page.m_hWnd});
    page.ShowWindow(SW_SHOW);
    QWidget* edit = win::WidgetOf(GetDlgItem(page.m_hWnd, 200));
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Return);
    QTest::keyClick(edit, Qt::Key_Escape);
    EXPECT_EQ(page.IsWindowVisible(), quiet ? TRUE : FALSE) << "quiet " << quiet;
    EXPECT_TRUE(owner.IsWindowVisible());
  }
}

TEST_F(WinDialogTest, ClosingAModelessWindowOnlyHidesIt) {
  CDialog dialog(kOwner);
  ASSERT_TRUE(dialog.Create(kOwner));
  ASSERT_TRUE(wintest::ShowActive(dialog.m_hWnd));
  win::WidgetOf(dialog.m_hWnd)->close();
  EXPECT_TRUE(IsWindow(dialog.m_hWnd));
  EXPECT_FALSE(dialog.IsWindowVisible());
}

}  // namespace

namespace {

// A window centred on an owner smaller than itself, near the screen's corner, stays inside
// the work area; one centred on an owner in the middle of the screen is centred exactly.
TEST_F(WinDialogTest, CentredWindowStaysInsideTheWorkArea) {
  const QRect work = QGuiApplication::primaryScreen()->availableGeometry();
  QWidget owner;
  owner.setGeometry(work.left() + 10, work.top() + 10, 60, 40);
  owner.show();
  CDialog dialog(kOwner);
  ASSERT_TRUE(dialog.Create(kOwner, CWnd::FromHandle(win::WrapWidget(&owner))));
  dialog.ShowWindow(SW_SHOWNORMAL);
  win::ProcessPendingMessages();
  const QRect placed = win::WidgetOf(dialog.m_hWnd)->frameGeometry();
  EXPECT_GE(placed.left(), work.left());
  EXPECT_GE(placed.top(), work.top());
  EXPECT_LE(placed.right(), work.right());
  EXPECT_LE(placed.bottom(), work.bottom());
  dialog.DestroyWindow();

  owner.setGeometry(work.center().x() - 150, work.center().y() - 100, 300, 200);
  CDialog middle(kOwner);
  ASSERT_TRUE(middle.Create(kOwner, CWnd::FromHandle(win::WrapWidget(&owner))));
  middle.ShowWindow(SW_SHOWNORMAL);
  win::ProcessPendingMessages();
  const QRect centred = win::WidgetOf(middle.m_hWnd)->frameGeometry();
  EXPECT_LE(std::abs(centred.center().x() - owner.frameGeometry().center().x()), 1);
  EXPECT_LE(std::abs(centred.center().y() - owner.frameGeometry().center().y()), 1);
  middle.DestroyWindow();
}

}  // namespace
