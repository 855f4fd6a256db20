// grid_fill_bench.cpp: filling a CGridCtrl with 5 000 rows of 15 columns and drawing it
// once, against filling a plain QTableWidget of the same size with the same texts and
// drawing it once, in the same run. The target is a ratio (grid / table) of at most 3;
// BM_GridVsTable reports it as the counter "ratio".
//
// Runs on Qt's offscreen platform with a private runtime folder; "drawing once" is a
// grab() of the widget, which paints it into a pixmap as a screen update would. Rows
// start empty in every iteration (clearing is not timed). Costs about a second per run.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QHeaderView>
#include <QTableWidget>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/sys/format.h"
#include "platform/sys/locale.h"
#include "platform/win/dialog.h"
#include "platform/win/qt_bridge.h"
#include "platform/win/resources.h"
#include "ui/grid_ctrl.h"
#include "tests/support/qt_offscreen.h"

namespace {

constexpr int kRows = 5000;
constexpr int kColumns = 15;
constexpr UINT kBenchDialog = 9801;
constexpr int kGridId = 1023;

using Clock = std::chrono::steady_clock;

// The cells as the results pages write them: a row number, a name, a channel and numbers.
struct Texts {
  std::vector<std::vector<sys::Text>> cells;
  std::vector<std::vector<QString>> qcells;
};

const Texts& BenchTexts() {
  static const Texts texts = [] {
    Texts t;
    sys::SetRussianLocale();
    for (int row = 0; row < kRows; ++row) {
      std::vector<sys::Text> cells;
      cells.push_back(sys::Format(u"%d", row + 1));
      cells.push_back(sys::Format(u"Компонент %d", row % 97));
      cells.push_back(sys::Format(u"%d", row % 3 + 1));
      for (int column = 3; column < kColumns; ++column)
        cells.push_back(sys::Format(u"%.4f", row * 0.731 + column * 1.37));
      std::vector<QString> qcells;
      for (const sys::Text& c : cells)
        qcells.push_back(QString::fromUtf16(c.data(), static_cast<qsizetype>(c.size())));
      t.cells.push_back(std::move(cells));
      t.qcells.push_back(std::move(qcells));
    }
    return t;
  }();
  return texts;
}

class GridHost : public CDialog {
 public:
  GridHost() : CDialog(kBenchDialog) {}
  CGridCtrl grid;
  void DoDataExchange(CDataExchange* dx) override { DDX_Control(dx, kGridId, grid); }
};

// A shown dialog with a grid of 15 columns, and a QTableWidget of the grid's size.
struct Fixture {
  GridHost host;
  QTableWidget table;

  Fixture() : table(0, kColumns) {
    static const win::DialogControl controls[] = {
        {win::kListViewClass, kGridId, nullptr, LVS_REPORT | LVS_SHOWSELALWAYS | WS_BORDER, 0, 7, 7, 586, 286}};
    win::RegisterDialogTemplate({kBenchDialog, WS_POPUP | WS_CAPTION | DS_SETFONT, 0, 600, 300, u"Сетка",
                                 u"MS Shell Dlg", 8, controls, {}});
    host.Create(kBenchDialog);
    host.grid.SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    for (int column = 0; column < kColumns; ++column)
      host.grid.InsertColumn(column, sys::Format(u"Столбец %d", column + 1).c_str(), LVCFMT_LEFT, 80);
    host.ShowWindow(SW_SHOW);
    QWidget* gridWidget = win::WidgetOf(host.grid.m_hWnd);
    table.resize(gridWidget->size());
    table.setShowGrid(true);
    table.setSelectionBehavior(QAbstractItemView::SelectRows);
    table.verticalHeader()->hide();
    for (int column = 0; column < kColumns; ++column) table.setColumnWidth(column, 80);
    table.show();
    QApplication::processEvents();
  }
  ~Fixture() { host.DestroyWindow(); }

  // Seconds to fill the empty grid and draw it once.
  double FillAndDrawGrid() {
    host.grid.DeleteAllRows();
    const Texts& texts = BenchTexts();
    auto start = Clock::now();
    for (const auto& cells : texts.cells) host.grid.AppendRow(cells);
    QPixmap picture = win::WidgetOf(host.grid.m_hWnd)->grab();
    benchmark::DoNotOptimize(picture);
    return std::chrono::duration<double>(Clock::now() - start).count();
  }

  // Seconds to fill the empty table with the same texts and draw it once.
  double FillAndDrawTable() {
    table.setRowCount(0);
    const Texts& texts = BenchTexts();
    auto start = Clock::now();
    table.setRowCount(kRows);
    for (int row = 0; row < kRows; ++row)
      for (int column = 0; column < kColumns; ++column)
        table.setItem(row, column, new QTableWidgetItem(texts.qcells[row][column]));
    QPixmap picture = table.grab();
    benchmark::DoNotOptimize(picture);
    return std::chrono::duration<double>(Clock::now() - start).count();
  }
};

// Made on first use; released before the application object goes (see main).
std::unique_ptr<Fixture> g_fixture;

Fixture& TheFixture() {
  if (!g_fixture) g_fixture = std::make_unique<Fixture>();
  return *g_fixture;
}

void BM_GridFillAndDraw(benchmark::State& state) {
  Fixture& f = TheFixture();
  for (auto _ : state) state.SetIterationTime(f.FillAndDrawGrid());
  state.SetItemsProcessed(state.iterations() * kRows * kColumns);
}
BENCHMARK(BM_GridFillAndDraw)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_TableWidgetFillAndDraw(benchmark::State& state) {
  Fixture& f = TheFixture();
  for (auto _ : state) state.SetIterationTime(f.FillAndDrawTable());
  state.SetItemsProcessed(state.iterations() * kRows * kColumns);
}
BENCHMARK(BM_TableWidgetFillAndDraw)->UseManualTime()->Unit(benchmark::kMillisecond);

// Both in each iteration, in alternating order; time is the grid's, "ratio" grid / table.
void BM_GridVsTable(benchmark::State& state) {
  Fixture& f = TheFixture();
  double grid = 0, table = 0;
  bool gridFirst = true;
  for (auto _ : state) {
    double g = 0, t = 0;
    if (gridFirst) {
      g = f.FillAndDrawGrid();
      t = f.FillAndDrawTable();
    } else {
      t = f.FillAndDrawTable();
      g = f.FillAndDrawGrid();
    }
    gridFirst = !gridFirst;
    grid += g;
    table += t;
    state.SetIterationTime(g);
  }
  auto n = static_cast<double>(state.iterations());
  state.counters["grid_ms"] = grid / n * 1e3;
  state.counters["table_ms"] = table / n * 1e3;
  state.counters["ratio"] = table > 0 ? grid / table : 0;
}
BENCHMARK(BM_GridVsTable)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

int main(int argc, char** argv) {
  OffscreenQt environment;
  {
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    g_fixture.reset();
  }
  return 0;
}
