// dlg_main.h: DlgMain, the module's main window (template 101): five command buttons, an
// upper tab strip with the input pages (chromatograms, mixtures) and a lower strip with
// the outcome pages (chromatogram and mixture details, intermediate values, results,
// graph, system messages).
//
// The window owns the CalculationContext and is the one place that runs the check and
// pushes its outcome into every page (RunAndShow). The page objects are the module-wide
// singletons of their headers; the window creates their windows as children of its tab
// controls. The window is modeless, owned by the host's main window; closing it only
// hides it. Made with new: after its last window message the object deletes itself.
// No handler lets an exception out: a failure is shown in a message box.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "calc/run.h"
#include "platform/win/dialog.h"
#include "platform/win/tabctrl.h"
#include "plugin/module_identity.h"

class DlgSettings;
class DlgComponents;
class DlgReport;

inline constexpr UINT kMainTemplate = 101;
inline constexpr int kMainRecalculate = 1040;
inline constexpr int kMainComponents = 1038;
inline constexpr int kMainSettings = 1001;
inline constexpr int kMainReport = 1024;
inline constexpr int kMainExport = 1025;
inline constexpr int kMainUpperTabs = 1013;
inline constexpr int kMainLowerTabs = 1009;
// System menu command of the about box (compared with the low four bits cleared).
inline constexpr UINT kAboutCommand = 16;

// Lower-strip tab indices.
enum LowerPage { kChromatogramInfoPage, kMixtureInfoPage, kCalcInfoPage, kResultsPage, kGraphPage, kMessagesPage };

class DlgMain : public CDialogEx {
 public:
  DlgMain();
  ~DlgMain() override;

  // Runs the check on the loaded chromatogram and mixture lists and refreshes every
  // lower page (intermediate values, graph, results, messages).
  void RunAndShow();
  // Fills the results table from the context's curves (cells of ResultsRows, digits of
  // the program rounding read afresh).
  void FillResultsTable();
  // "Пересчитать": reloads every chosen chromatogram from the database, then runs.
  // Identifiers that could not be reloaded are kept and tried again next time.
  void Recalculate();
  // Writes the chromatogram list to the profile (the chromatogram page's SaveList: the
  // listed identifiers, then those a failed load kept out, so no choice is lost).
  void SaveChromatogramList();

  const CalculationContext& Context() const { return m_context; }
  CalculationContext& Context() { return m_context; }
  CTabCtrl& UpperTabs() { return m_upperTabs; }
  CTabCtrl& LowerTabs() { return m_lowerTabs; }
  const std::vector<HWND>& UpperPages() const { return m_upperPages; }
  const std::vector<HWND>& LowerPages() const { return m_lowerPages; }
  SIZE MinTrackSize() const { return {m_minTrackWidth, m_minTrackHeight}; }
  SIZE MaxTrackSize() const { return {m_maxTrackWidth, m_maxTrackHeight}; }
  // Identifiers a failed reload could not bring back (in the user's order).
  const std::vector<std::int32_t>& UnloadedIds() const;

  BOOL OnInitDialog() override;
  void DoDataExchange(CDataExchange* dx) override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnSysCommand(UINT id, LPARAM lParam) override;
  void OnGetMinMaxInfo(MINMAXINFO* info) override;
  void OnSize(UINT type, int cx, int cy) override;
  void OnDestroy() override;
  void PostNcDestroy() override;

 private:
  void BuildUpperStrip();
  void BuildLowerStrip();
  void AddPage(CTabCtrl& tabs, std::vector<HWND>& pages, CDialog& page, UINT templateId, UINT captionId);
  void SetUpOutTableColumns();
  void SelectPage(CTabCtrl& tabs, const std::vector<HWND>& pages);
  void PlacePages(CTabCtrl& tabs, const std::vector<HWND>& pages, bool updateNow);
  void ShowCalcInfoPage();
  void ShowGraphPage();
  void OnButton(int id);
  void Export();

  std::unique_ptr<ModuleVersionInfo> m_version;
  std::int32_t m_minTrackWidth = 0;
  std::int32_t m_minTrackHeight = 0;
  std::int32_t m_maxTrackWidth = 2000;
  std::int32_t m_maxTrackHeight = 2000;
  CalculationContext m_context;
  std::uint64_t m_shownChange = 0;  // the chromatogram list's change the last run saw
  CTabCtrl m_upperTabs;  // 1013
  std::vector<HWND> m_upperPages;
  CTabCtrl m_lowerTabs;  // 1009
  std::vector<HWND> m_lowerPages;
  std::unique_ptr<DlgSettings> m_settingsDialog;
  std::unique_ptr<DlgComponents> m_componentsDialog;
  std::unique_ptr<DlgReport> m_reportDialog;
  bool m_inDestructor = false;
};

// The module's main window: null until the first menu command creates it, and again once
// its window is gone.
DlgMain* MainWindow();
void SetMainWindow(DlgMain* window);

// The rectangle of a tab control's pages, in its client coordinates.
RECT PageRect(const CTabCtrl& tabs);

// Registers dialog template 101.
void RegisterDlgMainTemplate();
