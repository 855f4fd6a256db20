// unicode_sql_bench.cpp: speed of the Unicode NOCASE and LIKE against SQLite's built-in
// ones on ASCII text, and of NOCASE against ICU's u_strcasecmp on Cyrillic text.
//
// The SQL benchmarks run the same query over the same table on two connections to one
// UTF-8 database file: one of this module (DataBase::Connection, functions registered) and
// a plain one (SQLite's own). The direct ones call the comparison functions on the same
// pairs of texts. At the end the run prints each speed ratio (other time / our time) with
// its target, from medians of interleaved repetitions. Takes about ten seconds.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <unicode/uchar.h>
#include <unicode/ustring.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "data/database.h"
#include "data/unicode_sql_text.h"
#include "platform/sys/text.h"

namespace {

constexpr int kRows = 20000;
constexpr int kPairs = 2000;

// Flips the case of each ASCII letter or Cyrillic letter with probability one half.
std::u16string ShuffleCase(std::u16string text, std::mt19937& random) {
  for (char16_t& c : text) {
    if (random() % 2 == 0) continue;
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - 32);
    else if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
    else if (c >= u'а' && c <= u'я') c = static_cast<char16_t>(c - 32);
    else if (c >= u'А' && c <= u'Я') c = static_cast<char16_t>(c + 32);
  }
  return text;
}

std::u16string Numbered(const std::u16string& text, int n) {
  std::u16string digits;
  for (char c : std::to_string(100000 + n)) digits += static_cast<char16_t>(c);
  return text + digits;
}

const std::u16string kAscii = u"The quick brown fox jumps over the lazy dog ";
const std::u16string kCyrillic = u"Съешь же ещё этих мягких французских булок да выпей чаю ";

// The shared database: table t(s) with kRows ASCII texts differing in case and number.
struct Database {
  std::filesystem::path path;
  std::unique_ptr<DataBase::Connection> ours;
  sqlite3* plain = nullptr;

  Database() {
    path = std::filesystem::temp_directory_path() / ("vetrix-bench-" + std::to_string(getpid()) + ".db");
    sqlite3_open(path.c_str(), &plain);
    sqlite3_exec(plain, "CREATE TABLE t(s TEXT)", nullptr, nullptr, nullptr);
    sqlite3_exec(plain, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(plain, "INSERT INTO t VALUES (?1)", -1, &insert, nullptr);
    std::mt19937 random(7);
    for (int i = 0; i < kRows; ++i) {
      const std::string text = sys::ToUtf8(ShuffleCase(Numbered(kAscii, i), random));
      sqlite3_bind_text(insert, 1, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
      sqlite3_step(insert);
      sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    sqlite3_exec(plain, "COMMIT", nullptr, nullptr, nullptr);
    ours = std::make_unique<DataBase::Connection>(sys::FromUtf8(path.string()));
  }
  ~Database() {
    ours.reset();
    sqlite3_close(plain);
    std::filesystem::remove(path);
  }
};

Database& Shared() {
  static Database database;
  return database;
}

// Runs a one-parameter counting query until the state is done.
void RunCount(benchmark::State& state, sqlite3* db, const char* sql, const std::string& argument) {
  sqlite3_stmt* query = nullptr;
  sqlite3_prepare_v2(db, sql, -1, &query, nullptr);
  sqlite3_bind_text(query, 1, argument.data(), static_cast<int>(argument.size()), SQLITE_TRANSIENT);
  for (auto _ : state) {
    if (sqlite3_step(query) != SQLITE_ROW) state.SkipWithError(sqlite3_errmsg(db));
    benchmark::DoNotOptimize(sqlite3_column_int(query, 0));
    sqlite3_reset(query);
  }
  sqlite3_finalize(query);
  state.SetItemsProcessed(state.iterations() * kRows);
}

const char* const kNoCaseQuery = "SELECT count(*) FROM t WHERE s = ?1 COLLATE NOCASE";
const char* const kLikeQuery = "SELECT count(*) FROM t WHERE s LIKE ?1";
const std::string kNoCaseProbe = sys::ToUtf8(Numbered(kAscii, 4242));
const std::string kLikePattern = "%brown%FOX%lazy%dog%1_2%";

void SqlNoCaseBuiltin(benchmark::State& s) { RunCount(s, Shared().plain, kNoCaseQuery, kNoCaseProbe); }
void SqlNoCaseOurs(benchmark::State& s) { RunCount(s, Shared().ours->handle(), kNoCaseQuery, kNoCaseProbe); }
void SqlLikeBuiltin(benchmark::State& s) { RunCount(s, Shared().plain, kLikeQuery, kLikePattern); }
void SqlLikeOurs(benchmark::State& s) { RunCount(s, Shared().ours->handle(), kLikeQuery, kLikePattern); }

// Pairs of the same text in different case, so that every comparison reads it all.
template <class Text>
std::vector<std::pair<Text, Text>> Pairs(const std::u16string& base, Text (*convert)(const std::u16string&)) {
  std::mt19937 random(11);
  std::vector<std::pair<Text, Text>> pairs;
  for (int i = 0; i < kPairs; ++i) {
    const std::u16string text = Numbered(base, i);
    pairs.emplace_back(convert(ShuffleCase(text, random)), convert(ShuffleCase(text, random)));
  }
  return pairs;
}

std::string AsUtf8(const std::u16string& t) { return sys::ToUtf8(t); }
std::u16string AsUtf16(const std::u16string& t) { return t; }

template <class Compare, class Text>
void ComparePairs(benchmark::State& state, const std::vector<std::pair<Text, Text>>& pairs, Compare compare) {
  for (auto _ : state)
    for (const auto& [a, b] : pairs) benchmark::DoNotOptimize(compare(a, b));
  state.SetItemsProcessed(state.iterations() * kPairs);
}

int Bytes(const std::string& s) { return static_cast<int>(s.size()); }
int Bytes(const std::u16string& s) { return static_cast<int>(s.size() * 2); }

// SQLite's built-in NOCASE: sqlite3_strnicmp over the shorter length, then the lengths.
void DirectAsciiBuiltin(benchmark::State& state) {
  static const auto pairs = Pairs<std::string>(kAscii, AsUtf8);
  ComparePairs(state, pairs, [](const std::string& a, const std::string& b) {
    const int r = sqlite3_strnicmp(a.data(), b.data(), std::min(Bytes(a), Bytes(b)));
    return r != 0 ? r : Bytes(a) - Bytes(b);
  });
}

void DirectAsciiOurs(benchmark::State& state) {
  static const auto pairs = Pairs<std::string>(kAscii, AsUtf8);
  ComparePairs(state, pairs, [](const std::string& a, const std::string& b) {
    return unicode_sql::CompareNoCaseUtf8(a.data(), Bytes(a), b.data(), Bytes(b));
  });
}

void CyrillicIcu(benchmark::State& state) {
  static const auto pairs = Pairs<std::u16string>(kCyrillic, AsUtf16);
  ComparePairs(state, pairs, [](const std::u16string& a, const std::u16string& b) {
    return u_strcasecmp(a.c_str(), b.c_str(), U_FOLD_CASE_DEFAULT);
  });
}

void CyrillicOursUtf16(benchmark::State& state) {
  static const auto pairs = Pairs<std::u16string>(kCyrillic, AsUtf16);
  ComparePairs(state, pairs, [](const std::u16string& a, const std::u16string& b) {
    return unicode_sql::CompareNoCaseUtf16(a.data(), Bytes(a), b.data(), Bytes(b));
  });
}

void CyrillicOursUtf8(benchmark::State& state) {
  static const auto pairs = Pairs<std::string>(kCyrillic, AsUtf8);
  ComparePairs(state, pairs, [](const std::string& a, const std::string& b) {
    return unicode_sql::CompareNoCaseUtf8(a.data(), Bytes(a), b.data(), Bytes(b));
  });
}

// Each case is measured in several short repetitions, interleaved with the others in
// random order (see main), and judged by its median: a load that comes and goes on the
// machine then falls on both sides of a ratio alike.
#define VETRIX_BENCH(name) BENCHMARK(name)->Repetitions(7)->MinTime(0.1)->ReportAggregatesOnly(true)
VETRIX_BENCH(SqlNoCaseBuiltin);
VETRIX_BENCH(SqlNoCaseOurs);
VETRIX_BENCH(SqlLikeBuiltin);
VETRIX_BENCH(SqlLikeOurs);
VETRIX_BENCH(DirectAsciiBuiltin);
VETRIX_BENCH(DirectAsciiOurs);
VETRIX_BENCH(CyrillicIcu);
VETRIX_BENCH(CyrillicOursUtf16);
VETRIX_BENCH(CyrillicOursUtf8);

// The console report, with each benchmark's median CPU time per iteration kept for the
// ratios (CPU time, not wall time: the machine may be busy with other work).
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs)
      if (!run.error_occurred && run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
        times[run.run_name.function_name] = run.GetAdjustedCPUTime();
    ConsoleReporter::ReportRuns(runs);
  }
  std::map<std::string, double> times;
};

void PrintRatio(const RatioReporter& reporter, const char* what, const std::string& other,
                const std::string& ours, double target) {
  const auto o = reporter.times.find(other);
  const auto u = reporter.times.find(ours);
  if (o == reporter.times.end() || u == reporter.times.end()) return;
  const double ratio = o->second / u->second;
  std::printf("%-44s %5.2f x  (target >= %.1f: %s)\n", what, ratio, target, ratio >= target ? "met" : "MISSED");
}

}  // namespace

int main(int argc, char** argv) {
  // Random interleaving of the repetitions, unless the command line says otherwise.
  std::vector<char*> args(argv, argv + argc);
  char interleave[] = "--benchmark_enable_random_interleaving=true";
  args.insert(args.begin() + 1, interleave);
  argc = static_cast<int>(args.size());
  argv = args.data();
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  std::printf("\nspeed of ours relative to the other (other time / our time):\n");
  PrintRatio(reporter, "NOCASE in SQL, ASCII, vs SQLite's", "SqlNoCaseBuiltin", "SqlNoCaseOurs", 0.8);
  PrintRatio(reporter, "LIKE in SQL, ASCII, vs SQLite's", "SqlLikeBuiltin", "SqlLikeOurs", 0.8);
  PrintRatio(reporter, "NOCASE direct, ASCII, vs sqlite3_strnicmp", "DirectAsciiBuiltin", "DirectAsciiOurs", 0.8);
  PrintRatio(reporter, "NOCASE UTF-16, Cyrillic, vs u_strcasecmp", "CyrillicIcu", "CyrillicOursUtf16", 2.0);
  PrintRatio(reporter, "NOCASE UTF-8, Cyrillic, vs u_strcasecmp", "CyrillicIcu", "CyrillicOursUtf8", 2.0);
  benchmark::Shutdown();
  return 0;
}
