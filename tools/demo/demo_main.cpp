// vetrix-demo-data: writes the demo host database and its chromatogram files.
//
//   vetrix-demo-data --out DIR [--seed N]
//
// DIR/lortan.db holds the tables assay, peak, mixture and mixturecomp; DIR/chromatograms/
// one file per analysis. The same seed gives the same files. Besides the 25 analyses of
// the calibration the database holds one hidden and one deleted analysis (never loaded),
// and one analysis names its mixture in lower case (matched case-blind).
#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "data/host_schema.h"
#include "platform/sys/format.h"
#include "tools/demo/demo_chromatogram.h"

namespace {

namespace fs = std::filesystem;

constexpr std::int64_t kFirstAnalysis = 1795413600;  // 2026-11-23 09:00 Moscow time
constexpr std::int64_t kAnalysisStep = 25 * 60;
constexpr std::int64_t kRelease = 1767214800;         // 2026-01-01
constexpr std::int64_t kExpiry = 1830286800;          // 2028-01-01

class Db {
 public:
  explicit Db(const std::string& path) {
    if (sqlite3_open(path.c_str(), &db_) != SQLITE_OK) throw std::runtime_error(sqlite3_errmsg(db_));
  }
  ~Db() { sqlite3_close(db_); }
  void Exec(const std::string& sql) {
    char* error = nullptr;
    if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
      std::string text = error ? error : "?";
      sqlite3_free(error);
      throw std::runtime_error(text + " in: " + sql);
    }
  }
  // Runs an INSERT with text and numbers bound in order.
  template <class... A>
  void Insert(const char* sql, const A&... args) {
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db_, sql, -1, &st, nullptr) != SQLITE_OK) throw std::runtime_error(sqlite3_errmsg(db_));
    int i = 0;
    (Bind(st, ++i, args), ...);
    const int rc = sqlite3_step(st);
    sqlite3_finalize(st);
    if (rc != SQLITE_DONE) throw std::runtime_error(sqlite3_errmsg(db_));
  }

 private:
  static void Bind(sqlite3_stmt* st, int i, const std::string& v) {
    sqlite3_bind_text(st, i, v.c_str(), -1, SQLITE_TRANSIENT);
  }
  static void Bind(sqlite3_stmt* st, int i, double v) { sqlite3_bind_double(st, i, v); }
  static void Bind(sqlite3_stmt* st, int i, std::int64_t v) { sqlite3_bind_int64(st, i, v); }
  static void Bind(sqlite3_stmt* st, int i, int v) { sqlite3_bind_int(st, i, v); }
  sqlite3* db_ = nullptr;
};

std::string Utf8(const sys::Text& t) { return sys::ToUtf8(t); }
std::string MixtureName(int m) { return Utf8(sys::Format(u"ГСО-%d", m + 1)); }

void WriteMixtures(Db& db) {
  for (int m = 0; m < demo::kMixtures; ++m) {
    db.Insert("INSERT INTO mixture (id, name, ballon, release, expiry) VALUES (?, ?, ?, ?, ?)", m + 1,
              MixtureName(m), Utf8(sys::Format(u"Баллон № %d-%04d", 40, 1870 + m)), kRelease, kExpiry);
    for (const auto& c : demo::Components()) {
      if (!c.certified) continue;
      const double x = demo::Concentration(c, m);
      const double deviation = x < 0.1 ? 5.0 : x < 1 ? 2.0 : x < 50 ? 1.0 : 0.1;
      db.Insert("INSERT INTO mixturecomp (mixtureid, nameid, name, concentration, deviation) VALUES (?, ?, ?, ?, ?)",
                m + 1, c.nameId, Utf8(c.name), x, deviation);
    }
  }
}

// One analysis: its chromatogram file and its rows. Returns the assay id written.
int WriteAnalysis(Db& db, const fs::path& dir, int id, int m, int k, demo::Random& random, int hidden,
                  int deleted, const std::string& mixtureText) {
  const std::int64_t date = kFirstAnalysis + id * kAnalysisStep;
  const auto peaks = demo::AnalysePeaks(m, random);
  const sys::Text sample = sys::Format(u"ГСО-%d, ввод %d", m + 1, k + 1);
  CLortanFile4 file = demo::MakeChromatogram(peaks, sample, sys::FromUtf8(MixtureName(m)), date, random);
  const fs::path path = dir / ("gso" + std::to_string(m + 1) + "_" + std::to_string(k + 1) + ".stg");
  const std::int32_t rc = file.SaveFile(sys::FromUtf8(path.string()));
  if (rc != 0) throw std::runtime_error("cannot write " + path.string() + " (code " + std::to_string(rc) + ")");
  const double pressure = 100.2 + 0.8 * random.Normal() / 3;
  const double temperature = 21.5 + 1.2 * random.Normal() / 3;
  db.Insert("INSERT INTO assay (id, date, filename, sample, mixture, atmpressure, airtemp, ishidden, isdeleted) "
            "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)",
            id, date, path.string(), Utf8(sample), mixtureText, pressure, temperature, hidden, deleted);
  for (const auto& p : peaks)
    db.Insert("INSERT INTO peak (assayid, nameid, name, area, time, channel) VALUES (?, ?, ?, ?, ?, ?)", id,
              p.component->nameId, Utf8(p.component->name), p.area, p.time, p.component->channel);
  return id;
}

int Usage() {
  std::fprintf(stderr, "usage: vetrix-demo-data --out DIR [--seed N]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::string out;
  std::uint32_t seed = 20261123;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    if (a == "--out" && i + 1 < argc) out = argv[++i];
    else if (a == "--seed" && i + 1 < argc) seed = static_cast<std::uint32_t>(std::strtoul(argv[++i], nullptr, 10));
    else return Usage();
  }
  if (out.empty()) return Usage();
  try {
    const fs::path root = fs::absolute(out);
    const fs::path chromatograms = root / "chromatograms";
    fs::create_directories(chromatograms);
    fs::remove(root / "lortan.db");
    Db db((root / "lortan.db").string());
    db.Exec(kHostDatabaseSchema);
    db.Exec("BEGIN");
    WriteMixtures(db);
    demo::Random random(seed);
    int id = 0;
    for (int m = 0; m < demo::kMixtures; ++m) {
      for (int k = 0; k < demo::kAnalysesPerMixture; ++k) {
        // The third mixture's last analysis names its mixture in lower case.
        const std::string name = (m == 2 && k == 4) ? Utf8(u"гсо-3") : MixtureName(m);
        WriteAnalysis(db, chromatograms, ++id, m, k, random, 0, 0, name);
      }
    }
    WriteAnalysis(db, chromatograms, ++id, 0, 5, random, 1, 0, MixtureName(0));  // hidden
    WriteAnalysis(db, chromatograms, ++id, 1, 5, random, 0, 1, MixtureName(1));  // deleted
    db.Exec("COMMIT");
    std::printf("%s: %d analyses of %d mixtures\n", (root / "lortan.db").c_str(), id, demo::kMixtures);
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "vetrix-demo-data: %s\n", e.what());
    return 1;
  }
}
