// version_info.h: version resources of loaded modules, read the way a module reads its
// own version block: by file name, as one opaque block, queried by sub-block path.
//
// A module carries its version block as compiled-in data and registers it at load time
// under its own file name (found from an address inside it). The block holds the fixed
// part (file and product version, four 16-bit parts each), the translation table
// (language, code page pairs) and string tables per translation. Queries:
//   "\"                                  -> FixedFileInfo
//   "\VarFileInfo\Translation"           -> array of (uint16 language, uint16 code page)
//   "\StringFileInfo\<llllcccc>\<Key>"   -> NUL-terminated UTF-16 value
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/sys/text.h"

namespace sys {

struct VersionString {
  const char16_t* key;
  const char16_t* value;
};

struct VersionTranslation {
  std::uint16_t language;
  std::uint16_t codePage;
  const VersionString* strings;
  std::size_t stringCount;
};

struct VersionResource {
  std::uint16_t fileVersion[4];
  std::uint16_t productVersion[4];
  const VersionTranslation* translations;
  std::size_t translationCount;
};

struct FixedFileInfo {
  std::uint32_t fileVersionMS, fileVersionLS;        // major << 16 | minor, build << 16 | revision
  std::uint32_t productVersionMS, productVersionLS;
};

// The file name of the module (shared object or executable) that holds `address`, at
// most `maxChars` characters; empty when it cannot be told.
Text ModuleFileName(const void* address, std::size_t maxChars = 260);

// Registers `resource` (static storage) as the version block of the module holding
// `addressInModule`. A second registration for the same file replaces the first.
void RegisterVersionResource(const void* addressInModule, const VersionResource* resource);

// Size of the version block of `fileName`, 0 when it has none.
std::uint32_t GetFileVersionInfoSizeW(TextView fileName);
// Copies the block into data[0, size); false when there is none or size is too small.
bool GetFileVersionInfoW(TextView fileName, std::uint32_t size, void* data);
// Finds `subBlock` in a copied block; false when it is absent. *length: bytes for "\",
// bytes for the translation array, characters (with the NUL) for a string.
bool VerQueryValueW(const void* data, TextView subBlock, const void** value, std::uint32_t* length);

}  // namespace sys
