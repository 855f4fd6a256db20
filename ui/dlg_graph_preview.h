// dlg_graph_preview.h: the graph page "График" of the main window's lower strip.
//
// For one detector channel and one component the page shows the calibration points of
// the last run (certified concentration against mean area) as a numbered table and as
// a plot. The main window hands it the run's curve list and fills the channel combo box;
// the report reads the selected curve and the plotted arrays and their extremes.
// One module-wide instance (GraphPage()). The curve list is not owned: the main window
// clears the reference before the list changes. Cost: Refresh is linear in the points
// of one curve plus one redraw.
#pragma once

#include <memory>
#include <vector>

#include "calc/records.h"
#include "platform/win/combobox.h"
#include "platform/win/dialog.h"
#include "platform/win/static.h"
#include "ui/chart.h"
#include "ui/grid_ctrl.h"

inline constexpr UINT kGraphPageTemplate = 157;
inline constexpr int kGraphChannelCombo = 1022;
inline constexpr int kGraphComponentCombo = 1057;
inline constexpr int kGraphChannelLabel = 1028;
inline constexpr int kGraphComponentLabel = 1027;
inline constexpr int kGraphPointsTable = 1045;
inline constexpr int kGraphPlotFrame = 1037;

using CalibrationCurveList = std::vector<std::unique_ptr<CalibrationCurve>>;

class DlgGraphPreview : public CDialogEx {
 public:
  enum { IDD = kGraphPageTemplate };
  DlgGraphPreview();

  // Sets (or, with null, clears) the curve list of the last run; not owned.
  void SetCurves(const CalibrationCurveList* list) { curves = list; }

  // Refills the component combo box with the curves of the channel selected in the
  // channel combo box that have at least two points with concentration and mean area;
  // selects entry 0 and returns the number of entries.
  int FillComponents();
  // Rebuilds the table, the float arrays, the extremes and the plot for the selected
  // component, then redraws the page at once.
  void Refresh();

  // The curve index held by the selected component entry; -1 when there is none.
  int SelectedCurveIndex() const;
  // The selected curve when the index names a curve of the list; null otherwise.
  const CalibrationCurve* SelectedCurve() const;

  CComboBox& ChannelCombo() { return channelCombo; }
  CComboBox& ComponentCombo() { return componentCombo; }
  CGridCtrl& Table() { return pointsTable; }

  CComboBox channelCombo;    // 1022: item data = channel number
  CComboBox componentCombo;  // 1057: item data = curve index
  CGridCtrl pointsTable;     // 1045
  CStatic plotFrame;         // 1037, owner-drawn

  const CalibrationCurveList* curves = nullptr;
  Chart chart;
  std::vector<float> xValues;  // the plotted points; the chart's series points into them
  std::vector<float> yValues;
  double minX = 0, maxX = 0, minY = 0, maxY = 0;  // of the last Refresh with points

  BOOL OnInitDialog() override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  void OnDrawItem(int idCtl, LPDRAWITEMSTRUCT drawItem) override;
  void DoDataExchange(CDataExchange* dx) override;
  // Enter and Escape inside the page do nothing.
  void OnOK() override {}
  void OnCancel() override {}
};

// The module-wide graph page.
DlgGraphPreview& GraphPage();

// Registers dialog template 157.
void RegisterDlgGraphPreviewTemplate();
