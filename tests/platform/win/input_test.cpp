// input_test.cpp: keys as WM_KEYDOWN / WM_CHAR with pre-translation, focus messages,
// context-menu requests from mouse and keyboard, popup menus with check marks and the
// system menu, all through real Qt events.
#include "win_fixture.h"

#include <QLineEdit>
#include <QTreeView>

#include "platform/win/edit.h"
#include "platform/win/listctrl.h"
#include "platform/win/menu.h"

namespace {

using wintest::kPopupStyle;

constexpr UINT kInput = 9501;
enum : int { kEdit = 10, kOther, kList };

// An edit that keeps digits only, and logs its key and focus messages.
class DigitsEdit : public CEdit {
 public:
  std::vector<UINT> keys, chars;
  std::vector<HWND> killedFor;
  bool translateEnterEscape = false;  // the in-place cell editor's way
  bool destroyOnKillFocus = false;
  bool* gone = nullptr;
  BOOL PreTranslateMessage(MSG* msg) override {
    if (translateEnterEscape && msg->message == WM_KEYDOWN && (msg->wParam == VK_RETURN || msg->wParam == VK_ESCAPE)) {
      TranslateMessage(msg);
      DispatchMessage(msg);
      return TRUE;
    }
    return CEdit::PreTranslateMessage(msg);
  }
  void OnKeyDown(UINT ch, UINT repeat, UINT flags) override {
    keys.push_back(ch);
    CEdit::OnKeyDown(ch, repeat, flags);
  }
  void OnChar(UINT ch, UINT repeat, UINT flags) override {
    chars.push_back(ch);
    if (ch >= u'0' && ch <= u'9') CEdit::OnChar(ch, repeat, flags);
  }
  void OnKillFocus(CWnd* next) override {
    CEdit::OnKillFocus(next);
    killedFor.push_back(next ? next->m_hWnd : nullptr);
    if (destroyOnKillFocus) DestroyWindow();
  }
  void PostNcDestroy() override {
    if (gone) *gone = true;
  }
};

class InputDialog : public wintest::RecordingDialog {
 public:
  InputDialog() : RecordingDialog(kInput) {}
  CListCtrl list;
  int oks = 0;
  std::vector<std::pair<HWND, CPoint>> contextMenus;
  std::vector<UINT> sysCommands;
  void DoDataExchange(CDataExchange* dx) override { DDX_Control(dx, kList, list); }
  void OnOK() override { ++oks; }
  void OnCancel() override {}
  void OnContextMenu(CWnd* wnd, CPoint point) override { contextMenus.emplace_back(wnd ? wnd->m_hWnd : nullptr, point); }
  void OnSysCommand(UINT id, LPARAM lParam) override {
    sysCommands.push_back(id);
    CDialog::OnSysCommand(id, lParam);
  }
};

class WinInputTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    wintest::Register(kInput, kPopupStyle, 200, 120,
                      {{win::kEditClass, kEdit, nullptr, WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 0, 7, 7, 80, 14},
                       {win::kEditClass, kOther, nullptr, WS_BORDER | WS_TABSTOP, 0, 100, 7, 80, 14},
                       {win::kListViewClass, kList, nullptr, LVS_REPORT | WS_BORDER | WS_TABSTOP, 0, 7, 30, 180, 80}});
  }
  void SetUp() override {
    ASSERT_TRUE(dialog.Create(kInput));
    ASSERT_TRUE(edit.SubclassDlgItem(kEdit, &dialog));
    ASSERT_TRUE(wintest::ShowActive(dialog.m_hWnd));
    EditWidget()->setFocus();
  }
  void TearDown() override {
    dialog.DestroyWindow();
    win::ProcessPendingMessages();
  }
  QLineEdit* EditWidget() { return static_cast<QLineEdit*>(win::WidgetOf(edit.m_hWnd)); }
  InputDialog dialog;
  DigitsEdit edit;
};

TEST_F(WinInputTest, TypingArrivesAsKeyDownThenCharAndAHandlerCanKeepCharactersOut) {
  wintest::Type(EditWidget(), QStringLiteral("1a2б"));
  EXPECT_EQ(edit.GetWindowText(), u"12");
  EXPECT_EQ(edit.chars, (std::vector<UINT>{u'1', u'a', u'2', u'б'}));
  EXPECT_EQ(edit.keys.size(), 4u);
  QTest::keyClick(EditWidget(), Qt::Key_Backspace);  // a key that does not type: its own default
  EXPECT_EQ(edit.GetWindowText(), u"1");
  EXPECT_EQ(edit.keys.back(), VK_BACK);
  QTest::keyClick(EditWidget(), Qt::Key_Return);  // unused by the edit: the dialog's Enter
  EXPECT_EQ(dialog.oks, 1);
}

TEST_F(WinInputTest, PreTranslatedKeysBypassTheDialogAndTheirCharsArrivePosted) {
  edit.translateEnterEscape = true;
  QTest::keyClick(EditWidget(), Qt::Key_Return);
  QTest::keyClick(EditWidget(), Qt::Key_Escape);
  EXPECT_EQ(dialog.oks, 0);
  EXPECT_EQ(edit.keys, (std::vector<UINT>{VK_RETURN, VK_ESCAPE}));
  EXPECT_TRUE(edit.chars.empty());  // TranslateMessage posts them
  win::ProcessPendingMessages();
  EXPECT_EQ(edit.chars, (std::vector<UINT>{VK_RETURN, VK_ESCAPE}));
}

TEST_F(WinInputTest, FocusLossNamesTheNewFocusAndTheEditMayDestroyItselfThere) {
  HWND other = GetDlgItem(dialog.m_hWnd, kOther);
  SetFocus(other);
  ASSERT_EQ(edit.killedFor.size(), 1u);
  EXPECT_EQ(edit.killedFor[0], other);
  EXPECT_EQ(GetFocus(), other);

  bool gone = false;
  edit.gone = &gone;
  edit.destroyOnKillFocus = true;
  HWND editHandle = edit.m_hWnd;
  edit.SetFocus();
  wintest::Click(wintest::Centre(other));  // focus leaves by a click, as when a cell edit ends
  EXPECT_TRUE(gone);
  EXPECT_FALSE(IsWindow(editHandle));
  EXPECT_EQ(edit.m_hWnd, nullptr);
  win::ProcessPendingMessages();  // the widget itself goes once its event is over
}

TEST_F(WinInputTest, ContextMenuRequestsFromMouseAndKeyboardReachTheDialog) {
  HWND list = dialog.list.m_hWnd;
  auto* view = static_cast<QTreeView*>(win::WidgetOf(list));
  view->setFocus();
  QTest::keyClick(view, Qt::Key_F10, Qt::ShiftModifier);
  QTest::keyClick(view, Qt::Key_Menu);
  wintest::Target t = wintest::Centre(list);
  QContextMenuEvent mouse(QContextMenuEvent::Mouse, t.point, t.widget->mapToGlobal(t.point));
  QApplication::sendEvent(t.widget, &mouse);
  ASSERT_EQ(dialog.contextMenus.size(), 3u);
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(dialog.contextMenus[i].first, list);
    EXPECT_EQ(dialog.contextMenus[i].second.x, -1);
    EXPECT_EQ(dialog.contextMenus[i].second.y, -1);
  }
  QPoint global = t.widget->mapToGlobal(t.point);
  EXPECT_EQ(dialog.contextMenus[2].first, list);
  EXPECT_EQ(dialog.contextMenus[2].second.x, global.x());
  EXPECT_EQ(dialog.contextMenus[2].second.y, global.y());
}

TEST_F(WinInputTest, PopupMenuShowsItemsWithChecksAndPostsTheChosenCommand) {
  CMenu menu;
  ASSERT_TRUE(menu.CreatePopupMenu());
  menu.AppendMenu(MF_STRING | MF_CHECKED, 4024, u"№");
  menu.AppendMenu(MF_SEPARATOR);
  menu.AppendMenu(MF_STRING | MF_UNCHECKED, 4025, u"Пик");
  menu.CheckMenuItem(4025, MF_CHECKED);
  win::ScopedPopupMenuHook hook(4025u);
  ASSERT_TRUE(menu.TrackPopupMenu(TPM_RIGHTBUTTON, 30, 40, &dialog));
  EXPECT_TRUE(dialog.commands.empty());  // posted, not sent
  win::ProcessPendingMessages();
  ASSERT_EQ(dialog.commands.size(), 1u);
  EXPECT_EQ(dialog.commands[0].first, 4025);
  const win::PopupMenuCall& call = hook.Calls().at(0);
  EXPECT_EQ(call.owner, dialog.m_hWnd);
  EXPECT_EQ(call.x, 30);
  EXPECT_EQ(call.y, 40);
  ASSERT_EQ(call.items.size(), 3u);
  EXPECT_TRUE(call.items[0].checked);
  EXPECT_EQ(call.items[0].text, u"№");
  EXPECT_TRUE(call.items[1].separator);
  EXPECT_TRUE(call.items[2].checked);
  EXPECT_EQ(menu.TrackPopupMenu(TPM_RETURNCMD, 0, 0, &dialog), 4025);
  win::ProcessPendingMessages();
  EXPECT_EQ(dialog.commands.size(), 1u);
}

TEST_F(WinInputTest, SystemMenuItemsArriveAsSysCommands) {
  CMenu* system = dialog.GetSystemMenu(FALSE);
  ASSERT_NE(system, nullptr);
  int standard = system->GetMenuItemCount();
  system->AppendMenu(MF_SEPARATOR);
  system->AppendMenu(MF_STRING, 16, u"Сведения о плагине...");
  EXPECT_EQ(dialog.GetSystemMenu(FALSE)->GetMenuItemCount(), standard + 2);
  win::ScopedPopupMenuHook hook([](const win::PopupMenuCall& call) { return call.items.back().id; });
  QTest::keyClick(win::WidgetOf(dialog.m_hWnd), Qt::Key_Space, Qt::AltModifier);
  win::ProcessPendingMessages();
  ASSERT_EQ(hook.Calls().size(), 1u);
  EXPECT_TRUE(hook.Calls()[0].systemMenu);
  EXPECT_EQ(hook.Calls()[0].items.back().text, u"Сведения о плагине...");
  EXPECT_EQ(dialog.sysCommands, std::vector<UINT>{16});
  dialog.SendMessage(WM_SYSCOMMAND, SC_CLOSE);  // the standard commands keep their meaning
  EXPECT_EQ(dialog.commands.back(), std::make_pair(static_cast<int>(IDCANCEL), BN_CLICKED));
}

}  // namespace
