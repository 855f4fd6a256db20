// controls_test.cpp: buttons, check boxes, combo boxes, tabs, edits and owner-drawn
// frames, driven by real clicks and keys; notifications reach the parent with their
// codes, and only for what the user did.
#include "win_fixture.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabBar>

#include "platform/win/button.h"
#include "platform/win/combobox.h"
#include "platform/win/dc.h"
#include "platform/win/edit.h"
#include "platform/win/static.h"
#include "platform/win/tabctrl.h"

namespace {

using wintest::kChildStyle;
using wintest::kPopupStyle;

constexpr UINT kControls = 9301;

enum : int {
  kPush = 10, kCheck, kDisabled, kGroup, kList, kEditCombo, kSorted, kTab, kCentred, kReadOnly, kMultiLine, kFrame
};

class ControlsDialog : public wintest::RecordingDialog {
 public:
  ControlsDialog() : RecordingDialog(kControls) {}
  CComboBox list, editable, sorted;
  CTabCtrl tab;
  CButton check;
  UINT checkStateAtClick = 99;
  std::vector<DRAWITEMSTRUCT> draws;
  bool drawRed = true;
  void DoDataExchange(CDataExchange* dx) override {
    DDX_Control(dx, kList, list);
    DDX_Control(dx, kEditCombo, editable);
    DDX_Control(dx, kSorted, sorted);
    DDX_Control(dx, kTab, tab);
    DDX_Control(dx, kCheck, check);
  }
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
    if (LOWORD(wParam) == kCheck) checkStateAtClick = static_cast<UINT>(check.GetCheck());
    return RecordingDialog::OnCommand(wParam, lParam);
  }
  void OnDrawItem(int id, LPDRAWITEMSTRUCT item) override {
    if (id != kFrame) return CDialog::OnDrawItem(id, item);
    draws.push_back(*item);
    if (!item->hDC || !drawRed) return;
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    item->hDC->FillRect(&item->rcItem, red);
    DeleteObject(red);
  }
};

class WinControlsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    wintest::Register(
        kControls, kPopupStyle, 300, 200,
        {{win::kButtonClass, kPush, u"Пересчитать", WS_TABSTOP, 0, 7, 7, 70, 16},
         {win::kButtonClass, kCheck, u"Ошибки", BS_AUTOCHECKBOX | WS_TABSTOP, 0, 80, 7, 60, 10},
         {win::kButtonClass, kDisabled, u"Корректировка по температуре", BS_AUTOCHECKBOX | WS_DISABLED, 0, 150, 7, 140, 10},
         {win::kButtonClass, kGroup, u"Округление значений", BS_GROUPBOX, 0, 7, 25, 140, 40},
         {win::kComboBoxClass, kList, nullptr, CBS_DROPDOWNLIST | WS_TABSTOP, 0, 7, 70, 100, 60},
         {win::kComboBoxClass, kEditCombo, nullptr, CBS_DROPDOWN | CBS_SORT | WS_TABSTOP, 0, 110, 70, 100, 60},
         {win::kComboBoxClass, kSorted, nullptr, CBS_DROPDOWNLIST | CBS_SORT, 0, 215, 70, 80, 60},
         {win::kTabControlClass, kTab, nullptr, WS_TABSTOP, 0, 7, 90, 200, 60},
         {win::kEditClass, kCentred, u"3", ES_CENTER | WS_BORDER | WS_TABSTOP, 0, 215, 90, 40, 14},
         {win::kEditClass, kReadOnly, u"только чтение", ES_READONLY | WS_BORDER, 0, 215, 106, 80, 14},
         {win::kEditClass, kMultiLine, nullptr, ES_MULTILINE | ES_READONLY | WS_VSCROLL | WS_BORDER, 0, 7, 155, 140, 40},
         {win::kStaticClass, kFrame, nullptr, SS_LEFT, 0, 160, 155, 60, 40}});
  }
  void SetUp() override {
    ASSERT_TRUE(dialog.Create(kControls));
    ASSERT_TRUE(wintest::ShowActive(dialog.m_hWnd));
  }
  void TearDown() override {
    dialog.DestroyWindow();
    win::ProcessPendingMessages();
  }
  HWND Item(int id) { return GetDlgItem(dialog.m_hWnd, id); }
  ControlsDialog dialog;
};

TEST_F(WinControlsTest, ClicksSendBnClickedAfterTheCheckBoxToggled) {
  wintest::Click(wintest::Centre(Item(kPush)));
  wintest::Click(wintest::Centre(Item(kCheck)));
  wintest::Click(wintest::Centre(Item(kDisabled)));  // disabled: nothing
  wintest::Click(wintest::Centre(Item(kGroup)));     // a frame: nothing
  std::vector<std::pair<int, UINT>> expected{{kPush, BN_CLICKED}, {kCheck, BN_CLICKED}};
  EXPECT_EQ(dialog.commands, expected);
  EXPECT_EQ(dialog.checkStateAtClick, BST_CHECKED);
  EXPECT_FALSE(IsWindowEnabled(Item(kDisabled)));
  win::ClickButton(dialog.m_hWnd, kCheck);  // BM_CLICK from code behaves like the user
  EXPECT_EQ(dialog.check.GetCheck(), BST_UNCHECKED);
  EXPECT_EQ(dialog.commands.size(), 3u);
  dialog.check.SetCheck(BST_CHECKED);  // setting the state is not a click
  EXPECT_EQ(dialog.IsDlgButtonChecked(kCheck), BST_CHECKED);
  EXPECT_EQ(dialog.commands.size(), 3u);
}

TEST_F(WinControlsTest, ComboBoxKeepsItemDataAndReportsOnlyUserChoices) {
  CComboBox& list = dialog.list;
  EXPECT_EQ(list.GetCurSel(), CB_ERR);  // a new list has no selection
  for (int i = 0; i < 3; ++i) {
    int index = list.AddString(i == 0 ? u"Все" : i == 1 ? u"Смесь 1" : u"Смесь 2");
    list.SetItemData(index, static_cast<DWORD_PTR>(1000 + i));
  }
  EXPECT_EQ(list.GetCurSel(), CB_ERR);
  EXPECT_EQ(list.SetCurSel(0), 0);
  EXPECT_EQ(list.SetCurSel(7), CB_ERR);
  list.SetCurSel(0);
  EXPECT_TRUE(dialog.commands.empty());
  QWidget* box = win::WidgetOf(list.m_hWnd);
  box->setFocus();
  QTest::keyClick(box, Qt::Key_Down);
  ASSERT_EQ(dialog.commands.size(), 1u);
  EXPECT_EQ(dialog.commands[0], std::make_pair(static_cast<int>(kList), CBN_SELCHANGE));
  EXPECT_EQ(list.GetCurSel(), 1);
  EXPECT_EQ(list.GetItemData(1), 1001u);
  EXPECT_EQ(list.GetLBText(2), u"Смесь 2");
  EXPECT_EQ(list.GetItemData(5), static_cast<DWORD_PTR>(CB_ERR));
  list.ResetContent();
  EXPECT_EQ(list.GetCount(), 0);
}

TEST_F(WinControlsTest, SortedBoxesInsertInOrderAndTypingLeavesNoSelection) {
  for (const char16_t* name : {u"метан", u"Азот", u"этан", u"Бутан"}) dialog.sorted.AddString(name);
  std::vector<sys::Text> order;
  for (int i = 0; i < dialog.sorted.GetCount(); ++i) order.push_back(dialog.sorted.GetLBText(i));
  EXPECT_EQ(order, (std::vector<sys::Text>{u"Азот", u"Бутан", u"метан", u"этан"}));

  CComboBox& editable = dialog.editable;
  editable.AddString(u"Все");
  editable.SetCurSel(0);
  QLineEdit* field = static_cast<QComboBox*>(win::WidgetOf(editable.m_hWnd))->lineEdit();
  field->setFocus();
  wintest::Type(field, QStringLiteral("Смесь"));
  EXPECT_EQ(editable.GetCurSel(), CB_ERR);
  EXPECT_EQ(editable.GetWindowText(), u"ВсеСмесь");
  ASSERT_FALSE(dialog.commands.empty());
  EXPECT_EQ(dialog.commands.back(), std::make_pair(static_cast<int>(kEditCombo), CBN_EDITCHANGE));
}

TEST_F(WinControlsTest, TabClickSendsSelChangeButSetCurSelDoesNot) {
  CTabCtrl& tab = dialog.tab;
  EXPECT_EQ(tab.InsertItem(0, u"Хроматограммы"), 0);
  EXPECT_EQ(tab.InsertItem(1, u"Смеси"), 1);
  EXPECT_EQ(tab.GetCurSel(), 0);
  EXPECT_EQ(tab.SetCurSel(1), 0);
  EXPECT_EQ(tab.SetCurSel(0), 1);
  EXPECT_TRUE(dialog.NotesWith(TCN_SELCHANGE).empty());
  auto* bar = win::WidgetOf(tab.m_hWnd)->findChild<QTabBar*>();
  ASSERT_NE(bar, nullptr);
  QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(1).center());
  auto changes = dialog.NotesWith(TCN_SELCHANGE);
  ASSERT_EQ(changes.size(), 1u);
  EXPECT_EQ(changes[0].id, kTab);
  EXPECT_EQ(tab.GetCurSel(), 1);
  TCITEMW item{TCIF_TEXT, 0, 0, nullptr, 0, 0, 0};
  char16_t text[32];
  item.pszText = text;
  item.cchTextMax = 32;
  ASSERT_TRUE(tab.GetItem(1, &item));
  EXPECT_EQ(sys::Text(text), u"Смеси");
  // A page placed in the tab's client rectangle below the strip is not covered by it.
  CWnd page;
  ASSERT_TRUE(page.Create(nullptr, nullptr, WS_VISIBLE, CRect(2, 22, 100, 60), &tab, 0));
  EXPECT_GE(win::WidgetOf(page.m_hWnd)->geometry().top(), bar->geometry().bottom());
}

TEST_F(WinControlsTest, EditsAlignRefuseTypingWhenReadOnlyAndKeepLineBreaks) {
  auto* centred = static_cast<QLineEdit*>(win::WidgetOf(Item(kCentred)));
  EXPECT_TRUE(centred->alignment() & Qt::AlignHCenter);
  auto* readOnly = static_cast<QLineEdit*>(win::WidgetOf(Item(kReadOnly)));
  readOnly->setFocus();
  wintest::Type(readOnly, QStringLiteral("abc"));
  EXPECT_EQ(GetWindowText(Item(kReadOnly)), u"только чтение");
  SetWindowText(Item(kMultiLine), u"1.  Ошибка! \r\n\tтекст\r\n");
  EXPECT_EQ(GetWindowText(Item(kMultiLine)), u"1.  Ошибка! \r\n\tтекст\r\n");
  auto* multi = static_cast<QPlainTextEdit*>(win::WidgetOf(Item(kMultiLine)));
  EXPECT_EQ(multi->toPlainText().count(QLatin1Char('\n')), 2);
  EXPECT_EQ(multi->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  centred->setFocus();
  QTest::keyClick(centred, Qt::Key_End);
  wintest::Type(centred, QStringLiteral("5"));
  EXPECT_EQ(GetWindowText(Item(kCentred)), u"35");
  auto changes = dialog.commands;
  EXPECT_EQ(std::count(changes.begin(), changes.end(), std::make_pair(static_cast<int>(kCentred), EN_CHANGE)), 1);
  EXPECT_EQ(std::count(changes.begin(), changes.end(), std::make_pair(static_cast<int>(kMultiLine), EN_CHANGE)), 0);
}

TEST_F(WinControlsTest, OwnerDrawnFrameAsksItsParentToDrawWithADeviceContext) {
  CStatic* frame = static_cast<CStatic*>(CWnd::FromHandle(Item(kFrame)));
  win::WidgetOf(frame->m_hWnd)->grab();
  EXPECT_TRUE(dialog.draws.empty());  // a label until told otherwise
  frame->ModifyStyle(SS_TYPEMASK, SS_OWNERDRAW);
  QImage picture = win::WidgetOf(frame->m_hWnd)->grab().toImage();
  ASSERT_FALSE(dialog.draws.empty());
  const DRAWITEMSTRUCT& item = dialog.draws.back();
  RECT client{};
  frame->GetClientRect(&client);
  EXPECT_EQ(item.CtlType, ODT_STATIC);
  EXPECT_EQ(item.CtlID, static_cast<UINT>(kFrame));
  EXPECT_EQ(item.hwndItem, frame->m_hWnd);
  EXPECT_EQ(item.rcItem.right - item.rcItem.left, client.right);
  EXPECT_EQ(item.rcItem.bottom - item.rcItem.top, client.bottom);
  EXPECT_NE(item.hDC, nullptr);
  QColor centre = picture.pixelColor(picture.width() / 2, picture.height() / 2);
  EXPECT_EQ(centre, QColor(255, 0, 0));
}

// A control object that takes its own notification: the parent never hears of it.
class SelfHandlingButton : public CButton {
 public:
  int clicks = 0;
  BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM, LRESULT* result) override {
    if (message != WM_COMMAND || HIWORD(wParam) != BN_CLICKED) return FALSE;
    ++clicks;
    *result = 0;
    return TRUE;
  }
};

TEST_F(WinControlsTest, ReflectedNotificationConsumedByTheControlNeverReachesTheParent) {
  SelfHandlingButton button;
  ASSERT_TRUE(button.SubclassDlgItem(kPush, &dialog));
  wintest::Click(wintest::Centre(button.m_hWnd));
  EXPECT_EQ(button.clicks, 1);
  EXPECT_TRUE(dialog.commands.empty());
  button.Detach();
  wintest::Click(wintest::Centre(Item(kPush)));
  EXPECT_EQ(dialog.commands.size(), 1u);
}

}  // namespace
