// The component list, its persisted names and the name matching rules.
#include <gtest/gtest.h>

#include "plugin/profile.h"
#include "tests/calc/fixture.h"
#include "tests/support/test_host.h"

namespace {

class Components : public EngineTest {
 protected:
  void Reload() {
    ResetComponentList();
    BuildDefaultComponents();
    LoadComponentNames();
  }
};

TEST_F(Components, DefaultListWithoutProfile) {
  const auto& list = ComponentList();
  ASSERT_EQ(list.size(), 19u);
  EXPECT_EQ(LastDefaultComponentId(), 18);
  for (std::size_t i = 0; i < list.size(); ++i) {
    EXPECT_EQ(list[i].id, static_cast<int>(i));
    EXPECT_EQ(list[i].name, list[i].altName);
  }
  EXPECT_EQ(list[0].name, u"Метан");
  EXPECT_EQ(list[13].name, u"Диоксид углерода");
  EXPECT_EQ(list[17].name, u"Азот");
  BuildDefaultComponents();
  EXPECT_EQ(list.size(), 19u) << "built once";
}

TEST_F(Components, StoredNamesReplaceOnlyWhenNotEmpty) {
  TestHost host;
  host.Install();
  SetProfilePrefix(kModuleProfilePrefix);
  const sys::Text p = u"plugins\\Vetrix\\Components/";
  host.ints[p + u"qtyComps"] = 40;  // more than exist: the extra identifiers are skipped
  host.strings[p + u"5_altName"] = u"2,2-Диметилпропан";
  host.strings[p + u"3_name"] = u"";
  host.strings[p + u"1_altName"] = u"ЭТАН";
  Reload();
  SetProfilePrefix(u"");
  const auto& list = ComponentList();
  EXPECT_EQ(list[3].name, u"Изобутан");
  EXPECT_EQ(list[5].name, u"Неопентан");
  EXPECT_EQ(list[5].altName, u"2,2-Диметилпропан");
  EXPECT_EQ(FindComponent(u"2,2-диметилпропан"), &list[5]);
  EXPECT_EQ(FindComponent(u"Этан"), &list[1]);
  EXPECT_EQ(ComponentNameKey(5), u"5_name");
  EXPECT_EQ(ComponentAltNameKey(12), u"12_altName");
}

TEST_F(Components, MatchingIsCaseBlindAndFirstEntryWins) {
  auto& list = ComponentList();
  EXPECT_EQ(FindComponent(u"АЗОТ"), &list[17]);
  EXPECT_EQ(FindComponent(u"Аргон"), nullptr);
  EXPECT_EQ(FindComponent(u"Азот "), nullptr);
  list[2].altName = u"Гелий";  // an earlier altName and a later name agree
  EXPECT_EQ(FindComponent(u"гелий"), &list[2]);

  Mixture m;
  m.components = {{u"1", u"азот", 1.0, 0.5}, {u"2", u"Азот", 2.0, 0.5}};
  EXPECT_EQ(FindMixtureComponent(m, u"АЗОТ"), &m.components[0]);
  EXPECT_EQ(FindMixtureComponent(m, u"N2"), nullptr);
}

}  // namespace
