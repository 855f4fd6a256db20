// module_entry.cpp: the module's three exported functions (GetPluginInfo, Load, Unload),
// the "System/ModulesLoaded" handler and the "Vetrix/MenuCommand" handler.
//
// Assumes the host calls everything on its user-interface thread and hands the command
// handler its main window as a window-layer handle. Module-wide state: the subscription
// and command handles; the callback table is kept by the host bridge, the main window by
// ui/dlg_main. Nothing here throws into the host: each entry catches what it raises.
#include <cstdint>
#include <exception>

#include "data/database.h"
#include "platform/sys/locale.h"
#include "plugin/host_bridge.h"
#include "plugin/module_identity.h"
#include "plugin/profile.h"
#include "ui/dlg_main.h"
#include "ui/module_resources.h"

#define VETRIX_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

constexpr char kModulesLoadedEvent[] = "System/ModulesLoaded";
constexpr char kMenuCommand[] = "Vetrix/MenuCommand";
constexpr char16_t kMenuPath[] = u"Данные/Расчёты/Проверка линейности детектора";

std::int32_t g_subscription = 0;
std::int32_t g_command = 0;

// First use: Russian number format, the host-version flag, the profile prefix, then the
// main window as a modeless dialog owned by the host window. Later: only shown again.
std::int32_t OnMenuCommand(void* hostWindow) {
  try {
    DlgMain* window = MainWindow();
    if (!window) {
      sys::SetRussianLocale();
      EvaluateHostVersion();
      SetProfilePrefix(kModuleProfilePrefix);
      window = new DlgMain();
      SetMainWindow(window);
      if (!window->Create(kMainTemplate, CWnd::FromHandle(static_cast<HWND>(hostWindow)))) {
        SetMainWindow(nullptr);
        delete window;
        return 0;
      }
    }
    window->ShowWindow(SW_SHOWNORMAL);
  } catch (...) {
    // Nothing may escape into the host; the window's own handlers report their failures.
  }
  return 0;
}

// Registers the menu command, adds the menu entry and takes the database location.
std::int32_t OnModulesLoaded() {
  HostApi* api = Host();
  if (!api) return 0;
  try {
    g_command = api->RegisterCommand(kMenuCommand, &OnMenuCommand);
    MenuItemRequest request{sizeof(MenuItemRequest), kMenuPath, 0, kMenuCommand};
    HostExecute("MainMenu/CreateNewMenu", nullptr, &request);
    // The answer is the text's address, which a 32-bit result cannot carry on this
    // platform: a host that knows writes the full address through param2; otherwise it
    // places the text below 2 GiB and the address is the result zero-extended.
    const char16_t* full = nullptr;
    const std::uint32_t uri = static_cast<std::uint32_t>(HostExecute("DB/GetConnectionUri", nullptr, &full));
    const auto* location = full ? full : reinterpret_cast<const char16_t*>(static_cast<std::uintptr_t>(uri));
    DataBaseConnectionBase::instance().setLocation(location ? sys::TextView(location) : sys::TextView());
  } catch (...) {
    // Out of memory copying the location: the module stays without a database.
  }
  return 0;
}

}  // namespace

VETRIX_EXPORT PluginInfo* GetPluginInfo(std::uint32_t hostVersion) { return ModuleGetPluginInfo(hostVersion); }

VETRIX_EXPORT std::int32_t Load(HostApi* api) {
  SetHost(api);
  try {
    RegisterModuleResources();
  } catch (...) {
    // Out of memory while copying the resources: the windows will not open, the host runs on.
  }
  if (api && api->Subscribe) g_subscription = api->Subscribe(kModulesLoadedEvent, &OnModulesLoaded);
  return 0;
}

VETRIX_EXPORT std::int32_t Unload() {
  try {
    if (DlgMain* window = MainWindow(); window && CurrentHost()) window->SaveChromatogramList();
  } catch (...) {
    // The list stays as last saved; the host must not see the failure.
  }
  if (HostApi* api = Host()) {
    if (api->Unsubscribe) api->Unsubscribe(g_subscription);
    if (api->UnregisterCommand) api->UnregisterCommand(g_command);
  }
  ReleasePluginInfo();
  // The callback table stays ours for the module's whole life: the host destroys its window
  // tree, and with it the module's windows, after Unload, and those windows save their
  // column layout and report options on the way out. After the host closes the library no
  // module code runs that could use the table.
  return 0;
}
