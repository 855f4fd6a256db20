// module_loader.cpp: dlopen, the three entry points and the shutdown order (see
// module_loader.h).
#include "host/module_loader.h"

#include <dlfcn.h>

#include <algorithm>
#include <cstdio>

#include "host/command_registry.h"
#include "platform/sys/text.h"

namespace {

template <class F>
F Entry(void* library, const char* name) {
  return reinterpret_cast<F>(dlsym(library, name));
}

}  // namespace

ModuleSet::~ModuleSet() {
  for (auto it = modules_.rbegin(); it != modules_.rend(); ++it)
    if (it->library) dlclose(it->library);
}

bool ModuleSet::LoadModule(const std::filesystem::path& path, std::uint32_t hostVersion, HostApi* api,
                           std::string& error) {
  void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!library) {
    const char* why = dlerror();
    error = why ? why : "dlopen failed";
    return false;
  }
  const auto getInfo = Entry<GetPluginInfoFunction>(library, "GetPluginInfo");
  const auto load = Entry<LoadFunction>(library, "Load");
  const auto unload = Entry<UnloadFunction>(library, "Unload");
  if (!getInfo || !load || !unload) {
    error = path.string() + ": not a module (GetPluginInfo, Load or Unload missing)";
    dlclose(library);
    return false;
  }
  LoadedModule module{path.string(), library, nullptr, unload, getInfo(hostVersion), false};
  Dl_info where{};
  if (dladdr(reinterpret_cast<const void*>(load), &where)) module.base = where.dli_fbase;
  if (const std::int32_t rc = load(api); rc != 0) {
    error = path.string() + ": Load answered " + std::to_string(rc);
    CommandRegistry::Instance().DropHandlersOf(module.base);
    dlclose(library);
    return false;
  }
  modules_.push_back(module);
  return true;
}

int ModuleSet::LoadFolder(const std::filesystem::path& folder, std::uint32_t hostVersion, HostApi* api,
                          std::vector<std::string>& problems) {
  std::error_code ec;
  std::vector<std::filesystem::path> files;
  for (const auto& entry : std::filesystem::directory_iterator(folder, ec))
    if (entry.path().extension() == ".so" && entry.is_regular_file(ec)) files.push_back(entry.path());
  if (ec) {
    problems.push_back("cannot read the plug-in folder " + folder.string() + ": " + ec.message());
    return 0;
  }
  std::sort(files.begin(), files.end());
  int loaded = 0;
  for (const auto& file : files) {
    std::string error;
    if (LoadModule(file, hostVersion, api, error))
      ++loaded;
    else
      problems.push_back(error);
  }
  return loaded;
}

void ModuleSet::UnloadAll() {
  for (auto it = modules_.rbegin(); it != modules_.rend(); ++it) {
    if (it->unloaded) continue;
    it->unloaded = true;
    it->unload();
  }
}

void ModuleSet::CloseAll(CommandRegistry& registry) {
  for (auto it = modules_.rbegin(); it != modules_.rend(); ++it) {
    if (!it->library) continue;
    if (const int left = registry.DropHandlersOf(it->base); left > 0)
      std::fprintf(stderr, "lortan: %s left %d handler(s) registered after Unload\n", ModuleTitle(*it).c_str(), left);
    dlclose(it->library);
    it->library = nullptr;
  }
  modules_.clear();
}

std::string ModuleTitle(const LoadedModule& module) {
  if (module.info && module.info->name && *module.info->name) return sys::ToUtf8(module.info->name);
  return std::filesystem::path(module.path).filename().string();
}
