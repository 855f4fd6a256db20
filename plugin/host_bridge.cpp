// host_bridge.cpp: the module-wide HostApi pointer (written once by Load, read on the
// host's user-interface thread only).
#include "plugin/host_bridge.h"

namespace {
HostApi* g_host = nullptr;
}

HostApi* Host() { return g_host; }
void SetHost(HostApi* api) { g_host = api; }

bool HostHasCommand(const char* command) {
  return g_host && g_host->CommandExists && g_host->CommandExists(command) != 0;
}

std::int32_t HostExecute(const char* command, void* param1, void* param2) {
  if (!g_host || !g_host->Execute) return 0;
  return g_host->Execute(command, param1, param2);
}
