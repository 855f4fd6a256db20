// dlg_main.cpp: the main window's construction, tab strips, sizing rules, system menu,
// buttons and message handling. The run and the reload are in dlg_main_run.cpp.
//
// Assumes the module's resources are registered (templates 101 and 150-158, strings
// 4000-4027, icon 102) and the page singletons of the ui/ headers. Every handler catches
// what it raises and shows it (ShowFailure). Costs: window creation once; a resize moves
// eight page windows.
#include "ui/dlg_main.h"

#include <exception>

#include "plugin/component_store.h"
#include "calc/messages.h"
#include "calc/presentation.h"
#include "platform/win/menu.h"
#include "platform/win/resources.h"
#include "ui/about_dlg.h"
#include "ui/dlg_assay_list.h"
#include "ui/dlg_calc_info.h"
#include "ui/dlg_components.h"
#include "ui/dlg_graph_preview.h"
#include "ui/dlg_main_failure.h"
#include "ui/dlg_mixture_list.h"
#include "ui/dlg_msg.h"
#include "ui/dlg_out_table.h"
#include "ui/dlg_report.h"
#include "ui/dlg_settings.h"
#include "ui/module_resources.h"

namespace {

DlgMain* g_mainWindow = nullptr;

// Icon 102, loaded once for the module's life.
HICON ModuleIcon() {
  static HICON icon = LoadIcon(kModuleIcon);
  return icon;
}

struct ColumnSpec {
  const char16_t* header;
  int width;
};

void SetColumns(CDlgOutTable& page, const std::vector<ColumnSpec>& columns) {
  page.table.SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
  for (std::size_t i = 0; i < columns.size(); ++i)
    page.table.InsertColumn(static_cast<int>(i), columns[i].header, LVCFMT_LEFT, columns[i].width);
}

}  // namespace

DlgMain* MainWindow() { return g_mainWindow; }
void SetMainWindow(DlgMain* window) { g_mainWindow = window; }

RECT PageRect(const CTabCtrl& tabs) {
  RECT r{};
  tabs.GetClientRect(&r);
  r.left += 2;
  r.top += 22;
  r.right -= 4;
  r.bottom -= 4;
  return r;
}

DlgMain::DlgMain() : CDialogEx(kMainTemplate, nullptr) {}

DlgMain::~DlgMain() {
  m_inDestructor = true;
  if (m_hWnd) DestroyWindow();
}

void DlgMain::DoDataExchange(CDataExchange* dx) {
  CDialogEx::DoDataExchange(dx);
  DDX_Control(dx, kMainUpperTabs, m_upperTabs);
  DDX_Control(dx, kMainLowerTabs, m_lowerTabs);
}

BOOL DlgMain::OnInitDialog() {
  CDialogEx::OnInitDialog();
  SetIcon(ModuleIcon(), TRUE);
  SetIcon(ModuleIcon(), FALSE);
  m_version = std::make_unique<ModuleVersionInfo>();
  SetWindowText(m_version->Value(u"FileDescription"));
  const sys::Text aboutText = LoadString(4000);
  if (CMenu* systemMenu = GetSystemMenu(FALSE); systemMenu && !aboutText.empty()) {
    systemMenu->AppendMenu(MF_SEPARATOR);
    systemMenu->AppendMenu(MF_STRING, kAboutCommand, aboutText);
  }
  m_settingsDialog = std::make_unique<DlgSettings>(this);
  m_componentsDialog = std::make_unique<DlgComponents>(this);
  BuildDefaultComponents();
  LoadComponentNames();
  m_reportDialog = std::make_unique<DlgReport>(this);
  RECT window{};
  GetWindowRect(&window);
  m_minTrackWidth = window.right - window.left;
  m_minTrackHeight = window.bottom - window.top;
  m_maxTrackWidth = m_minTrackWidth + 800;
  m_maxTrackHeight = m_minTrackHeight + 1000;
  BuildUpperStrip();
  BuildLowerStrip();
  GuardedCall(this, [] { AssayListPage().LoadSavedList(); });
  GuardedCall(this, [this] { RunAndShow(); });
  return TRUE;
}

// Creates one page from its template as a child of the tab strip, behind a new tab; the
// first page of a strip is shown, the others hidden.
void DlgMain::AddPage(CTabCtrl& tabs, std::vector<HWND>& pages, CDialog& page, UINT templateId, UINT captionId) {
  const int index = static_cast<int>(pages.size());
  const sys::Text caption = LoadString(captionId);
  tabs.InsertItem(TCIF_TEXT, index, caption.c_str(), 0, 0);
  page.Create(templateId, &tabs);
  const RECT r = PageRect(tabs);
  page.MoveWindow(r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
  page.ShowWindow(index == 0 ? SW_SHOW : SW_HIDE);
  pages.push_back(page.GetSafeHwnd());
}

void DlgMain::BuildUpperStrip() {
  AddPage(m_upperTabs, m_upperPages, AssayListPage(), IDD_ASSAY_LIST, 4004);
  AddPage(m_upperTabs, m_upperPages, MixtureListPage(), IDD_MIXTURE_LIST, 4003);
}

void DlgMain::BuildLowerStrip() {
  AddPage(m_lowerTabs, m_lowerPages, ChromatogramInfoTable(), kDlgOutTableTemplate, 4006);
  AddPage(m_lowerTabs, m_lowerPages, MixtureInfoTable(), kDlgOutTableTemplate, 4005);
  AddPage(m_lowerTabs, m_lowerPages, CalcInfoPage(), IDD_CALC_INFO, 4007);
  AddPage(m_lowerTabs, m_lowerPages, ResultsTable(), kDlgOutTableTemplate, 4002);
  AddPage(m_lowerTabs, m_lowerPages, GraphPage(), kGraphPageTemplate, 4027);
  AddPage(m_lowerTabs, m_lowerPages, MessagesPage(), kDlgMsgTemplate, 4008);
  SetUpOutTableColumns();
}

void DlgMain::SetUpOutTableColumns() {
  if (ChromatogramInfoTable().GetSafeHwnd())
    SetColumns(ChromatogramInfoTable(),
               {{u"№", 40}, {u"Пик", 350}, {u"Канал", 100}, {u"Площадь", 180}, {u"Время выхода, мин", 180}});
  if (MixtureInfoTable().GetSafeHwnd())
    SetColumns(MixtureInfoTable(),
               {{u"№", 40}, {u"Компонент", 350}, {u"Концентрация, моль%", 200}, {u"Неопределенность, %отн", 200}});
  if (ResultsTable().GetSafeHwnd()) {
    // The headers are those the headless check prints, so both read the same table.
    const TextRow header = ResultsHeader();
    const int widths[] = {40, 220, 60, 95, 95, 65, 135, 75, 65};
    std::vector<ColumnSpec> columns;
    for (std::size_t i = 0; i < header.size() && i < std::size(widths); ++i)
      columns.push_back({header[i].c_str(), widths[i]});
    SetColumns(ResultsTable(), columns);
  }
}

// Shows the page of the strip's current tab and hides the others.
void DlgMain::SelectPage(CTabCtrl& tabs, const std::vector<HWND>& pages) {
  const int selected = static_cast<int>(tabs.SendMessage(TCM_GETCURSEL));
  for (HWND page : pages) ::ShowWindow(page, SW_HIDE);
  if (selected >= 0 && static_cast<std::size_t>(selected) < pages.size()) ::ShowWindow(pages[selected], SW_SHOW);
}

void DlgMain::PlacePages(CTabCtrl& tabs, const std::vector<HWND>& pages, bool updateNow) {
  const RECT r = PageRect(tabs);
  for (HWND page : pages) {
    ::MoveWindow(page, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
    if (updateNow) ::UpdateWindow(page);
  }
}

BOOL DlgMain::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) {
  const auto* header = reinterpret_cast<const NMHDR*>(lParam);
  if (header && header->code == TCN_SELCHANGE) {
    if (header->idFrom == static_cast<UINT_PTR>(kMainUpperTabs)) {
      SelectPage(m_upperTabs, m_upperPages);
      if (m_upperTabs.GetCurSel() == 1) GuardedCall(this, [] { MixtureListPage().ShowMixtures(); });
      return TRUE;
    }
    if (header->idFrom == static_cast<UINT_PTR>(kMainLowerTabs)) {
      SelectPage(m_lowerTabs, m_lowerPages);
      return TRUE;
    }
  }
  return CDialogEx::OnNotify(wParam, lParam, result);
}

BOOL DlgMain::OnCommand(WPARAM wParam, LPARAM lParam) {
  const int id = LOWORD(wParam);
  if (HIWORD(wParam) == BN_CLICKED &&
      (id == kMainRecalculate || id == kMainComponents || id == kMainSettings || id == kMainReport || id == kMainExport)) {
    GuardedCall(this, [this, id] { OnButton(id); });
    return TRUE;
  }
  return CDialogEx::OnCommand(wParam, lParam);
}

void DlgMain::OnButton(int id) {
  switch (id) {
    case kMainRecalculate: Recalculate(); break;
    case kMainComponents:
      if (m_componentsDialog->DoModal() == IDOK) RunAndShow();
      break;
    case kMainSettings:
      if (m_settingsDialog->DoModal() == IDOK) RunAndShow();
      break;
    case kMainReport:
      m_reportDialog->SetAssays(&AssayListPage().Assays());
      m_reportDialog->SetMixtures(&MixtureListPage().Mixtures());
      m_reportDialog->SetContext(&m_context);
      m_reportDialog->DoModal();
      break;
    case kMainExport: Export(); break;
    default: break;
  }
}

LRESULT DlgMain::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_ASSAYS_CHANGED) {
    // A change that a later run has already shown (Recalculate runs at once, and its
    // removal and reload still post theirs) needs no second run on the same lists.
    if (wParam == 0 || static_cast<std::uint64_t>(wParam) > m_shownChange) GuardedCall(this, [this] { RunAndShow(); });
    return 0;
  }
  return CDialogEx::WindowProc(message, wParam, lParam);
}

void DlgMain::OnSysCommand(UINT id, LPARAM lParam) {
  if ((id & 0xFFF0u) == kAboutCommand) {
    CAboutDlg about(this);
    about.DoModal();
    return;
  }
  CDialogEx::OnSysCommand(id, lParam);
}

void DlgMain::OnGetMinMaxInfo(MINMAXINFO* info) {
  info->ptMinTrackSize = POINT{m_minTrackWidth, m_minTrackHeight};
  info->ptMaxTrackSize = POINT{m_maxTrackWidth, m_maxTrackHeight};
}

// The template's dynamic layout has moved the tab controls; the pages follow them.
void DlgMain::OnSize(UINT type, int cx, int cy) {
  CDialogEx::OnSize(type, cx, cy);
  if (IsWindow(m_upperTabs.GetSafeHwnd())) PlacePages(m_upperTabs, m_upperPages, true);
  if (IsWindow(m_lowerTabs.GetSafeHwnd())) PlacePages(m_lowerTabs, m_lowerPages, false);
}

void DlgMain::OnDestroy() {
  GuardedCall(this, [] { CalcInfoPage().SaveColumns(); });
  m_version.reset();
  m_settingsDialog.reset();
  m_componentsDialog.reset();
  m_reportDialog.reset();
  m_upperPages.clear();
  m_lowerPages.clear();
  CDialogEx::OnDestroy();
}

void DlgMain::PostNcDestroy() {
  if (g_mainWindow == this) g_mainWindow = nullptr;
  CDialogEx::PostNcDestroy();
  if (!m_inDestructor) delete this;
}
