// The message table: raising, de-duplication and the published texts.
#include <gtest/gtest.h>

#include "tests/calc/fixture.h"

namespace {

class Messages : public EngineTest {
 protected:
  MessageTable table = MakeMessageTable();
  MessageLog log;
};

TEST_F(Messages, TableHoldsElevenEntriesWithTheirLevelsAndForms) {
  ASSERT_EQ(table.size(), 11u);
  for (std::size_t i = 0; i < table.size(); ++i) EXPECT_EQ(table[i].id, static_cast<int>(i));
  EXPECT_EQ(table[8].level, MessageLevel::Warning);
  EXPECT_TRUE(table[2].listsDetails && table[3].listsDetails);
  EXPECT_FALSE(table[0].listsPairs || table[0].listsDetails);
  EXPECT_EQ(table[4].text, u"Следующие компоненты не найдены в списке копмонентов программы:");
}

TEST_F(Messages, RaiseMessageRules) {
  struct Case {
    int id;
    const char16_t* name;
    bool result;
  } cases[] = {
      {99, u"Азот", false},  // unknown entry
      {0, u"Азот", false},   // entry without a list
      {2, u"Азот", false},   // a details entry takes no pairs
      {9, u"", false},       // empty name
      {9, u"Азот", true},
  };
  for (const auto& c : cases) EXPECT_EQ(RaiseMessage(table, c.id, c.name, u"ГСО-1"), c.result) << c.id;
  EXPECT_FALSE(table[0].raised);
  EXPECT_TRUE(table[9].raised);
}

TEST_F(Messages, SameItemTwiceOrInOtherCaseIsListedOnce) {
  RaiseMessage(table, 9, u"Азот", u"ГСО-1");
  RaiseMessage(table, 9, u"АЗОТ", u"гсо-1");
  RaiseMessage(table, 9, u"Азот", u"ГСО-2");
  RaiseMessage(table, 8, u"Азот", std::nullopt);
  RaiseMessage(table, 8, u"азот", u"");
  EXPECT_EQ(table[9].items.size(), 2u);
  EXPECT_EQ(table[8].items.size(), 1u);
  PublishMessages(table, log);
  ASSERT_EQ(log.warnings.size(), 1u);
  EXPECT_EQ(log.warnings[0],
            u"Некоторые компоненты не соответствуют условиям линейнойности и соглано ГОСТ 31371.7-2020 "
            u"(приложение Б) были созданы \r\n\tотдельные градуировочные зависимости (до 0,025 моль% и "
            u"свыше 0,025 моль% ).\r\n\t- Азот");
}

TEST_F(Messages, PublishKeepsTableOrderPerLevel) {
  RaiseDetail(table, MessageId::TemperatureMissing, u"файл: ...\\b.stg, проба: 2, дата: ----");
  RaiseDetail(table, MessageId::TemperatureMissing, u"файл: ...\\b.stg, проба: 2, дата: ----");
  RaiseEntry(table, MessageId::AnalysisCount);
  RaiseEntry(table, MessageId::MixtureCount);
  RaiseMessage(table, 4, u"Аргон", u"канал: 1");
  PublishMessages(table, log);
  EXPECT_FALSE(log.nothingReported);
  ASSERT_EQ(log.errors.size(), 4u);
  EXPECT_EQ(log.errors[0], table[0].text);
  EXPECT_EQ(log.errors[1], table[1].text);
  EXPECT_EQ(log.errors[2], table[3].text + u"\r\n\t- файл: ...\\b.stg, проба: 2, дата: ----");
  EXPECT_EQ(log.errors[3], u"Следующие компоненты не найдены в списке копмонентов программы:\r\n\t- Аргон, канал: 1");
  EXPECT_TRUE(log.warnings.empty() && log.infos.empty());
}

TEST_F(Messages, ResetAndClear) {
  RaiseMessage(table, 5, u"Азот", u"канал: 1");
  ResetMessages(table);
  PublishMessages(table, log);
  EXPECT_TRUE(log.nothingReported);
  EXPECT_TRUE(table[5].items.empty());
  log.AddMessage(MessageLevel::Information, u"x");
  log.AddMessage(static_cast<MessageLevel>(7), u"y");
  EXPECT_EQ(log.infos.size(), 1u);
  log.Clear();
  EXPECT_TRUE(log.nothingReported);
  EXPECT_TRUE(log.infos.empty());
}

// The module appends a run's messages to the log its page shows: levels and order kept,
// an empty run's log leaves the page's log saying nothing was reported.
TEST_F(Messages, AppendKeepsLevelsAndOrder) {
  MessageLog run;
  AppendMessages(log, run);
  EXPECT_TRUE(log.nothingReported);
  run.AddMessage(MessageLevel::Warning, u"w");
  run.AddMessage(MessageLevel::Error, u"e1");
  run.AddMessage(MessageLevel::Error, u"e2");
  log.AddMessage(MessageLevel::Error, u"e0");
  AppendMessages(log, run);
  EXPECT_EQ(log.errors, (std::vector<sys::Text>{u"e0", u"e1", u"e2"}));
  EXPECT_EQ(log.warnings, std::vector<sys::Text>{u"w"});
  EXPECT_FALSE(log.nothingReported);
}

}  // namespace
