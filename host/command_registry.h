// command_registry.h: the host's callback table (HostApi) and what stands behind it —
// event subscriptions, the commands modules register, and the host's own commands.
//
// HostApi entries are plain C functions without a context argument, so the registry is
// one process-wide object. Everything runs on the user-interface thread. Nothing thrown by
// a host command reaches a module: Execute answers 0 and reports the failure on standard
// error. Handlers may subscribe, register or unregister while an event is announced.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "plugin/host_api.h"

class CommandRegistry {
 public:
  // A host command: (param1, param2) → the command's 32-bit answer.
  using HostCommand = std::function<std::int32_t(void* param1, void* param2)>;

  static CommandRegistry& Instance();

  // The table handed to modules; lives as long as the process.
  HostApi* Api() { return &api_; }

  // Adds or replaces a host command.
  void AddHostCommand(const std::string& name, HostCommand command);
  // Forgets every subscription, module command and host command (between tests).
  void Clear();

  // What the table's entries do. Handles start at 1; 0 means refused (a null name or
  // handler, or a command name already taken).
  std::int32_t Subscribe(const char* event, HostEventHandler handler);
  void Unsubscribe(std::int32_t handle);
  std::int32_t RegisterCommand(const char* command, HostCommandHandler handler);
  void UnregisterCommand(std::int32_t handle);
  // A host command runs with its two parameters; a module command runs its handler with
  // the host window handle (param1 when given, else the host's main window). 0 for an
  // unknown command.
  std::int32_t Execute(const char* command, void* param1, void* param2);
  std::int32_t CommandExists(const char* command) const;

  // Calls every handler subscribed to `event`, in subscription order; returns how many.
  int Announce(const std::string& event);
  // Runs the module command `name` with `hostWindow`; false when no module registered it.
  bool RunModuleCommand(const std::string& name, void* hostWindow);
  bool HasModuleCommand(const std::string& name) const { return commandsByName_.count(name) != 0; }
  // The window handle module commands get when Execute is not given one.
  void SetHostWindow(void* handle) { hostWindow_ = handle; }

  // Drops the subscriptions and commands whose handlers lie in the module loaded at
  // `moduleBase` (its load address); returns how many were left behind by it.
  int DropHandlersOf(const void* moduleBase);

 private:
  CommandRegistry();

  struct Subscription {
    std::int32_t handle;
    std::string event;
    HostEventHandler handler;
  };
  struct ModuleCommand {
    std::int32_t handle;
    std::string name;
    HostCommandHandler handler;
  };

  HostApi api_{};
  std::int32_t nextHandle_ = 1;
  std::vector<Subscription> subscriptions_;
  std::map<std::int32_t, ModuleCommand> commands_;
  std::map<std::string, std::int32_t> commandsByName_;
  std::map<std::string, HostCommand> hostCommands_;
  void* hostWindow_ = nullptr;
};
