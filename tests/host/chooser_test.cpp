// chooser_test.cpp: "Main/OpenAssayIdDlgEx" on a real host database — the preset answer of
// batch mode, the dialog a user sees, capacity and failures.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>

#include "data/host_schema.h"
#include "host/assay_chooser.h"
#include "host/command_registry.h"
#include "host/host_commands.h"
#include "host_test_support.h"

namespace {

// 1..6 with 3 hidden and 5 deleted; dates in UTC seconds (the tests run with TZ=MSK-3).
void MakeDatabase(const std::string& path) {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(db, kHostDatabaseSchema, nullptr, nullptr, nullptr), SQLITE_OK);
  const char* sql =
      "INSERT INTO assay (id, date, sample, mixture, ishidden, isdeleted) VALUES"
      " (1, 1706774400, 'Проба А-1', 'ГСО-1', 0, 0),"
      " (2, 1706778000, 'Проба А-2', 'ГСО-1', 0, 0),"
      " (3, 1706781600, 'Скрытая', 'ГСО-2', 1, 0),"
      " (4, 0, 'Без даты', NULL, 0, 0),"
      " (5, 1706785200, 'Удалённая', 'ГСО-2', 0, 1),"
      " (6, 1706788800, 'Проба Б-1', 'ГСО-2', 0, 0);";
  char* error = nullptr;
  EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, &error), SQLITE_OK) << (error ? error : "");
  sqlite3_free(error);
  sqlite3_close(db);
}

class AssayChooserCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    MakeDatabase(folder_ / "host.db");
    location_ = sys::FromUtf8(folder_ / "host.db");
  }

  std::vector<std::int32_t> Choose(const AssayChooser& chooser, int capacity, std::int32_t* answer = nullptr) {
    std::vector<std::int32_t> ids(static_cast<std::size_t>(std::max(capacity, 1)), -99);
    AssayIdBuffer buffer{ids.data(), capacity};
    const std::int32_t n = RunAssayChooserCommand(&buffer, nullptr, location_, chooser,
                                                  [&](const std::string& t) { reports_.push_back(t); });
    if (answer) *answer = n;
    ids.resize(static_cast<std::size_t>(std::max(n, 0)));
    return ids;
  }

  TestFolder folder_;
  sys::Text location_;
  std::vector<std::string> reports_;
};

TEST_F(AssayChooserCommand, ListsOnlyVisibleChromatogramsWithTheirFields) {
  const std::vector<AssayChoice> assays = VisibleAssays(location_);
  ASSERT_EQ(assays.size(), 4u);
  EXPECT_EQ(assays[0].id, 1);
  EXPECT_EQ(assays[0].sample, u"Проба А-1");
  EXPECT_EQ(assays[0].mixture, u"ГСО-1");
  EXPECT_EQ(assays[2].id, 4);
  EXPECT_EQ(assays[2].mixture, u"");
  EXPECT_EQ(assays[3].id, 6);
}

TEST_F(AssayChooserCommand, PresetSelectionAnswersWithoutAWindow) {
  EXPECT_EQ(Choose(PresetAssayChooser(true, {}), 256), (std::vector<std::int32_t>{1, 2, 4, 6}));
  // The list's order is kept; hidden, deleted and unknown identifiers cannot be chosen.
  EXPECT_EQ(Choose(PresetAssayChooser(false, {6, 3, 1, 5, 77}), 256), (std::vector<std::int32_t>{6, 1}));
  std::int32_t answer = -1;
  EXPECT_EQ(Choose(PresetAssayChooser(true, {}), 2, &answer), (std::vector<std::int32_t>{1, 2}));
  EXPECT_EQ(answer, 2);
  EXPECT_TRUE(QApplication::topLevelWidgets().isEmpty() ||
              std::none_of(QApplication::topLevelWidgets().begin(), QApplication::topLevelWidgets().end(),
                           [](QWidget* w) { return w->isVisible(); }));
  EXPECT_TRUE(reports_.empty());
}

TEST_F(AssayChooserCommand, BadBuffersAndDatabaseFailuresAnswerZero) {
  EXPECT_EQ(RunAssayChooserCommand(nullptr, nullptr, location_, PresetAssayChooser(true, {}), {}), 0);
  AssayIdBuffer noIds{nullptr, 256};
  EXPECT_EQ(RunAssayChooserCommand(&noIds, nullptr, location_, PresetAssayChooser(true, {}), {}), 0);
  std::int32_t answer = -1;
  EXPECT_TRUE(Choose(PresetAssayChooser(true, {}), 0, &answer).empty());
  EXPECT_EQ(answer, 0);

  location_ = sys::FromUtf8(folder_ / "empty.db");  // opens, but has no assay table
  EXPECT_TRUE(Choose(PresetAssayChooser(true, {}), 256, &answer).empty());
  EXPECT_EQ(answer, 0);
  ASSERT_EQ(reports_.size(), 1u);
  EXPECT_NE(reports_[0].find("no such table"), std::string::npos) << reports_[0];
  EXPECT_NE(reports_[0].find("empty.db"), std::string::npos) << reports_[0];

  location_.clear();  // a host started without --db
  EXPECT_TRUE(Choose(PresetAssayChooser(true, {}), 256, &answer).empty());
  EXPECT_EQ(answer, 0);
  ASSERT_EQ(reports_.size(), 2u);
  EXPECT_NE(reports_[1].find("--db"), std::string::npos) << reports_[1];
}

TEST_F(AssayChooserCommand, TheDialogShowsTheRowsAndLimitsTheSelection) {
  AssayChooserDialog dialog(VisibleAssays(location_), 2, nullptr);
  QTableWidget* table = dialog.table();
  ASSERT_EQ(table->rowCount(), 4);
  EXPECT_EQ(table->item(0, 1)->text(), QStringLiteral("Проба А-1"));
  EXPECT_EQ(table->item(0, 2)->text(), QStringLiteral("01.02.2024  11:00"));  // local time, two blanks
  EXPECT_EQ(table->item(2, 2)->text(), QStringLiteral("----"));
  EXPECT_EQ(table->item(3, 3)->text(), QStringLiteral("ГСО-2"));
  EXPECT_FALSE(dialog.chooseButton()->isEnabled());  // nothing chosen yet

  table->selectRow(0);
  table->setSelectionMode(QAbstractItemView::MultiSelection);
  table->selectRow(3);
  EXPECT_TRUE(dialog.chooseButton()->isEnabled());
  EXPECT_EQ(dialog.SelectedIds(), (std::vector<std::int32_t>{1, 6}));
  table->selectRow(1);
  EXPECT_FALSE(dialog.chooseButton()->isEnabled());  // three chosen, room for two

  dialog.filter()->setText(QStringLiteral("гсо-1"));  // hides the rows of other mixtures
  EXPECT_FALSE(table->isRowHidden(0));
  EXPECT_TRUE(table->isRowHidden(3));
  EXPECT_EQ(dialog.SelectedIds(), (std::vector<std::int32_t>{1, 2}));
  EXPECT_TRUE(dialog.chooseButton()->isEnabled());
}

// Through the host's command as a module calls it: the modal dialog, answered by a user.
TEST_F(AssayChooserCommand, TheCommandRunsTheDialogModally) {
  HostServices services;
  services.databaseLocation = location_;
  services.chooseAssays = DialogAssayChooser();
  CommandRegistry::Instance().Clear();
  RegisterHostCommands(CommandRegistry::Instance(), services);
  bool seen = false;
  QTimer guard;  // a broken dialog must fail the test, not hang it
  guard.setSingleShot(true);
  QObject::connect(&guard, &QTimer::timeout, [] {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* d = dynamic_cast<QDialog*>(w)) d->reject();
  });
  guard.start(10000);
  QTimer::singleShot(0, [&] {
    auto* dialog = dynamic_cast<AssayChooserDialog*>(QApplication::activeModalWidget());
    ASSERT_TRUE(dialog);
    seen = dialog->isVisible();
    dialog->table()->setSelectionMode(QAbstractItemView::MultiSelection);
    dialog->table()->selectRow(1);
    dialog->table()->selectRow(2);
    dialog->chooseButton()->click();
  });
  std::int32_t ids[256] = {};
  AssayIdBuffer buffer{ids, 256};
  EXPECT_EQ(CommandRegistry::Instance().Execute("Main/OpenAssayIdDlgEx", &buffer, nullptr), 2);
  EXPECT_TRUE(seen);
  EXPECT_EQ(ids[0], 2);
  EXPECT_EQ(ids[1], 4);
  CommandRegistry::Instance().Clear();
}

}  // namespace
