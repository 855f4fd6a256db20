// dlg_report.cpp: the report dialog and MakeReport: the data document of the last run,
// the graph picture in a fresh temporary folder, and the host's ODT export.
//
// Assumes the main window has set the lists and the context, and that the graph page
// shows the channel and component the report's graph is to show. The document lives in
// memory only and is released after the host's call; picture folders are never removed.
// Costs: one document build (linear in the run's records) and, with the graph, one
// 1000 x 1000 drawing and PNG encoding.
#include "ui/dlg_report.h"

#include <stdlib.h>
#include <unistd.h>

#include <exception>
#include <filesystem>
#include <memory>
#include <optional>

#include "output/report_document.h"
#include "output/report_evidence.h"
#include "platform/sys/local_time.h"
#include "platform/win/dc.h"
#include "platform/win/messagebox.h"
#include "platform/win/resources.h"
#include "plugin/host_bridge.h"
#include "plugin/profile.h"
#include "plugin/settings.h"
#include "ui/chart.h"
#include "ui/dlg_graph_preview.h"
#include "ui/dlg_msg.h"

namespace {

constexpr int kOkButton = 1035;
constexpr int kCancelButton = 1036;
constexpr UINT kModuleIcon = 102;
constexpr int kPictureSide = 1000;
constexpr std::size_t kMaxTempPath = 260;
constexpr char16_t kReportErrorCaption[] = u"Ошибка отчета";
constexpr char16_t kExportErrorCaption[] = u"Ошибка формирования отчета";
constexpr char16_t kPictureName[] = u"VetrixGraph.png";

// A new folder for the picture: a unique empty file "VTXxxxxxx" made in the system's
// temporary folder (which reserves the name), and next to it the folder of that name
// plus ".cat". Nothing when the temporary folder is unknown, longer than 260
// characters, or either step fails.
std::optional<std::filesystem::path> MakePictureFolder() {
  std::error_code ec;
  const std::filesystem::path temp = std::filesystem::temp_directory_path(ec);
  if (ec || temp.empty() || sys::FromUtf8(temp.string()).size() > kMaxTempPath) return std::nullopt;
  std::string pattern = (temp / "VTXXXXXXX").string();  // "VTX" + six to replace
  const int fd = mkstemp(pattern.data());
  if (fd < 0) return std::nullopt;
  close(fd);
  std::filesystem::path folder = pattern + ".cat";
  if (!std::filesystem::create_directory(folder, ec) || ec) return std::nullopt;
  return folder;
}

// The graph page's plot drawn with the report configuration into a 1000 x 1000 picture:
// the page's arrays, ranges of the data +-7 % of the span.
std::unique_ptr<CDC> DrawGraphPicture(const DlgGraphPreview& page) {
  std::unique_ptr<CDC> surface = CDC::CreateSurface(kPictureSide, kPictureSide);
  if (!surface) return nullptr;
  Chart chart;
  chart.Init();
  ConfigureReportChart(chart);
  ChartSeries& series = chart.series[static_cast<std::size_t>(chart.AddSeries())];
  ConfigureReportSeries(series);
  const std::size_t count = std::min(page.xValues.size(), page.yValues.size());
  series.SetPoints(page.xValues.data(), page.yValues.data(), static_cast<int>(count));
  if (count > 0) SetRangesAroundData(chart, page.minX, page.maxX, page.minY, page.maxY, 0.07);
  chart.Draw(surface.get(), RECT{0, 0, kPictureSide, kPictureSide}, false);
  return surface;
}

// Items 7 and 8 of the document: the graph items of the curve selected on the graph
// page (which must show this run's curves) and the saved picture's path. Every failure
// just leaves them out.
void AppendGraphPart(pugi::xml_node root, const CalculationContext& context, int digits) {
  const std::optional<std::filesystem::path> folder = MakePictureFolder();
  if (!folder) return;
  const DlgGraphPreview& page = GraphPage();
  const CalibrationCurve* curve = page.SelectedCurve();
  if (!curve || page.curves != &context.curves) return;  // the page shows another run, or nothing
  std::unique_ptr<CDC> picture = DrawGraphPicture(page);
  AppendGraphItems(root, *curve, digits);
  if (!picture) return;
  const std::filesystem::path file = *folder / sys::ToUtf8(kPictureName);
  if (picture->SaveAsPng(std::string_view(file.string()))) AppendPicture(root, sys::FromUtf8(file.string()));
}

}  // namespace

DlgReport::DlgReport(CWnd* parent) : CDialogEx(kReportTemplate, parent) {}

DlgReport::~DlgReport() {
  if (m_settingsKnown) SaveSettings();
}

INT_PTR DlgReport::DoModal() { return CDialogEx::DoModal(); }

void DlgReport::LoadSettings() {
  deviceNumber = GetString(kReportSection, u"DeviceNumber", u"");
  operatorName = GetString(kReportSection, u"Operator", u"");
  enableAssayList = GetInt(kReportSection, u"enableAssayList", 0);
  enableMixtureList = GetInt(kReportSection, u"enableMixtureList", 0);
  enableMixtureInfo = GetInt(kReportSection, u"enableMixtureInfo", 0);
  enableResultCheck = GetInt(kReportSection, u"enableResultCheck", 0);
  enableGraph = GetInt(kReportSection, u"enableGraph", 0);
  m_settingsKnown = true;
}

void DlgReport::SaveSettings() const {
  SetString(kReportSection, u"DeviceNumber", deviceNumber);
  SetString(kReportSection, u"Operator", operatorName);
  SetInt(kReportSection, u"enableAssayList", enableAssayList);
  SetInt(kReportSection, u"enableMixtureList", enableMixtureList);
  SetInt(kReportSection, u"enableMixtureInfo", enableMixtureInfo);
  SetInt(kReportSection, u"enableResultCheck", enableResultCheck);
  SetInt(kReportSection, u"enableGraph", enableGraph);
}

void DlgReport::DoDataExchange(CDataExchange* dx) {
  CDialogEx::DoDataExchange(dx);
  DDX_Text(dx, kReportDeviceEdit, deviceNumber);
  DDX_Text(dx, kReportOperatorEdit, operatorName);
  DDX_Check(dx, kReportAssayListCheck, enableAssayList);
  DDX_Check(dx, kReportMixtureListCheck, enableMixtureList);
  DDX_Check(dx, kReportMixtureInfoCheck, enableMixtureInfo);
  DDX_Check(dx, kReportResultCheck, enableResultCheck);
  DDX_Check(dx, kReportGraphCheck, enableGraph);
  if (dx && dx->m_bSaveAndValidate) m_settingsKnown = true;
}

// Icon; the profile's settings when both texts are still empty; then the controls.
BOOL DlgReport::OnInitDialog() {
  HICON icon = LoadIcon(kModuleIcon);
  SetIcon(icon, TRUE);
  SetIcon(icon, FALSE);
  if (deviceNumber.empty() && operatorName.empty()) LoadSettings();
  return CDialogEx::OnInitDialog();
}

BOOL DlgReport::OnCommand(WPARAM wParam, LPARAM lParam) {
  if (HIWORD(wParam) != BN_CLICKED) return CDialogEx::OnCommand(wParam, lParam);
  switch (LOWORD(wParam)) {
    case kReportButton:
      UpdateData(TRUE);
      try {
        MakeReport();
      } catch (const std::exception& e) {
        // Nothing may escape a window message; the user learns what failed.
        ::MessageBox(m_hWnd, sys::FromUtf8(e.what()).c_str(), kReportErrorCaption, MB_ICONERROR);
      }
      return TRUE;
    case kOkButton: OnOK(); return TRUE;
    case kCancelButton: OnCancel(); return TRUE;
    default: return CDialogEx::OnCommand(wParam, lParam);
  }
}

void DlgReport::OnOK() {
  UpdateData(TRUE);
  SaveSettings();
  EndDialog(IDOK);
}

void DlgReport::OnCancel() { EndDialog(IDCANCEL); }

// Checks host support and data, builds the document (with the graph part when asked
// for, then the evidence part after every standard item), hands it to
// "Export/ExportToOdt" and reports a negative answer.
void DlgReport::MakeReport() {
  if (!HostHasCommand("Main/OpenAssayFile")) {
    ::MessageBox(m_hWnd, u"Невозможно сформировать отчет в текущей версии ПО Лортан.", kReportErrorCaption,
                 MB_ICONERROR);
    return;
  }
  if (!mixtures || mixtures->empty() || !assays || assays->empty() || !context) {
    ::MessageBox(m_hWnd, u"Недостаточно данных для формирования отчета!", kReportErrorCaption, MB_ICONERROR);
    return;
  }
  Settings settings;  // the report digits as stored right now
  const int digits = Settings::qtySymInReport;
  const ReportContent content{deviceNumber,           operatorName,           enableAssayList != 0,
                              enableMixtureList != 0, enableMixtureInfo != 0, enableResultCheck != 0};
  pugi::xml_document document;
  pugi::xml_node root = BuildReportDocument(document, content, *mixtures, *assays, *context, digits, sys::Now());
  if (enableGraph) AppendGraphPart(root, *context, digits);
  AppendReportEvidence(root, content, *mixtures, *context, SystemMessageLog(), digits);
  const sys::Text templatePath =
      templatesFolder + u"\\" + (enableGraph ? templateWithGraph : templateWithoutGraph);
  OdtExportRequest request{0, 1, templatePath.c_str()};
  const std::int32_t rc = HostExecute("Export/ExportToOdt", &root, &request);
  if (rc < 0) ::MessageBox(m_hWnd, ReportErrorText(rc).c_str(), kExportErrorCaption, MB_ICONEXCLAMATION);
}
