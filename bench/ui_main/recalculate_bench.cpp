// recalculate_bench.cpp: "Пересчитать" end to end on the main window — DlgMain::Recalculate
// (reload every listed chromatogram from the database, run the check, refresh every page)
// with the WM_ASSAYS_CHANGED it posts processed too — on the 25 demo analyses (files
// written by vetrix-demo-data) and on 2 000 chromatograms of 30 peaks over five mixtures
// sharing one small chromatogram file. Targets: well under 50 ms and under 1.5 s.
//
// The peer, timed in the same iterations in alternating order, is the same reload and run
// without any window: loadAssays into fresh lists, SortAssays and RunCheck. Counters:
// recalc_ms, peer_ms and ratio (recalc / peer); the reported time is Recalculate's.
//
// Plays host with the tests' in-memory TestHost, on Qt's offscreen platform with a
// private runtime folder; everything is written into a temporary folder removed at exit.
// Setup costs about two seconds (the 2 000-row database), each iteration one reload.
#include <benchmark/benchmark.h>

#include <QApplication>

#include "tests/support/qt_offscreen.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "bench/ui_main/bench_database.h"
#include "calc/messages.h"
#include "calc/run.h"
#include "data/loaders.h"
#include "platform/sys/format.h"
#include "platform/sys/locale.h"
#include "platform/win/automation.h"
#include "plugin/component_store.h"
#include "plugin/profile.h"
#include "plugin/settings.h"
#include "tests/support/test_host.h"
#include "ui/dlg_assay_list.h"
#include "ui/dlg_main.h"
#include "ui/dlg_out_table.h"
#include "ui/module_resources.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kDemoAnalyses = 25;  // the visible calibration analyses, ids 1 … 25
constexpr int kLargeChromatograms = 2000;

std::vector<std::int32_t> Ids(int n) {
  std::vector<std::int32_t> ids;
  for (int id = 1; id <= n; ++id) ids.push_back(id);
  return ids;
}

// The two databases, the host and the main window, made once; the window is left with
// the chromatograms of whichever database was chosen last.
struct Fixture {
  fs::path dir;
  std::string demoDb;
  std::string largeDb;
  TestHost host;
  DlgMain* window = nullptr;
  int listed = 0;  // chromatograms of the database the window now lists

  Fixture() {
    dir = fs::temp_directory_path() / ("vetrix_recalc_bench_" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    const std::string demo = std::string(VETRIX_DEMO_DATA) + " --out '" + (dir / "demo").string() + "' > /dev/null";
    if (std::system(demo.c_str()) == 0) demoDb = (dir / "demo" / "lortan.db").string();
    largeDb = WriteCalibrationDatabase(dir / "large", kLargeChromatograms);
    host.Install();
    sys::SetRussianLocale();
    SetProfilePrefix(kModuleProfilePrefix);
    host.ints[u"plugins\\Vetrix\\Assays/qtyAssays"] = kDemoAnalyses;
    for (int i = 0; i < kDemoAnalyses; ++i) host.ints[sys::Format(u"plugins\\Vetrix\\Assays/%d_Assay_ID", i)] = i + 1;
    DataBaseConnectionBase::instance().setLocation(sys::FromUtf8(demoDb));
    RegisterModuleResources();
    window = new DlgMain();
    window->Create(kMainTemplate, nullptr);
    window->ShowWindow(SW_SHOW);
    win::ProcessPendingMessages();
    listed = kDemoAnalyses;
  }
  ~Fixture() {
    if (window) window->DestroyWindow();  // deletes itself
    win::ProcessPendingMessages();
    SetProfilePrefix(u"");
    sys::ResetLocale();
    std::error_code ignored;
    fs::remove_all(dir, ignored);
  }

  const std::string& Database(int chromatograms) const { return chromatograms == kDemoAnalyses ? demoDb : largeDb; }

  // Lists chromatograms 1 … n of their database in the window (untimed), as the user
  // would by removing all and adding them.
  void Choose(int chromatograms) {
    if (listed == chromatograms) return;
    DataBaseConnectionBase::instance().setLocation(sys::FromUtf8(Database(chromatograms)));
    AssayListPage().Remove(true);
    AssayListPage().LoadIds(Ids(chromatograms));
    AssayListPage().AssaysChanged();
    win::ProcessPendingMessages();
    listed = chromatograms;
  }

  // Seconds for Recalculate and the message it posts.
  double Recalculate() {
    const auto start = Clock::now();
    window->Recalculate();
    win::ProcessPendingMessages();
    return std::chrono::duration<double>(Clock::now() - start).count();
  }

  // Seconds for the same reload and run without windows.
  double ReloadAndRun(int chromatograms) {
    const std::vector<std::int32_t> ids = Ids(chromatograms);
    const auto start = Clock::now();
    LoadedLists lists;
    loadAssays(ids, lists);
    SortAssays(lists.assays);
    const Settings settings;
    CalculationContext context;
    RunCheck(context, {lists.mixtures, lists.assays, ComponentList(), CorrectionsOf(settings)});
    benchmark::DoNotOptimize(context.curves.data());
    return std::chrono::duration<double>(Clock::now() - start).count();
  }
};

// Made on first use; released before the application object goes (see main).
std::unique_ptr<Fixture> g_fixture;

Fixture& TheFixture() {
  if (!g_fixture) g_fixture = std::make_unique<Fixture>();
  return *g_fixture;
}

void BM_RecalculateVsPeer(benchmark::State& state) {
  Fixture& f = TheFixture();
  const int n = static_cast<int>(state.range(0));
  if (f.Database(n).empty()) {
    state.SkipWithError("the database could not be written");
    return;
  }
  f.Choose(n);
  if (AssayListPage().Assays().size() != static_cast<std::size_t>(n)) {
    state.SkipWithError("the window did not list every chromatogram");
    return;
  }
  double recalc = 0, peer = 0;
  bool windowFirst = true;
  for (auto _ : state) {
    double r = 0, p = 0;
    if (windowFirst) {
      r = f.Recalculate();
      p = f.ReloadAndRun(n);
    } else {
      p = f.ReloadAndRun(n);
      r = f.Recalculate();
    }
    windowFirst = !windowFirst;
    recalc += r;
    peer += p;
    state.SetIterationTime(r);
  }
  const auto iterations = static_cast<double>(state.iterations());
  state.counters["recalc_ms"] = recalc / iterations * 1e3;
  state.counters["peer_ms"] = peer / iterations * 1e3;
  state.counters["ratio"] = peer > 0 ? recalc / peer : 0;
  // What the window shows, so a run that silently did nothing stands out.
  state.counters["curves"] = static_cast<double>(f.window->Context().curves.size());
  state.counters["result_rows"] = ResultsTable().table.GetItemCount();
}
BENCHMARK(BM_RecalculateVsPeer)->Arg(kDemoAnalyses)->Arg(kLargeChromatograms)->UseManualTime()->Unit(benchmark::kMillisecond);

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
