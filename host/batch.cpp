// batch.cpp: the unattended run through the module's windows (see batch.h).
#include "host/batch.h"

#include <QString>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "calc/presentation.h"
#include "data/skipped_assays.h"
#include "host/batch_selection.h"
#include "host/host_session.h"
#include "host/quit_signals.h"
#include "platform/sys/stdout_writer.h"
#include "platform/sys/text_table.h"
#include "platform/win/button.h"
#include "platform/win/dialog.h"
#include "platform/win/listctrl.h"
#include "platform/win/automation.h"
#include "platform/win/window.h"

namespace {

using namespace batch_ids;

int Fail(const std::string& line) {
  std::fprintf(stderr, "lortan: %s\n", line.c_str());
  return 2;
}

// A window text (lines broken with "\r\n" or "\n") as one line for standard error.
std::string OneLine(const std::string& text) {
  std::string line;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') continue;
    line += text[i] == '\n' ? std::string("; ") : std::string(1, text[i]);
  }
  while (line.size() >= 2 && line.compare(line.size() - 2, 2, "; ") == 0) line.resize(line.size() - 2);
  return line;
}

// What went wrong while the chromatograms were loaded: the module's error boxes and the
// chooser's reports, one line each, in order.
struct LoadFailures {
  bool collecting = false;
  std::vector<std::string> lines;
};

// The pages of the main window's lower tab strip (1009), in the order they were made.
std::vector<HWND> LowerPages(HWND main) {
  HWND strip = win::FindControl(main, kLowerStrip);
  return strip ? win::ChildWindows(strip) : std::vector<HWND>();
}

std::vector<sys::Text> HeaderOf(CListCtrl& list) {
  std::vector<sys::Text> header;
  CHeaderCtrl* h = list.GetHeaderCtrl();
  const int count = h ? h->GetItemCount() : 0;
  for (int c = 0; c < count; ++c) {
    char16_t text[256] = {};
    HDITEMW item{};
    item.mask = HDI_TEXT;
    item.pszText = text;
    item.cchTextMax = 256;
    h->GetItem(c, &item);
    header.emplace_back(text);
  }
  return header;
}

// The results page's list: of the lower table pages (three share template 150), the one
// whose list is headed like the results table.
CListCtrl* ResultsList(HWND main) {
  for (HWND page : LowerPages(main)) {
    if (win::DialogTemplateOf(page) != kOutTableTemplate) continue;
    auto* list = dynamic_cast<CListCtrl*>(CWnd::FromHandle(GetDlgItem(page, kTableList)));
    if (list && HeaderOf(*list) == ResultsHeader()) return list;
  }
  return nullptr;
}

// The identifiers the chromatogram page lists (the item data of its list's rows); nullopt
// when the page's list is not there.
std::optional<std::vector<std::int32_t>> ListedIds(HWND main) {
  auto* list = dynamic_cast<CListCtrl*>(CWnd::FromHandle(win::FindControl(main, kAssayList)));
  if (!list) return std::nullopt;
  std::vector<std::int32_t> ids;
  for (int r = 0; r < list->GetItemCount(); ++r) ids.push_back(static_cast<std::int32_t>(list->GetItemData(r)));
  return ids;
}

HWND MessagesEdit(HWND main) {
  for (HWND page : LowerPages(main))
    if (win::DialogTemplateOf(page) == kMessagesTemplate) return GetDlgItem(page, kMessagesEdit);
  return nullptr;
}

bool ClickControlOf(HWND root, int id) {
  HWND button = win::FindControl(root, id);
  return button && win::ClickButton(GetParent(button), id);
}

// Runs `press` and answers the modal dialog of `templateId` it opens with `answer`.
bool WithDialog(unsigned templateId, const std::function<void(HWND)>& answer, const std::function<bool()>& press) {
  bool seen = false;
  win::ScopedModalDialogHook hook([&](HWND dialog, UINT shown) {
    if (shown != templateId) {
      EndDialog(dialog, IDCANCEL);  // not the dialog this step expects: leave it
      return;
    }
    seen = true;
    answer(dialog);
  });
  const bool pressed = press();
  win::ProcessPendingMessages();
  return pressed && seen;
}

// Prints the results table and the messages; false (with the reason on standard error)
// when standard output did not take them.
bool PrintResults(HWND main) {
  CListCtrl* list = ResultsList(main);
  std::vector<std::vector<sys::Text>> rows;
  std::vector<sys::Text> header = ResultsHeader();
  if (list) {
    header = HeaderOf(*list);
    for (int r = 0; r < list->GetItemCount(); ++r) {
      std::vector<sys::Text> row;
      for (std::size_t c = 0; c < header.size(); ++c) row.push_back(list->GetItemText(r, static_cast<int>(c)));
      rows.push_back(std::move(row));
    }
  } else {
    std::fprintf(stderr, "lortan: the results page's list was not found\n");
  }
  HWND edit = MessagesEdit(main);
  if (!edit) std::fprintf(stderr, "lortan: the messages page's text box was not found\n");
  const sys::Text messages = edit ? GetWindowText(edit) : sys::Text();
  const std::string out = sys::ToUtf8(sys::CheckOutputText(header, rows, messages));
  std::string error;
  if (sys::WriteStdout(out, error)) return true;
  Fail(error);
  return false;
}

bool Export(HWND main, const std::string& folder, const std::vector<win::MessageBoxCall>& boxes) {
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  if (ec) {
    std::fprintf(stderr, "lortan: the export folder %s cannot be created: %s\n", folder.c_str(), ec.message().c_str());
    return false;
  }
  const sys::Text path = sys::FromUtf8(std::filesystem::absolute(folder, ec).string());
  const bool set = WithDialog(
      kSettingsTemplate,
      [&](HWND dialog) {
        SetDlgItemText(dialog, kSettingsExportFolder, path.c_str());
        win::ClickButton(dialog, kOk);
      },
      [&] { return win::ClickButton(main, kSettings) != FALSE; });
  if (!set) {
    std::fprintf(stderr, "lortan: the settings dialog did not take the export folder\n");
    return false;
  }
  const std::size_t before = boxes.size();
  win::ClickButton(main, kExport);
  win::ProcessPendingMessages();
  for (std::size_t i = before; i < boxes.size(); ++i)
    if (boxes[i].Icon() == MB_ICONINFORMATION) return true;
  std::fprintf(stderr, "lortan: the export did not report success\n");
  return false;
}

bool Report(HWND main, const ReportParts& parts, HostServices& services) {
  const std::pair<int, bool> switches[] = {{kPartAssays, parts.assayList},
                                           {kPartMixtures, parts.mixtureList},
                                           {kPartMixtureInfo, parts.mixtureInfo},
                                           {kPartResults, parts.results},
                                           {kPartGraph, parts.graph}};
  services.lastReportCode.reset();
  const bool shown = WithDialog(
      kReportTemplate,
      [&](HWND dialog) {
        CWnd* wnd = CWnd::FromHandle(dialog);
        for (const auto& [id, on] : switches) wnd->CheckDlgButton(id, on ? BST_CHECKED : BST_UNCHECKED);
        win::ClickButton(dialog, kReportButton);
        win::ClickButton(dialog, kCancel);
      },
      [&] { return win::ClickButton(main, kReport) != FALSE; });
  if (!shown) {
    std::fprintf(stderr, "lortan: the report dialog did not open\n");
    return false;
  }
  if (services.lastReportCode != 0) {
    std::fprintf(stderr, "lortan: the report was not written\n");
    return false;
  }
  return true;
}

// Presses "Удалить все", then "Добавить" until the selection was handed over in full;
// false when the page's buttons are not there.
bool ChooseChromatograms(HWND main, BatchSelection& selection) {
  if (!ClickControlOf(main, kRemoveAll)) return false;
  win::ProcessPendingMessages();
  while (selection.Pending() && !TerminationSignal()) {
    const int calls = selection.Calls();
    if (!ClickControlOf(main, kAdd)) return false;
    win::ProcessPendingMessages();
    if (selection.Calls() == calls) break;  // the chooser was not asked (a failure said why)
  }
  return true;
}

// The batch's stand-ins for the user while it runs: message boxes answered with OK (and
// echoed, one line each, or kept as load failures), the chooser answering the selection,
// the host's failure reports kept as load failures while loading. Undone on destruction.
class BatchHooks {
 public:
  BatchHooks(HostServices& services, BatchSelection& selection)
      : services_(services), chooser_(services.chooseAssays), reporter_(services.report) {
    win::SetMessageBoxHook([this](const win::MessageBoxCall& call) {
      boxes_.push_back(call);
      const std::string text = OneLine(sys::ToUtf8(call.text));
      if (failures_.collecting && call.Icon() == MB_ICONERROR)
        failures_.lines.push_back(text);
      else
        std::fprintf(stderr, "lortan: message \"%s\": %s\n", sys::ToUtf8(call.caption).c_str(), text.c_str());
      return IDOK;
    });
    services.chooseAssays = selection.Chooser();
    services.report = [this](const std::string& text) {
      if (failures_.collecting)
        failures_.lines.push_back(OneLine(text));
      else if (reporter_)
        reporter_(text);
    };
  }
  ~BatchHooks() {
    win::SetMessageBoxHook({});
    services_.chooseAssays = chooser_;
    services_.report = reporter_;
  }
  BatchHooks(const BatchHooks&) = delete;
  BatchHooks& operator=(const BatchHooks&) = delete;

  LoadFailures& failures() { return failures_; }
  const std::vector<win::MessageBoxCall>& boxes() const { return boxes_; }

 private:
  HostServices& services_;
  AssayChooser chooser_;
  FailureReporter reporter_;
  LoadFailures failures_;
  std::vector<win::MessageBoxCall> boxes_;
};

// Opens the module's window, chooses the chromatograms and presses "Пересчитать". Returns
// the main window, or null when the run failed (said on standard error; the first load
// failure as one line).
HWND LoadChromatograms(HostSession& session, BatchSelection& selection, LoadFailures& failures) {
  // Opening the window (which restores the saved list), choosing and "Пересчитать" read
  // the database: an error box or a chooser failure meanwhile is a failed run.
  failures.collecting = true;
  HWND main = nullptr;
  if (!session.RunMenuEntry(QString::fromUtf8(kMenuPath))) {
    Fail(std::string("no menu entry ") + kMenuPath);
  } else if (win::ProcessPendingMessages(), !(main = win::FindDialog(kMainWindowTemplate))) {
    Fail("the module's main window did not open");
  } else if (!ChooseChromatograms(main, selection)) {
    Fail("the chromatogram page's buttons were not found");
    main = nullptr;
  } else if (!win::ClickButton(main, kRecalculate)) {
    Fail("no \"Пересчитать\" button");
    main = nullptr;
  } else {
    win::ProcessPendingMessages();
  }
  failures.collecting = false;
  if (main && !failures.lines.empty()) {
    Fail(failures.lines.front());
    main = nullptr;
  }
  return main;
}

}  // namespace

int RunBatch(HostSession& session) {
  // A termination signal stops the run after the step it came in; the session's orderly
  // end then closes the module as "Выход" would.
  if (const int ended = AnnouncedTermination()) return ended;
  const HostOptions& o = session.options();
  std::error_code ec;
  if (!std::filesystem::is_regular_file(o.db, ec)) return Fail("no database file: " + o.db);
  HostServices& services = session.services();
  BatchSelection selection(o.selectAll, o.selectIds);
  BatchHooks hooks(services, selection);
  HWND main = LoadChromatograms(session, selection, hooks.failures());
  if (const int ended = AnnouncedTermination()) return ended;
  if (!main) return 2;

  const std::optional<std::vector<std::int32_t>> listed = ListedIds(main);
  if (!listed) return Fail("the chromatogram page's list was not found");
  const std::vector<std::int32_t> skipped = SkippedIds(selection.Asked(), *listed);
  if (!skipped.empty()) std::fprintf(stderr, "lortan: %s\n", SkippedLine(skipped).c_str());
  if (listed->empty())
    return Fail(o.selectAll ? "nothing to check: the database " + o.db + " lists no visible chromatogram"
                            : "nothing to check: none of the chosen chromatograms could be loaded");
  const bool printed = PrintResults(main);
  if (const int ended = AnnouncedTermination()) return ended;
  if (!printed) return 2;

  int rc = 0;
  if (!o.exportFolder.empty()) {
    const bool exported = Export(main, o.exportFolder, hooks.boxes());
    if (const int ended = AnnouncedTermination()) return ended;
    if (!exported) rc = 1;
  }
  if (!o.reportFile.empty()) {
    const bool reported = Report(main, o.reportParts, services);
    if (const int ended = AnnouncedTermination()) return ended;
    if (!reported) rc = 1;
  }
  return rc;
}
