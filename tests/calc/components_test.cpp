// The default component list and the name matching rules.
#include <gtest/gtest.h>

#include "tests/calc/fixture.h"

namespace {

using Components = EngineTest;

TEST_F(Components, DefaultList) {
  const auto list = DefaultComponents();
  ASSERT_EQ(list.size(), 19u);
  EXPECT_EQ(list.back().id, kLastDefaultComponentId);
  for (std::size_t i = 0; i < list.size(); ++i) {
    EXPECT_EQ(list[i].id, static_cast<int>(i));
    EXPECT_EQ(list[i].name, list[i].altName);
  }
  EXPECT_EQ(list[0].name, u"Метан");
  EXPECT_EQ(list[13].name, u"Диоксид углерода");
  EXPECT_EQ(list[17].name, u"Азот");
}

TEST_F(Components, MatchingIsCaseBlindAndFirstEntryWins) {
  auto& list = components;
  EXPECT_EQ(FindComponent(list, u"АЗОТ"), &list[17]);
  EXPECT_EQ(FindComponent(list, u"Аргон"), nullptr);
  EXPECT_EQ(FindComponent(list, u"Азот "), nullptr);
  list[5].altName = u"2,2-Диметилпропан";  // another name lets its peaks match the entry
  EXPECT_EQ(FindComponent(list, u"2,2-диметилпропан"), &list[5]);
  list[2].altName = u"Гелий";  // an earlier altName and a later name agree
  EXPECT_EQ(FindComponent(list, u"гелий"), &list[2]);

  Mixture m;
  m.components = {{u"1", u"азот", 1.0, 0.5}, {u"2", u"Азот", 2.0, 0.5}};
  EXPECT_EQ(FindMixtureComponent(m, u"АЗОТ"), &m.components[0]);
  EXPECT_EQ(FindMixtureComponent(m, u"N2"), nullptr);
}

}  // namespace
