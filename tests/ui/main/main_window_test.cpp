// The main window on real widgets with a small real database: its pages after
// OnInitDialog, tab changes by mouse, the sizing rules, the results table, RunAndShow
// against an independent run, Recalculate (changed data, a failing database) and the
// system menu's about box.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTabBar>
#include <QTest>
#include <QWidget>

#include <filesystem>
#include <memory>

#include "calc/messages.h"
#include "calc/presentation.h"
#include "data/loaders.h"
#include "platform/sys/format.h"
#include "platform/sys/locale.h"
#include "platform/win/menu.h"
#include "platform/win/qt_bridge.h"
#include "platform/win/static.h"
#include "platform/win/resources.h"
#include "platform/win/automation.h"
#include "plugin/component_store.h"
#include "plugin/profile.h"
#include "plugin/settings.h"
#include "tests/support/test_host.h"
#include "tests/ui/main/small_database.h"
#include "ui/about_dlg.h"
#include "ui/dlg_assay_list.h"
#include "ui/dlg_main.h"
#include "ui/dlg_msg.h"
#include "ui/dlg_out_table.h"
#include "ui/dlg_settings.h"
#include "ui/module_resources.h"

namespace {

namespace fs = std::filesystem;

std::vector<TextRow> TableRows(CListCtrl& list) {
  std::vector<TextRow> rows;
  const int columns = list.GetHeaderCtrl()->GetItemCount();
  for (int r = 0; r < list.GetItemCount(); ++r) {
    TextRow row;
    for (int c = 0; c < columns; ++c) row.push_back(list.GetItemText(r, c));
    rows.push_back(std::move(row));
  }
  return rows;
}

std::vector<sys::Text> TabCaptions(CTabCtrl& tabs) {
  std::vector<sys::Text> captions;
  for (int i = 0; i < tabs.GetItemCount(); ++i) {
    char16_t text[128] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = 128;
    tabs.GetItem(i, &item);
    captions.emplace_back(text);
  }
  return captions;
}

// What the headless check computes for the same database: an independent load and run.
struct IndependentRun {
  LoadedLists lists;
  CalculationContext context;
  std::vector<TextRow> results;
  sys::Text messages;
};
std::unique_ptr<IndependentRun> RunIndependently(const sys::Text& db, CorrectionSwitches corrections = {}) {
  auto run = std::make_unique<IndependentRun>();
  std::vector<std::int32_t> ids;
  for (int id = 1; id <= kSmallDatabaseAssays; ++id) ids.push_back(id);
  const sys::Text location = DataBaseConnectionBase::instance().location();
  DataBaseConnectionBase::instance().setLocation(db);
  loadAssays(ids, run->lists);
  DataBaseConnectionBase::instance().setLocation(location);
  SortAssays(run->lists.assays);
  RunCheck(run->context, {run->lists.mixtures, run->lists.assays, ComponentList(), corrections});
  run->results = ResultsRows(run->context.curves, Settings::qtySymInProg);
  run->messages = MessagesText(run->context.messages, true, true, true);
  return run;
}

class MainWindow : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir = fs::temp_directory_path() / ("vetrix_ui_main_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    dbFile = (dir / "host.db").string();
    ASSERT_EQ(CreateSmallDatabase(dbFile), "");
    host = new TestHost();
    host->Install();
    sys::SetRussianLocale();
    SetProfilePrefix(kModuleProfilePrefix);
    host->ints[u"plugins\\Vetrix\\Assays/qtyAssays"] = kSmallDatabaseAssays;
    for (int i = 0; i < kSmallDatabaseAssays; ++i)
      host->ints[sys::Format(u"plugins\\Vetrix\\Assays/%d_Assay_ID", i)] = kSmallDatabaseAssays - i;
    DataBaseConnectionBase::instance().setLocation(sys::FromUtf8(dbFile));
    RegisterModuleResources();
    window = new DlgMain();
    ASSERT_TRUE(window->Create(kMainTemplate, nullptr));
    window->ShowWindow(SW_SHOW);
    win::ProcessPendingMessages();
  }
  static void TearDownTestSuite() {
    if (window) window->DestroyWindow();  // deletes itself
    window = nullptr;
    win::ProcessPendingMessages();
    delete host;
    host = nullptr;
    SetProfilePrefix(u"");
    sys::ResetLocale();
    std::error_code ignored;
    fs::remove_all(dir, ignored);
  }
  void SetUp() override { ASSERT_NE(window, nullptr); }

  static sys::Text Db() { return sys::FromUtf8(dbFile); }

  static inline fs::path dir;
  static inline std::string dbFile;
  static inline TestHost* host = nullptr;
  static inline DlgMain* window = nullptr;
};

TEST_F(MainWindow, InitialPagesCaptionAndSystemMenu) {
  EXPECT_EQ(window->GetWindowText(), u"Проверка линейности сигнала детектора по ГОСТ 31371.7-2020 приложение Б.");
  EXPECT_EQ(TabCaptions(window->UpperTabs()), (std::vector<sys::Text>{u"Хроматограммы", u"Смеси"}));
  EXPECT_EQ(TabCaptions(window->LowerTabs()),
            (std::vector<sys::Text>{u"Инфо. по хрм.", u"Инфо. о смеси.", u"Промежуточные расчеты",
                                    u"Результаты расчета", u"График", u"Системные сообщения"}));
  ASSERT_EQ(window->UpperPages().size(), 2u);
  ASSERT_EQ(window->LowerPages().size(), 6u);
  EXPECT_EQ(window->UpperPages()[0], AssayListPage().GetSafeHwnd());
  EXPECT_EQ(window->LowerPages()[kResultsPage], ResultsTable().GetSafeHwnd());
  EXPECT_EQ(window->LowerPages()[kMessagesPage], MessagesPage().GetSafeHwnd());
  for (std::size_t i = 0; i < 2; ++i) EXPECT_EQ(IsWindowVisible(window->UpperPages()[i]) != 0, i == 0) << i;
  for (std::size_t i = 0; i < 6; ++i) EXPECT_EQ(IsWindowVisible(window->LowerPages()[i]) != 0, i == 0) << i;
  EXPECT_EQ(GetParent(window->LowerPages()[0]), window->LowerTabs().GetSafeHwnd());
  EXPECT_EQ(window->GetIcon(TRUE), LoadIcon(kModuleIcon));

  CMenu* menu = window->GetSystemMenu(FALSE);
  ASSERT_NE(menu, nullptr);
  const int n = menu->GetMenuItemCount();
  ASSERT_GE(n, 2);
  EXPECT_EQ(menu->GetMenuItemID(n - 2), 0u) << "separator";
  EXPECT_EQ(menu->GetMenuItemID(n - 1), kAboutCommand);
  EXPECT_EQ(menu->GetMenuString(n - 1, MF_BYPOSITION), u"Сведения о плагине...");
}

// The restored list is loaded, and the results table and messages text are exactly what
// an independent run prints for the same database.
TEST_F(MainWindow, RunAndShowWritesWhatTheHeadlessCheckPrints) {
  EXPECT_EQ(AssayListPage().Assays().size(), static_cast<std::size_t>(kSmallDatabaseAssays));
  const sys::Text shown = GetWindowText(MessagesPage().edit.GetSafeHwnd());
  const std::vector<TextRow> table = TableRows(ResultsTable().table);
  auto independent = RunIndependently(Db());
  ASSERT_FALSE(independent->results.empty());
  EXPECT_EQ(table, independent->results);
  EXPECT_EQ(shown, independent->messages);
  window->RunAndShow();  // the module's own log again
  ASSERT_EQ(TableRows(ResultsTable().table).size(), 4u) << "methane, ethane, separator, nitrogen";
  EXPECT_EQ(TableRows(ResultsTable().table)[2][1], kResultsSeparator);
}

TEST_F(MainWindow, ResultsTableSeparatorsNoValuesAndDecimalComma) {
  CalculationContext& context = window->Context();
  auto saved = std::move(context.curves);
  auto curve = [&](std::int32_t channel, const char16_t* name, double slope) {
    auto c = std::make_unique<CalibrationCurve>();
    c->channel = channel;
    c->name = name;
    c->slope = slope;
    c->intercept = -1.25;
    c->correlation = 0.99987;
    c->correlationOk = true;
    c->linearityOk = false;
    context.curves.push_back(std::move(c));
  };
  curve(1, u"Азот", 2.5);
  curve(1, u"Метан", kNoValue);
  curve(0, u"Этан", 3.0);
  curve(1, u"Пропан", 4.0);
  window->FillResultsTable();
  const TextRow separator = {u"", kResultsSeparator, u"", u"", u"", u"", u"", u"", u""};
  const std::vector<TextRow> want = {
      separator,
      {u"1", u"Азот", u"2", u"-1,250", u"2,500", u"Нет", u"1,000", u"0,999", u"Да"},
      {u"2", u"Метан", u"2", u"-1,250", u"---", u"---", u"1,000", u"0,999", u"---"},
      separator,
      {u"3", u"Этан", u"1", u"-1,250", u"3,000", u"Нет", u"1,000", u"0,999", u"Да"},
      separator,
      {u"4", u"Пропан", u"2", u"-1,250", u"4,000", u"Нет", u"1,000", u"0,999", u"Да"},
  };
  EXPECT_EQ(TableRows(ResultsTable().table), want);
  context.curves.clear();
  window->FillResultsTable();
  EXPECT_EQ(ResultsTable().table.GetItemCount(), 0);
  context.curves = std::move(saved);
  window->RunAndShow();
}

TEST_F(MainWindow, TrackSizesAndPagesFollowTheTabControls) {
  RECT created{};
  window->GetWindowRect(&created);
  const SIZE minimum = window->MinTrackSize();
  const SIZE maximum = window->MaxTrackSize();
  EXPECT_EQ(maximum.cx, minimum.cx + 800);
  EXPECT_EQ(maximum.cy, minimum.cy + 1000);
  MINMAXINFO info{};
  window->SendMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(info.ptMinTrackSize.x, minimum.cx);
  EXPECT_EQ(info.ptMinTrackSize.y, minimum.cy);
  EXPECT_EQ(info.ptMaxTrackSize.x, maximum.cx);
  EXPECT_EQ(info.ptMaxTrackSize.y, maximum.cy);

  // The limits hold for the window rectangle (frame included), as the user drags it.
  QWidget* top = win::WidgetOf(window->GetSafeHwnd())->window();
  auto windowSize = [&] {
    RECT r{};
    window->GetWindowRect(&r);
    return SIZE{r.right - r.left, r.bottom - r.top};
  };
  top->resize(100, 100);
  EXPECT_EQ(windowSize().cx, minimum.cx);
  EXPECT_EQ(windowSize().cy, minimum.cy);
  top->resize(minimum.cx + 5000, minimum.cy + 5000);
  EXPECT_EQ(windowSize().cx, maximum.cx);
  EXPECT_EQ(windowSize().cy, maximum.cy);
  EXPECT_EQ(minimum.cx, created.right - created.left);
  EXPECT_EQ(minimum.cy, created.bottom - created.top);

  RECT upperBefore{}, lowerBefore{};
  top->resize(minimum.cx, minimum.cy);
  QApplication::processEvents();
  window->UpperTabs().GetClientRect(&upperBefore);
  window->LowerTabs().GetClientRect(&lowerBefore);
  top->resize(minimum.cx + 200, minimum.cy + 100);
  QApplication::processEvents();
  RECT upper{}, lower{};
  window->UpperTabs().GetClientRect(&upper);
  window->LowerTabs().GetClientRect(&lower);
  EXPECT_EQ(upper.right - upperBefore.right, 200);
  EXPECT_EQ(upper.bottom - upperBefore.bottom, 20);
  EXPECT_EQ(lower.bottom - lowerBefore.bottom, 80);
  for (const auto* pages : {&window->UpperPages(), &window->LowerPages()}) {
    CTabCtrl& tabs = pages == &window->UpperPages() ? window->UpperTabs() : window->LowerTabs();
    const RECT want = PageRect(tabs);
    for (HWND page : *pages) {
      RECT r{};
      GetWindowRect(page, &r);
      POINT origin{r.left, r.top};
      ScreenToClient(tabs.GetSafeHwnd(), &origin);
      EXPECT_EQ(origin.x, want.left);
      EXPECT_EQ(origin.y, want.top);
      EXPECT_EQ(r.right - r.left, want.right - want.left);
      EXPECT_EQ(r.bottom - r.top, want.bottom - want.top);
    }
  }
  top->resize(minimum.cx, minimum.cy);
  QApplication::processEvents();
}

// A tab clicked by the user shows its page and hides the strip's others.
TEST_F(MainWindow, TabClicksSwitchPages) {
  auto clickTab = [](CTabCtrl& tabs, int index) {
    QTabBar* bar = win::WidgetOf(tabs.GetSafeHwnd())->findChild<QTabBar*>();
    ASSERT_NE(bar, nullptr);
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
    QApplication::processEvents();
  };
  clickTab(window->LowerTabs(), kResultsPage);
  for (std::size_t i = 0; i < 6; ++i)
    EXPECT_EQ(IsWindowVisible(window->LowerPages()[i]) != 0, i == kResultsPage) << i;
  clickTab(window->UpperTabs(), 1);
  EXPECT_FALSE(IsWindowVisible(window->UpperPages()[0]));
  EXPECT_TRUE(IsWindowVisible(window->UpperPages()[1]));
  clickTab(window->UpperTabs(), 0);
  clickTab(window->LowerTabs(), 0);
  EXPECT_TRUE(IsWindowVisible(window->LowerPages()[0]));
  EXPECT_FALSE(IsWindowVisible(window->LowerPages()[kResultsPage]));
}

// "Пересчитать" reloads every chromatogram from the database: a change made in the host
// since the last load is seen.
TEST_F(MainWindow, RecalculateReloadsChangedData) {
  const std::vector<TextRow> before = TableRows(ResultsTable().table);
  ASSERT_EQ(ExecSql(dbFile, "UPDATE peak SET area = area * 3 WHERE name = 'Этан';"), "");
  EXPECT_EQ(TableRows(ResultsTable().table), before) << "a loaded chromatogram is a snapshot";
  ASSERT_TRUE(win::ClickButton(window->GetSafeHwnd(), kMainRecalculate));
  win::ProcessPendingMessages();
  const std::vector<TextRow> after = TableRows(ResultsTable().table);
  EXPECT_NE(after, before);
  EXPECT_EQ(after, RunIndependently(Db())->results);
  EXPECT_EQ(AssayListPage().Assays().size(), static_cast<std::size_t>(kSmallDatabaseAssays));
  window->RunAndShow();
}

// "Пересчитать" runs the check once: the removal and the reload it makes announce their
// changes too, but a change the run has already shown is not run again. Counted by the
// settings each run reads from the profile (one read per use, as for a single run).
TEST_F(MainWindow, RecalculateRunsTheCheckOnce) {
  const auto settingsReads = [](const std::function<void()>& act) {
    host->calls.clear();
    act();
    win::ProcessPendingMessages();
    return std::count_if(host->calls.begin(), host->calls.end(), [](const TestHost::Call& c) {
      return c.command == "Profile/GetInt" && c.key == u"plugins\\Vetrix\\ProgramSettings/enPressCorrect";
    });
  };
  const auto oneRun = settingsReads([] { window->RunAndShow(); });
  ASSERT_GT(oneRun, 0);
  EXPECT_EQ(settingsReads([] { ASSERT_TRUE(win::ClickButton(window->GetSafeHwnd(), kMainRecalculate)); }), oneRun);
  EXPECT_EQ(TableRows(ResultsTable().table), RunIndependently(Db())->results);
}

// The window reads the correction switches from the profile right before each run, so a
// value stored a moment ago (by the dialog, another window or the host) counts.
TEST_F(MainWindow, RunAndShowTakesTheCorrectionSwitchStoredJustBefore) {
  // The small database's chromatograms name no readable file, so their pressure is not
  // taken: with the switch on, the run lists every one of them as lacking it.
  const sys::Text missing = u"Коррекция по давлению проведена не полностью!";
  window->RunAndShow();
  ASSERT_EQ(MessagesPage().shownText.find(missing), sys::Text::npos);
  const sys::Text key = u"plugins\\Vetrix\\ProgramSettings/enPressCorrect";
  host->ints[key] = 1;
  window->RunAndShow();
  const sys::Text shown = MessagesPage().shownText;
  host->ints.erase(key);
  EXPECT_NE(shown.find(missing), sys::Text::npos) << sys::ToUtf8(shown);
  EXPECT_EQ(shown, MessagesText(RunIndependently(Db(), {true, false})->context.messages, true, true, true));
  window->RunAndShow();
  EXPECT_EQ(MessagesPage().shownText.find(missing), sys::Text::npos);
}

// A database that cannot be opened: the failure is shown with SQLite's text and the
// location, nothing escapes, and no chosen chromatogram is lost: the identifiers are
// saved with the list and come back with the next Recalculate.
TEST_F(MainWindow, FailedRecalculateKeepsTheChosenChromatograms) {
  const sys::Text bad = sys::FromUtf8((dir / "no such folder" / "host.db").string());
  DataBaseConnectionBase::instance().setLocation(bad);
  {
    win::ScopedMessageBoxRecorder boxes;
    ASSERT_TRUE(win::ClickButton(window->GetSafeHwnd(), kMainRecalculate));
    win::ProcessPendingMessages();
    ASSERT_EQ(boxes.Calls().size(), 1u);
    EXPECT_EQ(boxes.Calls()[0].Icon(), MB_ICONERROR);
    EXPECT_NE(boxes.Calls()[0].text.find(bad), sys::Text::npos);
    EXPECT_NE(boxes.Calls()[0].text.find(u"unable to open database file"), sys::Text::npos);
  }
  EXPECT_TRUE(AssayListPage().Assays().empty());
  EXPECT_EQ(window->UnloadedIds().size(), static_cast<std::size_t>(kSmallDatabaseAssays));
  EXPECT_EQ(ResultsTable().table.GetItemCount(), 0);
  window->SaveChromatogramList();
  EXPECT_EQ(host->ints[u"plugins\\Vetrix\\Assays/qtyAssays"], kSmallDatabaseAssays);
  EXPECT_EQ(host->ints[u"plugins\\Vetrix\\Assays/0_Assay_ID"], window->UnloadedIds()[0]);

  DataBaseConnectionBase::instance().setLocation(Db());
  ASSERT_TRUE(win::ClickButton(window->GetSafeHwnd(), kMainRecalculate));
  win::ProcessPendingMessages();
  EXPECT_TRUE(window->UnloadedIds().empty());
  EXPECT_EQ(AssayListPage().Assays().size(), static_cast<std::size_t>(kSmallDatabaseAssays));
  EXPECT_GT(ResultsTable().table.GetItemCount(), 0);
}

TEST_F(MainWindow, SystemMenuItemOpensTheAboutBox) {
  std::vector<sys::Text> seen;
  {
    win::ScopedModalDialogHook hook([&](HWND dialog, UINT id) {
      EXPECT_EQ(id, kAboutTemplate);
      seen = {GetWindowText(dialog), GetDlgItemText(dialog, kAboutProduct), GetDlgItemText(dialog, kAboutVersion),
              GetDlgItemText(dialog, kAboutDescription)};
      auto* icon = dynamic_cast<CStatic*>(CWnd::FromHandle(GetDlgItem(dialog, kAboutIcon)));
      ASSERT_NE(icon, nullptr);
      EXPECT_EQ(GetIconSize(icon->GetIcon()).cx, kAboutIconPixels);
      EXPECT_EQ(GetIconSize(icon->GetIcon()).cy, kAboutIconPixels);
      EndDialog(dialog, IDOK);
    });
    window->SendMessage(WM_SYSCOMMAND, kAboutCommand | 0x3);
  }
  ASSERT_EQ(seen.size(), 4u) << "the about box did not open";
  EXPECT_EQ(seen[0], u"О плагине");
  EXPECT_EQ(seen[1], u"Vetrix");
  EXPECT_EQ(seen[2], u"1.0.0.0");
  EXPECT_EQ(seen[3], u"Проверка линейности сигнала детектора по ГОСТ 31371.7-2020 приложение Б.");
  // Other system commands take the default path: the about box does not open.
  win::ScopedModalDialogHook none([](HWND dialog, UINT) {
    ADD_FAILURE() << "unexpected dialog";
    EndDialog(dialog, IDCANCEL);
  });
  window->SendMessage(WM_SYSCOMMAND, 0x0020);
}

}  // namespace

namespace {

// "Настройки" closed with OK runs the check again with the new rounding; "Экспорт" then
// writes the workbook into the folder set there and says so.
TEST_F(MainWindow, SettingsButtonRerunsAndExportReportsSuccess) {
  const fs::path folder = dir / "выгрузка";
  fs::create_directories(folder);
  {
    win::ScopedModalDialogHook hook([&](HWND dialog, UINT id) {
      ASSERT_EQ(id, kSettingsTemplate);
      SetDlgItemText(dialog, kSettingsProgDigitsEdit, u"2");
      SetDlgItemText(dialog, kSettingsFolderEdit, sys::FromUtf8(folder.string()).c_str());
      win::ClickButton(dialog, kSettingsOk);
    });
    ASSERT_TRUE(win::ClickButton(window->GetSafeHwnd(), kMainSettings));
  }
  const std::vector<TextRow> rows = TableRows(ResultsTable().table);
  ASSERT_FALSE(rows.empty());
  EXPECT_EQ(rows[0][7], u"0,999") << "the norm keeps 3 decimals";
  const sys::Text slope = rows[0][4];
  ASSERT_NE(slope.find(u','), sys::Text::npos);
  EXPECT_EQ(slope.size() - slope.find(u','), 3u) << sys::ToUtf8(slope);
  {
    win::ScopedMessageBoxRecorder boxes;
    ASSERT_TRUE(win::ClickButton(window->GetSafeHwnd(), kMainExport));
    ASSERT_EQ(boxes.Calls().size(), 1u);
    const sys::Text said = boxes.Calls()[0].text;
    const sys::Text lead = u"Экспорт успешно завершен.\nФайл: ";
    ASSERT_EQ(said.substr(0, lead.size()), lead) << sys::ToUtf8(said);
    const fs::path written = sys::ToUtf8(said.substr(lead.size()));
    EXPECT_EQ(written.parent_path(), folder);
    EXPECT_TRUE(fs::is_regular_file(written)) << "the message names the file written";
    EXPECT_EQ(boxes.Calls()[0].caption, u"Экспорт данных");
    EXPECT_EQ(boxes.Calls()[0].type, MB_OK | MB_ICONINFORMATION);
  }
  int files = 0;
  for (const auto& entry : fs::directory_iterator(folder)) files += entry.path().extension() == ".XLSX";
  EXPECT_EQ(files, 1);
  host->ints.erase(u"plugins\\Vetrix\\ProgramSettings/qtySymInProg");
  window->RunAndShow();
}

// "Экспорт" without a usable folder sends the user to "Настройки" and writes nothing.
TEST_F(MainWindow, ExportWithoutAFolderSaysWhereToChooseOne) {
  for (const char16_t* folder : {u"", u"ab"}) {
    host->strings[u"plugins\\Vetrix\\ProgramSettings/ExportFolder"] = folder;
    win::ScopedMessageBoxRecorder boxes;
    ASSERT_TRUE(win::ClickButton(window->GetSafeHwnd(), kMainExport));
    ASSERT_EQ(boxes.Calls().size(), 1u) << "folder \"" << sys::ToUtf8(folder) << '"';
    EXPECT_NE(boxes.Calls()[0].text.find(u"«Настройки»"), sys::Text::npos) << sys::ToUtf8(boxes.Calls()[0].text);
    EXPECT_EQ(boxes.Calls()[0].Icon(), static_cast<UINT>(MB_ICONEXCLAMATION));
  }
  host->strings.erase(u"plugins\\Vetrix\\ProgramSettings/ExportFolder");
}

// Closing only hides the window; shown again it has the same chromatograms and results.
TEST_F(MainWindow, ClosingHidesAndKeepsEverything) {
  const std::vector<TextRow> before = TableRows(ResultsTable().table);
  window->SendMessage(WM_CLOSE);
  win::ProcessPendingMessages();
  EXPECT_FALSE(window->IsWindowVisible());
  EXPECT_TRUE(IsWindow(window->GetSafeHwnd())) << "hidden, not destroyed";
  window->ShowWindow(SW_SHOWNORMAL);
  EXPECT_TRUE(window->IsWindowVisible());
  EXPECT_EQ(TableRows(ResultsTable().table), before);
  EXPECT_EQ(AssayListPage().Assays().size(), static_cast<std::size_t>(kSmallDatabaseAssays));
}

}  // namespace

namespace {

// "Компоненты" and "Отчет" open their modal dialogs over the main window; the check runs
// again only when the components dialog ends with OK.
TEST_F(MainWindow, ComponentsAndReportButtonsOpenTheirDialogs) {
  std::vector<UINT> shown;
  int button = 1036;
  win::ScopedModalDialogHook hook([&](HWND dialog, UINT id) {
    shown.push_back(id);
    EXPECT_EQ(GetParent(dialog), window->GetSafeHwnd());
    win::ClickButton(dialog, button);
  });
  ResultsTable().table.DeleteAllRows();
  ASSERT_TRUE(win::ClickButton(window->GetSafeHwnd(), kMainComponents));
  EXPECT_EQ(ResultsTable().table.GetItemCount(), 0) << "cancelled: no new run";
  button = 1035;
  ASSERT_TRUE(win::ClickButton(window->GetSafeHwnd(), kMainComponents));
  EXPECT_GT(ResultsTable().table.GetItemCount(), 0) << "OK: the check ran again";
  button = 1036;
  ASSERT_TRUE(win::ClickButton(window->GetSafeHwnd(), kMainReport));
  EXPECT_EQ(shown, (std::vector<UINT>{158, 158, 116}));
}

}  // namespace
