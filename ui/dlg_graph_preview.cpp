// dlg_graph_preview.cpp: the graph page: channel and component choice, the points table
// and the plot of the chosen calibration curve.
//
// Assumes the main window sets the curve list and fills the channel combo box after each
// run, and clears the reference before the list changes. Costs: FillComponents is linear
// in all points of the run, Refresh in the points of one curve plus a redraw.
#include "ui/dlg_graph_preview.h"

#include <algorithm>
#include <limits>

#include "platform/sys/format.h"

namespace {

// A point the page can show: both a certified concentration and a mean area. A point
// without a concentration (a mixture lacking the component) has no place on the x axis.
bool Plottable(const MixturePoint& p) { return HasValue(p.concentration) && HasValue(p.meanArea); }

int PlottableCount(const CalibrationCurve& curve) {
  return static_cast<int>(std::count_if(curve.points.begin(), curve.points.end(),
                                        [](const auto& p) { return Plottable(*p); }));
}

// The curve's points by certified concentration, ascending (a stable copy of references).
std::vector<const MixturePoint*> SortedPoints(const CalibrationCurve& curve) {
  std::vector<const MixturePoint*> points;
  for (const auto& p : curve.points) points.push_back(p.get());
  std::stable_sort(points.begin(), points.end(), [](const MixturePoint* a, const MixturePoint* b) {
    return LessWithNoValueFirst(a->concentration, b->concentration);
  });
  return points;
}

}  // namespace

DlgGraphPreview::DlgGraphPreview() : CDialogEx(kGraphPageTemplate) { ConfigureGraphPageChart(chart); }

DlgGraphPreview& GraphPage() {
  static DlgGraphPreview page;
  return page;
}

void DlgGraphPreview::DoDataExchange(CDataExchange* dx) {
  CDialogEx::DoDataExchange(dx);
  DDX_Control(dx, kGraphChannelCombo, channelCombo);
  DDX_Control(dx, kGraphComponentCombo, componentCombo);
  DDX_Control(dx, kGraphPointsTable, pointsTable);
  DDX_Control(dx, kGraphPlotFrame, plotFrame);
}

// Binds the controls, makes the frame owner-drawn, gives the chart the page's
// configuration (fixed ranges 0 to 1) and the table its three columns.
BOOL DlgGraphPreview::OnInitDialog() {
  CDialogEx::OnInitDialog();
  plotFrame.ModifyStyle(SS_TYPEMASK, SS_OWNERDRAW);
  chart.Init();
  ConfigureGraphPageChart(chart);
  pointsTable.SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
  pointsTable.InsertColumn(0, u"№", LVCFMT_LEFT, 40);
  pointsTable.InsertColumn(1, u"Концентрация, моль%", LVCFMT_LEFT, 140);
  pointsTable.InsertColumn(2, u"Площадь", LVCFMT_LEFT, 80);
  return TRUE;
}

// Offers the curves of the selected channel with two or more plottable points; the item
// data is the curve's index in the list. No channel selected: nothing is offered.
int DlgGraphPreview::FillComponents() {
  componentCombo.ResetContent();
  int added = 0;
  const int channelEntry = channelCombo.GetCurSel();
  if (curves && channelEntry >= 0) {
    const auto channel = static_cast<std::int32_t>(channelCombo.GetItemData(channelEntry));
    for (std::size_t i = 0; i < curves->size(); ++i) {
      const CalibrationCurve& curve = *(*curves)[i];
      if (curve.channel != channel || PlottableCount(curve) <= 1) continue;
      const int entry = componentCombo.AddString(curve.name);
      if (entry < 0) continue;
      componentCombo.SetItemData(entry, static_cast<DWORD_PTR>(i));
      ++added;
    }
  }
  componentCombo.SetCurSel(0);
  return added;
}

int DlgGraphPreview::SelectedCurveIndex() const {
  if (!componentCombo.m_hWnd) return -1;  // no window, no selection
  const int entry = componentCombo.GetCurSel();
  if (entry < 0) return -1;
  return static_cast<int>(static_cast<std::intptr_t>(componentCombo.GetItemData(entry)));
}

const CalibrationCurve* DlgGraphPreview::SelectedCurve() const {
  const int index = SelectedCurveIndex();
  if (!curves || index < 0 || static_cast<std::size_t>(index) >= curves->size()) return nullptr;
  return (*curves)[static_cast<std::size_t>(index)].get();
}

// Empties table, series and arrays; without curves the axes go back to 0..1; with a
// selected curve its plottable points fill the table (numbered over the rows shown),
// the arrays and the extremes, and the ranges become the data +-10 % of its span.
void DlgGraphPreview::Refresh() {
  pointsTable.DeleteAllRows();
  chart.DeleteAllSeries();
  xValues.clear();
  yValues.clear();
  const CalibrationCurve* curve = SelectedCurve();
  if (!curves || curves->empty()) {
    chart.SetXRange(0, 1);
    chart.SetYRange(0, 1);
  } else if (curve) {
    ChartSeries& series = chart.series[static_cast<std::size_t>(chart.AddSeries())];
    ConfigureGraphPageSeries(series);
    minX = minY = std::numeric_limits<double>::max();
    maxX = maxY = std::numeric_limits<double>::lowest();
    for (const MixturePoint* p : SortedPoints(*curve)) {
      if (!Plottable(*p)) continue;
      xValues.push_back(static_cast<float>(p->concentration));
      yValues.push_back(static_cast<float>(p->meanArea));
      const int row = pointsTable.AppendRow();
      if (row >= 0) {
        pointsTable.SetItemText(row, 0, sys::Format(u"%d", row + 1));
        pointsTable.SetItemText(row, 1, sys::Format(u"%f", p->concentration));
        pointsTable.SetItemText(row, 2, sys::Format(u"%f", p->meanArea));
      }
      minX = std::min(minX, p->concentration);
      maxX = std::max(maxX, p->concentration);
      minY = std::min(minY, p->meanArea);
      maxY = std::max(maxY, p->meanArea);
    }
    series.SetPoints(xValues.data(), yValues.data(), static_cast<int>(xValues.size()));
    if (!xValues.empty()) SetRangesAroundData(chart, minX, maxX, minY, maxY, 0.1);
  }
  if (m_hWnd) RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

BOOL DlgGraphPreview::OnCommand(WPARAM wParam, LPARAM lParam) {
  if (HIWORD(wParam) == CBN_SELCHANGE) {
    if (LOWORD(wParam) == kGraphChannelCombo) {
      FillComponents();
      Refresh();
      return TRUE;
    }
    if (LOWORD(wParam) == kGraphComponentCombo) {
      Refresh();
      return TRUE;
    }
  }
  return CDialogEx::OnCommand(wParam, lParam);
}

void DlgGraphPreview::OnDrawItem(int idCtl, LPDRAWITEMSTRUCT drawItem) {
  if (idCtl == kGraphPlotFrame && drawItem && drawItem->hDC) {
    chart.Draw(drawItem->hDC, drawItem->rcItem, true);
    return;
  }
  CDialogEx::OnDrawItem(idCtl, drawItem);
}
