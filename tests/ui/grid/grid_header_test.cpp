// grid_header_test.cpp: the grid's header protocol through real mouse input: header
// clicks as GCN_SORT with the direction, divider drags as GCN_BEGINRESIZE /
// GCN_COLUMNRESIZED (refusable; never for a hidden, zero-width column), and header drops
// as GCN_COLUMNMOVED (cancellable).
#include "grid_fixture.h"

namespace gridtest {
namespace {

TEST_F(GridTest, ClicksOnOneHeaderSortAscendingThenDescending) {
  Fill(3);
  ClickHeader(1);
  ClickHeader(1);
  ClickHeader(1);
  ClickHeader(2);
  auto sorts = dialog.GridNotesWith(GCN_SORT);
  ASSERT_EQ(sorts.size(), 4u);
  std::vector<std::pair<int, int>> seen;
  for (const GridNote& n : sorts) seen.emplace_back(n.first, n.second);
  EXPECT_EQ(seen, (std::vector<std::pair<int, int>>{{1, 1}, {1, 0}, {1, 1}, {2, 1}}));
  EXPECT_EQ(dialog.grid.GetSortColumn(), 2);
  EXPECT_EQ(dialog.grid.GetSortDirection(), 1);
  EXPECT_TRUE(dialog.NotesWith(LVN_COLUMNCLICK).empty());
  EXPECT_EQ(dialog.grid.GetItemText(0, 0), u"1");  // nothing is sorted

  dialog.grid.ModifyStyle(0, LVS_NOSORTHEADER);
  ClickHeader(2);
  EXPECT_EQ(dialog.GridNotesWith(GCN_SORT).size(), 4u);
}

TEST_F(GridTest, DividerDragsAreReportedAndCanBeRefused) {
  int before = dialog.grid.GetColumnWidth(1);
  DragDivider(1, 30);
  auto begins = dialog.GridNotesWith(GCN_BEGINRESIZE);
  auto ends = dialog.GridNotesWith(GCN_COLUMNRESIZED);
  ASSERT_EQ(begins.size(), 1u);
  ASSERT_EQ(ends.size(), 1u);
  EXPECT_EQ(begins[0].first, 1);
  EXPECT_EQ(begins[0].second, 0);
  EXPECT_EQ(ends[0].first, 1);
  EXPECT_EQ(ends[0].second, before + 30);
  EXPECT_EQ(dialog.grid.GetColumnWidth(1), before + 30);
  EXPECT_TRUE(dialog.NotesWith(HDN_BEGINTRACKW).empty());  // answered by the grid

  dialog.answers[GCN_BEGINRESIZE] = 1;
  DragDivider(1, 20);
  EXPECT_EQ(dialog.grid.GetColumnWidth(1), before + 30);
  EXPECT_EQ(dialog.GridNotesWith(GCN_BEGINRESIZE).size(), 2u);
  EXPECT_EQ(dialog.GridNotesWith(GCN_COLUMNRESIZED).size(), 1u);
}

TEST_F(GridTest, ZeroWidthColumnCannotBeResizedNorReportsAResize) {
  int first = dialog.grid.GetColumnWidth(0);
  dialog.grid.SetColumnWidth(1, 0);
  DragDivider(0, 25);  // column 1's divider lies on column 0's and takes the drag
  EXPECT_EQ(dialog.grid.GetColumnWidth(1), 0);
  EXPECT_EQ(dialog.grid.GetColumnWidth(0), first);
  EXPECT_TRUE(dialog.GridNotesWith(GCN_BEGINRESIZE).empty());
  EXPECT_TRUE(dialog.GridNotesWith(GCN_COLUMNRESIZED).empty());
}

TEST_F(GridTest, HeaderDropIsReportedAndAnAnswerOfOneCancelsIt) {
  CGridCtrl& g = dialog.grid;
  g.SetExtendedStyle(g.GetExtendedStyle() | LVS_EX_HEADERDRAGDROP);
  QHeaderView* header = Header();
  auto dragColumn2ToFront = [&] { wintest::DragHeaderSection(header, 2, 0); };
  int order[3] = {};
  dialog.answers[GCN_COLUMNMOVED] = 1;
  dragColumn2ToFront();
  auto moves = dialog.GridNotesWith(GCN_COLUMNMOVED);
  ASSERT_EQ(moves.size(), 1u);
  EXPECT_EQ(moves[0].first, 2);
  EXPECT_LT(moves[0].second, 2);
  g.GetColumnOrderArray(order, 3);
  EXPECT_EQ(std::vector<int>(order, order + 3), (std::vector<int>{0, 1, 2}));

  dialog.answers[GCN_COLUMNMOVED] = 0;
  dragColumn2ToFront();
  moves = dialog.GridNotesWith(GCN_COLUMNMOVED);
  ASSERT_EQ(moves.size(), 2u);
  g.GetColumnOrderArray(order, 3);
  EXPECT_EQ(order[moves[1].second], 2);
  EXPECT_TRUE(dialog.NotesWith(HDN_ENDDRAG).empty());
}

}  // namespace
}  // namespace gridtest
