// load_assay_bench: loadAssay of 2000 chromatograms of 30 peaks with small chromatogram
// files, beside the peer: the same rows read with plain sqlite3 calls and the same files
// read whole with fread (what any loader must at least do). Target: under 1 s.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <sqlite3.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "data/loaders.h"
#include "data/host_schema.h"
#include "data/lortan_file.h"
#include "platform/sys/locale.h"

namespace {

namespace fs = std::filesystem;
constexpr int kAssays = 2000;
constexpr int kPeaks = 30;

struct Fixture {
  fs::path dir;
  std::string db;
  Fixture() {
    dir = fs::temp_directory_path() / "vetrix_load_bench";
    fs::remove_all(dir);
    fs::create_directories(dir);
    db = (dir / "host.db").string();
    CLortanFile4 file;
    file.channels.emplace_back(0, std::vector<std::int32_t>(2000, 7));
    const std::string chrom = (dir / "a.stg").string();
    if (file.SaveFile(sys::FromUtf8(chrom)) != CLortanFile4::kFileSaved) std::abort();
    sqlite3* h = nullptr;
    sqlite3_open(db.c_str(), &h);
    sqlite3_exec(h, kHostDatabaseSchema, nullptr, nullptr, nullptr);
    sqlite3_exec(h, "BEGIN;", nullptr, nullptr, nullptr);
    for (int m = 1; m <= 5; ++m) {
      sqlite3_exec(h, ("INSERT INTO mixture VALUES (" + std::to_string(m) + ", 'ГСО-" + std::to_string(m) + "', '', 0, 0);").c_str(),
                   nullptr, nullptr, nullptr);
      for (int c = 0; c < kPeaks; ++c)
        sqlite3_exec(h, ("INSERT INTO mixturecomp (mixtureid, nameid, name, concentration, deviation) VALUES (" +
                         std::to_string(m) + ", " + std::to_string(c) + ", 'Компонент " + std::to_string(c) + "', 1, 1);").c_str(),
                     nullptr, nullptr, nullptr);
    }
    for (int a = 1; a <= kAssays; ++a) {
      sqlite3_exec(h, ("INSERT INTO assay (id, date, filename, sample, mixture, atmpressure, airtemp) VALUES (" +
                       std::to_string(a) + ", " + std::to_string(1700000000 + a) + ", '" + chrom + "', 'проба', 'ГСО-" +
                       std::to_string(a % 5 + 1) + "', 101, 20);").c_str(),
                   nullptr, nullptr, nullptr);
      for (int c = 0; c < kPeaks; ++c)
        sqlite3_exec(h, ("INSERT INTO peak (assayid, nameid, name, area, time, channel) VALUES (" + std::to_string(a) +
                         ", " + std::to_string(c) + ", 'Компонент " + std::to_string(c) + "', 1000, " +
                         std::to_string(30 - c) + ", " + std::to_string(c % 2) + ");").c_str(),
                     nullptr, nullptr, nullptr);
    }
    sqlite3_exec(h, "COMMIT;", nullptr, nullptr, nullptr);
    sqlite3_close(h);
  }
  ~Fixture() { fs::remove_all(dir); }
};

Fixture& Data() {
  static Fixture f;
  return f;
}

void BM_LoadAssay2000(benchmark::State& state) {
  sys::SetRussianLocale();
  DataBaseConnectionBase::instance().setLocation(sys::FromUtf8(Data().db));
  std::vector<std::int32_t> ids;
  for (int a = 1; a <= kAssays; ++a) ids.push_back(a);
  for (auto _ : state) {
    LoadedLists lists;
    benchmark::DoNotOptimize(loadAssays(ids, lists));
  }
}

// The peer: the same queries stepped with plain sqlite3 calls (UTF-8 text copied), and
// each chromatogram file read whole with one fread.
void BM_Peer2000(benchmark::State& state) {
  const std::string chrom = (Data().dir / "a.stg").string();
  for (auto _ : state) {
    sqlite3* h = nullptr;
    sqlite3_open(Data().db.c_str(), &h);
    sqlite3_stmt* assay = nullptr;
    sqlite3_stmt* peaks = nullptr;
    sqlite3_prepare_v2(h, "SELECT id, date, filename, sample, mixture, atmpressure, airtemp FROM assay WHERE ishidden = 0"
                          " AND isdeleted = 0 AND id = ?", -1, &assay, nullptr);
    sqlite3_prepare_v2(h, "SELECT nameid, name, area, time, channel FROM peak WHERE assayid = ? ORDER BY time", -1, &peaks,
                       nullptr);
    std::size_t total = 0;
    std::vector<char> buffer(1 << 16);
    for (int a = 1; a <= kAssays; ++a) {
      sqlite3_bind_int(assay, 1, a);
      while (sqlite3_step(assay) == SQLITE_ROW) total += std::string(reinterpret_cast<const char*>(sqlite3_column_text(assay, 2))).size();
      sqlite3_reset(assay);
      if (FILE* f = std::fopen(chrom.c_str(), "rb")) {
        total += std::fread(buffer.data(), 1, buffer.size(), f);
        std::fclose(f);
      }
      sqlite3_bind_int(peaks, 1, a);
      while (sqlite3_step(peaks) == SQLITE_ROW) total += std::string(reinterpret_cast<const char*>(sqlite3_column_text(peaks, 1))).size();
      sqlite3_reset(peaks);
    }
    sqlite3_finalize(assay);
    sqlite3_finalize(peaks);
    sqlite3_close(h);
    benchmark::DoNotOptimize(total);
  }
}

BENCHMARK(BM_LoadAssay2000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Peer2000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
