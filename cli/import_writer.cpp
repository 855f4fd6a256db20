// import_writer.cpp: the host database and chromatogram files of an import, written
// under temporary names and renamed into place at the end.
#include "cli/import_writer.h"

#include <sqlite3.h>
#include <unistd.h>

#include <charconv>
#include <map>
#include <set>
#include <stdexcept>
#include <string_view>
#include <system_error>
#include <vector>

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
    if (sqlite3_exec(db_, sql, nullptr, nullptr, &error) != SQLITE_OK) {
      const std::string text = error ? error : sqlite3_errmsg(db_);
      sqlite3_free(error);
      throw WriteError(path_.string() + ": " + text);
    }
  }
  sqlite3_stmt* Prepare(const char* sql) {
    sqlite3_stmt* s = nullptr;
    if (sqlite3_prepare_v2(db_, sql, -1, &s, nullptr) != SQLITE_OK) Fail("cannot prepare an insert");
    statements_.push_back(s);
    return s;
  }
  void Run(sqlite3_stmt* s) {
    if (sqlite3_step(s) != SQLITE_DONE) Fail("cannot insert a row");
    sqlite3_reset(s);
    sqlite3_clear_bindings(s);
  }
  void Commit() {
    for (sqlite3_stmt* s : statements_) sqlite3_finalize(s);
    statements_.clear();
    Exec("COMMIT");
    if (sqlite3_close(db_) != SQLITE_OK) Fail("cannot close the database");
    db_ = nullptr;
  }
  [[noreturn]] void Fail(const char* what) {
    throw WriteError(path_.string() + ": " + what + ": " + (db_ ? sqlite3_errmsg(db_) : "out of memory"));
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
      w.Prepare("INSERT INTO mixturecomp (mixtureid, name, concentration, deviation) VALUES (?, ?, ?, ?)");
  for (const ImportMixture& m : data.mixtures) {
    sqlite3_bind_int(mixture, 1, m.id);
    sqlite3_bind_text16(mixture, 2, m.name.data(), static_cast<int>(m.name.size() * 2), SQLITE_TRANSIENT);
    BindText(mixture, 3, m.cylinder);
    BindDate(mixture, 4, m.release);
    BindDate(mixture, 5, m.expiry);
    w.Run(mixture);
    for (const ImportComponent& c : m.components) {
      sqlite3_bind_int(component, 1, m.id);
      BindText(component, 2, c.name);
      sqlite3_bind_double(component, 3, c.concentration);
      sqlite3_bind_double(component, 4, c.deviation);
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

fs::path PartName(const fs::path& final) {
  std::string name(1, '.');
  name += final.filename().string();
  name += ".part";
  return final.parent_path() / name;
}

void RemoveQuietly(const fs::path& path) {
  std::error_code ec;
  fs::remove(path, ec);
}

}  // namespace

fs::path ChromatogramPath(const fs::path& outDir, std::int32_t id) {
  return outDir / "chromatograms" / ("analysis-" + std::to_string(id) + ".stg");
}

namespace {

// Writes the database under `temporary` and each chromatogram file under its .part name
// (appending the final names to `written` as it goes). Throws on failure.
void WriteAll(const ImportData& data, const fs::path& outDir, const fs::path& temporary, std::vector<fs::path>& written,
              ImportCounts& counts) {
  Writer w(temporary);
  WriteMixtures(w, data, counts);
  sqlite3_stmt* assay = w.Prepare(
      "INSERT INTO assay (id, date, filename, sample, mixture, atmpressure, airtemp) VALUES (?, ?, ?, ?, ?, ?, ?)");
  sqlite3_stmt* peak = w.Prepare("INSERT INTO peak (assayid, name, area, time, channel) VALUES (?, ?, ?, ?, ?)");
  for (const ImportAnalysis& a : data.analyses) {
    const fs::path file = ChromatogramPath(outDir, a.id);
    written.push_back(file);
    const std::int32_t rc = MakeFile(a).SaveFile(sys::FromUtf8(PartName(file).string()));
    if (rc != 0)
      throw WriteError(PartName(file).string() + ": cannot write the chromatogram file (code " + std::to_string(rc) + ")");
    const std::string path = file.string();
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
      BindText(peak, 2, p.name);
      sqlite3_bind_double(peak, 3, p.area);
      sqlite3_bind_double(peak, 4, p.time);
      sqlite3_bind_int(peak, 5, p.channel);
      w.Run(peak);
    }
    ++counts.analyses;
    counts.peaks += a.peaks.size();
  }
  w.Commit();
}

// Whether `name` is one the import gives a chromatogram file: "analysis-<id>.stg" with
// the identifier written as std::to_string writes an int32 that is not negative.
bool ImportFileName(const std::string& name) {
  constexpr std::string_view head = "analysis-", tail = ".stg";
  if (name.size() <= head.size() + tail.size() || !name.starts_with(head) || !name.ends_with(tail)) return false;
  const std::string_view digits = std::string_view(name).substr(head.size(), name.size() - head.size() - tail.size());
  std::int32_t id = 0;
  const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), id);
  return ec == std::errc() && end == digits.data() + digits.size() && id >= 0 && std::to_string(id) == digits;
}

// Removes the chromatogram files of an earlier import that this one did not write, so
// the folder holds what the new database names; files of other names, folders and links
// stay. A file that cannot be removed is named in `kept` with the system's reason.
void RemoveEarlierFiles(const fs::path& folder, const std::vector<fs::path>& written, std::vector<std::string>& kept) {
  std::set<std::string> current;
  for (const fs::path& f : written) current.insert(f.filename().string());
  std::error_code ec;
  std::vector<fs::path> stale;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    std::error_code typeError;
    if (it->symlink_status(typeError).type() == fs::file_type::regular && ImportFileName(name) && !current.count(name))
      stale.push_back(it->path());
  }
  if (ec) kept.push_back(folder.string() + ": cannot list the folder: " + ec.message());
  for (const fs::path& f : stale)
    if (!fs::remove(f, ec) && ec) kept.push_back(f.string() + ": " + ec.message());
}

}  // namespace

std::string WriteImport(const ImportData& data, const fs::path& outDirGiven, bool force, ImportCounts& counts) {
  counts = {};
  std::error_code ec;
  const fs::path outDir = fs::absolute(outDirGiven, ec);
  if (ec) return outDirGiven.string() + ": " + ec.message();
  const fs::path database = outDir / "lortan.db";
  const bool replacing = fs::exists(database, ec);
  if (replacing && !force) return database.string() + " exists already (--force replaces it)";
  fs::create_directories(outDir / "chromatograms", ec);
  if (ec) return (outDir / "chromatograms").string() + ": cannot create the folder: " + ec.message();

  const fs::path temporary = outDir / (".lortan.db.import-" + std::to_string(::getpid()));
  std::vector<fs::path> written;  // final names of the chromatogram files, written as .part
  auto cleanUp = [&] {
    RemoveQuietly(temporary);
    RemoveQuietly(fs::path(temporary.string() + "-journal"));
    for (const fs::path& f : written) RemoveQuietly(PartName(f));
  };
  cleanUp();
  try {
    WriteAll(data, outDir, temporary, written, counts);
  } catch (const std::exception& e) {
    cleanUp();
    return dynamic_cast<const WriteError*>(&e) ? e.what() : std::string("the import failed: ") + e.what();
  }
  // Everything is complete: the chromatogram files first, so that the database never
  // names a file that is not in place.
  for (const fs::path& f : written) {
    fs::rename(PartName(f), f, ec);
    if (ec) {
      const std::string line = f.string() + ": cannot put the chromatogram file in place: " + ec.message();
      cleanUp();
      return line;
    }
  }
  fs::rename(temporary, database, ec);
  if (ec) {
    const std::string line = database.string() + ": cannot put the database in place: " + ec.message();
    cleanUp();
    return line;
  }
  // Only now that the new database is in place do the earlier one's files go.
  if (replacing) RemoveEarlierFiles(outDir / "chromatograms", written, counts.notRemoved);
  return {};
}
