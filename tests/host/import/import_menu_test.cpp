// The host's "Файл" → "Импорт из CSV..." on the real host window: two file pickers, the
// import, the outcome told, the question before a database is replaced, and the host
// asked to start again on the new database; then lortan --batch on an imported database
// prints what vetrix-check prints.
#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <deque>

#include "host/host_session.h"
#include "host/import_menu.h"
#include "host/main_window.h"
#include "host_test_support.h"

namespace {

namespace fs = std::filesystem;

const char kAreas[] =
    "analysis,sample,date,mixture,pressure,temperature,channel,component,area,time\n"
    "1,Проба 1,2026-11-23 09:25,ГСО-1,101.3,21.5,1,Азот,1520.5,1.25\n"
    "2,Проба 2,2026-11-23 09:50,ГСО-1,,,1,Азот,1510,1.25\n";
const char kCertificates[] =
    "mixture,cylinder,release,expiry,component,concentration,deviation\n"
    "ГСО-1,Баллон 1,2026-01-01,2028-01-01,Азот,0.5,1\n";

void Write(const fs::path& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

// Answers the import's dialogs from queues and records what they were asked and told.
struct Answers {
  std::deque<QString> files;
  std::deque<bool> confirmations;
  QStringList titles, questions, told;
  bool lastFailed = false;

  void Install() {
    ImportDialogs d;
    d.pickFile = [this](QWidget*, const QString& title) {
      titles << title;
      if (files.empty()) return QString();
      const QString f = files.front();
      files.pop_front();
      return f;
    };
    d.confirm = [this](QWidget*, const QString& question) {
      questions << question;
      const bool yes = !confirmations.empty() && confirmations.front();
      if (!confirmations.empty()) confirmations.pop_front();
      return yes;
    };
    d.tell = [this](QWidget*, const QString& text, bool failure) {
      told << text;
      lastFailed = failure;
    };
    SetImportDialogs(d);
  }
};

class ImportMenu : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directory(folder_.path() / "plugins");
    options_.pluginFolder = folder_ / "plugins";
    options_.profile = folder_ / "profile.db";
    options_.db = folder_ / "old.db";
    options_.templateFolder = LORTAN_TEMPLATE_FOLDER;
    Write(folder_.path() / "areas.csv", kAreas);
    Write(folder_.path() / "certs.csv", kCertificates);
    answers_.Install();
    TakeDatabaseToOpen();
  }
  void TearDown() override { SetImportDialogs({}); }

  // Starts a host session, chooses the entry, ends the session.
  void ChooseImport() {
    HostSession session(options_);
    std::string error;
    ASSERT_TRUE(session.Start(error)) << error;
    session.window()->show();
    QAction* entry = session.window()->FindMenuEntry(QStringLiteral("Файл/Импорт из CSV..."));
    ASSERT_NE(entry, nullptr);
    const QList<QAction*> actions = session.window()->fileMenu()->actions();
    ASSERT_FALSE(actions.isEmpty());
    EXPECT_EQ(actions.back()->text(), QStringLiteral("Выход")) << "the entry goes before the exit";
    entry->trigger();
    windowStayedOpen_ = session.window()->isVisible();
    session.Shutdown();
  }

  TestFolder folder_;
  HostOptions options_;
  Answers answers_;
  bool windowStayedOpen_ = true;
  const fs::path newDb_ = folder_.path() / "areas-lortan" / "lortan.db";
};

TEST_F(ImportMenu, ImportsTheTwoFilesAndTheHostStartsAgainOnTheNewDatabase) {
  answers_.files = {QString::fromStdString(folder_ / "areas.csv"), QString::fromStdString(folder_ / "certs.csv")};
  ChooseImport();
  EXPECT_EQ(answers_.titles, QStringList({QStringLiteral("Импорт: площади пиков (CSV)"),
                                          QStringLiteral("Импорт: паспорта смесей (CSV)")}));
  ASSERT_EQ(answers_.told.size(), 1);
  EXPECT_FALSE(answers_.lastFailed);
  EXPECT_EQ(answers_.told[0], QStringLiteral("imported into ") + QString::fromStdString(newDb_.string()) +
                                  QStringLiteral(": analyses 2, peaks 2, mixtures 1, components 1"));
  EXPECT_FALSE(windowStayedOpen_) << "the window closes so that the host starts again";
  const auto db = TakeDatabaseToOpen();
  ASSERT_TRUE(db.has_value());
  EXPECT_EQ(*db, newDb_.string());

  // What lortan's main does next: a new session on the new database.
  options_.db = *db;
  HostSession again(options_);
  std::string error;
  ASSERT_TRUE(again.Start(error)) << error;
  EXPECT_EQ(sys::ToUtf8(again.services().databaseLocation), newDb_.string());
  again.Shutdown();
}

TEST_F(ImportMenu, BadInputIsToldLineByLineAndNothingOpens) {
  Write(folder_.path() / "areas.csv", "analysis,channel,component,area,time\n1,1,Азот,abc,1\n");
  answers_.files = {QString::fromStdString(folder_ / "areas.csv"), QString::fromStdString(folder_ / "certs.csv")};
  ChooseImport();
  ASSERT_EQ(answers_.told.size(), 1);
  EXPECT_TRUE(answers_.lastFailed);
  EXPECT_TRUE(answers_.told[0].contains(QStringLiteral("areas.csv, line 2, column \"area\": not a number: \"abc\"")))
      << answers_.told[0].toStdString();
  EXPECT_TRUE(windowStayedOpen_);
  EXPECT_FALSE(TakeDatabaseToOpen().has_value());
  EXPECT_FALSE(fs::exists(newDb_));
}

TEST_F(ImportMenu, CancellingAPickerOrTheReplacementChangesNothing) {
  answers_.files = {QString::fromStdString(folder_ / "areas.csv")};  // the second picker is cancelled
  ChooseImport();
  EXPECT_EQ(answers_.titles.size(), 2);
  EXPECT_TRUE(answers_.told.isEmpty());
  EXPECT_FALSE(fs::exists(newDb_.parent_path()));

  fs::create_directories(newDb_.parent_path());
  Write(newDb_, "the database a user keeps");
  answers_.files = {QString::fromStdString(folder_ / "areas.csv"), QString::fromStdString(folder_ / "certs.csv")};
  answers_.confirmations = {false};
  ChooseImport();
  EXPECT_EQ(answers_.questions.size(), 1);
  EXPECT_EQ(ReadWholeFile(newDb_), "the database a user keeps");
  EXPECT_FALSE(TakeDatabaseToOpen().has_value());

  answers_.files = {QString::fromStdString(folder_ / "areas.csv"), QString::fromStdString(folder_ / "certs.csv")};
  answers_.confirmations = {true};
  ChooseImport();
  EXPECT_NE(ReadWholeFile(newDb_), "the database a user keeps");
  EXPECT_TRUE(TakeDatabaseToOpen().has_value());
}

// The host starting again in the same process on the imported database: the real
// module is unloaded, loaded afresh and opens its window on the new database each time.
TEST_F(ImportMenu, TheRealModuleOpensAgainAfterTheHostStartsAgain) {
  const fs::path module = fs::path(LORTAN_EXECUTABLE).parent_path() / "plugins" / "libvetrix.so";
  if (!fs::exists(module)) GTEST_SKIP() << "the module is not built";
  options_.pluginFolder = module.parent_path().string();
  answers_.files = {QString::fromStdString(folder_ / "areas.csv"), QString::fromStdString(folder_ / "certs.csv")};
  for (int run = 0; run < 2; ++run) {
    HostSession session(options_);
    std::string error;
    ASSERT_TRUE(session.Start(error)) << error;
    ASSERT_EQ(session.modules().modules().size(), 1u);
    EXPECT_TRUE(session.RunMenuEntry(QStringLiteral("Данные/Расчёты/Проверка линейности детектора"))) << run;
    if (run == 0) session.window()->FindMenuEntry(QStringLiteral("Файл/Импорт из CSV..."))->trigger();
    session.Shutdown();
    if (run == 0) {
      const auto db = TakeDatabaseToOpen();
      ASSERT_TRUE(db.has_value());
      options_.db = *db;
    }
  }
}

TEST(ImportedDatabase, TheBatchHostPrintsWhatTheHeadlessCheckPrints) {
  const fs::path plugins = fs::path(LORTAN_EXECUTABLE).parent_path() / "plugins" / "libvetrix.so";
  if (!fs::exists(plugins)) GTEST_SKIP() << "the module is not built";
  TestFolder folder;
  const std::string examples = std::string(std::getenv("VETRIX_SOURCE_DIR")) + "/examples/";
  const ShellOutcome import = RunShell(folder, std::string("'") + VETRIX_IMPORT + "' --areas '" + examples +
                                                   "demo-areas.csv' --certificates '" + examples +
                                                   "demo-certificates.csv' --out '" + (folder / "imported") + "'");
  ASSERT_EQ(import.code, 0) << import.err;
  const std::string db = folder / "imported/lortan.db";
  const ShellOutcome check = RunShell(folder, std::string("'") + VETRIX_CHECK + "' --db '" + db + "'");
  ASSERT_EQ(check.code, 0) << check.err;
  const ShellOutcome batch =
      RunShell(folder, std::string("env -u XDG_RUNTIME_DIR '") + LORTAN_EXECUTABLE + "' --batch --db '" + db +
                           "' --profile '" + (folder / "profile.db") + "' --select all");
  ASSERT_EQ(batch.code, 0) << batch.err;
  EXPECT_EQ(batch.out, check.out);
  EXPECT_NE(check.out.find("Азот"), std::string::npos);
}

}  // namespace
