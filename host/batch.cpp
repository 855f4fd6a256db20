// batch.cpp: the unattended run through the module's windows (see batch.h).
#include "host/batch.h"

#include <QString>

#include <cstdio>
#include <filesystem>
#include <functional>

#include "calc/presentation.h"
#include "host/host_session.h"
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

void PrintResults(HWND main) {
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
  std::fwrite(out.data(), 1, out.size(), stdout);
  std::fflush(stdout);
}

bool Export(HWND main, const std::string& folder, const std::vector<win::MessageBoxCall>& boxes) {
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
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

}  // namespace

int RunBatch(HostSession& session) {
  const HostOptions& o = session.options();
  std::error_code ec;
  if (!std::filesystem::is_regular_file(o.db, ec)) return Fail("no database file: " + o.db);
  std::vector<win::MessageBoxCall> boxes;
  win::SetMessageBoxHook([&](const win::MessageBoxCall& call) {
    boxes.push_back(call);
    std::fprintf(stderr, "lortan: message \"%s\": %s\n", sys::ToUtf8(call.caption).c_str(),
                 sys::ToUtf8(sys::ToTerminalLines(call.text)).c_str());
    return IDOK;
  });
  struct Unhook {
    ~Unhook() { win::SetMessageBoxHook({}); }
  } unhook;

  if (!session.RunMenuEntry(QString::fromUtf8(kMenuPath))) return Fail(std::string("no menu entry ") + kMenuPath);
  win::ProcessPendingMessages();
  HWND main = win::FindDialog(kMainWindowTemplate);
  if (!main) return Fail("the module's main window did not open");
  if (!ClickControlOf(main, kRemoveAll) || (win::ProcessPendingMessages(), !ClickControlOf(main, kAdd)))
    return Fail("the chromatogram page's buttons were not found");
  win::ProcessPendingMessages();
  if (!win::ClickButton(main, kRecalculate)) return Fail("no \"Пересчитать\" button");
  win::ProcessPendingMessages();
  PrintResults(main);

  int rc = 0;
  if (!o.exportFolder.empty() && !Export(main, o.exportFolder, boxes)) rc = 1;
  if (!o.reportFile.empty() && !Report(main, o.reportParts, session.services())) rc = 1;
  return rc;
}
