// The workbook export read back from the XLSX package: sheets, titles, cells, widths and
// block positions.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "output/workbook.h"
#include "platform/sys/format.h"
#include "tests/calc/fixture.h"
#include "tests/support/xlsx_reader.h"

namespace {

namespace fs = std::filesystem;

// Nitrogen and carbon dioxide respond 1.6 times more strongly up to 0,025 mol%: both are
// split. Propane is on a line.
class WorkbookExport : public EngineTest {
 protected:
  static constexpr double kLow[5] = {0.005, 0.01, 0.025, 1.0, 5.0};
  static constexpr double kPropane[5] = {0.1, 0.2, 0.5, 1, 2};
  static constexpr double kSpread[5] = {-0.002, -0.001, 0, 0.001, 0.002};

  void SetUp() override {
    EngineTest::SetUp();
    folder = fs::temp_directory_path() / ("vetrix_wb_" + std::to_string(::getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    SetFolder(folder.string());
  }
  void TearDown() override {
    fs::remove_all(folder);
    EngineTest::TearDown();
  }
  void SetFolder(const std::string& f) { settings.folder = sys::FromUtf8(f); }

  void BuildRun() {
    static sys::Text names[5];
    for (int m = 0; m < 5; ++m) {
      names[m] = u"ГСО-" + sys::Text(1, static_cast<char16_t>(u'1' + m));
      lists.AddMixture(names[m].c_str(), {{u"Азот", kLow[m]}, {u"Диоксид углерода", kLow[m]}, {u"Пропан", kPropane[m]}});
    }
    for (int m = 0; m < 5; ++m)
      for (int k = 0; k < 5; ++k) {
        const double f = 1 + kSpread[k];
        const double low = kLow[m] <= 0.025 ? 1.6 : 1.0;
        lists.AddAssay(m, {{u"Азот", 20000 * kLow[m] * low * f, 0, 2.0},
                           {u"Диоксид углерода", 24000 * kLow[m] * low * f, 0, 4.0},
                           {u"Пропан", 75000 * kPropane[m] * f, 1, 2.9}});
      }
    Run(lists);
  }

  // Exports and reads the workbook back; collects the messages shown.
  XlsxBook Export() {
    std::string path;
    const bool ok = ExportWorkbook(context, settings, [&](sys::TextView m) { messages.emplace_back(m); }, &path);
    EXPECT_TRUE(ok);
    written = path;
    return ReadXlsx(path);
  }

  WorkbookSettings settings;  // the folder as set, 3 decimals
  fs::path folder;
  RunLists lists;
  std::vector<sys::Text> messages;
  std::string written;
};

TEST_F(WorkbookExport, SheetsOfASplitRunAndARefusedTitle) {
  BuildRun();
  const XlsxBook book = Export();
  ASSERT_TRUE(book.ok) << book.error;
  std::vector<std::string> names;
  for (const auto& s : book.sheets) names.push_back(s.name);
  // The partial carbon dioxide curve's title is 33 characters: the library refuses it.
  const std::vector<std::string> want = {"Список хрм.", "Площади.", "Азот(кн-0)", "Диоксид углерода(кн-0)",
                                         "Пропан(кн-1)", "Азот (до 0.025)(кн-0)", "Азот (св. 0.025)(кн-0)",
                                         "Sheet8", "Sheet9"};
  EXPECT_EQ(names, want);
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[0],
            u"При экспорте возникла ошибка:\r\nWorksheet name exceeds Excel's limit of 31 characters.\r\n"
            u"Ожидаемое имя листа: Диоксид углерода (до 0.025)(кн-0)");
  EXPECT_NE(written.find("/vetrix_export_"), std::string::npos);
  EXPECT_EQ(written.substr(written.size() - 5), ".XLSX");
}

TEST_F(WorkbookExport, ChromatogramListAndAreas) {
  BuildRun();
  const XlsxBook book = Export();
  const XlsxSheet* list = book.sheet("Список хрм.");
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->text("B2"), "№");
  EXPECT_EQ(list->text("F2"), "Смесь");
  EXPECT_EQ(list->text("B3"), "1");
  EXPECT_EQ(list->text("C27"), "25");
  EXPECT_EQ(list->text("D3"), "проба");
  EXPECT_EQ(list->text("E3"), sys::ToUtf8(AssayDateText(lists.assays[0].date)));
  EXPECT_EQ(list->text("F27"), "ГСО-5");
  const std::pair<int, int> widths[] = {{2, 10}, {3, 20}, {4, 30}, {5, 25}, {6, 25}};
  for (auto [c, w] : widths) EXPECT_EQ(std::floor(list->widths.at(c)), w) << c;

  const XlsxSheet* areas = book.sheet("Площади.");
  ASSERT_NE(areas, nullptr);
  const int n = 25 + 2;
  EXPECT_EQ(areas->text("A2"), "Исходные площади");
  EXPECT_EQ(areas->text("A" + std::to_string(n + 2)), "Скор. площади");
  // Split parents are listed, partial curves are not: Азот, Диоксид углерода, Пропан.
  EXPECT_EQ(areas->text("D3"), "Азот");
  EXPECT_EQ(areas->text("F3"), "Пропан");
  EXPECT_EQ(areas->text("G3"), "");
  EXPECT_EQ(areas->text("F" + std::to_string(n + 3)), "Пропан");
  EXPECT_EQ(areas->text("C4"), "ГСО-1");
  EXPECT_EQ(areas->text("B28"), "25");
  EXPECT_EQ(areas->text("D4"), sys::ToUtf8(sys::Format(u"%.3f", lists.assays[0].peaks[0].area)));
  EXPECT_EQ(std::floor(areas->widths.at(4)), 20);
}

TEST_F(WorkbookExport, CurveSheetBlocksAndAPointWithoutPeaks) {
  BuildRun();
  const XlsxBook book = Export();
  const XlsxSheet* s = book.sheet("Пропан(кн-1)");
  ASSERT_NE(s, nullptr);
  const CalibrationCurve* propane = Curve(u"Пропан", 1);
  EXPECT_EQ(s->text("A1"), "Град. зависимость");
  EXPECT_EQ(s->text("G3"), "Коэфф. b:  ");
  EXPECT_EQ(s->text("H3"), sys::ToUtf8(sys::Format(u"%.3f", propane->slope)));
  EXPECT_EQ(s->text("H2"), "0,000");
  // Five analyses per point: blocks at rows 7, 7 + 6 + 3 = 16, 25, ...
  EXPECT_EQ(s->text("A7"), "ГСО-1");
  EXPECT_EQ(s->text("B8"), "№");
  EXPECT_EQ(s->text("C9"), "1");
  EXPECT_EQ(s->text("G8"), "Кол-во пиков:  ");
  EXPECT_EQ(s->text("H8"), "5");
  EXPECT_EQ(s->text("K12"), "Норматив:  ");
  EXPECT_EQ(s->text("A16"), "ГСО-2");
  EXPECT_EQ(s->text("A25"), "ГСО-3");

  // The low partial nitrogen curve: its points above the border hold no peaks.
  const XlsxSheet* low = book.sheet("Азот (до 0.025)(кн-0)");
  ASSERT_NE(low, nullptr);
  EXPECT_EQ(low->text("A34"), "ГСО-4");
  EXPECT_EQ(low->text("G35"), "Кол-во пиков:  ");
  EXPECT_EQ(low->text("H35"), "") << "\"%.d\" writes nothing for 0";
  EXPECT_EQ(low->text("L35"), "---") << "no certified concentration on this side";
  EXPECT_EQ(low->text("A43"), "ГСО-5");
}

TEST_F(WorkbookExport, EmptyRunsShortFoldersAndLongPaths) {
  // Chromatograms but no curves: only the list.
  lists.AddMixture(u"ГСО-1", {{u"Азот", 1.0}});
  lists.AddAssay(0, {});
  Run(lists);
  XlsxBook book = Export();
  ASSERT_EQ(book.sheets.size(), 1u);
  EXPECT_EQ(book.sheets[0].name, "Список хрм.");

  SetFolder("ab");
  messages.clear();
  EXPECT_FALSE(ExportWorkbook(context, settings, [&](sys::TextView m) { messages.emplace_back(m); }));
  EXPECT_TRUE(messages.empty());

  // A Cyrillic folder path: within the profile's 127 characters, beyond 260 bytes.
  fs::path deep = folder;
  deep /= sys::ToUtf8(sys::Text(127 - sys::FromUtf8(folder.string()).size() - 1, u'ж'));
  fs::create_directories(deep);
  ASSERT_LE(sys::FromUtf8(deep.string()).size(), 127u);
  SetFolder(deep.string());
  EXPECT_TRUE(ExportWorkbook(context, settings, nullptr, &written));
  EXPECT_GT(written.size(), 260u);
  EXPECT_TRUE(ReadXlsx(written).ok);

  SetFolder((folder / "missing" / "folder").string());
  messages.clear();
  EXPECT_FALSE(ExportWorkbook(context, settings, [&](sys::TextView m) { messages.emplace_back(m); }));
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].rfind(u"При экспорте возникла ошибка:\r\n", 0), 0u);
  EXPECT_NE(messages[0].find(u"No such file or directory"), sys::Text::npos) << sys::ToUtf8(messages[0]);
  EXPECT_NE(messages[0].find(u"missing"), sys::Text::npos) << "the path is named";
}

TEST_F(WorkbookExport, ExportsInOneSecondKeepBothAndLeaveNoTemporaryFile) {
  lists.AddMixture(u"ГСО-1", {{u"Азот", 1.0}});
  lists.AddAssay(0, {});
  Run(lists);
  const fs::path out = folder / "twice";
  fs::create_directories(out);
  SetFolder(out.string());
  std::string first, second;
  ASSERT_TRUE(ExportWorkbook(context, settings, nullptr, &first));
  ASSERT_TRUE(ExportWorkbook(context, settings, nullptr, &second));
  EXPECT_NE(first, second);
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(out)) names.push_back(entry.path().filename().string());
  EXPECT_EQ(names.size(), 2u) << "both workbooks, nothing half-written beside them";
  EXPECT_TRUE(ReadXlsx(first).ok);
  EXPECT_TRUE(ReadXlsx(second).ok);
}

TEST(WorkbookPathRules, ExtensionAndLength) {
  EXPECT_EQ(WorkbookPath(u".XLSX"), "");
  EXPECT_EQ(WorkbookPath(u"/a/b"), "") << "not longer than \".XLSX\"";
  EXPECT_EQ(WorkbookPath(u"/tmp/book"), "/tmp/book.XLSX");
  EXPECT_EQ(WorkbookPath(u"/tmp/book.xlsx"), "/tmp/book.xlsx");
  EXPECT_EQ(WorkbookPath(u"/tmp/book.XLSX"), "/tmp/book.XLSX");
  setenv("TZ", "MSK-3", 1);
  tzset();
  // 8 December 2026, 09:05:07 Moscow time.
  EXPECT_EQ(ExportFileName(1796709907), u"vetrix_export_8122026_090507.XLSX");
}

}  // namespace
