// bench_database.cpp: see bench_database.h. Areas are response × concentration with a
// scatter of a few tenths of a percent, so every curve is fitted from real differences.
#include "bench/ui_main/bench_database.h"

#include <sqlite3.h>

#include <cstdint>
#include <vector>

#include "data/host_schema.h"
#include "data/lortan_file.h"
#include "platform/sys/text.h"

namespace {

const char* const kComponents[] = {"Метан",     "Этан",     "Пропан",  "Изобутан", "н-Бутан",
                                   "Неопентан", "Изопентан", "н-Пентан", "Гексаны",  "Гептаны",
                                   "Октаны",    "Бензол",   "Толуол",  "Диоксид углерода", "Гелий"};
constexpr int kComponentCount = 15;
constexpr int kMixtures = 5;

// mol% of component k in mixture m: methane is the balance of the others.
double Concentration(int k, int m) {
  auto minor = [m](int c) { return 0.02 * (c + 1) * (m + 1); };
  if (k != 0) return minor(k);
  double rest = 0;
  for (int c = 1; c < kComponentCount; ++c) rest += minor(c);
  return 100.0 - rest;
}

std::string MixtureName(int m) { return "ГСО-" + std::to_string(m + 1); }

// Prepared statements bound by position; Run steps once and resets.
class Statement {
 public:
  Statement(sqlite3* db, const char* sql) { ok_ = sqlite3_prepare_v2(db, sql, -1, &st_, nullptr) == SQLITE_OK; }
  ~Statement() { sqlite3_finalize(st_); }
  Statement& Bind(int i, const std::string& v) {
    sqlite3_bind_text(st_, i, v.c_str(), -1, SQLITE_TRANSIENT);
    return *this;
  }
  Statement& Bind(int i, double v) {
    sqlite3_bind_double(st_, i, v);
    return *this;
  }
  Statement& Bind(int i, std::int64_t v) {
    sqlite3_bind_int64(st_, i, v);
    return *this;
  }
  bool Run() {
    const bool done = ok_ && sqlite3_step(st_) == SQLITE_DONE;
    sqlite3_reset(st_);
    ok_ = ok_ && done;
    return done;
  }
  bool ok() const { return ok_; }

 private:
  sqlite3_stmt* st_ = nullptr;
  bool ok_ = false;
};

bool WriteRows(sqlite3* db, const std::string& chromatogram, int chromatograms) {
  Statement mixture(db, "INSERT INTO mixture VALUES (?, ?, '', 1767214800, 1830286800)");
  Statement component(db, "INSERT INTO mixturecomp (mixtureid, nameid, name, concentration, deviation)"
                          " VALUES (?, ?, ?, ?, 1)");
  Statement assay(db, "INSERT INTO assay (id, date, filename, sample, mixture, atmpressure, airtemp)"
                      " VALUES (?, ?, ?, ?, ?, 100.9, 21.5)");
  Statement peak(db, "INSERT INTO peak (assayid, nameid, name, area, time, channel) VALUES (?, ?, ?, ?, ?, ?)");
  for (std::int64_t m = 0; m < kMixtures; ++m) {
    mixture.Bind(1, m + 1).Bind(2, MixtureName(static_cast<int>(m))).Run();
    for (std::int64_t k = 0; k < kComponentCount; ++k)
      component.Bind(1, m + 1).Bind(2, k + 101).Bind(3, std::string(kComponents[k]))
          .Bind(4, Concentration(static_cast<int>(k), static_cast<int>(m))).Run();
  }
  for (std::int64_t a = 1; a <= chromatograms; ++a) {
    const int m = static_cast<int>(a % kMixtures);
    assay.Bind(1, a).Bind(2, std::int64_t{1795413600} + 600 * a).Bind(3, chromatogram)
        .Bind(4, "проба " + std::to_string(a)).Bind(5, MixtureName(m)).Run();
    const double scatter = 1.0 + 0.001 * static_cast<double>(a % 7 - 3);
    for (std::int64_t channel = 0; channel < 2; ++channel)
      for (std::int64_t k = 0; k < kComponentCount; ++k) {
        const double response = (channel == 0 ? 18000.0 : 50000.0) * (1.0 + 0.05 * static_cast<double>(k));
        peak.Bind(1, a).Bind(2, k + 101).Bind(3, std::string(kComponents[k]))
            .Bind(4, response * Concentration(static_cast<int>(k), m) * scatter)
            .Bind(5, 0.8 + 0.5 * static_cast<double>(k)).Bind(6, channel).Run();
      }
  }
  return mixture.ok() && component.ok() && assay.ok() && peak.ok();
}

}  // namespace

std::string WriteCalibrationDatabase(const std::filesystem::path& dir, int chromatograms) {
  std::filesystem::create_directories(dir);
  const std::string db = (dir / "host.db").string();
  const std::string chromatogram = (dir / "small.stg").string();
  std::error_code ignored;
  std::filesystem::remove(db, ignored);
  CLortanFile4 file;
  file.channels.emplace_back(0, std::vector<std::int32_t>(2000, 7));
  file.channels.emplace_back(1, std::vector<std::int32_t>(2000, 9));
  if (file.SaveFile(sys::FromUtf8(chromatogram)) != 0) return {};
  sqlite3* h = nullptr;
  bool ok = sqlite3_open(db.c_str(), &h) == SQLITE_OK && sqlite3_exec(h, kHostDatabaseSchema, nullptr, nullptr, nullptr) == SQLITE_OK &&
            sqlite3_exec(h, "BEGIN", nullptr, nullptr, nullptr) == SQLITE_OK;
  ok = ok && WriteRows(h, chromatogram, chromatograms);
  ok = ok && sqlite3_exec(h, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK;
  sqlite3_close(h);
  return ok ? db : std::string();
}
