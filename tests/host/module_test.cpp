// module_test.cpp: loading modules from the plug-in folder, the callback table they get,
// their menu entry, and the order of the end: Unload, the window tree, dlclose.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenuBar>
#include <sstream>

#include "host/command_registry.h"
#include "host/host_session.h"
#include "host/main_window.h"
#include "host/profile_store.h"
#include "host/window_handle.h"
#include "host_test_support.h"

namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

class ModuleLoading : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directory(folder_.path() / "plugins");
    std::filesystem::copy_file(LORTAN_TEST_MODULE, folder_.path() / "plugins" / "libtestmodule.so");
    std::filesystem::copy_file(LORTAN_NOT_A_MODULE, folder_.path() / "plugins" / "libnothing.so");
    std::ofstream(folder_.path() / "plugins" / "readme.txt") << "not a library";
    log_ = folder_ / "module.log";
    setenv("LORTAN_TEST_MODULE_LOG", log_.c_str(), 1);
    options_.pluginFolder = folder_ / "plugins";
    options_.profile = folder_ / "profile.db";
    options_.db = folder_ / "host.db";
    options_.templateFolder = LORTAN_TEMPLATE_FOLDER;
  }
  void TearDown() override { unsetenv("LORTAN_TEST_MODULE_LOG"); }

  std::vector<std::string> Log() const { return Lines(ReadWholeFile(log_)); }

  TestFolder folder_;
  std::string log_;
  HostOptions options_;
};

TEST_F(ModuleLoading, ModulesAreLoadedAnnouncedAndGetTheirMenuEntry) {
  options_.hostVersion = 0x040902FFu;
  HostSession session(options_);
  std::string error;
  ASSERT_TRUE(session.Start(error)) << error;
  ASSERT_EQ(session.modules().modules().size(), 1u);
  const LoadedModule& module = session.modules().modules().front();
  EXPECT_EQ(ModuleTitle(module), "Тестовый модуль");
  EXPECT_EQ(module.info->version, 0x01020304u);
  // The library without entry points is reported; the text file is not even tried.
  ASSERT_EQ(session.problems().size(), 1u);
  EXPECT_NE(session.problems()[0].find("libnothing.so"), std::string::npos);
  EXPECT_EQ(session.window()->windowTitle(), QStringLiteral("ПО Лортан"));

  QAction* entry = session.window()->FindMenuEntry(QStringLiteral("Данные/Расчёты/Тестовая команда"));
  ASSERT_TRUE(entry);
  // Module menus go before the host's "Справка".
  const QList<QAction*> top = session.window()->menuBar()->actions();
  ASSERT_GE(top.size(), 3);
  EXPECT_EQ(top[1]->text(), QStringLiteral("Данные"));
  EXPECT_EQ(top.back()->text(), QStringLiteral("Справка"));

  entry->trigger();
  entry->trigger();
  std::int32_t opened = 0;
  CommandRegistry::Instance().Execute("Profile/GetInt", const_cast<char16_t*>(u"test/opened"), &opened);
  EXPECT_EQ(opened, 2);
  session.Shutdown();

  const std::string uri = std::filesystem::absolute(options_.db).string();
  EXPECT_EQ(Log(), (std::vector<std::string>{
                       "info 040902ff", "load 1", "modules-loaded command=1 menu=1", "command window uri=" + uri,
                       "command window uri=" + uri,
                       "unload window",      // Unload runs while the host window exists,
                       "dlclose no-window",  // the window tree is gone before dlclose
                   }));
  EXPECT_EQ(CommandRegistry::Instance().CommandExists("TestModule/Open"), 0);
}

TEST_F(ModuleLoading, ASecondSessionLoadsAFreshCopyOfTheModule) {
  for (int run = 0; run < 2; ++run) {
    HostSession session(options_);
    std::string error;
    ASSERT_TRUE(session.Start(error)) << error;
    session.Shutdown();
  }
  const std::vector<std::string> log = Log();
  // "load 1" twice: dlclose really unloaded the library, its state started afresh.
  EXPECT_EQ(std::count(log.begin(), log.end(), "load 1"), 2);
  EXPECT_EQ(std::count(log.begin(), log.end(), "info 04090300"), 2);  // the default version word
}

TEST_F(ModuleLoading, TheHostWindowHandleLeadsBackToTheMainWindow) {
  HostSession session(options_);
  std::string error;
  ASSERT_TRUE(session.Start(error)) << error;
  void* handle = HostWindowHandle(session.window());
  ASSERT_TRUE(handle);
  EXPECT_EQ(handle, HostWindowHandle(session.window()));
  EXPECT_EQ(WidgetFromHandle(handle), session.window());
  EXPECT_EQ(WidgetFromHandle(nullptr), nullptr);
  session.Shutdown();
}

TEST(CommandRegistry, HandlesCommandsAndSubscriptionsAsModulesUseThem) {
  CommandRegistry& r = CommandRegistry::Instance();
  r.Clear();
  static int events = 0, commands = 0;
  static void* seen = nullptr;
  events = commands = 0;
  HostApi* api = r.Api();
  const std::int32_t a = api->Subscribe("System/ModulesLoaded", [] { return ++events, 0; });
  const std::int32_t b = api->Subscribe("System/ModulesLoaded", [] { return ++events, 0; });
  EXPECT_NE(a, 0);
  EXPECT_NE(a, b);
  EXPECT_EQ(api->Subscribe(nullptr, [] { return 0; }), 0);
  EXPECT_EQ(r.Announce("System/ModulesLoaded"), 2);
  api->Unsubscribe(a);
  EXPECT_EQ(r.Announce("System/ModulesLoaded"), 1);
  EXPECT_EQ(events, 3);

  const std::int32_t c = api->RegisterCommand("M/Run", [](void* w) { return seen = w, ++commands, 0; });
  EXPECT_NE(c, 0);
  EXPECT_EQ(api->RegisterCommand("M/Run", [](void*) { return 0; }), 0);  // taken
  r.AddHostCommand("Host/Thing", [](void*, void*) -> std::int32_t { throw std::runtime_error("boom"); });
  EXPECT_EQ(api->RegisterCommand("Host/Thing", [](void*) { return 0; }), 0);
  EXPECT_EQ(api->CommandExists("M/Run"), 1);
  EXPECT_EQ(api->CommandExists("Host/Thing"), 1);
  EXPECT_EQ(api->CommandExists("Nobody/Has"), 0);
  EXPECT_EQ(api->Execute("Host/Thing", nullptr, nullptr), 0);  // the exception stays in the host
  int window = 0;
  r.SetHostWindow(&window);
  EXPECT_EQ(api->Execute("M/Run", nullptr, nullptr), 1);
  EXPECT_EQ(seen, &window);
  api->UnregisterCommand(c);
  EXPECT_EQ(api->CommandExists("M/Run"), 0);
  EXPECT_EQ(api->Execute("M/Run", nullptr, nullptr), 0);
  EXPECT_EQ(commands, 1);
  r.Clear();
}

TEST(HostMainWindow, MenuPathsMakeSubmenusOnceAndRunTheirCommand) {
  std::vector<std::string> ran;
  HostMainWindow window([&](const std::string& command) { ran.push_back(command); });
  EXPECT_TRUE(window.AddMenuEntry(QStringLiteral("Данные/Расчёты/Первая"), "A/First"));
  EXPECT_TRUE(window.AddMenuEntry(QStringLiteral("Данные//Расчёты/ Вторая "), "A/Second"));
  EXPECT_FALSE(window.AddMenuEntry(QStringLiteral("Данные/Расчёты"), "A/Clash"));  // a submenu
  EXPECT_FALSE(window.AddMenuEntry(QStringLiteral("///"), "A/Nothing"));
  QAction* first = window.FindMenuEntry(QStringLiteral("Данные/Расчёты/Первая"));
  QAction* second = window.FindMenuEntry(QStringLiteral("Данные/Расчёты/Вторая"));
  ASSERT_TRUE(first && second);
  EXPECT_EQ(first->parent(), second->parent());  // one "Расчёты" submenu
  int dataMenus = 0;
  for (QAction* a : window.menuBar()->actions()) dataMenus += a->text() == QStringLiteral("Данные");
  EXPECT_EQ(dataMenus, 1);
  second->trigger();
  first->trigger();
  EXPECT_EQ(ran, (std::vector<std::string>{"A/Second", "A/First"}));
}

}  // namespace
