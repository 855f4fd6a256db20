// host_bridge.h: the module-wide pointer to the host's callback table and the guarded
// command calls every host service goes through.
#pragma once

#include <cstdint>

#include "plugin/host_api.h"

// Set by Load and kept for the whole module life (Unload does not clear it: the module's
// windows, destroyed after Unload, still save through it); null before Load and in tests
// without a host.
HostApi* Host();
void SetHost(HostApi* api);

// CommandExists through the table; false without a host or without the entry.
bool HostHasCommand(const char* command);

// Execute through the table; 0 without a host.
std::int32_t HostExecute(const char* command, void* param1, void* param2);
