// module_loader.h: the modules of the plug-in folder, loaded with dlopen and wired to the
// host's callback table.
//
// A module is a shared library exporting GetPluginInfo, Load and Unload. Loading is in
// file-name order: GetPluginInfo(host version word), then Load(&api); a library without
// the three entries, or whose Load does not answer 0, is closed again and reported. The
// host never links a module. Shutdown is two steps so that the host can destroy its window
// tree in between: UnloadAll calls every Unload (last loaded first), CloseAll drops what a
// module left registered and closes the libraries.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "plugin/host_api.h"

class CommandRegistry;

using GetPluginInfoFunction = PluginInfo* (*)(std::uint32_t hostVersion);
using LoadFunction = std::int32_t (*)(HostApi* api);
using UnloadFunction = std::int32_t (*)();

struct LoadedModule {
  std::string path;
  void* library = nullptr;
  const void* base = nullptr;  // load address, to recognise the module's handlers
  UnloadFunction unload = nullptr;
  const PluginInfo* info = nullptr;
  bool unloaded = false;
};

class ModuleSet {
 public:
  ModuleSet() = default;
  ~ModuleSet();  // closes what is still open (UnloadAll + CloseAll should have run)
  ModuleSet(const ModuleSet&) = delete;
  ModuleSet& operator=(const ModuleSet&) = delete;

  // Loads one library; false with the reason in `error`.
  [[nodiscard]] bool LoadModule(const std::filesystem::path& path, std::uint32_t hostVersion, HostApi* api, std::string& error);
  // Loads every "*.so" of `folder`; each failure adds a line to `problems`. Returns how
  // many modules were loaded.
  int LoadFolder(const std::filesystem::path& folder, std::uint32_t hostVersion, HostApi* api,
                 std::vector<std::string>& problems);
  void UnloadAll();
  // Drops every handler a module left in `registry`, then closes the libraries.
  void CloseAll(CommandRegistry& registry);

  const std::vector<LoadedModule>& modules() const { return modules_; }

 private:
  std::vector<LoadedModule> modules_;
};

// The module's name for lists and messages: its product name, else its file name.
std::string ModuleTitle(const LoadedModule& module);
