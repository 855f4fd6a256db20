// The chromatogram list page: adding through the host's dialog, the list's order and
// columns, removing with the mixture usage counts, the filter, the saved list, opening in
// the host, the chromatogram information table and database failures.
#include <QComboBox>
#include <QLineEdit>

#include "tests/ui/pages/pages_fixture.h"

#include "platform/win/automation.h"

namespace pagestest {
namespace {

using Rows = std::vector<std::vector<sys::Text>>;

class AssayListTest : public PagesTest {};

TEST_F(AssayListTest, AddedChromatogramsAreSortedShownAndAnnounced) {
  const CListCtrl& list = Assays().List();
  ASSERT_EQ(list.GetHeaderCtrl()->GetItemCount(), 4);
  const std::pair<const char16_t*, int> columns[] = {{u"№", 40}, {u"Проба", 350}, {u"Время анализа", 130}, {u"Смесь", 250}};
  for (int c = 0; c < 4; ++c) {
    char16_t text[64] = {};
    HDITEMW item{HDI_TEXT, 0, text, nullptr, 64, 0, 0, 0, 0};
    list.GetHeaderCtrl()->GetItem(c, &item);
    EXPECT_EQ(sys::Text(text), columns[c].first);
    EXPECT_EQ(list.GetColumnWidth(c), columns[c].second);
  }
  EXPECT_EQ(list.GetExtendedStyle(), LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
  ASSERT_EQ(Assays().Filter().GetCount(), 1);
  EXPECT_EQ(Assays().Filter().GetLBText(0), u"Все");
  EXPECT_EQ(static_cast<std::int32_t>(Assays().Filter().GetItemData(0)), -1);

  AddThroughHost({1, 2, 99, 3, 5, 4});  // 99 does not exist, 5 is hidden
  EXPECT_EQ(main.assaysChanged, 0) << "posted, not sent";
  EXPECT_EQ(TakeAssaysChanged(), 1);
  EXPECT_EQ(LoadedIds(), (std::vector<std::int32_t>{4, 3, 2, 1})) << "no mixture first, then mixture id, then time";
  EXPECT_EQ(AllRows(list), (Rows{{u"1", u"проба 4", u"----", u"---"},
                                 {u"2", u"проба 3", u"15.11.2023  01:15", u"Смесь-1"},
                                 {u"3", u"проба 2", u"15.11.2023  01:16", u"Смесь-1"},
                                 {u"4", u"проба 1", u"15.11.2023  01:18", u"Смесь-2"}}));
  for (int row = 0; row < 4; ++row) EXPECT_EQ(static_cast<std::int32_t>(list.GetItemData(row)), 4 - row);
  EXPECT_EQ(MixtureIds(), (std::vector<std::int32_t>{2, 1})) << "in order of first use";
  ASSERT_EQ(Assays().MixtureUsage().size(), 2u);
  EXPECT_EQ(Assays().MixtureUsage()[1].mixtureId, 1);
  EXPECT_EQ(Assays().MixtureUsage()[1].count, 2);

  AddThroughHost({2});
  EXPECT_EQ(TakeAssaysChanged(), 1) << "an already listed chromatogram still announces a change";
  EXPECT_EQ(Loaded().assays.size(), 4u);
  EXPECT_EQ(Assays().MixtureUsage()[1].count, 2);
}

TEST_F(AssayListTest, HostDialogAnswersThatAddNothing) {
  struct Case {
    const char* what;
    std::vector<std::int32_t> chosen;
    std::optional<std::int32_t> answer;
  };
  const Case cases[] = {{"nothing chosen", {}, std::nullopt},
                        {"257 identifiers", std::vector<std::int32_t>(256, 1), 257},
                        {"a negative count", {1}, -3},
                        {"only unknown and hidden ids", {99, 5}, std::nullopt}};
  for (const Case& c : cases) {
    host.chooserAnswer = c.answer;
    AddThroughHost(c.chosen);
    EXPECT_TRUE(Loaded().assays.empty()) << c.what;
    EXPECT_EQ(TakeAssaysChanged(), 0) << c.what;
  }
  host.chooserAnswer.reset();
  host.missing.insert("Main/OpenAssayIdDlgEx");
  host.calls.clear();
  AddThroughHost({1});
  EXPECT_TRUE(Loaded().assays.empty());
  for (const auto& call : host.calls) EXPECT_NE(call.command, "Main/OpenAssayIdDlgEx");
}

TEST_F(AssayListTest, RemovingReleasesMixturesOnTheirLastUse) {
  AddThroughHost({1, 2, 3});
  TakeAssaysChanged();
  ASSERT_EQ(LoadedIds(), (std::vector<std::int32_t>{3, 2, 1}));

  ASSERT_TRUE(win::ClickButton(Assays().m_hWnd, IDC_ASSAY_REMOVE));
  EXPECT_EQ(TakeAssaysChanged(), 0) << "nothing selected: nothing changes";
  EXPECT_EQ(Loaded().assays.size(), 3u);

  ClickRow(Assays().List(), 0);  // chromatogram 3 of Смесь-1
  ASSERT_TRUE(win::ClickButton(Assays().m_hWnd, IDC_ASSAY_REMOVE));
  EXPECT_EQ(TakeAssaysChanged(), 1);
  EXPECT_EQ(LoadedIds(), (std::vector<std::int32_t>{2, 1}));
  EXPECT_EQ(MixtureIds(), (std::vector<std::int32_t>{2, 1})) << "chromatogram 2 still uses Смесь-1";
  EXPECT_EQ(Assays().List().GetItemCount(), 2);

  ClickRow(Assays().List(), 0);
  ClickRow(Assays().List(), 1, Qt::ControlModifier);
  ASSERT_TRUE(win::ClickButton(Assays().m_hWnd, IDC_ASSAY_REMOVE));
  EXPECT_EQ(TakeAssaysChanged(), 1);
  EXPECT_TRUE(Loaded().assays.empty());
  EXPECT_TRUE(Loaded().mixtures.empty());
  EXPECT_TRUE(Assays().MixtureUsage().empty());
}

TEST_F(AssayListTest, RemoveAllEmptiesEveryListAndBothInformationTables) {
  AddThroughHost({1, 2, 3, 4});
  TakeAssaysChanged();
  ClickRow(Assays().List(), 3);  // chromatogram 1: fills the chromatogram information table
  ASSERT_GT(ChromatogramInfo().GetItemCount(), 0);
  Mixtures().ShowMixtures();
  Mixtures().ShowMixtureInfo(1);
  ASSERT_GT(MixtureInfo().GetItemCount(), 0);

  ASSERT_TRUE(win::ClickButton(Assays().m_hWnd, IDC_ASSAY_REMOVE_ALL));
  EXPECT_EQ(TakeAssaysChanged(), 1);
  EXPECT_TRUE(Loaded().assays.empty());
  EXPECT_TRUE(Loaded().mixtures.empty());
  EXPECT_TRUE(Assays().MixtureUsage().empty());
  EXPECT_EQ(Assays().List().GetItemCount(), 0);
  EXPECT_EQ(ChromatogramInfo().GetItemCount(), 0);
  EXPECT_EQ(MixtureInfo().GetItemCount(), 0);
  EXPECT_EQ(Mixtures().Table().GetItemCount(), 0);

  AddThroughHost({2});
  ASSERT_EQ(Assays().MixtureUsage().size(), 1u);
  EXPECT_EQ(Assays().MixtureUsage()[0].count, 1) << "uses are counted from 1 again";
}

// The filter holds "Все" and the loaded mixtures after every change of the list; a chosen
// mixture narrows the list and "Удалить все" to it; typed text chooses the entry it names
// or none, and none shows and removes like "Все".
TEST_F(AssayListTest, FilterOffersTheLoadedMixturesAndRemoveAllTakesWhatItShows) {
  AddThroughHost({1, 2, 3, 4});
  TakeAssaysChanged();
  CComboBox& filter = Assays().Filter();
  using Entries = std::vector<std::pair<sys::Text, std::int32_t>>;
  auto entries = [&] {
    Entries all;
    for (int i = 0; i < filter.GetCount(); ++i)
      all.emplace_back(filter.GetLBText(i), static_cast<std::int32_t>(filter.GetItemData(i)));
    return all;
  };
  auto chosen = [&] { return filter.GetCurSel() == CB_ERR ? sys::Text(u"(none)") : filter.GetLBText(filter.GetCurSel()); };
  auto selectFilter = [&](const char16_t* text) {
    filter.SetCurSel(filter.FindStringExact(-1, text));
    ::SendMessage(Assays().m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_ASSAY_FILTER, CBN_SELCHANGE),
                  reinterpret_cast<LPARAM>(filter.m_hWnd));
  };
  auto type = [&](const QString& text) {
    auto* combo = qobject_cast<QComboBox*>(win::WidgetOf(filter.m_hWnd));
    ASSERT_TRUE(combo && combo->lineEdit());
    combo->lineEdit()->clear();
    wintest::Type(combo->lineEdit(), text);
    win::ProcessPendingMessages();
  };
  EXPECT_EQ(entries(), (Entries{{u"Все", -1}, {u"Смесь-1", 1}, {u"Смесь-2", 2}}));
  EXPECT_EQ(chosen(), u"Все");

  selectFilter(u"Смесь-1");
  EXPECT_EQ(AllRows(Assays().List()), (Rows{{u"1", u"проба 3", u"15.11.2023  01:15", u"Смесь-1"},
                                            {u"2", u"проба 2", u"15.11.2023  01:16", u"Смесь-1"}}));
  EXPECT_EQ(TakeAssaysChanged(), 0) << "a filter change announces nothing";

  type(QStringLiteral("смесь-2"));
  EXPECT_EQ(chosen(), u"Смесь-2") << "typed text chooses the entry it names";
  EXPECT_EQ(AllRows(Assays().List()), (Rows{{u"1", u"проба 1", u"15.11.2023  01:18", u"Смесь-2"}}));
  type(QStringLiteral("Смесь-9"));
  EXPECT_EQ(chosen(), u"(none)");
  EXPECT_EQ(Assays().List().GetItemCount(), 4) << "no entry: every chromatogram";

  selectFilter(u"Смесь-1");
  {  // Recalculate's reload within one handler: the filter stays
    const std::vector<std::int32_t> ids = Assays().ListedIds();
    Assays().Remove(true);
    Assays().LoadIds(ids);
    Assays().AssaysChanged();
    win::ProcessPendingMessages();
    TakeAssaysChanged();
    EXPECT_EQ(chosen(), u"Смесь-1");
    EXPECT_EQ(Assays().List().GetItemCount(), 2);
  }
  ASSERT_TRUE(win::ClickButton(Assays().m_hWnd, IDC_ASSAY_REMOVE_ALL));
  EXPECT_EQ(TakeAssaysChanged(), 1);
  EXPECT_EQ(LoadedIds(), (std::vector<std::int32_t>{4, 1}));
  EXPECT_EQ(MixtureIds(), (std::vector<std::int32_t>{2}));
  EXPECT_EQ(entries(), (Entries{{u"Все", -1}, {u"Смесь-2", 2}})) << "a mixture that left the list left the filter";
  EXPECT_EQ(chosen(), u"Все");
  win::ProcessPendingMessages();
  AddThroughHost({3});
  TakeAssaysChanged();
  EXPECT_EQ(chosen(), u"Все") << "a mixture gone for good is forgotten";
  EXPECT_EQ(Assays().List().GetItemCount(), 3);

  type(QStringLiteral("нет такой"));
  ASSERT_TRUE(win::ClickButton(Assays().m_hWnd, IDC_ASSAY_REMOVE_ALL));
  EXPECT_EQ(TakeAssaysChanged(), 1);
  EXPECT_TRUE(Loaded().assays.empty()) << "text naming no entry removes what it shows: everything";
  EXPECT_EQ(entries(), (Entries{{u"Все", -1}}));
}

TEST_F(AssayListTest, TheListGoesToTheProfileAndComesBackSorted) {
  AddThroughHost({1, 3, 4});
  TakeAssaysChanged();
  StoreInt(u"Assays", u"3_Assay_ID", 77);  // left over from a longer list
  Assays().SaveList();
  EXPECT_EQ(StoredInt(u"Assays", u"qtyAssays"), 3);
  EXPECT_EQ(StoredInt(u"Assays", u"0_Assay_ID"), 4);
  EXPECT_EQ(StoredInt(u"Assays", u"1_Assay_ID"), 3);
  EXPECT_EQ(StoredInt(u"Assays", u"2_Assay_ID"), 1);
  EXPECT_EQ(StoredInt(u"Assays", u"3_Assay_ID"), 77) << "left-over keys stay";

  ASSERT_TRUE(win::ClickButton(Assays().m_hWnd, IDC_ASSAY_REMOVE_ALL));
  TakeAssaysChanged();
  StoreInt(u"Assays", u"qtyAssays", 4);
  StoreInt(u"Assays", u"1_Assay_ID", 99);  // gone from the database: skipped quietly
  StoreInt(u"Assays", u"3_Assay_ID", 2);
  ::testing::internal::CaptureStderr();
  Assays().LoadSavedList();
  EXPECT_EQ(TakeAssaysChanged(), 1);
  EXPECT_EQ(LoadedIds(), (std::vector<std::int32_t>{4, 2, 1}));
  EXPECT_EQ(Assays().List().GetItemCount(), 3);
  ::testing::internal::GetCapturedStderr();

  ASSERT_TRUE(win::ClickButton(Assays().m_hWnd, IDC_ASSAY_REMOVE_ALL));
  TakeAssaysChanged();
  host.ints.clear();
  Assays().LoadSavedList();
  EXPECT_EQ(TakeAssaysChanged(), 1) << "an empty saved list is announced too";
  EXPECT_TRUE(Loaded().assays.empty());
}

TEST_F(AssayListTest, OpenSendsTheSelectedFilesToTheHost) {
  AddThroughHost({1, 2, 4});
  TakeAssaysChanged();
  auto opened = [&] {
    std::vector<sys::Text> files;
    for (const auto& call : host.calls)
      if (call.command == "Main/OpenAssayFile") files.push_back(call.value);
    host.calls.clear();
    return files;
  };
  ClickRow(Assays().List(), 1);
  ClickRow(Assays().List(), 2, Qt::ControlModifier);
  host.calls.clear();
  ASSERT_TRUE(win::ClickButton(Assays().m_hWnd, IDC_ASSAY_OPEN));
  const sys::Text file = sys::FromUtf8((dir / "a.stg").string());
  EXPECT_EQ(opened(), (std::vector<sys::Text>{file, file}));

  ClickRow(Assays().List(), 1);
  CRect r;
  Assays().List().GetSubItemRect(1, 1, LVIR_LABEL, r);
  wintest::DoubleClick(wintest::At(Assays().List().m_hWnd, (r.left + r.right) / 2, (r.top + r.bottom) / 2));
  EXPECT_EQ(opened().size(), 1u) << "a double click opens like the button";

  host.missing.insert("Main/OpenAssayFile");
  ASSERT_TRUE(win::ClickButton(Assays().m_hWnd, IDC_ASSAY_OPEN));
  EXPECT_TRUE(opened().empty());
}

TEST_F(AssayListTest, ClickedChromatogramShowsItsPeaksWithChannelSeparators) {
  StoreInt(kProgramSettingsSection, u"qtySymInProg", 2);
  AddThroughHost({1, 2, 3});
  TakeAssaysChanged();
  ClickRow(Assays().List(), 2);  // chromatogram 1: channels 0, 0, 1
  const sys::Text separator = u"----------------------------------";
  EXPECT_EQ(AllRows(ChromatogramInfo()), (Rows{{u"1", u"Метан", u"1", u"1000,00", u"1,50"},
                                               {u"2", u"Этан", u"1", u"250,25", u"2,75"},
                                               {u"", separator, u"", u"", u""},
                                               {u"3", u"Азот", u"2", u"80,00", u"0,50"}}));
  ClickRow(Assays().List(), 1);  // chromatogram 2: channels 1, 1
  EXPECT_EQ(AllRows(ChromatogramInfo()), (Rows{{u"", separator, u"", u"", u""},
                                               {u"1", u"Метан", u"2", u"900,00", u"1,50"},
                                               {u"2", u"Этан", u"2", u"200,00", u"2,50"}}));
  ClickRow(Assays().List(), 0);  // chromatogram 3: a peak without a channel
  EXPECT_EQ(AllRows(ChromatogramInfo()), (Rows{{u"", separator, u"", u"", u""},
                                               {u"1", u"Метан", u"---", u"5,00", u"1,00"}}));
  ClickRow(Assays().List(), 2, Qt::ControlModifier);
  EXPECT_EQ(Assays().List().GetSelectedCount(), 2u);
  EXPECT_EQ(ChromatogramInfo().GetItemCount(), 0) << "two selected rows show nothing";
  Assays().ShowChromatogramInfo(42);
  EXPECT_EQ(ChromatogramInfo().GetItemCount(), 0);
}

TEST_F(AssayListTest, DatabaseFailuresAreShownAndTheChosenIdsKept) {
  AddThroughHost({4});
  TakeAssaysChanged();
  const sys::Text broken = sys::FromUtf8((dir / "no" / "such" / "host.db").string());
  DataBaseConnectionBase::instance().setLocation(broken);
  {
    win::ScopedMessageBoxRecorder boxes;
    AddThroughHost({1, 2});
    ASSERT_EQ(boxes.Calls().size(), 1u);
    EXPECT_EQ(boxes.Calls()[0].caption, u"Проверка линейности детектора");
    EXPECT_NE(boxes.Calls()[0].text.find(broken), sys::Text::npos) << sys::ToUtf8(boxes.Calls()[0].text);
    EXPECT_NE(boxes.Calls()[0].text.find(u"unable to open"), sys::Text::npos) << sys::ToUtf8(boxes.Calls()[0].text);
    EXPECT_EQ(boxes.Calls()[0].Icon(), MB_ICONERROR);
  }
  EXPECT_EQ(LoadedIds(), (std::vector<std::int32_t>{4})) << "what was loaded stays";
  EXPECT_EQ(Assays().ListedIds(), (std::vector<std::int32_t>{4, 1, 2}));
  Assays().SaveList();
  EXPECT_EQ(StoredInt(u"Assays", u"qtyAssays"), 3) << "the chosen ids are not lost from the profile";

  {
    win::ScopedMessageBoxRecorder boxes;
    Assays().LoadSavedList();
    EXPECT_EQ(boxes.Calls().size(), 1u) << "restoring fails the same way, without an exception";
  }
  DataBaseConnectionBase::instance().setLocation(dbPath);
  EXPECT_EQ(Assays().LoadIds(Assays().ListedIds()), 3);
  EXPECT_TRUE(Assays().UnloadedIds().empty());
  EXPECT_EQ(LoadedIds().size(), 3u);

  Exec("DROP TABLE peak;");  // a failing query inside a load
  {
    win::ScopedMessageBoxRecorder boxes;
    AddThroughHost({3});
    ASSERT_EQ(boxes.Calls().size(), 1u);
    EXPECT_NE(boxes.Calls()[0].text.find(u"peak"), sys::Text::npos) << sys::ToUtf8(boxes.Calls()[0].text);
  }
  const std::vector<std::int32_t> listed = Assays().ListedIds();
  EXPECT_NE(std::find(listed.begin(), listed.end(), 3), listed.end()) << "kept for the next reload";
  ASSERT_TRUE(win::ClickButton(Assays().m_hWnd, IDC_ASSAY_REMOVE_ALL));
  DataBaseConnectionBase::instance().setLocation(broken);
  {
    win::ScopedMessageBoxRecorder boxes;
    AddThroughHost({1});
  }
  ASSERT_EQ(Assays().UnloadedIds(), (std::vector<std::int32_t>{1}));
  Assays().Remove(true);  // as Recalculate removes before it reloads
  EXPECT_EQ(Assays().ListedIds(), (std::vector<std::int32_t>{1})) << "still to be reloaded and saved";
  ASSERT_TRUE(win::ClickButton(Assays().m_hWnd, IDC_ASSAY_REMOVE_ALL));
  EXPECT_TRUE(Assays().UnloadedIds().empty()) << "\"Удалить все\" drops them too";
  EXPECT_TRUE(Assays().ListedIds().empty());
}

}  // namespace
}  // namespace pagestest
