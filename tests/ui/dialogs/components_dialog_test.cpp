// The components dialog on real widgets: which cells open an edit box, what OK writes
// into the component list and the profile, and what Cancel leaves alone.
#include <functional>
#include <optional>

#include "plugin/component_store.h"
#include "tests/ui/dialogs/dialog_fixture.h"

namespace dialogs {
namespace {

class ComponentsDialogTest : public DialogTest {
 protected:
  // The module's list as a freshly opened main window has it (the host's profile is empty).
  void SetUp() override {
    DialogTest::SetUp();
    ResetComponentList();
    BuildDefaultComponents();
    LoadComponentNames();
  }
  void TearDown() override {
    ResetComponentList();
    DialogTest::TearDown();
  }

  // Runs the dialog; `user` acts inside it and returns the button to press.
  INT_PTR RunDialog(const std::function<int(HWND dialog, CGridCtrl& grid)>& user) {
    win::ScopedModalDialogHook hook([&](HWND dialog, UINT templateId) {
      ASSERT_EQ(templateId, kComponentsTemplate);
      const int button = user(dialog, dlg.table);
      win::ClickButton(dialog, button);
    });
    return dlg.DoModal();
  }

  // Double-clicks cell (row, column) as the user does; when an edit box opens, types
  // `text` over the selected old text and presses Enter. False when no edit box opened.
  static bool EditCell(CGridCtrl& grid, int row, int column, const char16_t* text) {
    CRect cell;
    grid.GetSubItemRect(row, column, LVIR_LABEL, cell);
    wintest::DoubleClick(wintest::At(grid.m_hWnd, (cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2));
    win::ProcessPendingMessages();
    HWND edit = win::FindControl(grid.m_hWnd, static_cast<int>(kGridEditCellId));
    if (!edit) return false;
    QWidget* box = win::WidgetOf(edit);
    wintest::Type(box, QString::fromStdU16String(text));
    QTest::keyClick(box, Qt::Key_Return);
    win::ProcessPendingMessages();
    return true;
  }

  std::size_t StoredStrings() const { return host.strings.size(); }

  DlgComponents dlg;
};

TEST_F(ComponentsDialogTest, ShowsEveryEntryAndRefusesEditsOfNumbersAndDefaultNames) {
  ComponentList()[3].altName = u"i-C4H10";
  bool editedName = true, editedNumber = true;
  std::vector<std::vector<sys::Text>> shown;
  RunDialog([&](HWND, CGridCtrl& grid) {
    shown = Cells(grid, 3);
    editedName = EditCell(grid, 0, 1, u"Метан-2");
    editedNumber = EditCell(grid, 18, 0, u"7");
    return 1036;
  });
  ASSERT_EQ(shown.size(), 19u);
  EXPECT_EQ(shown[0], (std::vector<sys::Text>{u"1", u"Метан", u"Метан"}));
  EXPECT_EQ(shown[3], (std::vector<sys::Text>{u"4", u"Изобутан", u"i-C4H10"}));
  EXPECT_EQ(shown[18][0], u"19");
  EXPECT_FALSE(editedName);
  EXPECT_FALSE(editedNumber);
  EXPECT_EQ(ComponentList()[0].name, u"Метан");
}

TEST_F(ComponentsDialogTest, OkWritesOnlyTheEditedRowsWithTheirLastText) {
  const INT_PTR result = RunDialog([&](HWND, CGridCtrl& grid) {
    EXPECT_TRUE(EditCell(grid, 1, 2, u"C2"));
    EXPECT_TRUE(EditCell(grid, 1, 2, u"C2H6"));  // the same cell again: the last text counts
    EXPECT_TRUE(EditCell(grid, 17, 2, u"N2"));
    EXPECT_EQ(grid.GetItemText(1, 2), u"C2H6");
    return 1035;
  });
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(ComponentList()[1].altName, u"C2H6");
  EXPECT_EQ(ComponentList()[1].name, u"Этан");
  EXPECT_EQ(ComponentList()[17].altName, u"N2");
  EXPECT_EQ(host.ints[Key(kComponentsSection, u"qtyComps")], 19);
  EXPECT_EQ(host.strings, (std::map<sys::Text, sys::Text>{{Key(kComponentsSection, u"1_altName"), u"C2H6"},
                                                          {Key(kComponentsSection, u"17_altName"), u"N2"}}));

  // The stored names come back into a freshly built list, as at the next module start.
  ResetComponentList();
  BuildDefaultComponents();
  LoadComponentNames();
  EXPECT_EQ(ComponentList()[1].altName, u"C2H6");
  EXPECT_EQ(FindComponent(ComponentList(), u"n2"), &ComponentList()[17]);
}

TEST_F(ComponentsDialogTest, CancelKeepsListAndProfileAndTheNextOpeningShowsStoredNames) {
  const INT_PTR cancelled = RunDialog([&](HWND, CGridCtrl& grid) {
    EXPECT_TRUE(EditCell(grid, 2, 2, u"C3"));
    return 1036;
  });
  EXPECT_EQ(cancelled, IDCANCEL);
  EXPECT_EQ(ComponentList()[2].altName, u"Пропан");
  EXPECT_EQ(StoredStrings(), 0u);
  EXPECT_TRUE(host.ints.empty());

  sys::Text reopened;
  RunDialog([&](HWND, CGridCtrl& grid) {
    reopened = grid.GetItemText(2, 2);
    return 1035;
  });
  EXPECT_EQ(reopened, u"Пропан");
  EXPECT_EQ(StoredStrings(), 0u);  // OK without edits writes only the count
  EXPECT_EQ(host.ints[Key(kComponentsSection, u"qtyComps")], 19);
}

TEST_F(ComponentsDialogTest, WithoutProfileCommandsOkStillChangesTheEntries) {
  host.missing = {"Profile/SetInt", "Profile/SetString"};
  RunDialog([&](HWND, CGridCtrl& grid) {
    EXPECT_TRUE(EditCell(grid, 4, 2, u"n-C4"));
    return 1035;
  });
  EXPECT_EQ(ComponentList()[4].altName, u"n-C4");
  EXPECT_TRUE(host.strings.empty());
}

}  // namespace
}  // namespace dialogs
