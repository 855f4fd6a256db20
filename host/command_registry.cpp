// command_registry.cpp: the HostApi table and its registry (see command_registry.h).
#include "host/command_registry.h"

#include <dlfcn.h>

#include <algorithm>
#include <cstdio>
#include <exception>

namespace {

std::int32_t ApiSubscribe(const char* event, HostEventHandler handler) {
  return CommandRegistry::Instance().Subscribe(event, handler);
}
void ApiUnsubscribe(std::int32_t handle) { CommandRegistry::Instance().Unsubscribe(handle); }
std::int32_t ApiRegisterCommand(const char* command, HostCommandHandler handler) {
  return CommandRegistry::Instance().RegisterCommand(command, handler);
}
void ApiUnregisterCommand(std::int32_t handle) { CommandRegistry::Instance().UnregisterCommand(handle); }
std::int32_t ApiExecute(const char* command, void* param1, void* param2) {
  return CommandRegistry::Instance().Execute(command, param1, param2);
}
std::int32_t ApiCommandExists(const char* command) { return CommandRegistry::Instance().CommandExists(command); }

const void* BaseOf(const void* code) {
  Dl_info info{};
  return dladdr(code, &info) ? info.dli_fbase : nullptr;
}

}  // namespace

CommandRegistry& CommandRegistry::Instance() {
  static CommandRegistry registry;
  return registry;
}

CommandRegistry::CommandRegistry() {
  api_.Subscribe = ApiSubscribe;
  api_.Unsubscribe = ApiUnsubscribe;
  api_.RegisterCommand = ApiRegisterCommand;
  api_.UnregisterCommand = ApiUnregisterCommand;
  api_.Execute = ApiExecute;
  api_.CommandExists = ApiCommandExists;
}

void CommandRegistry::AddHostCommand(const std::string& name, HostCommand command) {
  hostCommands_[name] = std::move(command);
}

void CommandRegistry::Clear() {
  subscriptions_.clear();
  commands_.clear();
  commandsByName_.clear();
  hostCommands_.clear();
  hostWindow_ = nullptr;
}

std::int32_t CommandRegistry::Subscribe(const char* event, HostEventHandler handler) {
  if (!event || !handler) return 0;
  const std::int32_t handle = nextHandle_++;
  subscriptions_.push_back({handle, event, handler});
  return handle;
}

void CommandRegistry::Unsubscribe(std::int32_t handle) {
  std::erase_if(subscriptions_, [&](const Subscription& s) { return s.handle == handle; });
}

std::int32_t CommandRegistry::RegisterCommand(const char* command, HostCommandHandler handler) {
  if (!command || !handler || commandsByName_.count(command) || hostCommands_.count(command)) return 0;
  const std::int32_t handle = nextHandle_++;
  commands_[handle] = {handle, command, handler};
  commandsByName_[command] = handle;
  return handle;
}

void CommandRegistry::UnregisterCommand(std::int32_t handle) {
  auto it = commands_.find(handle);
  if (it == commands_.end()) return;
  commandsByName_.erase(it->second.name);
  commands_.erase(it);
}

std::int32_t CommandRegistry::Execute(const char* command, void* param1, void* param2) {
  if (!command) return 0;
  if (auto host = hostCommands_.find(command); host != hostCommands_.end()) {
    const HostCommand run = host->second;  // a copy: the command may replace itself
    try {
      return run(param1, param2);
    } catch (const std::exception& e) {
      std::fprintf(stderr, "lortan: the command %s failed: %s\n", command, e.what());
    } catch (...) {
      std::fprintf(stderr, "lortan: the command %s failed\n", command);
    }
    return 0;
  }
  if (commandsByName_.count(command)) return RunModuleCommand(command, param1 ? param1 : hostWindow_) ? 1 : 0;
  return 0;
}

std::int32_t CommandRegistry::CommandExists(const char* command) const {
  if (!command) return 0;
  return hostCommands_.count(command) || commandsByName_.count(command) ? 1 : 0;
}

int CommandRegistry::Announce(const std::string& event) {
  std::vector<Subscription> now;
  std::copy_if(subscriptions_.begin(), subscriptions_.end(), std::back_inserter(now),
               [&](const Subscription& s) { return s.event == event; });
  int called = 0;
  for (const Subscription& s : now) {
    const bool stillSubscribed = std::any_of(subscriptions_.begin(), subscriptions_.end(),
                                             [&](const Subscription& live) { return live.handle == s.handle; });
    if (!stillSubscribed) continue;
    s.handler();
    ++called;
  }
  return called;
}

bool CommandRegistry::RunModuleCommand(const std::string& name, void* hostWindow) {
  auto byName = commandsByName_.find(name);
  if (byName == commandsByName_.end()) return false;
  const HostCommandHandler handler = commands_.at(byName->second).handler;
  handler(hostWindow);
  return true;
}

int CommandRegistry::DropHandlersOf(const void* moduleBase) {
  if (!moduleBase) return 0;
  int dropped = 0;
  dropped += static_cast<int>(std::erase_if(subscriptions_, [&](const Subscription& s) {
    return BaseOf(reinterpret_cast<const void*>(s.handler)) == moduleBase;
  }));
  for (auto it = commands_.begin(); it != commands_.end();) {
    if (BaseOf(reinterpret_cast<const void*>(it->second.handler)) == moduleBase) {
      commandsByName_.erase(it->second.name);
      it = commands_.erase(it);
      ++dropped;
    } else {
      ++it;
    }
  }
  return dropped;
}
