// driver_module.cpp: a test module that plays the user of the desktop host. Placed in the
// plug-in folder after the real module (it loads last and unloads first), it runs the steps
// named in LORTAN_DRIVER once the host's event loop has started, through the real widgets
// of the host and of the module, and writes what it reads into the file LORTAN_DRIVER_OUT.
//
// Steps (separated by blanks):
//   open           the module's menu entry in the host's menu bar
//   layout         on "Промежуточные расчеты": column 2 dragged 37 pixels wider, column 5
//                  hidden through the column menu
//   report         "Отчет": device "ХР-7", operator "Иванов А. Б.", switches 1046, 1048 and
//                  1051 on, 1047 and 1050 off; "Отчет" pressed in it, then "Отмена"
//   report-held    the same, but the dialog stays open after "Отчет" and "ready" is written
//   choose-all     "Удалить все", "Добавить", every chromatogram chosen in the host's chooser
//   choose-rest    the same without the first chromatogram of the chooser
//   write-report   "Пересчитать", then "Отчет" with every part into LORTAN_DRIVER_REPORT
//                  (the host's save dialog answered); writes "box <text>" of the host's
//                  message that follows
//   tr             writes "tr <Cancel button>|<file dialog's "Save As">" as Qt shows them
//   dump           writes "widths w0 ... w14", "report device|operator|s1 s2 s3 s4 s5" and
//                  "list N" into the output file (the report dialog is opened and cancelled)
//   ready          writes "ready" into the output file
//   exit           the host's "Файл" / "Выход"
//   close          the host window's close
// Without exit or close the host waits (for a signal from the test).
//
// LORTAN_DRIVER_KILL_AT=K: from the driver's Unload on, the K-th profile write the host is
// asked for kills the host (SIGKILL) before it is done. LORTAN_DRIVER_SLOW_MS=M: every
// such write first waits M milliseconds.
#include <signal.h>
#include <unistd.h>

#include <QAbstractButton>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHeaderView>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <string>
#include <thread>

#include "platform/sys/text.h"
#include "platform/win/button.h"
#include "platform/win/dialog.h"
#include "platform/win/listctrl.h"
#include "platform/win/qt_bridge.h"
#include "platform/win/automation.h"
#include "platform/win/window.h"
#include "plugin/host_api.h"

#define DRIVER_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

constexpr UINT kMainTemplate = 101, kCalcInfoTemplate = 155, kReportTemplate = 116, kAssayTemplate = 153;
constexpr int kCalcInfoTable = 1023, kColumnMenuFirst = 4024, kAssayList = 1016;
constexpr int kReport = 1024, kReportDevice = 1042, kReportOperator = 1043, kReportCancel = 1036;
constexpr int kSwitches[] = {1046, 1047, 1048, 1050, 1051};
constexpr int kRemoveAll = 1019, kAdd = 1020, kRecalculate = 1040;

HostApi* g_api = nullptr;
std::int32_t (*g_execute)(const char*, void*, void*) = nullptr;
std::int32_t g_event = 0;
bool g_armed = false;
int g_writes = 0;

PluginInfo g_info{sizeof(PluginInfo), u"Тестовый пользователь", 0x01000000u, u"", u"", u"", u"", u"", {}};

void Output(const std::string& line) {
  const char* file = std::getenv("LORTAN_DRIVER_OUT");
  if (!file) return;
  std::ofstream out(file, std::ios::app);
  out << line << '\n';
}

int EnvInt(const char* name) {
  const char* value = std::getenv(name);
  return value ? std::atoi(value) : 0;
}

// The host's table entry, with the kill and the delay of the profile writes.
std::int32_t Execute(const char* command, void* param1, void* param2) {
  const bool write = command && (std::strcmp(command, "Profile/SetInt") == 0 || std::strcmp(command, "Profile/SetString") == 0);
  if (write && g_armed) {
    if (const int ms = EnvInt("LORTAN_DRIVER_SLOW_MS"); ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    if (++g_writes == EnvInt("LORTAN_DRIVER_KILL_AT")) ::kill(::getpid(), SIGKILL);
  }
  return g_execute(command, param1, param2);
}

// The table entry is put back when the library is closed.
struct RestoreExecute {
  ~RestoreExecute() {
    if (g_api && g_execute) g_api->Execute = g_execute;
  }
} g_restore;

QMainWindow* HostWindow() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* main = qobject_cast<QMainWindow*>(w); main && main->windowTitle() == QStringLiteral("ПО Лортан"))
      return main;
  return nullptr;
}

QAction* FindAction(const QList<QAction*>& actions, const QStringList& path) {
  for (QAction* a : actions) {
    if (a->text() != path.front()) continue;
    if (path.size() == 1) return a;
    if (a->menu()) return FindAction(a->menu()->actions(), path.mid(1));
  }
  return nullptr;
}

void TriggerMenu(const QString& path) {
  QMainWindow* host = HostWindow();
  QAction* action = host ? FindAction(host->menuBar()->actions(), path.split(u'/')) : nullptr;
  if (!action) {
    Output("no menu entry " + path.toStdString());
    return;
  }
  action->trigger();
  win::ProcessPendingMessages();
}

// The page of dialog template `id` inside the module's main window, or null.
HWND FindPage(HWND root, UINT id) {
  for (HWND child : win::ChildWindows(root)) {
    if (win::DialogTemplateOf(child) == id) return child;
    if (HWND found = FindPage(child, id)) return found;
  }
  return nullptr;
}

HWND Page(UINT id) {
  HWND main = win::FindDialog(kMainTemplate);
  return main ? FindPage(main, id) : nullptr;
}

CListCtrl* CalcInfoTable() {
  HWND page = Page(kCalcInfoTemplate);
  HWND table = page ? GetDlgItem(page, kCalcInfoTable) : nullptr;
  return table ? dynamic_cast<CListCtrl*>(CWnd::FromHandle(table)) : nullptr;
}

void Layout() {
  CListCtrl* table = CalcInfoTable();
  if (!table) return Output("no intermediate table");
  auto* header = static_cast<QHeaderView*>(win::WidgetOf(table->GetHeaderCtrl()->m_hWnd));
  const QPoint from(header->sectionViewportPosition(2) + header->sectionSize(2), header->height() / 2);
  QTest::mousePress(header->viewport(), Qt::LeftButton, {}, from);
  QTest::mouseMove(header->viewport(), from + QPoint(20, 0));
  QTest::mouseMove(header->viewport(), from + QPoint(37, 0));
  QTest::mouseRelease(header->viewport(), Qt::LeftButton, {}, from + QPoint(37, 0));
  win::ProcessPendingMessages();
  win::ScopedPopupMenuHook menu(kColumnMenuFirst + 5);
  auto* view = static_cast<QTreeView*>(win::WidgetOf(table->m_hWnd));
  const QPoint local(20, 5);
  QContextMenuEvent event(QContextMenuEvent::Mouse, local, view->viewport()->mapToGlobal(local));
  QApplication::sendEvent(view->viewport(), &event);
  win::ProcessPendingMessages();
}

// Presses "Отчет" on the main window and runs `inDialog` in the report dialog, which is
// then ended unless `keepOpen`.
void WithReportDialog(const std::function<void(CWnd&)>& inDialog, bool keepOpen = false) {
  HWND main = win::FindDialog(kMainTemplate);
  if (!main) return Output("no main window");
  win::ScopedModalDialogHook hook([&](HWND dialog, UINT shown) {
    if (shown == kReportTemplate) inDialog(*CWnd::FromHandle(dialog));
    if (!keepOpen || shown != kReportTemplate) EndDialog(dialog, IDCANCEL);
  });
  win::ClickButton(main, kReport);
  win::ProcessPendingMessages();
}

// `hold`: the dialog stays open after "Отчет" and "ready" is written.
void Report(bool hold) {
  WithReportDialog(
      [hold](CWnd& dialog) {
        dialog.SetDlgItemText(kReportDevice, u"ХР-7");
        dialog.SetDlgItemText(kReportOperator, u"Иванов А. Б.");
        const bool on[] = {true, false, true, false, true};
        for (int i = 0; i < 5; ++i) dialog.CheckDlgButton(kSwitches[i], on[i] ? BST_CHECKED : BST_UNCHECKED);
        win::ClickButton(dialog.m_hWnd, kReport);
        if (hold)
          Output("ready");
        else
          win::ClickButton(dialog.m_hWnd, kReportCancel);
      },
      hold);
}

// Answers the host's chooser (a Qt dialog of the host) as soon as it is shown.
void AnswerChooser(bool skipFirst) {
  QTimer::singleShot(20, [skipFirst] {
    QWidget* dialog = QApplication::activeModalWidget();
    auto* table = dialog ? dialog->findChild<QTableWidget*>() : nullptr;
    if (!table) return AnswerChooser(skipFirst);
    table->selectAll();
    if (skipFirst) table->selectionModel()->select(table->model()->index(0, 0),
                                                   QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
    for (QAbstractButton* button : dialog->findChildren<QAbstractButton*>())
      if (button->text() == QStringLiteral("Выбрать")) return button->click();
    Output("the chooser has no button \"Выбрать\"");
  });
}

void Choose(bool skipFirst) {
  HWND main = win::FindDialog(kMainTemplate);
  HWND page = Page(kAssayTemplate);
  if (!main || !page) return Output("no chromatogram page");
  win::ClickButton(page, kRemoveAll);
  win::ProcessPendingMessages();
  AnswerChooser(skipFirst);
  win::ClickButton(page, kAdd);
  win::ProcessPendingMessages();
}

// Handles the host's own modal dialogs as they come: the save dialog gets `file`, the
// message box is written out ("box <text>") and closed with its OK; then it stops.
void AnswerHostDialogs(const QString& file) {
  QTimer::singleShot(20, [file] {
    QWidget* modal = QApplication::activeModalWidget();
    if (auto* picker = qobject_cast<QFileDialog*>(modal)) {
      picker->selectFile(file);
      static_cast<QDialog*>(picker)->accept();  // QFileDialog::accept, reached through the public slot
    } else if (auto* box = qobject_cast<QMessageBox*>(modal)) {
      Output("box " + box->text().replace(u'\n', u' ').toStdString());
      if (QAbstractButton* ok = box->button(QMessageBox::Ok)) return ok->click();
      return box->reject();
    }
    AnswerHostDialogs(file);
  });
}

// "Пересчитать", then "Отчет" with every part; the report goes to LORTAN_DRIVER_REPORT.
void WriteReport() {
  HWND main = win::FindDialog(kMainTemplate);
  if (!main) return Output("no main window");
  win::ClickButton(main, kRecalculate);
  win::ProcessPendingMessages();
  const char* file = std::getenv("LORTAN_DRIVER_REPORT");
  AnswerHostDialogs(QString::fromUtf8(file ? file : ""));
  WithReportDialog([](CWnd& dialog) {
    for (int id : kSwitches) dialog.CheckDlgButton(id, BST_CHECKED);
    win::ClickButton(dialog.m_hWnd, kReport);
    win::ClickButton(dialog.m_hWnd, kReportCancel);
  });
}

// The texts of a standard button and of a file dialog's title, as Qt translates them.
void Translations() {
  QDialogButtonBox buttons(QDialogButtonBox::Cancel);
  Output("tr " + buttons.button(QDialogButtonBox::Cancel)->text().toStdString() + "|" +
         QCoreApplication::translate("QFileDialog", "Save As").toStdString());
}

void Dump() {
  std::string widths = "widths";
  if (CListCtrl* table = CalcInfoTable())
    for (int c = 0; c < 15; ++c) widths += " " + std::to_string(table->GetColumnWidth(c));
  Output(widths);
  std::string report = "report";
  WithReportDialog([&](CWnd& dialog) {
    report += " " + sys::ToUtf8(dialog.GetDlgItemText(kReportDevice)) + "|" +
              sys::ToUtf8(dialog.GetDlgItemText(kReportOperator)) + "|";
    for (int id : kSwitches) report += " " + std::to_string(dialog.IsDlgButtonChecked(id));
  });
  Output(report);
  HWND page = Page(kAssayTemplate);
  HWND list = page ? GetDlgItem(page, kAssayList) : nullptr;
  auto* control = list ? dynamic_cast<CListCtrl*>(CWnd::FromHandle(list)) : nullptr;
  Output("list " + std::to_string(control ? control->GetItemCount() : -1));
}

void RunSteps() {
  const char* script = std::getenv("LORTAN_DRIVER");
  if (!script) return;
  // Message boxes ("Недостаточно данных..." of a report without a run) would wait for a user.
  win::ScopedMessageBoxRecorder boxes;
  for (const QString& step : QString::fromUtf8(script).split(u' ', Qt::SkipEmptyParts)) {
    if (step == u"open") TriggerMenu(QStringLiteral("Данные/Расчёты/Проверка линейности детектора"));
    else if (step == u"layout") Layout();
    else if (step == u"report") Report(false);
    else if (step == u"report-held") Report(true);
    else if (step == u"choose-all") Choose(false);
    else if (step == u"choose-rest") Choose(true);
    else if (step == u"dump") Dump();
    else if (step == u"write-report") WriteReport();
    else if (step == u"tr") Translations();
    else if (step == u"ready") Output("ready");
    else if (step == u"exit") TriggerMenu(QStringLiteral("Файл/Выход"));
    else if (step == u"close") HostWindow()->close();
    else Output("unknown step " + step.toStdString());
  }
}

std::int32_t OnModulesLoaded() {
  QTimer::singleShot(0, [] { RunSteps(); });
  return 0;
}

}  // namespace

DRIVER_EXPORT PluginInfo* GetPluginInfo(std::uint32_t) { return &g_info; }

DRIVER_EXPORT std::int32_t Load(HostApi* api) {
  g_api = api;
  g_execute = api->Execute;
  api->Execute = &Execute;
  g_event = api->Subscribe("System/ModulesLoaded", OnModulesLoaded);
  return 0;
}

DRIVER_EXPORT std::int32_t Unload() {
  g_api->Unsubscribe(g_event);
  g_armed = true;  // the modules unloaded after this one save now
  Output("saving");
  return 0;
}
