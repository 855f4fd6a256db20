// The message table: raising, de-duplication and the published texts.
#include <gtest/gtest.h>

#include "tests/calc/fixture.h"

namespace {

using Messages = EngineTest;

TEST_F(Messages, TableHoldsElevenEntriesWithTheirLevelsAndForms) {
  const auto& table = MessageTable();
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
  for (const auto& c : cases) EXPECT_EQ(RaiseMessage(c.id, c.name, u"ГСО-1"), c.result) << c.id;
  EXPECT_FALSE(MessageTable()[0].raised);
  EXPECT_TRUE(MessageTable()[9].raised);
}

TEST_F(Messages, SameItemTwiceOrInOtherCaseIsListedOnce) {
  RaiseMessage(9, u"Азот", u"ГСО-1");
  RaiseMessage(9, u"АЗОТ", u"гсо-1");
  RaiseMessage(9, u"Азот", u"ГСО-2");
  RaiseMessage(8, u"Азот", std::nullopt);
  RaiseMessage(8, u"азот", u"");
  EXPECT_EQ(MessageTable()[9].items.size(), 2u);
  EXPECT_EQ(MessageTable()[8].items.size(), 1u);
  PublishMessages();
  ASSERT_EQ(SystemMessageLog().warnings.size(), 1u);
  EXPECT_EQ(SystemMessageLog().warnings[0],
            u"Некоторые компоненты не соответствуют условиям линейнойности и соглано ГОСТ 31371.7-2020 "
            u"(приложение Б) были созданы \r\n\tотдельные градуировочные зависимости (до 0,025 моль% и "
            u"свыше 0,025 моль% ).\r\n\t- Азот");
}

TEST_F(Messages, PublishKeepsTableOrderPerLevel) {
  RaiseDetail(3, u"файл: ...\\b.stg, проба: 2, дата: ----");
  RaiseDetail(3, u"файл: ...\\b.stg, проба: 2, дата: ----");
  RaiseEntry(1);
  RaiseEntry(0);
  RaiseMessage(4, u"Аргон", u"канал: 1");
  PublishMessages();
  const auto& log = SystemMessageLog();
  EXPECT_FALSE(log.nothingReported);
  ASSERT_EQ(log.errors.size(), 4u);
  EXPECT_EQ(log.errors[0], MessageTable()[0].text);
  EXPECT_EQ(log.errors[1], MessageTable()[1].text);
  EXPECT_EQ(log.errors[2], MessageTable()[3].text + u"\r\n\t- файл: ...\\b.stg, проба: 2, дата: ----");
  EXPECT_EQ(log.errors[3], u"Следующие компоненты не найдены в списке копмонентов программы:\r\n\t- Аргон, канал: 1");
  EXPECT_TRUE(log.warnings.empty() && log.infos.empty());
}

TEST_F(Messages, ResetAndClear) {
  RaiseMessage(5, u"Азот", u"канал: 1");
  ResetMessages();
  PublishMessages();
  EXPECT_TRUE(SystemMessageLog().nothingReported);
  EXPECT_TRUE(MessageTable()[5].items.empty());
  SystemMessageLog().AddMessage(MessageLevel::Information, u"x");
  SystemMessageLog().AddMessage(static_cast<MessageLevel>(7), u"y");
  EXPECT_EQ(SystemMessageLog().infos.size(), 1u);
  SystemMessageLog().Clear();
  EXPECT_TRUE(SystemMessageLog().nothingReported);
  EXPECT_TRUE(SystemMessageLog().infos.empty());
}

}  // namespace
