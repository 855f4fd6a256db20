// The import's CSV reading: encodings, delimiters, RFC 4180 quoting, the values of
// fields (decimal comma, whole numbers, local dates; TZ is pinned by the test runner),
// and the checks of the tables on damaged input.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "cli/csv_export.h"
#include "cli/csv_fields.h"
#include "cli/csv_reader.h"
#include "cli/import_tables.h"

namespace {

using Rows = std::vector<std::vector<std::string>>;

struct Parsed {
  Rows rows;
  std::vector<int> lines;
  std::vector<std::int32_t> problemLines;
  char16_t delimiter;
};

Parsed Parse(const std::string& utf8) {
  std::vector<CsvProblem> problems;
  const CsvTable table = ParseCsv(DecodeCsvBytes(utf8), problems);
  Parsed p{{}, {}, {}, table.delimiter};
  for (const auto& r : table.records) {
    p.rows.emplace_back();
    for (const auto& f : r.fields) p.rows.back().push_back(sys::ToUtf8(f));
    p.lines.push_back(r.line);
  }
  for (const auto& pr : problems) p.problemLines.push_back(pr.line);
  return p;
}

TEST(CsvReader, SplitsRecordsAsRfc4180) {
  struct Case {
    const char* name;
    std::string input;
    char16_t delimiter;
    Rows rows;
    std::vector<int> lines;
  };
  const std::vector<Case> cases = {
      {"comma, LF", "a,b\n1,2\n", u',', {{"a", "b"}, {"1", "2"}}, {1, 2}},
      {"semicolon wins over commas in values", "a;b\n1,5;2,5\n", u';', {{"a", "b"}, {"1,5", "2,5"}}, {1, 2}},
      {"tab", "a\tb;c\n1\t2;3\n", u'\t', {{"a", "b;c"}, {"1", "2;3"}}, {1, 2}},
      {"CR LF and no final break", "a,b\r\n1,2", u',', {{"a", "b"}, {"1", "2"}}, {1, 2}},
      {"lone CR", "a,b\r1,2\r", u',', {{"a", "b"}, {"1", "2"}}, {1, 2}},
      {"quoted delimiter, quote and line break", "a,b\n\"x,\"\"y\"\"\",\"l1\r\nl2\"\n3,4\n", u',',
       {{"a", "b"}, {"x,\"y\"", "l1\r\nl2"}, {"3", "4"}}, {1, 2, 4}},
      {"quoted header delimiter is not counted", "\"a;b\",c\n1,2\n", u',', {{"a;b", "c"}, {"1", "2"}}, {1, 2}},
      {"blank and all-empty rows dropped, lines still counted", "a;b\n\n;;\n1;2\n", u';', {{"a", "b"}, {"1", "2"}},
       {1, 4}},
      {"empty fields kept", "a,b,c\n,x,\n", u',', {{"a", "b", "c"}, {"", "x", ""}}, {1, 2}},
      {"quote inside an unquoted field is text", "a,b\n5\",x\n", u',', {{"a", "b"}, {"5\"", "x"}}, {1, 2}},
      {"one column", "analysis\n7\n", u',', {{"analysis"}, {"7"}}, {1, 2}},
      {"empty quoted field", "a,b\n\"\",1\n", u',', {{"a", "b"}, {"", "1"}}, {1, 2}},
  };
  for (const auto& c : cases) {
    const Parsed p = Parse(c.input);
    EXPECT_EQ(p.delimiter, c.delimiter) << c.name;
    EXPECT_EQ(p.rows, c.rows) << c.name;
    EXPECT_EQ(p.lines, c.lines) << c.name;
    EXPECT_TRUE(p.problemLines.empty()) << c.name;
  }
}

TEST(CsvReader, ReportsBrokenQuotesWithTheirLine) {
  const Parsed open = Parse("a,b\n1,2\n3,\"never closed\n4,5\n");
  EXPECT_EQ(open.problemLines, std::vector<std::int32_t>{3});
  EXPECT_EQ(open.rows.size(), 2u) << "the rows before the open quote are kept";

  const Parsed after = Parse("a,b\n\"x\"y,2\n3,4\n");
  EXPECT_EQ(after.problemLines, std::vector<std::int32_t>{2});
  EXPECT_EQ(after.rows.size(), 3u) << "reading goes on after the problem";
}

TEST(CsvReader, DecodesUtf8WithOrWithoutMarkAndWindows1251) {
  EXPECT_EQ(DecodeCsvBytes("\xEF\xBB\xBF" "Азот"), u"Азот");
  EXPECT_EQ(DecodeCsvBytes("Азот"), u"Азот");
  // Windows-1251: А-я in order, Ё/ё, №, the no-break space; 0x98 is unassigned.
  EXPECT_EQ(DecodeCsvBytes("\xC0\xE7\xEE\xF2;\xA8\xB8\xB9\xA0\xFF"), u"Азот;Ёё№\u00A0я");
  EXPECT_EQ(FromWindows1251("\x98\x88\x96"), u"\uFFFD€–");
  // A 1251 text that happens to be a valid UTF-8 sequence stays UTF-8; one that is not is 1251.
  EXPECT_FALSE(IsValidUtf8("\xD0"));
  EXPECT_FALSE(IsValidUtf8("\xC0\x80")) << "overlong";
  EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80")) << "surrogate";
  EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80")) << "above U+10FFFF";
  EXPECT_TRUE(IsValidUtf8("\xF0\x9F\x98\x80"));
}

// Whatever a field holds, the writer's quoting and the reader give it back unchanged.
TEST(CsvReader, ReadsBackEveryFieldTheWriterQuotes) {
  const std::vector<std::string> pieces = {"a", "Ж", ",", ";", "\t", "\"", "\r", "\n", "\r\n", " ", "\"\""};
  std::mt19937 random(7);
  for (int round = 0; round < 300; ++round) {
    Rows rows = {{"a", "b", "c"}};
    std::string csv = "a,b,c\r\n";
    const int records = 1 + static_cast<int>(random() % 5);
    for (int r = 0; r < records; ++r) {
      std::vector<std::string> fields;
      const int count = 1 + static_cast<int>(random() % 4);
      for (int f = 0; f < count; ++f) {
        std::string field;
        for (int k = static_cast<int>(random() % 6); k > 0; --k) field += pieces[random() % pieces.size()];
        fields.push_back(field);
      }
      fields.back() += "x";  // no record is all empty (those are dropped)
      for (int f = 0; f < count; ++f) {
        if (f) csv += ',';
        csv += CsvField(fields[static_cast<std::size_t>(f)]);
      }
      csv += "\r\n";
      rows.push_back(fields);
    }
    const Parsed p = Parse(csv);
    ASSERT_EQ(p.rows, rows) << csv;
    ASSERT_TRUE(p.problemLines.empty()) << csv;
  }
}

TEST(CsvFields, Numbers) {
  struct Case {
    const char* text;
    std::optional<double> value;
  };
  const std::vector<Case> cases = {
      {"1,5", 1.5},  {"1.5", 1.5},    {" -0,25 ", -0.25}, {"+3", 3.0},    {"2e-3", 0.002}, {",5", 0.5},
      {"1e+20", 1e20}, {"", std::nullopt}, {"1,2,3", std::nullopt}, {"1.2,3", std::nullopt}, {"1 234", std::nullopt},
      {"abc", std::nullopt}, {"nan", std::nullopt}, {"inf", std::nullopt}, {"1e999", std::nullopt}, {"--1", std::nullopt},
      {"+-1", std::nullopt}, {"12%", std::nullopt}, {"١", std::nullopt}};
  for (const auto& c : cases) EXPECT_EQ(ParseDecimal(sys::FromUtf8(c.text)), c.value) << c.text;

  const std::vector<std::pair<const char*, std::optional<std::int32_t>>> whole = {
      {"7", 7}, {" 12 ", 12}, {"-3", -3}, {"+4", 4}, {"2147483647", 2147483647}, {"2147483648", std::nullopt},
      {"1.0", std::nullopt}, {"1,5", std::nullopt}, {"", std::nullopt}, {"x1", std::nullopt}};
  for (const auto& [text, value] : whole) EXPECT_EQ(ParseWhole(sys::FromUtf8(text)), value) << text;
}

TEST(CsvFields, ExactNumbersSurviveWritingAndReading) {
  for (double v : {0.1, 1.0 / 3, 123456.75, 1e-7, -2.5e300, 4.9406564584124654e-324, 100.19999999999999})
    EXPECT_EQ(ParseDecimal(sys::FromUtf8(FormatExact(v))), v) << FormatExact(v);
}

TEST(CsvFields, LocalDates) {
  ASSERT_STREQ(std::getenv("TZ"), "MSK-3") << "the test runner pins the zone";
  const std::int64_t t = 1795415100;  // 2026-11-23 09:25 Moscow time
  struct Case {
    const char* text;
    bool dateOnly;
    std::optional<std::int64_t> value;
  };
  const std::vector<Case> cases = {
      {"2026-11-23 09:25", false, t},          {"2026-11-23 09:25:05", false, t + 5},
      {"23.11.2026 09:25", false, t},          {"23.11.2026 9:25:05", false, t + 5},
      {"2026-11-23T09:25", false, t},          {" 3.1.2026 00:00 ", false, 1767387600},
      {"2026-11-23", false, std::nullopt},     {"2026-11-23", true, t - 9 * 3600 - 25 * 60},
      {"01.01.2026", true, 1767214800},        {"31.02.2026 10:00", false, std::nullopt},
      {"2026-13-01 10:00", false, std::nullopt}, {"2026-11-23 24:00", false, std::nullopt},
      {"2026-11-23 09:60", false, std::nullopt}, {"23/11/2026 09:25", false, std::nullopt},
      {"2026-11-23 09:25 x", false, std::nullopt}, {"45987", true, std::nullopt},
      {"", true, std::nullopt}};
  for (const auto& c : cases) EXPECT_EQ(ParseLocalDate(sys::FromUtf8(c.text), c.dateOnly), c.value) << c.text;
  EXPECT_EQ(FormatLocalDate(t + 5, true), "2026-11-23 09:25:05");
  EXPECT_EQ(FormatLocalDate(1767214800, true), "2026-01-01");
  EXPECT_EQ(FormatLocalDate(1767214800, false), "2026-01-01 00:00:00");
}

}  // namespace

namespace {

// Damaged inputs (bytes dropped, repeated or replaced) never crash the checks, and a
// table they accept is complete: every analysis once, every peak with its channel.
TEST(ImportTables, DamagedTablesAreCheckedWithoutFailing) {
  const std::string areas =
      "analysis;sample;date;mixture;pressure;temperature;channel;component;area;time\n"
      "1;\"s;1\";23.11.2026 09:25;ГСО-1;101,3;21,5;1;Азот;1520,5;1,25\n"
      "1;\"s;1\";23.11.2026 09:25;ГСО-1;101,3;21,5;2;Этан;3,5;2,5\n"
      "2;s2;;;;;;;;\n";
  const std::string certificates =
      "mixture;mixture_id;cylinder;release;expiry;component;concentration;deviation\n"
      "ГСО-1;1;Б;01.01.2026;01.01.2028;Азот;0,5;1\n"
      "гсо-1;2;Б;;;;;\n";
  const std::string noise = ";,\"\n\r 0-.x\xD0";
  std::mt19937 random(11);
  for (int round = 0; round < 2000; ++round) {
    std::string a = areas, c = certificates;
    std::string& target = round % 2 ? a : c;
    for (int k = 1 + static_cast<int>(random() % 3); k > 0; --k) {
      const std::size_t at = random() % target.size();
      switch (random() % 3) {
        case 0: target.erase(at, 1 + random() % 4); break;
        case 1: target.insert(at, target.substr(at, 1 + random() % 8)); break;
        default: target[at] = noise[random() % noise.size()]; break;
      }
    }
    std::vector<CsvProblem> problems;
    ImportData data;
    ReadAreas(ParseCsv(DecodeCsvBytes(a), problems), data, problems);
    ReadCertificates(ParseCsv(DecodeCsvBytes(c), problems), data, problems);
    if (!problems.empty()) continue;
    CheckMixturesNamed(data, problems);
    std::set<std::int32_t> ids;
    for (const auto& analysis : data.analyses) {
      EXPECT_TRUE(ids.insert(analysis.id).second) << a;
      for (const auto& p : analysis.peaks) EXPECT_GE(p.channel, 0) << a;
    }
  }
}

}  // namespace
