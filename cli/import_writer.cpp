// import_writer.cpp: the host database and chromatogram files of an import, written
// into the temporary folder of import_folder.h and put in place when complete.
#include "cli/import_writer.h"

#include <sqlite3.h>

#include <cerrno>
#include <cstring>
#include <map>
#include <stdexcept>
#include <vector>

#include "cli/import_folder.h"
#include "data/host_schema.h"
#include "data/lortan_file.h"

namespace fs = std::filesystem;

namespace {

class WriteError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A connection to the temporary database with the statements of the import.
class Writer {
 public:
  explicit Writer(const fs::path& path) : path_(path) {
    errno = 0;
    if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK)
      Fail("cannot create the database");
    Exec(kHostDatabaseSchema);
    Exec("BEGIN");
  }
  ~Writer() {
    for (sqlite3_stmt* s : statements_) sqlite3_finalize(s);
    sqlite3_close(db_);
  }
  void Exec(const char* sql) {
    char* error = nullptr;
    errno = 0;
    if (sqlite3_exec(db_, sql, nullptr, nullptr, &error) != SQLITE_OK) {
      sqlite3_free(error);
      Fail("cannot write the database");
    }
  }
  sqlite3_stmt* Prepare(const char* sql) {
    sqlite3_stmt* s = nullptr;
    if (sqlite3_prepare_v2(db_, sql, -1, &s, nullptr) != SQLITE_OK) Fail("cannot prepare an insert");
    statements_.push_back(s);
    return s;
  }
  void Run(sqlite3_stmt* s) {
    errno = 0;
    if (sqlite3_step(s) != SQLITE_DONE) Fail("cannot insert a row");
    sqlite3_reset(s);
    sqlite3_clear_bindings(s);
  }
  void Commit() {
    for (sqlite3_stmt* s : statements_) sqlite3_finalize(s);
    statements_.clear();
    Exec("COMMIT");
    errno = 0;
    if (sqlite3_close(db_) != SQLITE_OK) Fail("cannot close the database");
    db_ = nullptr;
  }
  // SQLite's text, and the system's reason where a file operation failed. SQLite forgets
  // the reason when a failed COMMIT rolls back, so errno as the call left it stands in;
  // callers clear errno before each call.
  [[noreturn]] void Fail(const char* what) {
    const int error = errno;
    std::string line = path_.string() + ": " + what + ": " + (db_ ? sqlite3_errmsg(db_) : "out of memory");
    const int code = db_ ? sqlite3_errcode(db_) : SQLITE_NOMEM;
    const int system = db_ && sqlite3_system_errno(db_) != 0 ? sqlite3_system_errno(db_) : error;
    if (system != 0 && (code == SQLITE_IOERR || code == SQLITE_FULL || code == SQLITE_CANTOPEN)) {
      line += " (";
      line += std::strerror(system);
      line += ')';
    }
    throw WriteError(line);
  }

 private:
  fs::path path_;
  sqlite3* db_ = nullptr;
  std::vector<sqlite3_stmt*> statements_;
};

void BindText(sqlite3_stmt* s, int i, const sys::Text& text) {
  if (text.empty()) sqlite3_bind_null(s, i);
  else sqlite3_bind_text16(s, i, text.data(), static_cast<int>(text.size() * 2), SQLITE_TRANSIENT);
}
void BindDouble(sqlite3_stmt* s, int i, const std::optional<double>& v) {
  if (v) sqlite3_bind_double(s, i, *v);
  else sqlite3_bind_null(s, i);
}
void BindDate(sqlite3_stmt* s, int i, const std::optional<std::int64_t>& v) {
  if (v) sqlite3_bind_int64(s, i, *v);
  else sqlite3_bind_null(s, i);
}

void WriteMixtures(Writer& w, const ImportData& data, ImportCounts& counts) {
  sqlite3_stmt* mixture = w.Prepare("INSERT INTO mixture (id, name, ballon, release, expiry) VALUES (?, ?, ?, ?, ?)");
  sqlite3_stmt* component =
      w.Prepare("INSERT INTO mixturecomp (mixtureid, nameid, name, concentration, deviation) VALUES (?, ?, ?, ?, ?)");
  for (const ImportMixture& m : data.mixtures) {
    sqlite3_bind_int(mixture, 1, m.id);
    sqlite3_bind_text16(mixture, 2, m.name.data(), static_cast<int>(m.name.size() * 2), SQLITE_TRANSIENT);
    BindText(mixture, 3, m.cylinder);
    BindDate(mixture, 4, m.release);
    BindDate(mixture, 5, m.expiry);
    w.Run(mixture);
    for (const ImportComponent& c : m.components) {
      sqlite3_bind_int(component, 1, m.id);
      BindText(component, 2, c.nameId);
      BindText(component, 3, c.name);
      sqlite3_bind_double(component, 4, c.concentration);
      sqlite3_bind_double(component, 5, c.deviation);
      w.Run(component);
    }
    ++counts.mixtures;
    counts.components += m.components.size();
  }
}

// The chromatogram file of an analysis: passport and one peak table per channel used.
CLortanFile4 MakeFile(const ImportAnalysis& a) {
  CLortanFile4 file;
  file.passport.sample = a.sample;
  file.passport.mixture = a.mixture;
  file.passport.andate = a.date.value_or(0);
  file.passport.date = a.date.value_or(0);
  std::map<std::int32_t, std::vector<FilePeak>> byChannel;
  for (const ImportPeak& p : a.peaks) {
    FilePeak fp;
    fp.name = p.name;
    fp.area = p.area;
    fp.time = p.time;
    byChannel[p.channel].push_back(std::move(fp));
  }
  for (auto& [number, peaks] : byChannel) {
    FileChannel channel(number, {});
    channel.peaks = std::move(peaks);
    file.channels.push_back(std::move(channel));
  }
  return file;
}

}  // namespace

fs::path ChromatogramPath(const fs::path& outDir, std::int32_t id) {
  return outDir / "chromatograms" / ("analysis-" + std::to_string(id) + ".stg");
}

namespace {

// Writes the database and the chromatogram files into `folder` (the temporary folder);
// the database names each file where it will be once `folder` is `outDir`. Throws on
// failure.
void WriteAll(const ImportData& data, const fs::path& outDir, const fs::path& folder, ImportCounts& counts) {
  Writer w(folder / "lortan.db");
  WriteMixtures(w, data, counts);
  sqlite3_stmt* assay = w.Prepare(
      "INSERT INTO assay (id, date, filename, sample, mixture, atmpressure, airtemp) VALUES (?, ?, ?, ?, ?, ?, ?)");
  sqlite3_stmt* peak =
      w.Prepare("INSERT INTO peak (assayid, nameid, name, area, time, channel) VALUES (?, ?, ?, ?, ?, ?)");
  for (const ImportAnalysis& a : data.analyses) {
    const fs::path written = ChromatogramPath(folder, a.id);
    errno = 0;
    if (const std::int32_t rc = MakeFile(a).SaveFile(sys::FromUtf8(written.string())); rc != 0) {
      const int error = errno;
      throw WriteError(written.string() + ": cannot write the chromatogram file: " +
                       (error != 0 ? std::strerror(error) : "code " + std::to_string(rc)));
    }
    const std::string path = ChromatogramPath(outDir, a.id).string();
    sqlite3_bind_int(assay, 1, a.id);
    BindDate(assay, 2, a.date);
    sqlite3_bind_text(assay, 3, path.data(), static_cast<int>(path.size()), SQLITE_TRANSIENT);
    BindText(assay, 4, a.sample);
    BindText(assay, 5, a.mixture);
    BindDouble(assay, 6, a.pressure);
    BindDouble(assay, 7, a.temperature);
    w.Run(assay);
    for (const ImportPeak& p : a.peaks) {
      sqlite3_bind_int(peak, 1, a.id);
      BindText(peak, 2, p.nameId);
      BindText(peak, 3, p.name);
      sqlite3_bind_double(peak, 4, p.area);
      sqlite3_bind_double(peak, 5, p.time);
      sqlite3_bind_int(peak, 6, p.channel);
      w.Run(peak);
    }
    ++counts.analyses;
    counts.peaks += a.peaks.size();
  }
  w.Commit();
}

}  // namespace

std::string WriteImport(const ImportData& data, const fs::path& outDirGiven, bool force, ImportCounts& counts) {
  counts = {};
  std::error_code ec;
  fs::path outDir = fs::absolute(outDirGiven, ec).lexically_normal();
  if (ec) return outDirGiven.string() + ": " + ec.message();
  if (!outDir.has_filename()) outDir = outDir.parent_path();  // "DIR/" is DIR
  ImportFolder folder;
  if (std::string failure = PrepareImportFolder(outDir, force, folder); !failure.empty()) return failure;
  try {
    WriteAll(data, outDir, folder.temporary, counts);
  } catch (const std::exception& e) {
    DiscardImportFolder(folder);
    counts = {};
    return dynamic_cast<const WriteError*>(&e) ? e.what() : std::string("the import failed: ") + e.what();
  }
  if (std::string failure = PutImportFolderInPlace(folder, counts.notRemoved); !failure.empty()) {
    counts = {};
    return failure;
  }
  return {};
}
