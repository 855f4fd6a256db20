// batch_test.cpp: lortan --batch as a script runs it — the real program, offscreen, on a
// fake module with the module's window structure: the chooser answers --select, the
// results and messages are read from the module's windows, the export folder goes through
// the settings dialog, the report through the report dialog.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdlib>

#include "data/host_schema.h"
#include "host/odt/zip_package.h"
#include "host_test_support.h"
#include "platform/sys/text_table.h"

namespace {

class Batch : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directory(folder_.path() / "plugins");
    std::filesystem::copy_file(LORTAN_BATCH_MODULE, folder_.path() / "plugins" / "libbatchmodule.so");
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open((folder_ / "host.db").c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, kHostDatabaseSchema, nullptr, nullptr, nullptr), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db,
                           "INSERT INTO assay (id, sample, ishidden) VALUES (1, 'a', 0), (3, 'b', 1), (6, 'c', 0);",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);
  }

  ShellOutcome Lortan(const std::string& arguments) {
    return RunShell(folder_, std::string("env -u XDG_RUNTIME_DIR -u QT_QPA_PLATFORM '") + LORTAN_EXECUTABLE +
                                 "' --batch --profile '" + (folder_ / "profile.db") + "' --plugins '" +
                                 (folder_ / "plugins") + "' " + arguments);
  }

  TestFolder folder_;
};

TEST_F(Batch, PrintsTheResultsAndMessagesAndWritesTheExportAndTheReport) {
  const ShellOutcome run = Lortan("--db '" + (folder_ / "host.db") + "' --select 6,3,1 --export '" + (folder_ / "out") +
                                  "' --report '" + (folder_ / "r.odt") + "' --report-parts list");
  ASSERT_EQ(run.code, 0) << run.err;
  const std::vector<sys::Text> header = {
      u"№", u"Пик", u"Канал", u"Коэфф. B", u"Коэфф. b", u"Соотв. b", u"Коэфф. корреляции R²", u"Норматив", u"Соотв."};
  const std::vector<std::vector<sys::Text>> rows = {
      {u"", u"----------------------------------", u"", u"", u"", u"", u"", u"", u""},
      {u"1", u"Компонент 6", u"2", u"", u"", u"", u"", u"0,999", u""},  // 3 is hidden: not chosen
      {u"2", u"Компонент 1", u"2", u"", u"", u"", u"", u"0,999", u""}};
  EXPECT_EQ(run.out, sys::ToUtf8(sys::CheckOutputText(header, rows, u"1.  Ошибка! \r\n\tНет пятой смеси.\r\n")));
  EXPECT_NE(run.out.find("Нет пятой смеси."), std::string::npos);
  EXPECT_NE(run.err.find("the chosen chromatogram 3 was skipped"), std::string::npos) << run.err;

  EXPECT_EQ(ReadWholeFile(folder_.path() / "out" / "vetrix_export.XLSX"), "2");  // the folder was made
  EXPECT_NE(run.err.find("Экспорт успешно завершен."), std::string::npos) << run.err;

  std::string error;
  const auto report = odt::ReadPackage(folder_ / "r.odt", error);
  ASSERT_TRUE(report) << error << run.err;
  const std::string content = odt::FindEntry(*report, "content.xml")->data;
  EXPECT_NE(content.find("Хроматограмма 6"), std::string::npos);
  EXPECT_NE(content.find("Хроматограмма 1"), std::string::npos);
}

TEST_F(Batch, ARefusedStepIsAFailure) {
  // The report cannot be written into a folder that does not exist: exit code 1.
  ShellOutcome run = Lortan("--db '" + (folder_ / "host.db") + "' --report '" + (folder_ / "none/r.odt") + "'");
  EXPECT_EQ(run.code, 1) << run.err;
  EXPECT_NE(run.err.find("Ошибка формирования отчета"), std::string::npos) << run.err;
  EXPECT_FALSE(run.out.empty());  // the results were printed all the same

  run = Lortan("--db '" + (folder_ / "missing.db") + "'");
  EXPECT_EQ(run.code, 2);
  EXPECT_NE(run.err.find("no database file"), std::string::npos) << run.err;

  std::filesystem::remove(folder_.path() / "plugins" / "libbatchmodule.so");
  run = Lortan("--db '" + (folder_ / "host.db") + "'");
  EXPECT_EQ(run.code, 2);
  EXPECT_NE(run.err.find("no menu entry"), std::string::npos) << run.err;

  run = Lortan("--select all");  // no --db
  EXPECT_EQ(run.code, 2);
  EXPECT_NE(run.err.find("usage"), std::string::npos);
}

}  // namespace
