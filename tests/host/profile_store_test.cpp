// profile_store_test.cpp: the host profile in its SQLite file and the four profile commands.
#include "host/profile_store.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "host/command_registry.h"
#include "host/host_commands.h"
#include "host_test_support.h"

namespace {

std::unique_ptr<ProfileStore> OpenStore(const std::string& path) {
  std::string error;
  auto store = ProfileStore::Open(path, error);
  EXPECT_TRUE(store) << error;
  return store;
}

TEST(ProfileStore, ValuesSurviveARestartWithZeroAndEmptyStoredAsGiven) {
  TestFolder folder;
  const std::string path = folder / "nested/lortan/profile.db";  // the folders are created
  const sys::Text long200(200, u'ж');
  {
    auto store = OpenStore(path);
    ASSERT_TRUE(store);
    EXPECT_TRUE(store->SetInt(u"plugins\\Vetrix\\ProgramSettings/qtySymInProg", 0));
    EXPECT_TRUE(store->SetInt(u"plugins\\Vetrix\\ProgramSettings/qtySymInReport", -4));
    EXPECT_TRUE(store->SetInt(u"plugins\\Vetrix\\Assays/qtyAssays", 7));
    EXPECT_TRUE(store->SetInt(u"plugins\\Vetrix\\Assays/qtyAssays", 9));  // replaced, not added
    EXPECT_TRUE(store->SetString(u"plugins\\Vetrix\\ReportSettings/Operator", long200));
    EXPECT_TRUE(store->SetString(u"plugins\\Vetrix\\ProgramSettings/ExportFolder", u""));
  }
  auto store = OpenStore(path);
  ASSERT_TRUE(store);
  EXPECT_EQ(store->GetInt(u"plugins\\Vetrix\\ProgramSettings/qtySymInProg"), 0);
  EXPECT_EQ(store->GetInt(u"plugins\\Vetrix\\ProgramSettings/qtySymInReport"), -4);
  EXPECT_EQ(store->GetInt(u"plugins\\Vetrix\\Assays/qtyAssays"), 9);
  EXPECT_EQ(store->GetString(u"plugins\\Vetrix\\ReportSettings/Operator"), long200);
  EXPECT_EQ(store->GetString(u"plugins\\Vetrix\\ProgramSettings/ExportFolder"), sys::Text());
  // Absent keys, a key differing in case, and the other kind of value are not found.
  EXPECT_FALSE(store->GetInt(u"plugins\\Vetrix\\Assays/qtyassays"));
  EXPECT_FALSE(store->GetString(u"plugins\\Vetrix\\Assays/qtyAssays"));
  EXPECT_FALSE(store->GetInt(u"plugins\\Vetrix\\ReportSettings/Operator"));
}

// A value the host answered "stored" for is on disk: a host killed right after keeps it.
TEST(ProfileStore, AStoredValueSurvivesTheHostBeingKilled) {
  TestFolder folder;
  const std::string path = folder / "profile.db";
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    std::string error;
    auto store = ProfileStore::Open(path, error);
    const bool stored = store && store->SetInt(u"k/int", 42) && store->SetString(u"k/text", u"значение");
    if (stored) raise(SIGKILL);
    _exit(3);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFSIGNALED(status)) << "the child could not store its values";
  auto store = OpenStore(path);
  ASSERT_TRUE(store);
  EXPECT_EQ(store->GetInt(u"k/int"), 42);
  EXPECT_EQ(store->GetString(u"k/text"), u"значение");
}

TEST(ProfileStore, AnUnopenableFileIsReported) {
  TestFolder folder;
  std::filesystem::create_directory(folder / "a-folder");
  std::string error;
  EXPECT_FALSE(ProfileStore::Open(folder / "a-folder", error));
  EXPECT_FALSE(error.empty());
}

TEST(ProfileStore, DefaultLocationFollowsXdgConfigHome) {
  const char* saved = std::getenv("XDG_CONFIG_HOME");
  const std::string keep = saved ? saved : "";
  setenv("XDG_CONFIG_HOME", "/somewhere/config", 1);
  EXPECT_EQ(DefaultProfilePath(), "/somewhere/config/lortan/profile.db");
  setenv("XDG_CONFIG_HOME", "relative", 1);  // not absolute: ignored, as the XDG base directory rules say
  const char* home = std::getenv("HOME");
  EXPECT_EQ(DefaultProfilePath(), std::string(home ? home : ".") + "/.config/lortan/profile.db");
  if (saved)
    setenv("XDG_CONFIG_HOME", keep.c_str(), 1);
  else
    unsetenv("XDG_CONFIG_HOME");
}

// The commands as a module calls them through the table.
class ProfileCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    store_ = OpenStore(folder_ / "profile.db");
    services_.profile = store_.get();
    CommandRegistry::Instance().Clear();
    RegisterHostCommands(CommandRegistry::Instance(), services_);
    api_ = CommandRegistry::Instance().Api();
  }
  void TearDown() override { CommandRegistry::Instance().Clear(); }

  std::int32_t Run(const char* command, const char16_t* key, void* value) {
    return api_->Execute(command, const_cast<char16_t*>(key), value);
  }

  TestFolder folder_;
  std::unique_ptr<ProfileStore> store_;
  HostServices services_;
  HostApi* api_ = nullptr;
};

TEST_F(ProfileCommands, IntegersRoundTripAndAMissingKeyLeavesTheOutputAlone) {
  std::int32_t zero = 0, out = 55;
  EXPECT_EQ(Run("Profile/SetInt", u"plugins\\Vetrix\\ProgramSettings/enPressCorrect", &zero), 1);
  EXPECT_EQ(Run("Profile/GetInt", u"plugins\\Vetrix\\ProgramSettings/enPressCorrect", &out), 1);
  EXPECT_EQ(out, 0);
  out = 55;
  EXPECT_EQ(Run("Profile/GetInt", u"plugins\\Vetrix\\ProgramSettings/none", &out), 0);
  EXPECT_EQ(out, 55);
  EXPECT_EQ(Run("Profile/GetInt", nullptr, &out), 0);
  EXPECT_EQ(Run("Profile/GetInt", u"k", nullptr), 0);
  EXPECT_EQ(Run("Profile/SetInt", u"k", nullptr), 0);
  for (const char* c : {"Profile/GetInt", "Profile/SetInt", "Profile/GetString", "Profile/SetString"})
    EXPECT_EQ(api_->CommandExists(c), 1) << c;
}

TEST_F(ProfileCommands, StringsAreCutToTheBufferWithoutSplittingACharacter) {
  const sys::Text value(200, u'д');
  EXPECT_EQ(Run("Profile/SetString", u"plugins\\Vetrix\\ReportSettings/Operator", const_cast<char16_t*>(value.c_str())),
            1);
  char16_t text[128];
  TextBuffer buffer{text, 128};
  EXPECT_EQ(Run("Profile/GetString", u"plugins\\Vetrix\\ReportSettings/Operator", &buffer), 1);
  EXPECT_EQ(sys::Text(text), value.substr(0, 127));

  // A character outside the basic plane at the cut goes whole or not at all.
  const sys::Text emoji = sys::Text(126, u'a') + u"\U0001F600";
  EXPECT_EQ(Run("Profile/SetString", u"k/emoji", const_cast<char16_t*>(emoji.c_str())), 1);
  EXPECT_EQ(Run("Profile/GetString", u"k/emoji", &buffer), 1);
  EXPECT_EQ(sys::Text(text), sys::Text(126, u'a'));

  EXPECT_EQ(Run("Profile/GetString", u"k/none", &buffer), 0);
  TextBuffer empty{text, 0};
  EXPECT_EQ(Run("Profile/GetString", u"k/emoji", &empty), 0);
  EXPECT_EQ(Run("Profile/SetString", u"k/null", nullptr), 0);
}

}  // namespace
