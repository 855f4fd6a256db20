// vetrix-import end to end: what it writes (database rows, chromatogram files that the
// loaders read), the accepted spellings of the format, every problem reported with its
// file, line and column, and nothing left in DIR when anything is wrong.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <vector>

#include "data/lortan_file.h"
#include "tests/support/run_command.h"

namespace {

using namespace test_support;

const std::string kAreas =
    "analysis,sample,date,mixture,pressure,temperature,channel,component,area,time\n"
    "1,\"Проба 1, ввод 1\",2026-11-23 09:25,ГСО-1,101.3,21.5,1,Азот,1520.5,1.25\n"
    "1,\"Проба 1, ввод 1\",2026-11-23 09:25,ГСО-1,101.3,21.5,2,Этан,\"3,5\",2.5\n"
    "2,Проба 2,23.11.2026 09:50:05,гсо-1,,,,,,\n"
    "3,Холостой,2026-11-23 10:15,,100.9,0,1,Метан,999,0.9\n";
const std::string kCertificates =
    "mixture,mixture_id,cylinder,release,expiry,component,concentration,deviation\n"
    "ГСО-1,,Баллон 1,2026-01-01,01.01.2028,Азот,\"0,5\",1\n"
    "ГСО-1,,Баллон 1,2026-01-01,01.01.2028,Этан,2.5,1\n"
    "Пустая,,,,,,,\n";

// The same tables as a Russian spreadsheet writes them: Russian headers in another order,
// ';', decimal commas, Windows-1251, an empty column the format does not know.
const std::string kAreasRu =
    "Компонент;Анализ;Проба;Дата;Смесь;Давление;Температура;Канал;Площадь;Время;Примечание\n"
    "Азот;1;Проба 1, ввод 1;23.11.2026 09:25;ГСО-1;101,3;21,5;1;1520,5;1,25;\n"
    "Этан;1;Проба 1, ввод 1;23.11.2026 09:25;ГСО-1;101,3;21,5;2;3,5;2,5;\n"
    ";2;Проба 2;2026-11-23 09:50:05;гсо-1;;;;;;\n"
    "Метан;3;Холостой;23.11.2026 10:15;;100,9;0;1;999;0,9;\n";
const std::string kCertificatesRu =
    "Смесь;Код смеси;Баллон;Выпуск;Годен до;Компонент;Концентрация;Погрешность\r\n"
    "ГСО-1;;Баллон 1;01.01.2026;2028-01-01;Азот;0,5;1\r\n"
    "ГСО-1;;Баллон 1;01.01.2026;2028-01-01;Этан;2,5;1\r\n"
    "Пустая;;;;;;;\r\n";

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
                          "SELECT id, assayid, nameid, name, area, time, channel FROM peak ORDER BY id",
                          "SELECT id, name, ballon, release, expiry FROM mixture ORDER BY id",
                          "SELECT id, mixtureid, nameid, name, concentration, deviation FROM mixturecomp ORDER BY id"}) {
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
                "1|1|NULL|Азот|1520.5|1.25|0|",
                "2|1|NULL|Этан|3.5|2.5|1|",
                "3|3|NULL|Метан|999.0|0.9|0|",
                "1|ГСО-1|Баллон 1|1767214800|1830286800|",
                "2|Пустая|NULL|NULL|NULL|",
                "1|1|NULL|Азот|0.5|1.0|",
                "2|1|NULL|Этан|2.5|1.0|",
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

TEST(Import, KeepsAnExistingDatabaseUnlessForcedAndLeavesNothingOnAFailedWrite) {
  TempDir dir("import_force");
  WriteBytes(dir / "areas.csv", kAreas);
  WriteBytes(dir / "certs.csv", kCertificates);
  ASSERT_EQ(Import(dir / "areas.csv", dir / "certs.csv", dir / "out").code, 0);
  const std::string before = ReadBytes(dir / "out" / "lortan.db");
  WriteBytes(dir / "areas2.csv", "analysis,channel,component,area,time\n7,1,Азот,1,1\n");
  // What the import did not write stays, whatever its name looks like.
  const fs::path chromatograms = dir / "out" / "chromatograms";
  for (const char* name : {"notes.txt", "analysis-01.stg", "analysis-2.stg.bak", "analysis-x.stg"})
    WriteBytes(chromatograms / name, "kept");
  fs::create_directories(chromatograms / "analysis-5.stg");
  fs::create_symlink("notes.txt", chromatograms / "analysis-6.stg");
  const std::vector<std::string> others = {"chromatograms/analysis-01.stg", "chromatograms/analysis-2.stg.bak",
                                           "chromatograms/analysis-5.stg", "chromatograms/analysis-6.stg",
                                           "chromatograms/analysis-x.stg", "chromatograms/notes.txt"};
  std::vector<std::string> earlier = {"chromatograms", "chromatograms/analysis-1.stg", "chromatograms/analysis-2.stg",
                                      "chromatograms/analysis-3.stg", "lortan.db"};
  earlier.insert(earlier.end(), others.begin(), others.end());
  std::sort(earlier.begin(), earlier.end());

  const Result refused = Import(dir / "areas2.csv", dir / "certs.csv", dir / "out");
  EXPECT_EQ(refused.code, 2);
  EXPECT_NE(refused.err.find("lortan.db exists already (--force replaces it)"), std::string::npos) << refused.err;
  EXPECT_EQ(ReadBytes(dir / "out" / "lortan.db"), before);
  EXPECT_EQ(Listing(dir / "out"), earlier);

  // A forced import that fails at the end (its chromatogram file cannot take its place)
  // leaves the earlier database with every file it names.
  fs::create_directories(chromatograms / "analysis-7.stg" / "inside");
  const Result blockedForce = Import(dir / "areas2.csv", dir / "certs.csv", dir / "out", " --force");
  EXPECT_EQ(blockedForce.code, 2);
  EXPECT_NE(blockedForce.err.find("analysis-7.stg: cannot put the chromatogram file in place"), std::string::npos)
      << blockedForce.err;
  EXPECT_EQ(ReadBytes(dir / "out" / "lortan.db"), before);
  fs::remove_all(chromatograms / "analysis-7.stg");
  EXPECT_EQ(Listing(dir / "out"), earlier);

  // Replaced: the earlier import's files go, the new database's and all others stay.
  const Result forced = Import(dir / "areas2.csv", dir / "certs.csv", dir / "out", " --force");
  ASSERT_EQ(forced.code, 0) << forced.err;
  EXPECT_EQ(forced.out, "imported into " + (dir / "out" / "lortan.db").string() +
                            ": analyses 1, peaks 1, mixtures 2, components 2\n");
  EXPECT_EQ(Dump(dir / "out" / "lortan.db").front(), "7|NULL|NULL|NULL|NULL|NULL|0|0|");
  std::vector<std::string> now = {"chromatograms", "chromatograms/analysis-7.stg", "lortan.db"};
  now.insert(now.end(), others.begin(), others.end());
  std::sort(now.begin(), now.end());
  EXPECT_EQ(Listing(dir / "out"), now);

  // The chromatogram folder cannot be made: no database, no temporary file.
  fs::create_directories(dir / "blocked_out");
  WriteBytes(dir / "blocked_out" / "chromatograms", "a file where the folder goes");
  const Result blocked = Import(dir / "areas.csv", dir / "certs.csv", dir / "blocked_out");
  EXPECT_EQ(blocked.code, 2);
  EXPECT_EQ(Listing(dir / "blocked_out"), std::vector<std::string>{"chromatograms"});
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
