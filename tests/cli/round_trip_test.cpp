// The round trip: vetrix-check --write-csv writes what it loaded, vetrix-import reads it
// back into a new database, and the check prints exactly the same on both, as text and
// as JSON (apart from the chromatogram files' names), and writes the same CSV again. On the demo data and on
// random host databases with the awkward cases: repeated mixture names (also in another
// letter case), mixtures without components, analyses without peaks, without pressure or
// temperature, with unreadable or missing chromatogram files, hidden and deleted rows,
// peaks and certificate components without names, name identifiers of every kind a host
// column holds, texts with delimiters, quotes and line breaks.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <fstream>
#include <random>
#include <regex>
#include <vector>

#include "data/host_schema.h"
#include "data/lortan_file.h"
#include "tests/support/run_command.h"

namespace {

using namespace test_support;

// The file names in the chromatogram texts of messages differ by design: "файл:
// ...\NAME, проба: " in the printed text, the backslash doubled in JSON. Nothing else
// in either output names a file.
std::string WithoutFileNames(const std::string& text) {
  static const std::regex file(R"(файл: \.\.\.\\(\\)?.*?, проба: )");
  return std::regex_replace(text, file, "файл: ...\\*, проба: ");
}

// Runs check, export, import, check and export again; compares what must be equal.
// `namedFiles` is set when the JSON named chromatogram files (so that masking mattered).
void ExpectRoundTrip(const fs::path& db, const fs::path& work, const std::string& label, bool& namedFiles) {
  for (const std::string options : {"--points", "--points --pressure-correction --temperature-correction"}) {
    fs::remove_all(work);
    fs::create_directories(work);
    const Result before = RunCommand(std::string(VETRIX_CHECK) + " --db " + Quote(db) + " " + options +
                                     " --write-csv " + Quote(work / "csv1"));
    ASSERT_EQ(before.code, 0) << label << ": " << before.err;
    const Result import = RunCommand(std::string(VETRIX_IMPORT) + " --areas " + Quote(work / "csv1" / "areas.csv") +
                                     " --certificates " + Quote(work / "csv1" / "certificates.csv") + " --out " +
                                     Quote(work / "imported"));
    ASSERT_EQ(import.code, 0) << label << ": " << import.err << ReadBytes(work / "csv1" / "areas.csv");
    const Result after = RunCommand(std::string(VETRIX_CHECK) + " --db " + Quote(work / "imported" / "lortan.db") +
                                    " " + options + " --write-csv " + Quote(work / "csv2"));
    ASSERT_EQ(after.code, 0) << label << ": " << after.err;
    EXPECT_EQ(WithoutFileNames(after.out), WithoutFileNames(before.out)) << label << " " << options;
    const Result jsonBefore = RunCommand(std::string(VETRIX_CHECK) + " --db " + Quote(db) + " --json " + options);
    const Result jsonAfter = RunCommand(std::string(VETRIX_CHECK) + " --db " + Quote(work / "imported" / "lortan.db") +
                                        " --json " + options);
    ASSERT_EQ(jsonBefore.code, 0) << label << ": " << jsonBefore.err;
    ASSERT_EQ(jsonAfter.code, 0) << label << ": " << jsonAfter.err;
    EXPECT_EQ(WithoutFileNames(jsonAfter.out), WithoutFileNames(jsonBefore.out)) << label << " --json " << options;
    namedFiles = namedFiles || jsonBefore.out.find("файл: ...\\\\") != std::string::npos;
    EXPECT_EQ(ReadBytes(work / "csv2" / "areas.csv"), ReadBytes(work / "csv1" / "areas.csv")) << label;
    EXPECT_EQ(ReadBytes(work / "csv2" / "certificates.csv"), ReadBytes(work / "csv1" / "certificates.csv")) << label;
  }
}

TEST(RoundTrip, DemoData) {
  TempDir dir("round_trip_demo");
  const Result gen = RunCommand(std::string(VETRIX_DEMO_DATA) + " --out " + Quote(dir / "demo"));
  ASSERT_EQ(gen.code, 0) << gen.err;
  bool namedFiles = false;
  ExpectRoundTrip(dir / "demo" / "lortan.db", dir / "work", "demo", namedFiles);
  // The demo's texts pass through the format unchanged.
  const std::string areas = ReadBytes(dir / "work" / "csv1" / "areas.csv");
  EXPECT_NE(areas.find("\"ГСО-1, ввод 1\""), std::string::npos);
  EXPECT_NE(areas.find(",гсо-3,"), std::string::npos) << "the lower-case mixture name as stored";
  // The shipped examples are the demo data written out.
  const fs::path examples = fs::path(std::getenv("VETRIX_SOURCE_DIR")) / "examples";
  EXPECT_EQ(ReadBytes(examples / "demo-areas.csv"), areas);
  EXPECT_EQ(ReadBytes(examples / "demo-certificates.csv"), ReadBytes(dir / "work" / "csv1" / "certificates.csv"));
}

// A name of the pair held by a folder: nothing is written, so the earlier pair stays a
// pair, and the run fails saying which path is in the way.
TEST(RoundTrip, APairWhoseSecondNameIsAFolderIsNotWritten) {
  TempDir dir("round_trip_blocked");
  ASSERT_EQ(RunCommand(std::string(VETRIX_DEMO_DATA) + " --out " + Quote(dir / "demo")).code, 0);
  const fs::path out = dir / "csv";
  fs::create_directories(out / "certificates.csv");
  { std::ofstream(out / "areas.csv") << "earlier"; }
  const Result run = RunCommand(std::string(VETRIX_CHECK) + " --db " + Quote(dir / "demo" / "lortan.db") +
                                " --write-csv " + Quote(out));
  EXPECT_NE(run.code, 0);
  EXPECT_NE(run.err.find((out / "certificates.csv").string() + ": not a regular file"), std::string::npos) << run.err;
  EXPECT_EQ(ReadBytes(out / "areas.csv"), "earlier");
  EXPECT_EQ(std::distance(fs::directory_iterator(out), fs::directory_iterator()), 2) << "no part file left";
}

// A random host database as a host might hold it.
class RandomHost {
 public:
  RandomHost(std::uint32_t seed, const fs::path& dir) : random_(seed), dir_(dir) {
    fs::create_directories(dir / "files");
    sqlite3_open((dir / "host.db").c_str(), &db_);
    Exec(kHostDatabaseSchema);
    Exec("BEGIN");
    WriteMixtures();
    WriteAnalyses();
    Exec("COMMIT");
    sqlite3_close(db_);
  }
  fs::path db() const { return dir_ / "host.db"; }

 private:
  int Uniform(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random_); }
  double Real(double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(random_); }
  bool Chance(double p) { return std::bernoulli_distribution(p)(random_); }
  template <class T>
  const T& Pick(const std::vector<T>& v) { return v[static_cast<std::size_t>(Uniform(0, static_cast<int>(v.size()) - 1))]; }

  void Exec(const char* sql) { ASSERT_EQ(sqlite3_exec(db_, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db_); }
  // An insert with values bound in order; a null pointer for text, or NAN for a double, binds NULL.
  struct Value {
    enum { Null, Int, Real, Text } kind = Null;
    std::int64_t i = 0;
    double d = 0;
    std::string s;
  };
  static Value Int(std::int64_t v) { return {Value::Int, v, 0, {}}; }
  static Value Dbl(double v) { return {Value::Real, 0, v, {}}; }
  static Value Txt(const std::string& v) { return {Value::Text, 0, 0, v}; }
  void Insert(const char* sql, const std::vector<Value>& values) {
    sqlite3_stmt* s = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db_, sql, -1, &s, nullptr), SQLITE_OK) << sqlite3_errmsg(db_);
    for (std::size_t i = 0; i < values.size(); ++i) {
      const int at = static_cast<int>(i + 1);
      const Value& v = values[i];
      if (v.kind == Value::Int) sqlite3_bind_int64(s, at, v.i);
      else if (v.kind == Value::Real) sqlite3_bind_double(s, at, v.d);
      else if (v.kind == Value::Text) sqlite3_bind_text(s, at, v.s.c_str(), -1, SQLITE_TRANSIENT);
      else sqlite3_bind_null(s, at);
    }
    EXPECT_EQ(sqlite3_step(s), SQLITE_DONE) << sqlite3_errmsg(db_);
    sqlite3_finalize(s);
  }
  Value MaybeDate(double nullChance) {
    if (Chance(nullChance)) return {};
    std::int64_t t = 1767214800 + static_cast<std::int64_t>(Uniform(0, 700)) * 86400;
    if (Chance(0.5)) t += Uniform(0, 86399);
    return Int(t);
  }

  // The host's identifier of a component name: mostly a number, now and then none, a
  // text or a fraction, each kept as the host keeps it.
  Value NameId() {
    const int kind = Uniform(0, 9);
    if (kind == 0) return {};
    if (kind == 1) return Txt(Pick(std::vector<std::string>{"C1", "N2, \"азот\"", " 7 ", ""}));
    if (kind == 2) return Dbl(Uniform(1, 30) + 0.25);
    return Int(Uniform(1, 30));
  }

  // A certificate's component name; now and then none (NULL or empty), as a host keeps it.
  Value ComponentName() {
    if (!Chance(0.1)) return Txt(Pick(components_));
    return Chance(0.5) ? Value{} : Txt("");
  }

  void WriteMixtures() {
    const int count = Uniform(2, 6);
    std::int32_t id = Uniform(1, 5);
    for (int m = 0; m < count; ++m) {
      const std::pair<std::string, std::string>& name = Pick(names_);
      const std::string text = Chance(0.3) ? name.second : name.first;
      Insert("INSERT INTO mixture (id, name, ballon, release, expiry) VALUES (?, ?, ?, ?, ?)",
             {Int(id), Txt(text), Chance(0.2) ? Value{} : Txt("Баллон; №" + std::to_string(Uniform(1, 99))),
              MaybeDate(0.2), MaybeDate(0.2)});
      const int components = Chance(0.25) ? 0 : Uniform(1, 8);
      for (int c = 0; c < components; ++c)
        Insert("INSERT INTO mixturecomp (mixtureid, nameid, name, concentration, deviation) VALUES (?, ?, ?, ?, ?)",
               {Int(id), NameId(), ComponentName(), Dbl(Real(0.001, 20)), Dbl(Real(0.1, 5))});
      id += Uniform(1, 4);
    }
  }

  void WriteAnalyses() {
    const int count = Uniform(8, 24);
    std::int32_t id = Uniform(1, 9);
    for (int a = 0; a < count; ++a, id += Uniform(1, 3)) {
      const fs::path file = dir_ / "files" / (std::to_string(id) + ".stg");
      const int fileKind = Uniform(0, 9);  // 0: missing, 1: not a chromatogram, else a good file
      if (fileKind == 1) WriteBytes(file, "not a chromatogram");
      if (fileKind >= 2) {
        CLortanFile4 f;
        f.passport.sample = u"x";
        EXPECT_EQ(f.SaveFile(sys::FromUtf8(file.string())), 0);
      }
      Value mixture;
      const int m = Uniform(0, 9);
      if (m == 0) mixture = Txt("Нет такой смеси");
      else if (m == 1) mixture = Txt("");
      else if (m >= 3) mixture = Txt(Chance(0.3) ? Pick(names_).second : Pick(names_).first);
      Insert("INSERT INTO assay (id, date, filename, sample, mixture, atmpressure, airtemp, ishidden, isdeleted) "
             "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)",
             {Int(id), MaybeDate(0.1), Txt(file.string()), Txt(Pick(samples_)), mixture,
              Chance(0.2) ? Value{} : Dbl(Real(97, 104)), Chance(0.2) ? Value{} : Dbl(Real(15, 28)),
              Int(Chance(0.1) ? 1 : 0), Int(Chance(0.1) ? 1 : 0)});
      const int peaks = Chance(0.15) ? 0 : Uniform(1, 14);
      for (int p = 0; p < peaks; ++p)
        Insert("INSERT INTO peak (assayid, nameid, name, area, time, channel) VALUES (?, ?, ?, ?, ?, ?)",
               {Int(id), NameId(), Chance(0.05) ? Value{} : Txt(Pick(components_)),
                Dbl(Real(1, 1e6)), Dbl(Uniform(1, 40) / 4.0), Int(Uniform(0, 2))});
    }
  }

  std::mt19937 random_;
  fs::path dir_;
  sqlite3* db_ = nullptr;
  const std::vector<std::pair<std::string, std::string>> names_ = {
      {"ГСО-1", "гсо-1"}, {"ГСО-2", "Гсо-2"}, {"Смесь, №3", "СМЕСЬ, №3"}, {"Смесь \"Б\"; партия 2", "смесь \"б\"; ПАРТИЯ 2"},
      {"ПГС\nдва", "пгс\nДВА"}};
  const std::vector<std::string> components_ = {"Метан", "Этан", "Пропан", "Азот", "азот", "Диоксид углерода",
                                                "Кислород", "Гелий", "Аргон", "н-Бутан"};
  const std::vector<std::string> samples_ = {"", "Проба 1", "Проба, 2", "\"Проба\" 3", "Проба\r\nс переносом", " 5 "};
};

TEST(RoundTrip, RandomHostDatabases) {
  // A certificate row whose last three fields are no name, a concentration and a deviation.
  static const std::regex unnamedComponent(",,[-+.0-9e]+,[-+.0-9e]+\r$", std::regex::multiline);
  bool unnamedSeen = false, fileNamesSeen = false;
  for (std::uint32_t seed = 1; seed <= 8; ++seed) {
    TempDir dir("round_trip_random_" + std::to_string(seed));
    RandomHost host(seed, dir / "x");
    ExpectRoundTrip(host.db(), dir / "work", "seed " + std::to_string(seed), fileNamesSeen);
    const std::string certificates = ReadBytes(dir / "work" / "csv1" / "certificates.csv");
    unnamedSeen = unnamedSeen || std::regex_search(certificates, unnamedComponent);
    if (HasFailure()) {
      std::cerr << ReadBytes(dir / "work" / "csv1" / "areas.csv") << certificates;
      return;
    }
  }
  EXPECT_TRUE(unnamedSeen) << "no seed wrote a component without a name";
  EXPECT_TRUE(fileNamesSeen) << "no seed's JSON named a chromatogram file";
}

}  // namespace
