// libvetrix.so loaded with dlopen by a test that plays host with a small callback table:
// GetPluginInfo, Load, "System/ModulesLoaded" (the command, the menu entry, the database
// location), the menu command opening the main window (and a second one showing the same
// window again) and Unload (the list saved, the handles given back).
#include <gtest/gtest.h>

#include <dlfcn.h>
#include <sys/mman.h>

#include <QApplication>
#include <QWidget>

#include <cstring>
#include <filesystem>
#include <map>
#include <string>

#include "platform/sys/format.h"
#include "platform/win/listctrl.h"
#include "platform/win/qt_bridge.h"
#include "platform/win/automation.h"
#include "platform/win/window.h"
#include "plugin/host_api.h"
#include "tests/ui/main/small_database.h"

namespace {

namespace fs = std::filesystem;

// The host's side: what the module registered and asked for, and the profile store.
struct PlayedHost {
  std::map<std::string, HostEventHandler> events;
  std::map<std::string, HostCommandHandler> commands;
  std::vector<std::int32_t> released;  // handles given back (unsubscribed or unregistered)
  std::vector<std::pair<sys::Text, std::string>> menus;
  std::map<sys::Text, std::int32_t> ints;
  char16_t* uri = nullptr;  // below 2 GiB, so that it fits the 32-bit result
};
PlayedHost* g_host = nullptr;

std::int32_t Subscribe(const char* event, HostEventHandler handler) {
  g_host->events[event] = handler;
  return 11;
}
void Unsubscribe(std::int32_t handle) { g_host->released.push_back(handle); }
std::int32_t RegisterCommand(const char* command, HostCommandHandler handler) {
  g_host->commands[command] = handler;
  return 22;
}
void UnregisterCommand(std::int32_t handle) { g_host->released.push_back(handle); }
std::int32_t CommandExists(const char* command) {
  return std::strcmp(command, "Profile/GetInt") == 0 || std::strcmp(command, "Profile/SetInt") == 0;
}
std::int32_t Execute(const char* command, void* p1, void* p2) {
  const std::string name = command;
  if (name == "MainMenu/CreateNewMenu") {
    const auto* request = static_cast<const MenuItemRequest*>(p2);
    EXPECT_EQ(request->size, sizeof(MenuItemRequest));
    EXPECT_EQ(request->reserved, 0u);
    g_host->menus.emplace_back(request->menuPath, request->command);
    return 1;
  }
  if (name == "DB/GetConnectionUri")
    return static_cast<std::int32_t>(reinterpret_cast<std::uintptr_t>(g_host->uri));
  const sys::Text key = static_cast<const char16_t*>(p1);
  if (name == "Profile/GetInt") {
    auto it = g_host->ints.find(key);
    if (it == g_host->ints.end()) return 0;
    *static_cast<std::int32_t*>(p2) = it->second;
    return 1;
  }
  if (name == "Profile/SetInt") {
    g_host->ints[key] = *static_cast<const std::int32_t*>(p2);
    return 1;
  }
  return 0;
}

using GetPluginInfoFn = PluginInfo* (*)(std::uint32_t);
using LoadFn = std::int32_t (*)(HostApi*);
using UnloadFn = std::int32_t (*)();

TEST(Module, LoadedByAHostThroughItsEntryPoints) {
  const fs::path dir = fs::temp_directory_path() / ("vetrix_ui_module_" + std::to_string(::getpid()));
  fs::create_directories(dir);
  const std::string db = (dir / "host.db").string();
  ASSERT_EQ(CreateSmallDatabase(db), "");

  PlayedHost played;
  g_host = &played;
  const sys::Text location = sys::FromUtf8(db);
  void* low = mmap(nullptr, (location.size() + 1) * 2, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_32BIT, -1, 0);
  ASSERT_NE(low, MAP_FAILED);
  played.uri = static_cast<char16_t*>(low);
  std::memcpy(played.uri, location.c_str(), (location.size() + 1) * 2);
  played.ints[u"plugins\\Vetrix\\Assays/qtyAssays"] = 3;
  for (int i = 0; i < 3; ++i) played.ints[sys::Format(u"plugins\\Vetrix\\Assays/%d_Assay_ID", i)] = 10 + i;

  void* module = dlopen(VETRIX_MODULE_FILE, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(module, nullptr) << dlerror();
  auto getInfo = reinterpret_cast<GetPluginInfoFn>(dlsym(module, "GetPluginInfo"));
  auto load = reinterpret_cast<LoadFn>(dlsym(module, "Load"));
  auto unload = reinterpret_cast<UnloadFn>(dlsym(module, "Unload"));
  ASSERT_TRUE(getInfo && load && unload);

  const PluginInfo* info = getInfo(kCurrentHostVersion);
  ASSERT_NE(info, nullptr);
  EXPECT_EQ(info->size, sizeof(PluginInfo));
  EXPECT_EQ(sys::Text(info->name), u"Vetrix");
  EXPECT_EQ(info->version, 0x01000000u);

  HostApi api{};
  api.Subscribe = &Subscribe;
  api.Unsubscribe = &Unsubscribe;
  api.RegisterCommand = &RegisterCommand;
  api.UnregisterCommand = &UnregisterCommand;
  api.Execute = &Execute;
  api.CommandExists = &CommandExists;
  EXPECT_EQ(load(&api), 0);
  ASSERT_EQ(played.events.count("System/ModulesLoaded"), 1u);
  EXPECT_EQ(played.events["System/ModulesLoaded"](), 0);
  ASSERT_EQ(played.commands.count("Vetrix/MenuCommand"), 1u);
  ASSERT_EQ(played.menus.size(), 1u);
  EXPECT_EQ(played.menus[0].first, u"Данные/Расчёты/Проверка линейности детектора");
  EXPECT_EQ(played.menus[0].second, "Vetrix/MenuCommand");

  auto* hostWindow = new QWidget();
  hostWindow->show();
  HWND hostHandle = win::WrapWidget(hostWindow);
  EXPECT_EQ(played.commands["Vetrix/MenuCommand"](hostHandle), 0);
  win::ProcessPendingMessages();
  HWND main = win::FindDialog(101);
  ASSERT_NE(main, nullptr);
  EXPECT_TRUE(IsWindowVisible(main));
  // The database location was taken: the restored chromatograms 10 to 12 were loaded.
  HWND list = win::FindControl(main, 1016);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(dynamic_cast<CListCtrl*>(CWnd::FromHandle(list))->GetItemCount(), 3);

  ShowWindow(main, SW_HIDE);
  EXPECT_EQ(played.commands["Vetrix/MenuCommand"](hostHandle), 0);
  EXPECT_EQ(win::FindDialog(101), main) << "the same window, shown again";
  EXPECT_TRUE(IsWindowVisible(main));
  int mainWindows = 0;
  for (HWND top : win::TopLevelWindows()) mainWindows += win::DialogTemplateOf(top) == 101;
  EXPECT_EQ(mainWindows, 1);

  played.ints[u"plugins\\Vetrix\\Assays/qtyAssays"] = 0;
  EXPECT_EQ(unload(), 0);
  EXPECT_EQ(played.ints[u"plugins\\Vetrix\\Assays/qtyAssays"], 3) << "a current host: the list is saved in Unload";
  EXPECT_EQ(played.released, (std::vector<std::int32_t>{11, 22}));

  delete hostWindow;  // the host's window tree, with the module's window in it
  win::ProcessPendingMessages();
  EXPECT_EQ(win::FindDialog(101), nullptr);
  dlclose(module);
  munmap(low, (location.size() + 1) * 2);
  g_host = nullptr;
  std::error_code ignored;
  fs::remove_all(dir, ignored);
}

}  // namespace
