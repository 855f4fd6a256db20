// import_bench: the whole import (reading and checking both CSV files, writing the host
// database and one chromatogram file per analysis) of 2000 analyses of 30 peaks, beside
// the peer: the same rows written with plain sqlite3 inserts in one transaction into a
// fresh database. Each iteration runs both; the counters give the peer's time and the
// ratio import / peer. Target: the import under 2 s.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

#include "data/host_schema.h"
#include "cli/import_run.h"

namespace {

namespace fs = std::filesystem;
constexpr int kAnalyses = 2000;
constexpr int kPeaks = 30;
constexpr int kMixtures = 5;

std::string ComponentName(int c) { return "Компонент " + std::to_string(c); }

struct Fixture {
  fs::path dir = fs::temp_directory_path() / "vetrix_import_bench";
  Fixture() {
    fs::remove_all(dir);
    fs::create_directories(dir);
    std::ofstream areas(dir / "areas.csv", std::ios::binary);
    areas << "analysis;sample;date;mixture;pressure;temperature;channel;component;component_id;area;time\r\n";
    for (int a = 1; a <= kAnalyses; ++a) {
      const std::string head = std::to_string(a) + ";Проба " + std::to_string(a) + ";23.11.2026 09:" +
                               std::to_string(10 + a % 50) + ";ГСО-" + std::to_string(a % kMixtures + 1) +
                               ";101,325;21,5;";
      for (int c = 0; c < kPeaks; ++c)
        areas << head << (c % 2 + 1) << ';' << ComponentName(c) << ';' << 100 + c << ';' << 1000 + a + c << ",125;" << 30 - c
              << ",0625\r\n";
    }
    std::ofstream certificates(dir / "certificates.csv", std::ios::binary);
    certificates << "mixture;cylinder;release;expiry;component;component_id;concentration;deviation\r\n";
    for (int m = 1; m <= kMixtures; ++m)
      for (int c = 0; c < kPeaks; ++c)
        certificates << "ГСО-" << m << ";Баллон " << m << ";01.01.2026;01.01.2028;" << ComponentName(c) << ';' << 100 + c
                     << ";1,5;1\r\n";
  }
  ~Fixture() { fs::remove_all(dir); }
};

Fixture& Data() {
  static Fixture f;
  return f;
}

// The peer: the rows of the import with prepared plain sqlite3 inserts in one transaction.
void PlainInserts(const fs::path& path) {
  fs::remove(path);
  sqlite3* h = nullptr;
  sqlite3_open(path.c_str(), &h);
  sqlite3_exec(h, kHostDatabaseSchema, nullptr, nullptr, nullptr);
  sqlite3_exec(h, "BEGIN", nullptr, nullptr, nullptr);
  sqlite3_stmt* mixture = nullptr;
  sqlite3_stmt* component = nullptr;
  sqlite3_stmt* assay = nullptr;
  sqlite3_stmt* peak = nullptr;
  sqlite3_prepare_v2(h, "INSERT INTO mixture (id, name, ballon, release, expiry) VALUES (?, ?, ?, ?, ?)", -1, &mixture, nullptr);
  sqlite3_prepare_v2(h, "INSERT INTO mixturecomp (mixtureid, nameid, name, concentration, deviation) VALUES (?, ?, ?, ?, ?)",
                     -1, &component, nullptr);
  sqlite3_prepare_v2(h, "INSERT INTO assay (id, date, filename, sample, mixture, atmpressure, airtemp) VALUES (?, ?, ?, ?, ?, ?, ?)",
                     -1, &assay, nullptr);
  sqlite3_prepare_v2(h, "INSERT INTO peak (assayid, nameid, name, area, time, channel) VALUES (?, ?, ?, ?, ?, ?)", -1, &peak,
                     nullptr);
  for (int m = 1; m <= kMixtures; ++m) {
    const std::string name = "ГСО-" + std::to_string(m);
    sqlite3_bind_int(mixture, 1, m);
    sqlite3_bind_text(mixture, 2, name.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(mixture, 3, "Баллон", -1, SQLITE_STATIC);
    sqlite3_bind_int64(mixture, 4, 1767214800);
    sqlite3_bind_int64(mixture, 5, 1830286800);
    sqlite3_step(mixture);
    sqlite3_reset(mixture);
    for (int c = 0; c < kPeaks; ++c) {
      const std::string cn = ComponentName(c);
      sqlite3_bind_int(component, 1, m);
      sqlite3_bind_int(component, 2, 100 + c);
      sqlite3_bind_text(component, 3, cn.c_str(), -1, SQLITE_TRANSIENT);
      sqlite3_bind_double(component, 4, 1.5);
      sqlite3_bind_double(component, 5, 1.0);
      sqlite3_step(component);
      sqlite3_reset(component);
    }
  }
  for (int a = 1; a <= kAnalyses; ++a) {
    const std::string sample = "Проба " + std::to_string(a);
    const std::string file = "/tmp/analysis-" + std::to_string(a) + ".stg";
    const std::string name = "ГСО-" + std::to_string(a % kMixtures + 1);
    sqlite3_bind_int(assay, 1, a);
    sqlite3_bind_int64(assay, 2, 1795413600 + a);
    sqlite3_bind_text(assay, 3, file.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(assay, 4, sample.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(assay, 5, name.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_double(assay, 6, 101.325);
    sqlite3_bind_double(assay, 7, 21.5);
    sqlite3_step(assay);
    sqlite3_reset(assay);
    for (int c = 0; c < kPeaks; ++c) {
      const std::string cn = ComponentName(c);
      sqlite3_bind_int(peak, 1, a);
      sqlite3_bind_int(peak, 2, 100 + c);
      sqlite3_bind_text(peak, 3, cn.c_str(), -1, SQLITE_TRANSIENT);
      sqlite3_bind_double(peak, 4, 1000.125 + a + c);
      sqlite3_bind_double(peak, 5, 30.0625 - c);
      sqlite3_bind_int(peak, 6, c % 2);
      sqlite3_step(peak);
      sqlite3_reset(peak);
    }
  }
  for (sqlite3_stmt* s : {mixture, component, assay, peak}) sqlite3_finalize(s);
  sqlite3_exec(h, "COMMIT", nullptr, nullptr, nullptr);
  sqlite3_close(h);
}

double Seconds(std::chrono::steady_clock::time_point from) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - from).count();
}

void BM_Import2000x30(benchmark::State& state) {
  const fs::path dir = Data().dir;
  ImportRequest request{(dir / "areas.csv").string(), (dir / "certificates.csv").string(), (dir / "out").string(), false};
  double importTotal = 0, peerTotal = 0;
  for (auto _ : state) {
    fs::remove_all(dir / "out");  // a first import into a new folder, not a replacement
    auto start = std::chrono::steady_clock::now();
    const ImportOutcome outcome = RunImport(request);
    const double importTime = Seconds(start);
    if (!outcome.ok || outcome.counts.peaks != static_cast<std::size_t>(kAnalyses * kPeaks)) {
      state.SkipWithError(outcome.errors.empty() ? "wrong counts" : outcome.errors.front().c_str());
      return;
    }
    start = std::chrono::steady_clock::now();
    PlainInserts(dir / "peer.db");
    const double peerTime = Seconds(start);
    state.SetIterationTime(importTime);
    importTotal += importTime;
    peerTotal += peerTime;
  }
  state.counters["peer_ms"] = benchmark::Counter(1000 * peerTotal / static_cast<double>(state.iterations()));
  state.counters["ratio"] = benchmark::Counter(importTotal / peerTotal);
}

BENCHMARK(BM_Import2000x30)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
