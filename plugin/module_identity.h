// module_identity.h: who the module is — its version block, the record GetPluginInfo
// hands the host, and whether the host is current (version word at least 4.9.3.0).
#pragma once

#include <cstdint>

#include "platform/sys/text.h"
#include "plugin/host_api.h"

// Reads the module's own version block while at least one instance lives: the first
// instance reads it, the last one to go frees the values. Keys and values in the same
// order: "CompanyName", "FileDescription", "FileVersion", "InternalName",
// "LegalCopyright", "OriginalFilename", "ProductName", "ProductVersion". Without a
// Russian translation (language 25 or 1049) every value is empty.
class ModuleVersionInfo {
 public:
  static constexpr int kKeyCount = 8;
  static const char16_t* const kKeys[kKeyCount];

  ModuleVersionInfo();
  ~ModuleVersionInfo();
  ModuleVersionInfo(const ModuleVersionInfo&) = delete;
  ModuleVersionInfo& operator=(const ModuleVersionInfo&) = delete;

  // The value of key `i` (empty when out of range or not present).
  const sys::Text& Value(int i) const;
  const sys::Text& Value(sys::TextView key) const;
  // Product version packed one byte per part, major highest (1.6.0.0 -> 0x01060000).
  std::uint32_t PackedProductVersion() const;

  // Number of times the block was read since the module loaded (for tests).
  static int ReadCount();
};

// Module-wide copies the reader keeps: "FileVersion", "ProductVersion", "OriginalFilename".
const sys::Text& ModuleFileVersion();
const sys::Text& ModuleProductVersion();
const sys::Text& ModuleOriginalFilename();

// The host's version word as GetPluginInfo received it (0 before).
std::uint32_t HostVersionWord();
// Sets currentHost when the host version word is at least 0x04090300, clears it otherwise.
void EvaluateHostVersion();
bool CurrentHost();

// Fills and returns the module's PluginInfo (static storage); on its first call makes the
// ModuleVersionInfo that fills it.
PluginInfo* ModuleGetPluginInfo(std::uint32_t hostVersion);
// Destroys the ModuleVersionInfo made by ModuleGetPluginInfo (Unload does this).
void ReleasePluginInfo();

// Registers the module's compiled-in version block under the module's file name. The
// reader does this on first use unless a block is registered for that file already.
void RegisterModuleVersionResource();
