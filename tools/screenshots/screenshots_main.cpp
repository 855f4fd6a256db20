// vetrix-screenshots: renders the main window's pages and the module's dialogs, filled
// with a host database (the demo data), into PNG files on the offscreen platform.
//
//   vetrix-screenshots --db FILE --out DIR
//
// Plays host the way the window tests do: an in-memory profile and an analysis chooser
// that picks every visible analysis of FILE. Clicks "Добавить" and "Пересчитать", then
// grabs each upper and lower page and, through the modal dialog hook, each dialog while
// it is shown. Any message box is a failure (it is printed and the exit code is 1).
// Costs one load and a few runs of the check; a second or two.
#include <sqlite3.h>

#include <QApplication>
#include <QTabBar>
#include <QTest>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "data/database.h"
#include "platform/sys/locale.h"
#include "platform/sys/text.h"
#include "platform/win/qt_bridge.h"
#include "platform/win/automation.h"
#include "plugin/profile.h"
#include "plugin/settings.h"
#include "tools/screenshots/layout_check.h"
#include "tools/screenshots/screenshot_host.h"
#include "tools/screenshots/window_png.h"
#include "ui/about_dlg.h"
#include "ui/dlg_assay_list.h"
#include "ui/dlg_components.h"
#include "ui/dlg_main.h"
#include "ui/dlg_mixture_list.h"
#include "ui/dlg_report.h"
#include "ui/dlg_settings.h"
#include "ui/module_resources.h"

namespace {

namespace fs = std::filesystem;

QtMessageHandler g_previousHandler = nullptr;
std::vector<std::string> g_failures;

void FilterMessages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (message.contains(QLatin1String("This plugin does not support"))) return;
  if (g_previousHandler) g_previousHandler(type, context, message);
}

void Check(const std::string& failure) {
  if (failure.empty()) return;
  std::fprintf(stderr, "vetrix-screenshots: %s\n", failure.c_str());
  g_failures.push_back(failure);
}

// The identifiers of the analyses a user could choose (not hidden, not deleted), in
// date order; empty when the database cannot be read.
std::vector<std::int32_t> VisibleAnalyses(const std::string& db) {
  std::vector<std::int32_t> ids;
  sqlite3* handle = nullptr;
  sqlite3_stmt* st = nullptr;
  if (sqlite3_open_v2(db.c_str(), &handle, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK &&
      sqlite3_prepare_v2(handle, "SELECT id FROM assay WHERE ishidden = 0 AND isdeleted = 0 ORDER BY date, id", -1,
                         &st, nullptr) == SQLITE_OK)
    while (sqlite3_step(st) == SQLITE_ROW) ids.push_back(sqlite3_column_int(st, 0));
  sqlite3_finalize(st);
  sqlite3_close(handle);
  return ids;
}

// Writes the window to `path` and names any text that does not fit (a warning: the
// image is still written).
void Save(HWND window, const std::string& path) {
  Check(SaveWindowPng(window, path));
  for (const std::string& misfit : TextMisfits(window))
    std::fprintf(stderr, "vetrix-screenshots: warning: %s: %s\n", fs::path(path).filename().c_str(), misfit.c_str());
}

// Clicks tab `index` of a tab control with the mouse, as a user would.
void ClickTab(CTabCtrl& tabs, int index) {
  QTabBar* bar = win::WidgetOf(tabs.GetSafeHwnd())->findChild<QTabBar*>();
  if (!bar) return Check("a tab control without a tab bar");
  QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
  win::ProcessPendingMessages();
}

// Clicks row `row` of a list (first column) with the mouse.
void ClickRow(CListCtrl& list, int row) {
  RECT r{};
  if (!list.GetItemRect(row, &r, LVIR_LABEL)) return Check("no row to click");
  QPoint local;
  QWidget* target = win::WidgetAt(list.GetSafeHwnd(), POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}, &local);
  if (!target) return Check("no widget under the row");
  QTest::mouseClick(target, Qt::LeftButton, {}, local);
  win::ProcessPendingMessages();
}

// Opens a modal dialog with `open`, writes it to `path` while it is shown and cancels it.
template <class Open>
void GrabModal(UINT templateId, const std::string& path, Open open) {
  bool shown = false;
  {
    win::ScopedModalDialogHook hook([&](HWND dialog, UINT id) {
      shown = id == templateId;
      if (shown) Save(dialog, path);
      EndDialog(dialog, IDCANCEL);
    });
    open();
  }
  win::ProcessPendingMessages();
  if (!shown) Check("the dialog for " + path + " did not open");
}

void Shoot(DlgMain& window, const fs::path& out) {
  auto file = [&](const char* name) { return (out / name).string(); };
  ClickTab(window.UpperTabs(), 0);
  ClickRow(AssayListPage().List(), 0);
  ClickTab(window.LowerTabs(), kChromatogramInfoPage);
  Save(window.GetSafeHwnd(), file("main_chromatograms.png"));

  ClickTab(window.UpperTabs(), 1);
  ClickRow(MixtureListPage().Table(), 0);
  ClickTab(window.LowerTabs(), kMixtureInfoPage);
  Save(window.GetSafeHwnd(), file("main_mixtures.png"));

  const struct {
    int page;
    const char* name;
  } lower[] = {{kCalcInfoPage, "main_intermediate.png"},
               {kResultsPage, "main_results.png"},
               {kGraphPage, "main_graph.png"},
               {kMessagesPage, "main_messages.png"}};
  ClickTab(window.UpperTabs(), 0);
  for (const auto& page : lower) {
    ClickTab(window.LowerTabs(), page.page);
    Save(window.GetSafeHwnd(), file(page.name));
  }

  const HWND main = window.GetSafeHwnd();
  GrabModal(kSettingsTemplate, file("settings.png"), [&] { win::ClickButton(main, kMainSettings); });
  GrabModal(kComponentsTemplate, file("components.png"), [&] { win::ClickButton(main, kMainComponents); });
  GrabModal(kReportTemplate, file("report.png"), [&] { win::ClickButton(main, kMainReport); });
  GrabModal(kAboutTemplate, file("about.png"), [&] { window.SendMessage(WM_SYSCOMMAND, kAboutCommand); });
}

// Values a user would have saved earlier, so that the dialogs are not all blank.
void SeedProfile() {
  SetString(kProgramSettingsSection, u"ExportFolder", u"/home/laborant/Отчеты");
  SetString(kReportSection, u"DeviceNumber", u"1042");
  SetString(kReportSection, u"Operator", u"Иванова А. С.");
  for (const char16_t* part : {u"enableAssayList", u"enableMixtureList", u"enableMixtureInfo", u"enableResultCheck",
                               u"enableGraph"})
    SetInt(kReportSection, part, 1);
}

int Run(const std::string& db, const fs::path& out) {
  ScreenshotHost host;
  host.chosenAssays = VisibleAnalyses(db);
  if (host.chosenAssays.empty()) {
    std::fprintf(stderr, "vetrix-screenshots: no analyses in %s\n", db.c_str());
    return 1;
  }
  sys::SetRussianLocale();
  SetProfilePrefix(kModuleProfilePrefix);
  SeedProfile();
  DataBaseConnectionBase::instance().setLocation(sys::FromUtf8(db));
  win::SetMessageBoxHook([](const win::MessageBoxCall& box) {
    Check("message box: " + sys::ToUtf8(box.caption) + ": " + sys::ToUtf8(box.text));
    return 1;
  });
  win::SetPopupMenuHook([](const win::PopupMenuCall&) { return 0u; });
  RegisterModuleResources();
  auto* window = new DlgMain();  // deletes itself with its window
  if (!window->Create(kMainTemplate, nullptr)) {
    std::fprintf(stderr, "vetrix-screenshots: the main window was not created\n");
    return 1;
  }
  window->ShowWindow(SW_SHOW);
  win::ProcessPendingMessages();
  win::ClickButton(AssayListPage().GetSafeHwnd(), IDC_ASSAY_ADD);
  win::ProcessPendingMessages();
  win::ClickButton(window->GetSafeHwnd(), kMainRecalculate);
  win::ProcessPendingMessages();
  Shoot(*window, out);
  window->DestroyWindow();
  win::ProcessPendingMessages();
  win::SetMessageBoxHook({});
  win::SetPopupMenuHook({});
  SetProfilePrefix(u"");
  return g_failures.empty() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  std::string db, out;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string flag = argv[i];
    if (flag == "--db") db = argv[i + 1];
    if (flag == "--out") out = argv[i + 1];
  }
  if (db.empty() || out.empty()) {
    std::fprintf(stderr, "usage: vetrix-screenshots --db FILE --out DIR\n");
    return 2;
  }
  std::error_code error;
  fs::create_directories(out, error);
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  // The demo analyses are dated in Moscow time; the same images wherever they are made.
  setenv("TZ", "Europe/Moscow", 1);
  tzset();
  std::string runtime = (fs::temp_directory_path() / "vetrix-shots-XXXXXX").string();
  if (mkdtemp(runtime.data())) setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
  g_previousHandler = qInstallMessageHandler(FilterMessages);
  int result = 0;
  {
    QApplication app(argc, argv);
    result = Run(db, out);
  }
  fs::remove_all(runtime, error);
  return result;
}
