// grid_edit_test.cpp: editing a cell in the grid's edit box through real key and mouse
// input: Enter and focus loss commit, Escape cancels, an unchanged text sends nothing, a
// parent answering 0 gets the old text back, the box follows the column's alignment and
// covers the cell, and scrolling ends an open edit.
#include "grid_fixture.h"

#include <QScrollBar>

namespace gridtest {
namespace {

enum class End { Enter, Escape, ClickElsewhere };

TEST_F(GridTest, EnterAndFocusLossCommitEscapeCancels) {
  Fill(3);
  struct Case {
    const char* what;
    QString typed;  // replaces the selected text; empty: type nothing
    End end;
    const char16_t* expected;
    std::size_t changes;
  };
  const Case cases[] = {
      {"Enter commits", QStringLiteral("Этан"), End::Enter, u"Этан", 1},
      {"a click elsewhere commits", QStringLiteral("Пропан"), End::ClickElsewhere, u"Пропан", 1},
      {"Escape cancels", QStringLiteral("Бутан"), End::Escape, u"Метан", 0},
      {"unchanged text sends nothing", QString(), End::Enter, u"Метан", 0},
      {"a change of case is a change", QStringLiteral("метан"), End::Enter, u"метан", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    dialog.grid.SetItemText(1, 1, u"Метан");
    dialog.gridNotes.clear();
    dialog.commands.clear();
    dialog.answers[GCN_CELLCHANGED] = 1;
    QLineEdit* edit = OpenEdit(1, 1);
    ASSERT_NE(edit, nullptr);
    if (!c.typed.isEmpty()) wintest::Type(edit, c.typed);
    switch (c.end) {
      case End::Enter: Key(edit, Qt::Key_Return); break;
      case End::Escape: Key(edit, Qt::Key_Escape); break;
      case End::ClickElsewhere: wintest::Click(wintest::Centre(GetDlgItem(dialog.m_hWnd, kOther))); break;
    }
    win::ProcessPendingMessages();
    EXPECT_EQ(EditBox(), nullptr);
    EXPECT_EQ(dialog.grid.GetItemText(1, 1), c.expected);
    auto changes = dialog.GridNotesWith(GCN_CELLCHANGED);
    ASSERT_EQ(changes.size(), c.changes);
    for (const GridNote& n : changes) {
      EXPECT_EQ(n.first, 1);
      EXPECT_EQ(n.second, 1);
      EXPECT_EQ(n.cellText, c.expected);  // the new text is in the cell when the parent is asked
    }
    EXPECT_TRUE(dialog.commands.empty());  // the dialog saw neither IDOK nor IDCANCEL
    EXPECT_TRUE(dialog.IsWindowVisible());
    if (c.end != End::ClickElsewhere) {
      EXPECT_EQ(GetFocus(), dialog.grid.m_hWnd);
    }
  }
}

TEST_F(GridTest, ParentAnsweringZeroToCellChangedGetsTheOldTextBack) {
  Fill(2);
  dialog.answers[GCN_CELLCHANGED] = 0;
  QLineEdit* edit = OpenEdit(0, 2);
  ASSERT_NE(edit, nullptr);
  wintest::Type(edit, QStringLiteral("abc"));
  Key(edit, Qt::Key_Return);
  auto changes = dialog.GridNotesWith(GCN_CELLCHANGED);
  ASSERT_EQ(changes.size(), 1u);
  EXPECT_EQ(changes[0].cellText, u"abc");
  EXPECT_EQ(dialog.grid.GetItemText(0, 2), u"0,5");
}

TEST_F(GridTest, EditBoxCoversTheCellAndFollowsTheColumnAlignment) {
  Fill(2);
  dialog.grid.InsertColumn(3, u"Справа", LVCFMT_RIGHT, 60);
  struct Case {
    int column;
    DWORD alignment;
  };
  for (Case c : {Case{1, ES_LEFT}, Case{2, ES_CENTER}, Case{3, ES_RIGHT}}) {
    SCOPED_TRACE(c.column);
    ASSERT_NE(OpenEdit(1, c.column), nullptr);
    DWORD style = GetWindowStyle(EditBox());
    EXPECT_EQ(style & (ES_CENTER | ES_RIGHT), c.alignment);
    EXPECT_EQ(style & (WS_BORDER | ES_AUTOHSCROLL), WS_BORDER | ES_AUTOHSCROLL);
    CRect cell;
    dialog.grid.GetSubItemRect(1, c.column, LVIR_LABEL, cell);
    RECT box{};
    GetWindowRect(EditBox(), &box);
    POINT topLeft{box.left, box.top};
    ScreenToClient(dialog.grid.m_hWnd, &topLeft);
    EXPECT_EQ(topLeft.x, cell.left);
    EXPECT_EQ(topLeft.y, cell.top - 2);
    EXPECT_EQ(box.bottom - box.top, cell.Height() + 4);
    EXPECT_EQ(box.right - box.left, cell.Width());
    Key(EditWidget(), Qt::Key_Escape);
  }
}

TEST_F(GridTest, EditingIsRefusedForNegativeOrMissingCells) {
  Fill(2);
  dialog.answers[GCN_BEGINEDIT] = 1;
  EXPECT_EQ(dialog.grid.EditSubItem(-1, 1), nullptr);
  EXPECT_EQ(dialog.grid.EditSubItem(1, -1), nullptr);
  EXPECT_EQ(dialog.grid.EditSubItem(5, 1), nullptr);  // the row cannot be scrolled into view
  EXPECT_TRUE(dialog.GridNotesWith(GCN_BEGINEDIT).empty());
  EXPECT_EQ(EditBox(), nullptr);
}

TEST_F(GridTest, ScrollingTheGridEndsAnOpenEditAndCommitsIt) {
  Fill(60);
  dialog.answers[GCN_CELLCHANGED] = 1;
  QLineEdit* edit = OpenEdit(0, 1);
  ASSERT_NE(edit, nullptr);
  wintest::Type(edit, QStringLiteral("Азот"));
  View()->verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
  win::ProcessPendingMessages();
  EXPECT_EQ(EditBox(), nullptr);
  EXPECT_EQ(GetFocus(), dialog.grid.m_hWnd);
  EXPECT_EQ(dialog.grid.GetItemText(0, 1), u"Азот");
  EXPECT_GT(View()->verticalScrollBar()->value(), 0);
}

TEST_F(GridTest, DeleteAndCtrlKeysEditTheTextInsteadOfReachingTheDialog) {
  Fill(1);
  dialog.answers[GCN_CELLCHANGED] = 1;
  QLineEdit* edit = OpenEdit(0, 1);
  ASSERT_NE(edit, nullptr);
  Key(edit, Qt::Key_Home);
  Key(edit, Qt::Key_Delete);
  EXPECT_EQ(edit->text(), QStringLiteral("етан"));
  Key(edit, Qt::Key_A, Qt::ControlModifier);
  EXPECT_EQ(edit->selectedText(), QStringLiteral("етан"));
  Key(edit, Qt::Key_Return);
  EXPECT_EQ(dialog.grid.GetItemText(0, 1), u"етан");
  EXPECT_TRUE(dialog.commands.empty());
}

}  // namespace
}  // namespace gridtest
