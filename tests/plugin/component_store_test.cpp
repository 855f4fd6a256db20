// The module's component list: built once, and the names stored in the profile.
#include <gtest/gtest.h>

#include "platform/sys/locale.h"
#include "plugin/component_store.h"
#include "plugin/profile.h"
#include "tests/support/test_host.h"

namespace {

class ComponentStore : public ::testing::Test {
 protected:
  void SetUp() override {
    sys::SetRussianLocale();
    ResetComponentList();
  }
  void TearDown() override {
    ResetComponentList();
    SetProfilePrefix(u"");
    sys::ResetLocale();
  }
};

TEST_F(ComponentStore, DefaultListWithoutProfileIsBuiltOnce) {
  BuildDefaultComponents();
  LoadComponentNames();
  const auto& list = ComponentList();
  ASSERT_EQ(list.size(), 19u);
  EXPECT_EQ(LastDefaultComponentId(), 18);
  for (const auto& c : list) EXPECT_EQ(c.name, c.altName);
  BuildDefaultComponents();
  EXPECT_EQ(list.size(), 19u) << "built once";
}

TEST_F(ComponentStore, StoredNamesReplaceOnlyWhenNotEmpty) {
  TestHost host;
  host.Install();
  SetProfilePrefix(kModuleProfilePrefix);
  const sys::Text p = u"plugins\\Vetrix\\Components/";
  host.ints[p + u"qtyComps"] = 40;  // more than exist: the extra identifiers are skipped
  host.strings[p + u"5_altName"] = u"2,2-Диметилпропан";
  host.strings[p + u"3_name"] = u"";
  host.strings[p + u"1_altName"] = u"ЭТАН";
  BuildDefaultComponents();
  LoadComponentNames();
  const auto& list = ComponentList();
  EXPECT_EQ(list[3].name, u"Изобутан");
  EXPECT_EQ(list[5].name, u"Неопентан");
  EXPECT_EQ(list[5].altName, u"2,2-Диметилпропан");
  EXPECT_EQ(FindComponent(list, u"2,2-диметилпропан"), &list[5]);
  EXPECT_EQ(FindComponent(list, u"Этан"), &list[1]);
  EXPECT_EQ(ComponentNameKey(5), u"5_name");
  EXPECT_EQ(ComponentAltNameKey(12), u"12_altName");
  host.strings[p + u"5_altName"] = u"C5";
  LoadComponentNames();
  EXPECT_EQ(list[5].altName, u"2,2-Диметилпропан") << "read once";
}

}  // namespace
