// Profile operations and Settings against the in-memory test host.
#include <gtest/gtest.h>

#include "plugin/profile.h"
#include "plugin/settings.h"
#include "tests/support/test_host.h"

namespace {

class ProfileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    host.Install();
    SetProfilePrefix(kModuleProfilePrefix);
  }
  void TearDown() override { SetProfilePrefix(u""); }
  TestHost host;
};

TEST_F(ProfileTest, KeysJoinPrefixSectionAndName) {
  EXPECT_EQ(ProfileKey(u"ProgramSettings", u"qtySymInProg"), u"plugins\\Vetrix\\ProgramSettings/qtySymInProg");
  SetProfilePrefix(u"");
  EXPECT_EQ(ProfileKey(u"Assays", u"qtyAssays"), u"Assays/qtyAssays");
}

TEST_F(ProfileTest, IntRoundTripAndStoredZeroReadsAsDefault) {
  EXPECT_TRUE(SetInt(u"S", u"k", 7));
  EXPECT_EQ(host.ints.at(u"plugins\\Vetrix\\S/k"), 7);
  EXPECT_EQ(GetInt(u"S", u"k", 3), 7);
  EXPECT_TRUE(SetInt(u"S", u"k", 0));
  EXPECT_EQ(host.ints.at(u"plugins\\Vetrix\\S/k"), 0);  // stored as given...
  EXPECT_EQ(GetInt(u"S", u"k", 3), 3);                   // ...but read back as the default
  EXPECT_TRUE(SetInt(u"S", u"k", -2));
  EXPECT_EQ(GetInt(u"S", u"k", 3), -2);
  EXPECT_EQ(GetInt(u"S", u"absent", 11), 11);
}

TEST_F(ProfileTest, StringIsCutAt127Characters) {
  host.strings[u"plugins\\Vetrix\\S/long"] = sys::Text(200, u'я');
  EXPECT_EQ(GetString(u"S", u"long", u"d"), sys::Text(127, u'я'));
  host.strings[u"plugins\\Vetrix\\S/exact"] = sys::Text(128, u'x');  // no room for the NUL
  EXPECT_EQ(GetString(u"S", u"exact", u"d"), sys::Text(127, u'x'));
  EXPECT_TRUE(SetString(u"S", u"name", u"Азот"));
  EXPECT_EQ(GetString(u"S", u"name", u""), u"Азот");
  EXPECT_EQ(GetString(u"S", u"absent", u"fallback"), u"fallback");
  host.answerNotFound = true;
  EXPECT_EQ(GetString(u"S", u"name", u"fallback"), u"fallback");
}

TEST_F(ProfileTest, MissingCommandsGiveDefaultsAndDropWrites) {
  host.missing = {"Profile/GetInt", "Profile/SetInt", "Profile/GetString", "Profile/SetString"};
  host.ints[u"plugins\\Vetrix\\S/k"] = 9;
  EXPECT_EQ(GetInt(u"S", u"k", 4), 4);
  EXPECT_FALSE(SetInt(u"S", u"k", 5));
  EXPECT_EQ(GetString(u"S", u"t", u"x"), u"x");
  EXPECT_FALSE(SetString(u"S", u"t", u"y"));
  EXPECT_TRUE(host.calls.empty());  // nothing reached Execute
  EXPECT_EQ(host.existsAsked.size(), 4u);
}

TEST_F(ProfileTest, NoHostAtAllBehavesAsMissingCommands) {
  SetHost(nullptr);
  EXPECT_EQ(GetInt(u"S", u"k", 4), 4);
  EXPECT_FALSE(SetString(u"S", u"t", u"y"));
}

TEST_F(ProfileTest, SettingsLoadReadsFiveKeysWithDefaults) {
  Settings defaults;
  EXPECT_EQ(Settings::qtySymInProg, 3);
  EXPECT_EQ(Settings::qtySymInReport, 3);
  EXPECT_EQ(Settings::enPressCorrect, 0);
  EXPECT_EQ(Settings::enTempCorrect, 0);
  EXPECT_TRUE(defaults.exportFolder.empty());

  const sys::Text p = u"plugins\\Vetrix\\ProgramSettings/";
  host.ints[p + u"qtySymInProg"] = -1;
  host.ints[p + u"qtySymInReport"] = 0;  // reads back as 3
  host.ints[p + u"enPressCorrect"] = 1;
  host.ints[p + u"enTempCorrect"] = 1;
  host.strings[p + u"ExportFolder"] = u"/tmp/экспорт";
  Settings loaded;
  EXPECT_EQ(Settings::qtySymInProg, -1);
  EXPECT_EQ(Settings::qtySymInReport, 3);
  EXPECT_EQ(Settings::enPressCorrect, 1);
  EXPECT_EQ(Settings::enTempCorrect, 1);
  EXPECT_EQ(loaded.exportFolder, u"/tmp/экспорт");
  host.ints.clear();
  loaded.Load();
  EXPECT_EQ(Settings::enPressCorrect, 0);
}

}  // namespace
