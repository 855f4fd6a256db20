// vetrix-import end to end: what it writes (database rows, chromatogram files that the
// loaders read), the accepted spellings of the format, every problem reported with its
// file, line and column, and nothing left in DIR when anything is wrong.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "data/lortan_file.h"
#include "tests/support/run_command.h"

namespace {

using namespace test_support;

const std::string kAreas =
    "analysis,sample,date,mixture,pressure,temperature,channel,component,area,time,component_id\n"
    "1,\"Проба 1, ввод 1\",2026-11-23 09:25,ГСО-1,101.3,21.5,1,Азот,1520.5,1.25,17\n"
    "1,\"Проба 1, ввод 1\",2026-11-23 09:25,ГСО-1,101.3,21.5,2,Этан,\"3,5\",2.5,\n"
    "2,Проба 2,23.11.2026 09:50:05,гсо-1,,,,,,,\n"
    "3,Холостой,2026-11-23 10:15,,100.9,0,1,Метан,999,0.9,C1\n";
const std::string kCertificates =
    "mixture,mixture_id,cylinder,release,expiry,component,component_id,concentration,deviation\n"
    "ГСО-1,,Баллон 1,2026-01-01,01.01.2028,Азот,17,\"0,5\",1\n"
    "ГСО-1,,Баллон 1,2026-01-01,01.01.2028,Этан,,2.5,1\n"
    "Пустая,,,,,,,,\n";

// The same tables as a Russian spreadsheet writes them: Russian headers in another order,
// ';', decimal commas, Windows-1251, an empty column the format does not know.
const std::string kAreasRu =
    "Компонент;Код компонента;Анализ;Проба;Дата;Смесь;Давление;Температура;Канал;Площадь;Время;Примечание\n"
    "Азот;17;1;Проба 1, ввод 1;23.11.2026 09:25;ГСО-1;101,3;21,5;1;1520,5;1,25;\n"
    "Этан;;1;Проба 1, ввод 1;23.11.2026 09:25;ГСО-1;101,3;21,5;2;3,5;2,5;\n"
    ";;2;Проба 2;2026-11-23 09:50:05;гсо-1;;;;;;\n"
    "Метан;C1;3;Холостой;23.11.2026 10:15;;100,9;0;1;999;0,9;\n";
const std::string kCertificatesRu =
    "Смесь;Код смеси;Баллон;Выпуск;Годен до;Компонент;Концентрация;Погрешность;Код компонента\r\n"
    "ГСО-1;;Баллон 1;01.01.2026;2028-01-01;Азот;0,5;1;17\r\n"
    "ГСО-1;;Баллон 1;01.01.2026;2028-01-01;Этан;2,5;1;\r\n"
    "Пустая;;;;;;;;\r\n";

std::string ToWindows1251(const std::string& utf8) {
  std::string out;
  for (char16_t c : sys::FromUtf8(utf8)) {
    if (c < 0x80) out += static_cast<char>(c);
    else if (c >= 0x410 && c <= 0x44F) out += static_cast<char>(0xC0 + (c - 0x410));
    else if (c == u'Ё') out += '\xA8';
    else if (c == u'ё') out += '\xB8';
    else ADD_FAILURE() << "no Windows-1251 byte in this test for U+" << std::hex << int(c);
  }
  return out;
}

// Every row of the four tables as text, file names left out.
std::vector<std::string> Dump(const fs::path& db) {
  sqlite3* h = nullptr;
  std::vector<std::string> rows;
  if (sqlite3_open_v2(db.c_str(), &h, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
    ADD_FAILURE() << "cannot open " << db;
    sqlite3_close(h);
    return rows;
  }
  for (const char* sql : {"SELECT id, date, sample, mixture, atmpressure, airtemp, ishidden, isdeleted FROM assay ORDER BY id",
                          "SELECT id, assayid, nameid, typeof(nameid), name, area, time, channel FROM peak ORDER BY id",
                          "SELECT id, name, ballon, release, expiry FROM mixture ORDER BY id",
                          "SELECT id, mixtureid, nameid, typeof(nameid), name, concentration, deviation FROM mixturecomp ORDER BY id"}) {
    sqlite3_stmt* s = nullptr;
    sqlite3_prepare_v2(h, sql, -1, &s, nullptr);
    while (sqlite3_step(s) == SQLITE_ROW) {
      std::string row;
      for (int i = 0; i < sqlite3_column_count(s); ++i) {
        const auto* t = sqlite3_column_text(s, i);
        row += (t ? std::string(reinterpret_cast<const char*>(t)) : "NULL") + "|";
      }
      rows.push_back(row);
    }
    sqlite3_finalize(s);
  }
  sqlite3_close(h);
  return rows;
}

// The names in a folder, without what is under them.
std::vector<std::string> Names(const fs::path& dir) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

std::vector<std::string> Listing(const fs::path& dir) {
  std::vector<std::string> names;
  if (!fs::exists(dir)) return names;
  for (const auto& e : fs::recursive_directory_iterator(dir)) names.push_back(e.path().lexically_relative(dir).string());
  std::sort(names.begin(), names.end());
  return names;
}

Result Import(const fs::path& areas, const fs::path& certificates, const fs::path& out, const std::string& more = "") {
  return RunCommand(std::string(VETRIX_IMPORT) + " --areas " + Quote(areas) + " --certificates " +
                    Quote(certificates) + " --out " + Quote(out) + more);
}

TEST(Import, WritesTheDatabaseAndChromatogramsTheCheckRunsOn) {
  TempDir dir("import_ok");
  WriteBytes(dir / "areas.csv", kAreas);
  WriteBytes(dir / "certs.csv", kCertificates);
  const Result r = Import(dir / "areas.csv", dir / "certs.csv", dir / "out");
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out, "imported into " + (dir / "out" / "lortan.db").string() +
                       ": analyses 3, peaks 3, mixtures 2, components 2\n");
  EXPECT_EQ(Dump(dir / "out" / "lortan.db"),
            (std::vector<std::string>{
                "1|1795415100|Проба 1, ввод 1|ГСО-1|101.3|21.5|0|0|",
                "2|1795416605|Проба 2|гсо-1|NULL|NULL|0|0|",
                "3|1795418100|Холостой|NULL|100.9|0.0|0|0|",
                "1|1|17|integer|Азот|1520.5|1.25|0|",
                "2|1|NULL|null|Этан|3.5|2.5|1|",
                "3|3|C1|text|Метан|999.0|0.9|0|",
                "1|ГСО-1|Баллон 1|1767214800|1830286800|",
                "2|Пустая|NULL|NULL|NULL|",
                "1|1|17|integer|Азот|0.5|1.0|",
                "2|1|NULL|null|Этан|2.5|1.0|",
            }));
  EXPECT_EQ(Listing(dir / "out"), (std::vector<std::string>{"chromatograms", "chromatograms/analysis-1.stg",
                                                            "chromatograms/analysis-2.stg", "chromatograms/analysis-3.stg",
                                                            "lortan.db"}));
  CLortanFile4 file;
  ASSERT_EQ(file.LoadFile(sys::FromUtf8((dir / "out" / "chromatograms" / "analysis-1.stg").string())), 0);
  EXPECT_EQ(file.passport.sample, u"Проба 1, ввод 1");
  EXPECT_EQ(file.passport.mixture, u"ГСО-1");
  ASSERT_EQ(file.channels.size(), 2u);
  EXPECT_EQ(file.channels[1].number, 1);
  ASSERT_EQ(file.channels[1].peaks.size(), 1u);
  EXPECT_EQ(file.channels[1].peaks[0].name, u"Этан");

  const Result check = RunCommand(std::string(VETRIX_CHECK) + " --db " + Quote(dir / "out" / "lortan.db") + " --json");
  ASSERT_EQ(check.code, 0) << check.err;
  EXPECT_NE(check.out.find("\"Этан\""), std::string::npos);
}

TEST(Import, ReadsRussianSemicolonDecimalCommaWindows1251AsTheSame) {
  TempDir dir("import_ru");
  WriteBytes(dir / "areas.csv", kAreas);
  WriteBytes(dir / "certs.csv", kCertificates);
  WriteBytes(dir / "areas_ru.csv", ToWindows1251(kAreasRu));
  WriteBytes(dir / "certs_ru.csv", "\xEF\xBB\xBF" + kCertificatesRu);
  ASSERT_EQ(Import(dir / "areas.csv", dir / "certs.csv", dir / "en").code, 0);
  const Result r = Import(dir / "areas_ru.csv", dir / "certs_ru.csv", dir / "ru");
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(Dump(dir / "ru" / "lortan.db"), Dump(dir / "en" / "lortan.db"));
}

TEST(Import, ReportsEveryProblemWithFileLineAndColumnAndWritesNothing) {
  struct Case {
    const char* name;
    std::string areas;
    std::string certificates;
    std::vector<std::string> expected;  // lines of standard error, without the file's folder
  };
  const std::string header = "analysis,sample,date,mixture,pressure,temperature,channel,component,area,time\n";
  const std::string certHeader = "mixture,mixture_id,cylinder,release,expiry,component,concentration,deviation\n";
  const std::vector<Case> cases = {
      {"bad values, all of one file at once",
       header + "1,s,2026-11-23 09:25,ГСО-1,101.3,21.5,1,Азот,\"1,2,3\",1.25\n"
                "1,s,2026-11-23 09:25,ГСО-1,101.3,21.5,0,Этан,3.5,abc\n"
                "x,s,23.11.2026 25:00,ГСО-1,101.3,21.5,1,Метан,5,1\n"
                "-4,s,,ГСО-1,,,1,Азот,1,1\n"
                "5,s,,ГСО-9,,,1,Азот,1,1\n",
       kCertificates,
       {"areas.csv, line 2, column \"area\": not a number: \"1,2,3\"",
        "areas.csv, line 3, column \"channel\": a channel below 1 (channels count from 1): \"0\"",
        "areas.csv, line 3, column \"time\": not a number: \"abc\"",
        "areas.csv, line 4, column \"analysis\": not a whole number: \"x\"",
        "areas.csv, line 4, column \"date\": not a date and time (expected \"2026-11-23 09:25[:05]\" or "
        "\"23.11.2026 09:25[:05]\"): \"23.11.2026 25:00\"",
        "areas.csv, line 5, column \"analysis\": a negative analysis identifier, which the host cannot look up: \"-4\"",
        "areas.csv, line 6, column \"mixture\": no certificate of this mixture in the certificates file: \"ГСО-9\""}},
      {"rows of an analysis disagree",
       header + "1,s,2026-11-23 09:25,ГСО-1,101.3,21.5,1,Азот,1,1\n"
                "1,s,2026-11-23 09:26,ГСО-1,,21.5,2,Этан,2,2\n",
       kCertificates,
       {"areas.csv, line 3, column \"date\": disagrees with line 2 of analysis 1, which has \"2026-11-23 09:25\": "
        "\"2026-11-23 09:26\"",
        "areas.csv, line 3, column \"pressure\": disagrees with line 2 of analysis 1, which has \"101.3\""}},
      {"a mixture the certificates lack",
       header + "1,s,,ГСО-9,,,1,Азот,1,1\n2,s,,ГСО-9,,,1,Азот,1,1\n", kCertificates,
       {"areas.csv, line 2, column \"mixture\": no certificate of this mixture in the certificates file: \"ГСО-9\""}},
      {"two certificates of one name without mixture_id",
       kAreas, certHeader + "ГСО-1,,,,,Азот,1,1\nгсо-1,,,,,Азот,2,1\nГСО-2,5,,,,Азот,1,1\nгсо-2,,,,,Азот,1,1\n",
       {"certs.csv, line 3, column \"mixture_id\": a second certificate named like the one on line 2: give both a "
        "mixture_id to keep them apart: \"гсо-1\"",
        "certs.csv, line 5, column \"mixture_id\": a second certificate named like the one on line 4: give both a "
        "mixture_id to keep them apart: \"гсо-2\""}},
      {"empty files", "", "\xEF\xBB\xBF\n\n",
       {"areas.csv, line 1: the file is empty: a header row and one row per peak are expected",
        "certs.csv, line 1: the file is empty: a header row and one row per mixture component are expected"}},
      {"UTF-16", std::string("\xFF\xFE" "a\0,\0", 6), kCertificates,
       {"areas.csv, line 1: the file is UTF-16 text: save it as CSV in UTF-8 or Windows-1251"}},
      {"missing and repeated columns, values in an unknown one",
       "analysis,sample,area,time,Area,note\n1,s,1,1,,x\n", kCertificates,
       {"areas.csv, line 1, column \"Area\": the column appears twice in the header",
        "areas.csv, line 1, column \"channel\": the header lacks this required column (also accepted: \"канал\")",
        "areas.csv, line 1, column \"component\": the header lacks this required column (also accepted: "
        "\"компонент\")",
        "areas.csv, line 2, column \"note\": a value in a column this table does not have: \"x\""}},
      {"incomplete rows and a broken quote",
       header + "1,s,,,,,1,,5,1\n2,\"s\"x,,,,,1,Азот,5,1\n", certHeader + "ГСО-1,,,,,Азот,,1\n,,,,,Азот,1,1\n",
       {"areas.csv, line 2, column \"component\": the peak has no component name",
        "areas.csv, line 3: text after the closing quote of a field: \"x\"",
        "certs.csv, line 2, column \"concentration\": the component has no concentration",
        "certs.csv, line 3, column \"mixture\": the mixture has no name"}},
      {"a certificate identifier naming two mixtures, rows of a mixture disagreeing",
       kAreas, certHeader + "ГСО-1,1,Б1,,,Азот,1,1\nГСО-2,1,Б1,,,Азот,1,1\nГСО-1,1,Б2,,,Этан,1,1\n",
       {"certs.csv, line 3, column \"mixture\": disagrees with line 2 of this mixture, which has \"ГСО-1\": \"ГСО-2\"",
        "certs.csv, line 4, column \"cylinder\": disagrees with line 2 of this mixture, which has \"Б1\": \"Б2\""}},
  };
  for (const auto& c : cases) {
    TempDir dir("import_bad");
    WriteBytes(dir / "areas.csv", c.areas);
    WriteBytes(dir / "certs.csv", c.certificates);
    const Result r =
        RunCommand(std::string("cd ") + Quote(dir.path()) + " && " + VETRIX_IMPORT + " --areas areas.csv --certificates certs.csv --out out");
    EXPECT_EQ(r.code, 2) << c.name;
    std::string expected;
    for (const auto& line : c.expected) expected += line + "\n";
    EXPECT_EQ(r.err, expected + "vetrix-import: nothing was imported\n") << c.name;
    EXPECT_EQ(Listing(dir / "out"), std::vector<std::string>{}) << c.name;
  }
}

TEST(Import, StopsListingProblemsAtTheLimit) {
  TempDir dir("import_limit");
  std::string areas = "analysis,channel,component,area,time\n";
  for (int i = 0; i < 60; ++i) areas += std::to_string(i + 1) + ",1,Азот,bad,1\n";
  WriteBytes(dir / "areas.csv", areas);
  WriteBytes(dir / "certs.csv", kCertificates);
  const Result r = Import(dir / "areas.csv", dir / "certs.csv", dir / "out");
  EXPECT_EQ(r.code, 2);
  EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 52);
  EXPECT_NE(r.err.find("areas.csv: 10 more problems not shown\n"), std::string::npos) << r.err;
}

// A folder's files with their contents, to show that a refused or failed import left
// it exactly as it was.
std::vector<std::string> Contents(const fs::path& dir) {
  std::vector<std::string> files = Listing(dir);
  for (std::string& f : files)
    if (fs::is_regular_file(dir / f)) f += "=" + ReadBytes(dir / f);
  return files;
}

TEST(Import, ReplacesAnEarlierImportAsAWholeOnlyWithForce) {
  TempDir dir("import_force");
  WriteBytes(dir / "areas.csv", kAreas);
  WriteBytes(dir / "certs.csv", kCertificates);
  WriteBytes(dir / "areas2.csv", "analysis,channel,component,area,time\n7,1,Азот,1,1\n");
  ASSERT_EQ(Import(dir / "areas.csv", dir / "certs.csv", dir / "out").code, 0);
  const std::vector<std::string> earlier = Contents(dir / "out");
  const std::vector<std::string> beside = Names(dir.path());

  const Result refused = Import(dir / "areas2.csv", dir / "certs.csv", dir / "out");
  EXPECT_EQ(refused.code, 2);
  EXPECT_NE(refused.err.find((dir / "out" / "lortan.db").string() +
                             " exists already (--force replaces the earlier import)"),
            std::string::npos)
      << refused.err;
  EXPECT_EQ(Contents(dir / "out"), earlier);

  // Anything in DIR that an import does not write keeps even a forced import out.
  const fs::path chromatograms = dir / "out" / "chromatograms";
  struct Foreign {
    fs::path path;
    std::function<void()> make;
  };
  const std::vector<Foreign> foreign = {
      {dir / "out" / "notes.txt", [&] { WriteBytes(dir / "out" / "notes.txt", "mine"); }},
      {dir / "out" / "lortan.db-journal", [&] { WriteBytes(dir / "out" / "lortan.db-journal", "x"); }},
      {chromatograms / "analysis-01.stg", [&] { WriteBytes(chromatograms / "analysis-01.stg", "mine"); }},
      {chromatograms / "analysis-5.stg", [&] { fs::create_directories(chromatograms / "analysis-5.stg"); }},
      {chromatograms / "analysis-6.stg", [&] { fs::create_symlink("analysis-1.stg", chromatograms / "analysis-6.stg"); }},
  };
  for (const Foreign& f : foreign) {
    f.make();
    const std::vector<std::string> before = Contents(dir / "out");
    const Result r = Import(dir / "areas2.csv", dir / "certs.csv", dir / "out", " --force");
    EXPECT_EQ(r.code, 2) << f.path;
    EXPECT_NE(r.err.find(f.path.string() + ": not written by an import, and an earlier import is replaced only "
                                           "where its folder holds nothing else"),
              std::string::npos)
        << r.err;
    EXPECT_EQ(Contents(dir / "out"), before) << f.path;
    fs::remove(f.path);
  }
  EXPECT_EQ(Contents(dir / "out"), earlier);
  EXPECT_EQ(Names(dir.path()), beside) << "a temporary folder was left";

  // Replaced as a whole: none of the earlier import's files stay.
  const Result forced = Import(dir / "areas2.csv", dir / "certs.csv", dir / "out", " --force");
  ASSERT_EQ(forced.code, 0) << forced.err;
  EXPECT_EQ(forced.out, "imported into " + (dir / "out" / "lortan.db").string() +
                            ": analyses 1, peaks 1, mixtures 2, components 2\n");
  EXPECT_EQ(Dump(dir / "out" / "lortan.db").front(), "7|NULL|NULL|NULL|NULL|NULL|0|0|");
  EXPECT_EQ(Listing(dir / "out"),
            (std::vector<std::string>{"chromatograms", "chromatograms/analysis-7.stg", "lortan.db"}));
  EXPECT_EQ(Names(dir.path()), beside) << "a temporary folder or the earlier import was left";
}

TEST(Import, WritesOnlyANewOrEmptyFolder) {
  TempDir dir("import_folder");
  WriteBytes(dir / "areas.csv", kAreas);
  WriteBytes(dir / "certs.csv", kCertificates);
  // Not empty and not an import: refused with and without --force.
  fs::create_directories(dir / "busy");
  WriteBytes(dir / "busy" / "chromatograms", "a file where the folder goes");
  for (const std::string force : {"", " --force"}) {
    const Result r = Import(dir / "areas.csv", dir / "certs.csv", dir / "busy", force);
    EXPECT_EQ(r.code, 2) << force;
    EXPECT_NE(r.err.find(force.empty() ? (dir / "busy").string() + " is not empty: the import writes a new or empty folder"
                                       : (dir / "busy" / "chromatograms").string() + ": not written by an import"),
              std::string::npos)
        << r.err;
    EXPECT_EQ(Contents(dir / "busy"), std::vector<std::string>{"chromatograms=a file where the folder goes"});
  }
  WriteBytes(dir / "file", "x");
  const Result notFolder = Import(dir / "areas.csv", dir / "certs.csv", dir / "file");
  EXPECT_EQ(notFolder.code, 2);
  EXPECT_NE(notFolder.err.find((dir / "file").string() + ": exists and is not a folder"), std::string::npos);

  // An empty folder, given with a trailing slash, and a folder whose parents are missing.
  fs::create_directories(dir / "empty");
  fs::permissions(dir / "empty", fs::perms::owner_all);
  const Result empty = Import(dir / "areas.csv", dir / "certs.csv", (dir / "empty").string() + "/");
  ASSERT_EQ(empty.code, 0) << empty.err;
  EXPECT_EQ(Listing(dir / "empty").size(), 5u);
  EXPECT_EQ(fs::status(dir / "empty").permissions(), fs::perms::owner_all) << "the folder's permissions are kept";
  const Result deep = Import(dir / "areas.csv", dir / "certs.csv", dir / "a" / "b" / "out");
  ASSERT_EQ(deep.code, 0) << deep.err;
  EXPECT_EQ(Names(dir / "a" / "b"), std::vector<std::string>{"out"});
  EXPECT_EQ(Listing(dir / "a" / "b" / "out"), Listing(dir / "empty"));
  const Result check = RunCommand(std::string(VETRIX_CHECK) + " --db " + Quote(dir / "empty" / "lortan.db"));
  EXPECT_EQ(check.code, 0) << check.err;
}

// vetrix-import under a file size limit (the signal it raises ignored, so writes fail
// with EFBIG as on a full disk), forced over an earlier import.
Result ImportLimited(const fs::path& areas, const fs::path& certificates, const fs::path& out, int kilobytes) {
  return RunCommand("trap '' XFSZ; ulimit -f " + std::to_string(kilobytes * 2) + " && " + VETRIX_IMPORT +
                    " --areas " + Quote(areas) + " --certificates " + Quote(certificates) + " --out " + Quote(out) +
                    " --force");
}

TEST(Import, AWriteThatFailsMidwayLeavesTheEarlierImportAsItWas) {
  TempDir dir("import_fsize");
  WriteBytes(dir / "areas.csv", kAreas);
  WriteBytes(dir / "certs.csv", kCertificates);
  ASSERT_EQ(Import(dir / "areas.csv", dir / "certs.csv", dir / "out").code, 0);
  const std::vector<std::string> earlier = Contents(dir / "out");

  const std::string header = "analysis,channel,component,area,time\n";
  std::string bigFile = header;  // analyses 1-5 fit, the sixth's chromatogram file does not
  for (int a = 1; a <= 6; ++a)
    for (int p = 0; p < (a == 6 ? 2000 : 3); ++p) bigFile += std::to_string(a) + ",1,Компонент " + std::to_string(p) + ",1,1\n";
  std::string bigDatabase = header;  // small files, a database beyond the limit
  for (int a = 1; a <= 400; ++a)
    for (int p = 0; p < 30; ++p) bigDatabase += std::to_string(a) + ",1,Компонент " + std::to_string(p) + ",1,1\n";
  WriteBytes(dir / "big_file.csv", bigFile);
  WriteBytes(dir / "big_database.csv", bigDatabase);
  const std::vector<std::string> beside = Names(dir.path());
  const struct {
    const char* file;
    std::string message;
  } cases[] = {
      {"big_file.csv", "/chromatograms/analysis-6.stg: cannot write the chromatogram file: File too large"},
      {"big_database.csv", "/lortan.db: cannot write the database: disk I/O error (File too large)"},
  };
  for (const auto& c : cases) {
    const Result r = ImportLimited(dir / c.file, dir / "certs.csv", dir / "out", 128);
    EXPECT_EQ(r.code, 2) << c.file;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    EXPECT_NE(r.err.find(".out.import-"), std::string::npos) << "the message names the path written: " << r.err;
    EXPECT_EQ(Contents(dir / "out"), earlier) << c.file;
    EXPECT_EQ(Names(dir.path()), beside) << c.file << ": something half-written was left";
    // Without the limit the same files import.
    const Result unlimited = Import(dir / c.file, dir / "certs.csv", dir / "other");
    EXPECT_EQ(unlimited.code, 0) << unlimited.err;
    fs::remove_all(dir / "other");
  }
}

TEST(Import, AnUnwritableSummaryIsAFailureThatNamesTheWrittenDatabase) {
  TempDir dir("import_full");
  WriteBytes(dir / "areas.csv", kAreas);
  WriteBytes(dir / "certs.csv", kCertificates);
  const Result r = Import(dir / "areas.csv", dir / "certs.csv", dir / "out", " >/dev/full");
  EXPECT_EQ(r.code, 2);
  EXPECT_EQ(r.err, "vetrix-import: " + (dir / "out" / "lortan.db").string() +
                       " is written, but its summary is not: cannot write to standard output: No space left on device\n");
}

TEST(Import, UsageErrors) {
  for (const std::string args : {"", "--areas a.csv --out d", "--areas", "--bogus"}) {
    const Result r = RunCommand(std::string(VETRIX_IMPORT) + " " + args);
    EXPECT_EQ(r.code, 2) << args;
    EXPECT_EQ(r.err.rfind("usage: vetrix-import", 0), 0u) << args;
  }
  TempDir dir("import_missing");
  const Result r = Import(dir / "none.csv", dir / "none2.csv", dir / "out");
  EXPECT_EQ(r.code, 2);
  EXPECT_NE(r.err.find("none.csv: cannot read: No such file or directory"), std::string::npos) << r.err;
}

}  // namespace
