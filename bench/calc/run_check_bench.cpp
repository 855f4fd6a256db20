// run_check_bench: RunCheck on 250 to 2000 chromatograms of 30 peaks over five mixtures.
//
// The peer is the least any check must do with the same data: one pass over every peak
// that sums its corrected area per name (a copy of each peak's name lower-cased into a
// small map). Reported: time per run, the fitted complexity, and RunCheck / peer.
#include <benchmark/benchmark.h>

#include <map>

#include "calc/components.h"
#include "calc/messages.h"
#include "calc/run.h"
#include "platform/sys/format.h"
#include "platform/sys/locale.h"

namespace {

const char16_t* const kNames[] = {u"Метан", u"Этан", u"Пропан", u"Изобутан", u"н-Бутан", u"Неопентан",
                                  u"Изопентан", u"н-Пентан", u"Гексаны", u"Гептаны", u"Октаны", u"Бензол",
                                  u"Толуол", u"Диоксид углерода", u"Гелий"};

struct Data {
  MixtureList mixtures;
  AssayList assays;
};

// 30 peaks per chromatogram: 15 components on two channels.
Data MakeData(int chromatograms) {
  Data d;
  for (int m = 0; m < 5; ++m) {
    auto mix = std::make_unique<Mixture>();
    mix->name = sys::Format(u"ГСО-%d", m + 1);
    for (const char16_t* n : kNames) mix->components.push_back({u"", n, 0.01 * (m + 1), 1.0});
    d.mixtures.push_back(std::move(mix));
  }
  d.assays.reserve(chromatograms);
  for (int i = 0; i < chromatograms; ++i) {
    Assay a;
    a.id = i + 1;
    a.mixture = d.mixtures[i % 5].get();
    a.atmPressure = 101.0;
    a.airTemperature = 21.0;
    for (int ch = 0; ch < 2; ++ch)
      for (int k = 0; k < 15; ++k)
        a.peaks.push_back({u"", kNames[k], ch, 1000.0 * (i % 5 + 1) * (1 + 0.001 * (i % 7)), 1.0 + k});
    d.assays.push_back(std::move(a));
  }
  return d;
}

void Prepare() {
  static bool done = false;
  if (done) return;
  sys::SetRussianLocale();
  done = true;
}

void BM_RunCheck(benchmark::State& state) {
  Prepare();
  Data d = MakeData(static_cast<int>(state.range(0)));
  const std::vector<ComponentName> components = DefaultComponents();
  CalculationContext context;
  for (auto _ : state) {
    RunCheck(context, {d.mixtures, d.assays, components, {}});
    benchmark::DoNotOptimize(context.curves.data());
  }
  state.SetComplexityN(state.range(0));
}

void BM_Peer(benchmark::State& state) {
  Prepare();
  Data d = MakeData(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    std::map<sys::Text, double> sums;
    for (const Assay& a : d.assays)
      for (const Peak& p : a.peaks) sums[sys::LocaleLower(p.name)] += p.area / (a.atmPressure / 101.325);
    benchmark::DoNotOptimize(sums.size());
  }
  state.SetComplexityN(state.range(0));
}

BENCHMARK(BM_RunCheck)->Arg(250)->Arg(500)->Arg(1000)->Arg(2000)->Unit(benchmark::kMillisecond)->Complexity();
BENCHMARK(BM_Peer)->Arg(250)->Arg(500)->Arg(1000)->Arg(2000)->Unit(benchmark::kMillisecond)->Complexity();

}  // namespace

BENCHMARK_MAIN();
