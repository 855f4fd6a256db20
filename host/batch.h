// batch.h: lortan --batch — the module driven through its own windows, unattended.
//
// The module's main window is opened through its menu entry; the chromatogram page's list
// is emptied ("Удалить все", so that what the profile restored does not count) and filled
// through "Добавить", which asks the host's chooser (answering the --select selection
// without showing itself, at most 256 per press, so "Добавить" is pressed until every
// chosen identifier was handed); "Пересчитать" runs the check; the results table is read from
// the results page's list and the system messages from the messages page's text box and
// printed to standard output exactly as vetrix-check prints them. Then, when asked, the
// export folder is set in the settings dialog and "Экспорт" pressed, and the report
// dialog's switches are set and its "Отчет" pressed. Message boxes are answered with OK
// and echoed to standard error, one line each; an error box while chromatograms load
// fails the run. The windows are the module's; the window layer's hooks
// stand in for the user. The module is closed by the session's Unload afterwards.
#pragma once

#include <string>

class HostSession;

// The module's menu entry and the window-layer identifiers the batch mode drives.
namespace batch_ids {
inline constexpr char kMenuPath[] = "Данные/Расчёты/Проверка линейности детектора";
inline constexpr unsigned kMainWindowTemplate = 101;
inline constexpr unsigned kOutTableTemplate = 150;
inline constexpr unsigned kMessagesTemplate = 151;
inline constexpr unsigned kReportTemplate = 116;
inline constexpr unsigned kSettingsTemplate = 156;
inline constexpr int kRecalculate = 1040, kReport = 1024, kExport = 1025, kSettings = 1001;
inline constexpr int kAdd = 1020, kRemoveAll = 1019, kAssayList = 1016;
inline constexpr int kLowerStrip = 1009, kTableList = 1023, kMessagesEdit = 1015;
inline constexpr int kSettingsExportFolder = 1061, kOk = 1035, kCancel = 1036;
inline constexpr int kReportButton = 1024;
inline constexpr int kPartAssays = 1046, kPartMixtures = 1047, kPartMixtureInfo = 1048, kPartResults = 1050,
                     kPartGraph = 1051;
}  // namespace batch_ids

// Runs the batch on a started session. Exit codes: 0 done; 1 the run printed but a
// requested export or report failed; 2 the database is missing or cannot be read (one
// line: SQLite's text and the database), a chosen chromatogram failed to load, nothing
// could be loaded, standard output did not take the results, or the module's windows
// are not there; 128 + the signal's number when SIGTERM, SIGINT or SIGHUP stopped the run
// (after the step it came in; the caller still closes the module in order). Chosen
// identifiers that were skipped are named on standard error.
int RunBatch(HostSession& session);
