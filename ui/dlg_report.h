// dlg_report.h: the modal "Отчет" dialog: instrument number, operator and five content
// switches, kept in profile section "ReportSettings", and MakeReport, which builds the
// report's data document (and, with the graph, a 1000 x 1000 PNG of the graph page's
// plot in a new temporary folder) and hands it to the host's "Export/ExportToOdt".
//
// Made once by the main window, which sets the lists and the context before each run.
// The references are not owned; they must stay valid while the dialog runs. The module
// never writes the document to disk; picture folders are left for the system to clean.
#pragma once

#include "calc/run.h"
#include "platform/win/dialog.h"

inline constexpr UINT kReportTemplate = 116;
inline constexpr int kReportDeviceEdit = 1042;
inline constexpr int kReportOperatorEdit = 1043;
inline constexpr int kReportAssayListCheck = 1046;
inline constexpr int kReportMixtureListCheck = 1047;
inline constexpr int kReportMixtureInfoCheck = 1048;
inline constexpr int kReportResultCheck = 1050;
inline constexpr int kReportGraphCheck = 1051;
inline constexpr int kReportButton = 1024;

inline constexpr char16_t kReportSection[] = u"ReportSettings";

class DlgReport : public CDialogEx {
 public:
  enum { IDD = kReportTemplate };
  explicit DlgReport(CWnd* parent = nullptr);
  // Saves the seven settings once more.
  ~DlgReport() override;

  void SetMixtures(const MixtureList* list) { mixtures = list; }
  void SetAssays(const AssayList* list) { assays = list; }
  void SetContext(const CalculationContext* ctx) { context = ctx; }

  // 1 after "ОК" (settings saved), 2 after "Отмена".
  INT_PTR DoModal() override;

  // Builds the report and hands it to the host; every failure ends in a message box
  // (none when the host answers 0 or more).
  void MakeReport();

  // The seven settings to and from profile section "ReportSettings".
  void LoadSettings();
  void SaveSettings() const;

  sys::Text deviceNumber;
  sys::Text operatorName;
  int enableAssayList = 0;
  int enableMixtureList = 0;
  int enableMixtureInfo = 0;
  int enableResultCheck = 0;
  int enableGraph = 0;
  sys::Text templatesFolder = u"Vetrix";
  sys::Text templateWithoutGraph = u"ReportTemplate.odt";
  sys::Text templateWithGraph = u"ReportTemplateWitchGraph.odt";
  const MixtureList* mixtures = nullptr;
  const AssayList* assays = nullptr;
  const CalculationContext* context = nullptr;

  BOOL OnInitDialog() override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  void OnOK() override;
  void OnCancel() override;
  void DoDataExchange(CDataExchange* dx) override;

 private:
  // True once the settings were read from the profile or taken from the controls: only
  // then does destruction write them (an unopened dialog must not blank the profile).
  bool m_settingsKnown = false;
};

// Registers dialog template 116.
void RegisterDlgReportTemplate();
