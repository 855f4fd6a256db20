// Loading chromatograms and mixtures from a real host database and real chromatogram files.
#include <gtest/gtest.h>

#include <filesystem>

#include "data/loaders.h"
#include "data/host_schema.h"
#include "data/lortan_file.h"
#include "platform/sys/locale.h"
#include "tests/support/test_host.h"

namespace {

namespace fs = std::filesystem;

class Loaders : public ::testing::Test {
 protected:
  void SetUp() override {
    sys::SetRussianLocale();
    dir = fs::temp_directory_path() / ("vetrix_loaders_" + std::to_string(::getpid()) + "_" +
                                       ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
    dbPath = sys::FromUtf8((dir / "host.db").string());
    DataBaseConnectionBase::instance().setLocation(dbPath);
    CLortanFile4 file;
    file.channels.emplace_back(0, std::vector<std::int32_t>{1, 2, 3});
    goodFile = (dir / "good.stg").string();
    ASSERT_EQ(file.SaveFile(sys::FromUtf8(goodFile)), 0);
    Exec(kHostDatabaseSchema);
    Exec(R"(
      INSERT INTO mixture VALUES (1, 'ГСО-Ёлка', 'Б-1', 1700000000, NULL);
      INSERT INTO mixture VALUES (2, 'Пустая', NULL, NULL, NULL);
      INSERT INTO mixture VALUES (3, 'Двойная', 'первая', 1, 2);
      INSERT INTO mixture VALUES (4, 'ДВОЙНАЯ', 'вторая', 3, 4);
      INSERT INTO mixturecomp VALUES (1, 1, 17, 'Азот', 0.025, 1.5);
      INSERT INTO mixturecomp VALUES (2, 1, 1, 'Метан', 95.5, NULL);
      INSERT INTO mixturecomp VALUES (3, 3, 1, 'Метан', 90, 1);
      INSERT INTO mixturecomp VALUES (4, 4, 1, 'Метан', 91, 1);
      INSERT INTO mixturecomp VALUES (5, 4, 2, 'Этан', 2, 1);
    )");
    Assay(1, "ГСО-Ёлка", goodFile, "100.5", "21.5");
    Assay(2, "гсо-ёЛКА", goodFile, "99.0", "NULL");      // Cyrillic case differs; no temperature
    Assay(3, "ГСО-Ёлка", (dir / "missing.stg").string(), "101", "20");
    Assay(4, "", "", "101", "20");                        // no mixture name, no file
    Assay(5, "Нет такой", goodFile, "101", "20");
    Assay(6, "Двойная", goodFile, "101", "20");
    Exec("INSERT INTO assay (id, date, filename, sample, mixture, ishidden) VALUES (7, 1, '', 's', 'ГСО-Ёлка', 1);");
    Exec("INSERT INTO assay (id, date, filename, sample, mixture, isdeleted) VALUES (8, 1, '', 's', 'ГСО-Ёлка', 1);");
    Exec("INSERT INTO assay (id, date, filename, sample, mixture) VALUES (NULL, NULL, NULL, NULL, NULL);");
    Exec(R"(
      INSERT INTO peak (assayid, nameid, name, area, time, channel) VALUES (1, 1, 'Метан', 1000, 1.0, 2);
      INSERT INTO peak (assayid, nameid, name, area, time, channel) VALUES (1, 17, 'Азот', 50, 5.0, 1);
      INSERT INTO peak (assayid, nameid, name, area, time, channel) VALUES (1, 17, 'Азот2', 60, 3.0, 1);
      INSERT INTO peak (assayid, nameid, name, area, time, channel) VALUES (1, 0, '', 70, 2.0, 1);
      INSERT INTO peak (assayid, nameid, name, area, time, channel) VALUES (1, 0, NULL, 70, 2.5, 1);
      INSERT INTO peak (assayid, nameid, name, area, time, channel) VALUES (1, NULL, 'Гелий', NULL, 0.5, NULL);
    )");
  }
  void TearDown() override {
    lists.Clear();
    sys::ResetLocale();
    fs::remove_all(dir);
  }

  void Exec(const std::string& sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(sys::ToUtf8(dbPath).c_str(), &db), SQLITE_OK);
    char* error = nullptr;
    const int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error);
    EXPECT_EQ(rc, SQLITE_OK) << (error ? error : "");
    sqlite3_free(error);
    sqlite3_close(db);
  }
  void Assay(int id, const std::string& mixture, const std::string& file, const std::string& p, const std::string& t) {
    Exec("INSERT INTO assay (id, date, filename, sample, mixture, atmpressure, airtemp) VALUES (" + std::to_string(id) +
         ", " + std::to_string(1700000000 + id) + ", '" + file + "', 'проба " + std::to_string(id) + "', '" + mixture +
         "', " + p + ", " + t + ");");
  }
  std::int32_t Load(std::int32_t id) {
    DataBase::Connection db(dbPath);
    return loadAssay(db, id, lists);
  }

  fs::path dir;
  sys::Text dbPath;
  std::string goodFile;
  LoadedLists lists;
};

TEST_F(Loaders, RowFieldsPeaksAndTheirOrder) {
  ASSERT_EQ(Load(1), 0);
  const ::Assay& a = lists.assays[0];
  EXPECT_EQ(a.id, 1);
  EXPECT_EQ(a.date, 1700000001);
  EXPECT_EQ(a.sample, u"проба 1");
  EXPECT_DOUBLE_EQ(a.atmPressure, 100.5);
  EXPECT_DOUBLE_EQ(a.airTemperature, 21.5);
  EXPECT_TRUE(a.airTemperatureKnown);
  ASSERT_EQ(a.peaks.size(), 4u) << "empty and NULL names are skipped";
  const std::pair<std::int32_t, double> want[] = {{0, 0.5}, {1, 3.0}, {1, 5.0}, {2, 1.0}};
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(a.peaks[i].channel, want[i].first) << i;
    EXPECT_DOUBLE_EQ(a.peaks[i].time, want[i].second) << i;
  }
  EXPECT_EQ(a.peaks[0].name, u"Гелий");
  EXPECT_EQ(a.peaks[0].area, 0.0) << "a NULL area reads as 0.0";
  EXPECT_EQ(a.peaks[0].nameId, u"");
  EXPECT_EQ(a.peaks[1].nameId, u"17");
}

TEST_F(Loaders, DuplicateIdsHiddenAndDeletedRows) {
  ASSERT_EQ(Load(1), 0);
  ASSERT_EQ(Load(3), 1);
  EXPECT_EQ(Load(1), 0);
  EXPECT_EQ(lists.assays.size(), 2u);
  ASSERT_EQ(lists.usage.size(), 1u);
  EXPECT_EQ(lists.usage[0].count, 2) << "the repeated load counts no second use";
  EXPECT_EQ(Load(7), -1);
  EXPECT_EQ(Load(8), -1);
  EXPECT_EQ(Load(99), -1);
  EXPECT_EQ(lists.assays.size(), 2u);
}

TEST_F(Loaders, UnreadableFileOrNullTemperatureLeaveTheQuantitiesOut) {
  ASSERT_EQ(Load(3), 0);  // file missing
  EXPECT_EQ(lists.assays[0].atmPressure, 0.0);
  EXPECT_EQ(lists.assays[0].airTemperature, 0.0);
  EXPECT_FALSE(lists.assays[0].airTemperatureKnown);
  ASSERT_EQ(Load(4), 1);  // no file name at all
  EXPECT_EQ(lists.assays[1].atmPressure, 0.0);
  ASSERT_EQ(Load(2), 2);  // file read, temperature NULL
  EXPECT_DOUBLE_EQ(lists.assays[2].atmPressure, 99.0);
  EXPECT_FALSE(lists.assays[2].airTemperatureKnown);
}

TEST_F(Loaders, MixturesAreSharedCaseBlindAndCounted) {
  Load(1);
  Load(2);
  ASSERT_EQ(lists.mixtures.size(), 1u);
  EXPECT_EQ(lists.assays[0].mixture, lists.assays[1].mixture);
  ASSERT_EQ(lists.usage.size(), 1u);
  EXPECT_EQ(lists.usage[0].mixtureId, 1);
  EXPECT_EQ(lists.usage[0].count, 2);
  const Mixture& m = *lists.mixtures[0];
  EXPECT_EQ(m.ballon, u"Б-1");
  EXPECT_EQ(m.release, 1700000000);
  EXPECT_EQ(m.expiry, 0) << "NULL reads as 0";
  ASSERT_EQ(m.components.size(), 2u);
  EXPECT_EQ(m.components[1].name, u"Метан");
  EXPECT_EQ(m.components[1].deviation, 0.0);

  Load(4);  // empty mixture name: no lookup, no use
  Load(5);  // a name without a row
  EXPECT_EQ(lists.assays[2].mixture, nullptr);
  EXPECT_EQ(lists.assays[3].mixture, nullptr);
  EXPECT_EQ(lists.mixtures.size(), 1u);
  EXPECT_EQ(lists.usage.size(), 1u);

  EXPECT_FALSE(releaseMixtureUse(1, lists));
  EXPECT_TRUE(releaseMixtureUse(1, lists));
  EXPECT_TRUE(lists.usage.empty());
  EXPECT_TRUE(releaseMixtureUse(42, lists));
}

TEST_F(Loaders, MixtureLoadingByName) {
  EXPECT_EQ(loadMixture(u"Нет такой", lists), -1);
  EXPECT_EQ(loadMixture(u"Пустая", lists), 0);
  EXPECT_EQ(loadMixture(sys::Text(u"Пустая\0Нет такой", 16), lists), 0) << "the name ends at its NUL";
  EXPECT_TRUE(lists.mixtures[0]->components.empty());
  EXPECT_TRUE(lists.mixtures[0]->ballon.empty());
  EXPECT_EQ(loadMixture(u"двойная", lists), 2) << "two rows of one name: both load, the second's index";
  EXPECT_EQ(lists.mixtures[1]->ballon, u"первая");
  EXPECT_EQ(lists.mixtures[2]->components.size(), 2u);
  EXPECT_EQ(loadMixture(u"Двойная", lists), 2) << "already listed ids are not reread";
  EXPECT_EQ(lists.mixtures.size(), 3u);
}

TEST_F(Loaders, ChromatogramListOrder) {
  for (int id : {6, 4, 1, 3}) Load(id);
  SortAssays(lists.assays);
  std::vector<std::int32_t> order;
  for (const auto& a : lists.assays) order.push_back(a.id);
  EXPECT_EQ(order, (std::vector<std::int32_t>{4, 1, 3, 6})) << "no mixture first, then by mixture id, then time";
}

TEST_F(Loaders, FilesGoToTheHostOnlyWhenItCanOpenThem) {
  TestHost host;
  host.Install();
  // Without the command no connection is opened: a location that cannot open proves it.
  DataBaseConnectionBase::instance().setLocation(sys::FromUtf8((dir / "no/such/dir/x.db").string()));
  EXPECT_NO_THROW(openAssayFilesInHost({1, 2}));
  host.extra.insert("Main/OpenAssayFile");
  EXPECT_THROW(openAssayFilesInHost({1}), DataBase::SqlException);
  DataBaseConnectionBase::instance().setLocation(dbPath);
  openAssayFilesInHost({3, 7, 99, 1});  // hidden rows are opened too; unknown ids send nothing
  std::vector<sys::Text> sent;
  for (const auto& c : host.calls)
    if (c.command == "Main/OpenAssayFile") sent.push_back(c.value);
  ASSERT_EQ(sent.size(), 3u);
  EXPECT_EQ(sent[0], sys::FromUtf8((dir / "missing.stg").string()));
  EXPECT_EQ(sent[1], u"");
  EXPECT_EQ(sent[2], sys::FromUtf8(goodFile));
}

TEST_F(Loaders, BrokenDatabasesFailClearlyOrLoadWhatTheyCan) {
  Exec("DROP TABLE peak;");
  try {
    Load(1);
    FAIL() << "expected SqlException";
  } catch (const DataBase::SqlException& e) {
    EXPECT_STREQ(e.what(), "no such table: peak");
  }
  ASSERT_EQ(lists.assays.size(), 1u) << "the assay stays, without its mixture";
  EXPECT_EQ(lists.assays[0].mixture, nullptr);

  // Text where numbers belong and bytes that are not UTF-8.
  Exec("CREATE TABLE peak (id INTEGER PRIMARY KEY, assayid INTEGER, nameid INTEGER, name TEXT, area REAL, time REAL, "
       "channel INTEGER);");
  Exec("INSERT INTO assay (id, date, filename, sample, mixture) VALUES (20, 'вчера', X'FF00', X'C0AFD0', 'ГСО-Ёлка');");
  Exec("INSERT INTO peak (assayid, name, area, time, channel) VALUES (20, X'D09FFF', 'много', 'x', 'два');");
  ASSERT_EQ(Load(20), 1);
  const ::Assay& a = lists.assays[1];
  EXPECT_EQ(a.date, 0);
  ASSERT_EQ(a.peaks.size(), 1u);
  EXPECT_EQ(a.peaks[0].area, 0.0);
  EXPECT_EQ(a.peaks[0].channel, 0);
  EXPECT_NE(a.mixture, nullptr);
}

TEST_F(Loaders, NullIdentifierRowReadsAsMinusOne) {
  // The row inserted with a NULL id got a rowid; a row whose id column is NULL cannot be
  // selected by id, so the loader never sees it. The identifier default matters for the
  // mixture query instead.
  Exec("CREATE TABLE m2 AS SELECT * FROM mixture; DROP TABLE mixture;"
       "CREATE TABLE mixture (id INTEGER, name TEXT COLLATE NOCASE, ballon TEXT, release INTEGER, expiry INTEGER);"
       "INSERT INTO mixture VALUES (NULL, 'Безымянная', '', 0, 0);");
  EXPECT_EQ(loadMixture(u"Безымянная", lists), 0);
  EXPECT_EQ(lists.mixtures[0]->id, -1);
}

}  // namespace
