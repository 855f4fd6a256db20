// pages_fixture.h: the pages inside a stand-in main window (two tab controls, the page
// windows as their children, as the module arranges them), a real host database with
// chromatograms, mixtures and peaks, real chromatogram files, and the fake host.
//
// Database content (times are seconds since the epoch; Moscow time in the tests):
//   mixtures 1 "Смесь-1" (Б-1, issued 1700000000, valid to 1731536000; Метан 0.5 / 1.25,
//            Этан 2 / 0.75), 2 "Смесь-2" (Б-2, no dates; Азот 10 / 1)
//   chromatograms 1 (Смесь-2, 1700000300, peaks on channels 0, 0, 1),
//                 2 (Смесь-1, 1700000200, channels 1, 1), 3 (Смесь-1, 1700000100,
//                 one peak on channel 2147483647), 4 (no mixture, time 0), 5 hidden.
#pragma once

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <string>
#include <vector>

#include "data/loaded_lists.h"
#include "data/host_schema.h"
#include "data/lortan_file.h"
#include "platform/sys/locale.h"
#include "plugin/profile.h"
#include "plugin/settings.h"
#include "tests/support/test_host.h"
#include "tests/platform/win/win_fixture.h"
#include "ui/dlg_assay_list.h"
#include "ui/dlg_calc_info.h"
#include "ui/dlg_mixture_list.h"
#include "ui/dlg_out_table.h"

namespace pagestest {

namespace fs = std::filesystem;

inline constexpr UINT kMainStandIn = 9150;
inline constexpr int kUpperTabs = 1013;
inline constexpr int kLowerTabs = 1009;

// The stand-in for the main window: counts the WM_ASSAYS_CHANGED it receives.
class MainStandIn : public CDialog {
 public:
  MainStandIn() : CDialog(kMainStandIn) {}
  int assaysChanged = 0;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_ASSAYS_CHANGED) {
      ++assaysChanged;
      return 0;
    }
    return CDialog::WindowProc(message, wParam, lParam);
  }
};

class PagesTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    wintest::Register(kMainStandIn, wintest::kPopupStyle, 619, 344,
                      {{win::kTabControlClass, kUpperTabs, nullptr, WS_TABSTOP, 0, 7, 7, 605, 139},
                       {win::kTabControlClass, kLowerTabs, nullptr, WS_TABSTOP, 0, 7, 149, 605, 188}});
    RegisterDlgAssayListTemplate();
    RegisterDlgMixtureListTemplate();
    RegisterDlgCalcInfoTemplate();
    RegisterDlgOutTableTemplate();
  }

  void SetUp() override {
    sys::SetRussianLocale();
    host.extra = {"Main/OpenAssayIdDlgEx", "Main/OpenAssayFile"};
    host.Install();
    dir = fs::temp_directory_path() / ("vetrix_pages_" + std::to_string(::getpid()) + "_" +
                                       ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
    dbPath = sys::FromUtf8((dir / "host.db").string());
    DataBaseConnectionBase::instance().setLocation(dbPath);
    MakeDatabase();
    ASSERT_TRUE(main.Create(kMainStandIn));
    CWnd* upper = CWnd::FromHandle(GetDlgItem(main.m_hWnd, kUpperTabs));
    CWnd* lower = CWnd::FromHandle(GetDlgItem(main.m_hWnd, kLowerTabs));
    ASSERT_TRUE(Assays().Create(IDD_ASSAY_LIST, upper));
    ASSERT_TRUE(Mixtures().Create(IDD_MIXTURE_LIST, upper));
    ASSERT_TRUE(ChromatogramInfoTable().Create(lower));
    ASSERT_TRUE(MixtureInfoTable().Create(lower));
    for (auto [header, width] : {std::pair{u"№", 40}, {u"Пик", 350}, {u"Канал", 100}, {u"Площадь", 180},
                                 {u"Время выхода, мин", 180}})
      ChromatogramInfo().InsertColumn(ChromatogramInfo().GetHeaderCtrl()->GetItemCount(), header, LVCFMT_LEFT, width);
    for (auto [header, width] : {std::pair{u"№", 40}, {u"Компонент", 350}, {u"Концентрация, моль%", 200},
                                 {u"Неопределенность, %отн", 200}})
      MixtureInfo().InsertColumn(MixtureInfo().GetHeaderCtrl()->GetItemCount(), header, LVCFMT_LEFT, width);
    for (HWND page : {Assays().m_hWnd, ChromatogramInfoTable().m_hWnd}) {
      RECT r{};
      ::GetClientRect(::GetParent(page), &r);
      ::MoveWindow(page, 2, 22, r.right - 6, r.bottom - 26, TRUE);
      ::ShowWindow(page, SW_SHOW);
    }
    ASSERT_TRUE(wintest::ShowActive(main.m_hWnd));
  }

  void TearDown() override {
    for (CWnd* page : std::initializer_list<CWnd*>{&Assays(), &Mixtures(), &ChromatogramInfoTable(),
                                                   &MixtureInfoTable(), &CalcInfoPage()})
      if (page->m_hWnd) page->DestroyWindow();
    main.DestroyWindow();
    win::ProcessPendingMessages();
    CalcInfoPage().SetContext(nullptr);
    CalcInfoPage().SetMixtures(nullptr);
    Loaded().Clear();
    SetHost(nullptr);
    sys::ResetLocale();
    std::error_code ignored;
    fs::remove_all(dir, ignored);
  }

  static DlgAssayList& Assays() { return AssayListPage(); }
  static DlgMixtureList& Mixtures() { return MixtureListPage(); }
  static CGridCtrl& ChromatogramInfo() { return ChromatogramInfoTable().table; }
  static CGridCtrl& MixtureInfo() { return MixtureInfoTable().table; }
  // Shows the mixture page in place of the chromatogram page, as the "Смеси" tab does.
  static void ShowMixturePage() {
    Assays().ShowWindow(SW_HIDE);
    RECT r{};
    ::GetClientRect(::GetParent(Mixtures().m_hWnd), &r);
    Mixtures().MoveWindow(2, 22, r.right - 6, r.bottom - 26, TRUE);
    Mixtures().ShowWindow(SW_SHOW);
  }

  void Exec(const std::string& sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(sys::ToUtf8(dbPath).c_str(), &db), SQLITE_OK);
    char* error = nullptr;
    EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error), SQLITE_OK) << (error ? error : "");
    sqlite3_free(error);
    sqlite3_close(db);
  }

  void MakeDatabase() {
    CLortanFile4 file;
    file.channels.emplace_back(0, std::vector<std::int32_t>{1, 2, 3});
    const std::string chromatogram = (dir / "a.stg").string();
    ASSERT_EQ(file.SaveFile(sys::FromUtf8(chromatogram)), 0);
    Exec(kHostDatabaseSchema);
    Exec(R"(
      INSERT INTO mixture VALUES (1, 'Смесь-1', 'Б-1', 1700000000, 1731536000);
      INSERT INTO mixture VALUES (2, 'Смесь-2', 'Б-2', NULL, NULL);
      INSERT INTO mixturecomp VALUES (1, 1, 1, 'Метан', 0.5, 1.25);
      INSERT INTO mixturecomp VALUES (2, 1, 2, 'Этан', 2, 0.75);
      INSERT INTO mixturecomp VALUES (3, 2, 17, 'Азот', 10, 1);
      INSERT INTO peak (assayid, nameid, name, area, time, channel) VALUES (1, 1, 'Метан', 1000, 1.5, 0);
      INSERT INTO peak (assayid, nameid, name, area, time, channel) VALUES (1, 2, 'Этан', 250.25, 2.75, 0);
      INSERT INTO peak (assayid, nameid, name, area, time, channel) VALUES (1, 17, 'Азот', 80, 0.5, 1);
      INSERT INTO peak (assayid, nameid, name, area, time, channel) VALUES (2, 1, 'Метан', 900, 1.5, 1);
      INSERT INTO peak (assayid, nameid, name, area, time, channel) VALUES (2, 2, 'Этан', 200, 2.5, 1);
      INSERT INTO peak (assayid, nameid, name, area, time, channel) VALUES (3, 1, 'Метан', 5, 1, 2147483647);
    )");
    const std::string f = "'" + chromatogram + "'";
    Exec("INSERT INTO assay (id, date, filename, sample, mixture, atmpressure, airtemp) VALUES "
         "(1, 1700000300, " + f + ", 'проба 1', 'Смесь-2', 101.3, 20),"
         "(2, 1700000200, " + f + ", 'проба 2', 'Смесь-1', 101.3, 20),"
         "(3, 1700000100, " + f + ", 'проба 3', 'Смесь-1', 101.3, 20),"
         "(4, 0, '', 'проба 4', '', 101.3, 20);"
         "INSERT INTO assay (id, date, filename, sample, mixture, ishidden) VALUES (5, 1, '', 'скрытая', 'Смесь-1', 1);");
  }

  // Adds chromatograms as the user does: "Добавить", the host's dialog answering `ids`.
  void AddThroughHost(std::vector<std::int32_t> ids) {
    host.chosenAssays = std::move(ids);
    ASSERT_TRUE(win::ClickButton(Assays().m_hWnd, IDC_ASSAY_ADD));
  }
  // Runs the posted messages and returns how many WM_ASSAYS_CHANGED arrived since the last call.
  int TakeAssaysChanged() {
    win::ProcessPendingMessages();
    return std::exchange(main.assaysChanged, 0);
  }

  static std::vector<sys::Text> RowTexts(const CListCtrl& list, int row) {
    std::vector<sys::Text> texts;
    const int columns = list.GetHeaderCtrl()->GetItemCount();
    for (int c = 0; c < columns; ++c) texts.push_back(list.GetItemText(row, c));
    return texts;
  }
  static std::vector<std::vector<sys::Text>> AllRows(const CListCtrl& list) {
    std::vector<std::vector<sys::Text>> rows;
    for (int r = 0; r < list.GetItemCount(); ++r) rows.push_back(RowTexts(list, r));
    return rows;
  }
  static std::vector<std::int32_t> LoadedIds() {
    std::vector<std::int32_t> ids;
    for (const Assay& a : Loaded().assays) ids.push_back(a.id);
    return ids;
  }
  static std::vector<std::int32_t> MixtureIds() {
    std::vector<std::int32_t> ids;
    for (const auto& m : Loaded().mixtures) ids.push_back(m->id);
    return ids;
  }
  // Clicks row `row` of a list (in its column 1), as the user does; Ctrl adds to the selection.
  static void ClickRow(const CListCtrl& list, int row, Qt::KeyboardModifiers mods = {}) {
    CRect r;
    ASSERT_TRUE(list.GetSubItemRect(row, 1, LVIR_LABEL, r));
    wintest::Click(wintest::At(list.m_hWnd, (r.left + r.right) / 2, (r.top + r.bottom) / 2), mods);
  }
  std::int32_t StoredInt(const char16_t* section, const sys::Text& key) {
    auto it = host.ints.find(ProfileKey(section, key));
    return it == host.ints.end() ? -12345 : it->second;
  }
  void StoreInt(const char16_t* section, const sys::Text& key, std::int32_t value) {
    host.ints[ProfileKey(section, key)] = value;
  }
  // How many "Profile/SetInt" calls went to keys containing `part`.
  int ProfileWrites(const sys::Text& part) const {
    int n = 0;
    for (const auto& call : host.calls)
      if (call.command == "Profile/SetInt" && call.key.find(part) != sys::Text::npos) ++n;
    return n;
  }

  TestHost host;
  fs::path dir;
  sys::Text dbPath;
  MainStandIn main;
};

}  // namespace pagestest
