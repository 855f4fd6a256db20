// test_module.cpp: a tiny module for the host's tests — the fake module a host test may use.
//
// It does what a real module does with the host's table: Load subscribes to
// "System/ModulesLoaded", whose handler registers "TestModule/Open" and adds the menu
// entry "Данные/Расчёты/Тестовая команда"; the command asks "DB/GetConnectionUri" and
// "Profile/SetInt"; Unload gives the handles back. Every step is appended to the file
// named by LORTAN_TEST_MODULE_LOG, with whether the host window still exists, so a test can
// check the order of the host's calls — including the library's own end at dlclose.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/sys/text.h"
#include "platform/win/window.h"
#include "plugin/host_api.h"

#define TEST_MODULE_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

HostApi* g_api = nullptr;
std::int32_t g_event = 0;
std::int32_t g_command = 0;
HWND g_hostWindow = nullptr;
int g_loads = 0;  // starts at 0 again only if dlclose really unloaded the library

PluginInfo g_info{sizeof(PluginInfo),
                  u"Тестовый модуль",
                  0x01020304u,
                  u"Модуль для проверки хоста",
                  u"Vetrix",
                  u"support@example.org",
                  u"(c) tests",
                  u"https://example.org",
                  {0x12345678u, 0x9ABC, 0xDEF0, {1, 2, 3, 4, 5, 6, 7, 8}}};

void Log(const std::string& line) {
  const char* path = std::getenv("LORTAN_TEST_MODULE_LOG");
  if (!path) return;
  if (std::FILE* f = std::fopen(path, "a")) {
    std::fprintf(f, "%s\n", line.c_str());
    std::fclose(f);
  }
}

std::string WindowState() { return g_hostWindow ? (IsWindow(g_hostWindow) ? "window" : "no-window") : "no-handle"; }

struct AtLibraryEnd {
  ~AtLibraryEnd() { Log("dlclose " + WindowState()); }
} g_atLibraryEnd;

std::int32_t OnOpen(void* hostWindow) {
  g_hostWindow = static_cast<HWND>(hostWindow);
  const std::int32_t answer = g_api->Execute("DB/GetConnectionUri", nullptr, nullptr);
  const auto* uri = reinterpret_cast<const char16_t*>(static_cast<std::uintptr_t>(static_cast<std::uint32_t>(answer)));
  Log("command " + WindowState() + " uri=" + (uri ? sys::ToUtf8(uri) : std::string("(null)")));
  std::int32_t opened = 0;
  g_api->Execute("Profile/GetInt", const_cast<char16_t*>(u"test/opened"), &opened);
  ++opened;
  g_api->Execute("Profile/SetInt", const_cast<char16_t*>(u"test/opened"), &opened);
  return 0;
}

std::int32_t OnModulesLoaded() {
  g_command = g_api->RegisterCommand("TestModule/Open", OnOpen);
  MenuItemRequest request{sizeof(MenuItemRequest), u"Данные/Расчёты/Тестовая команда", 0, "TestModule/Open"};
  const std::int32_t added = g_api->Execute("MainMenu/CreateNewMenu", nullptr, &request);
  Log("modules-loaded command=" + std::to_string(g_command != 0) + " menu=" + std::to_string(added));
  return 0;
}

}  // namespace

TEST_MODULE_EXPORT PluginInfo* GetPluginInfo(std::uint32_t hostVersion) {
  char word[16];
  std::snprintf(word, sizeof word, "%08x", hostVersion);
  Log(std::string("info ") + word);
  return &g_info;
}

TEST_MODULE_EXPORT std::int32_t Load(HostApi* api) {
  g_api = api;
  ++g_loads;
  g_event = api->Subscribe("System/ModulesLoaded", OnModulesLoaded);
  Log("load " + std::to_string(g_loads));
  return 0;
}

TEST_MODULE_EXPORT std::int32_t Unload() {
  Log("unload " + WindowState());
  g_api->Unsubscribe(g_event);
  g_api->UnregisterCommand(g_command);
  return 0;
}
