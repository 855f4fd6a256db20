// host_session.h: one run of the host — profile, main window, commands, modules — from
// start to the orderly end.
//
// Start: the profile store is opened, the main window made, the host commands registered,
// every module of the plug-in folder loaded (GetPluginInfo with the host version word,
// Load), and "System/ModulesLoaded" announced. Shutdown: every module's Unload, then the
// host's window tree is destroyed (with whatever modules parented to it), then the
// libraries are closed; the QApplication must outlive the session.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/host_commands.h"
#include "host/host_options.h"
#include "host/module_loader.h"

class HostMainWindow;
class PrivateProfile;
class ProfileStore;

inline constexpr char kModulesLoadedEvent[] = "System/ModulesLoaded";

class HostSession {
 public:
  explicit HostSession(HostOptions options);
  ~HostSession();
  HostSession(const HostSession&) = delete;
  HostSession& operator=(const HostSession&) = delete;

  // False with one line in `error` when the host cannot run (no profile store). Module
  // problems do not stop it; they are in problems().
  [[nodiscard]] bool Start(std::string& error);
  void Shutdown();

  // Runs the module command behind the menu entry `path`; false when there is none.
  [[nodiscard]] bool RunMenuEntry(const QString& path);

  HostMainWindow* window() const { return window_; }
  HostServices& services() { return services_; }
  ModuleSet& modules() { return modules_; }
  const HostOptions& options() const { return options_; }
  const std::vector<std::string>& problems() const { return problems_; }

 private:
  void RunCommand(const std::string& command);
  void BuildHostMenus();
  void ShowModules();
  QString Information() const;

  HostOptions options_;
  std::unique_ptr<PrivateProfile> privateProfile_;  // batch without --profile; outlives profile_
  std::unique_ptr<ProfileStore> profile_;
  HostServices services_;
  HostMainWindow* window_ = nullptr;
  ModuleSet modules_;
  std::vector<std::string> problems_;
  bool started_ = false;
};

// Default folders: "plugins" and "templates" next to the program (build tree), else
// ../lib/vetrix/plugins and ../share/vetrix/templates (installed tree).
std::string DefaultPluginFolder();
std::string DefaultTemplateFolder();
