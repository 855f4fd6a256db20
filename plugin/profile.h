// profile.h: the module's access to the host profile store.
//
// A value is addressed by section and key; the host sees the full key
//   prefix + '\' + section + '/' + key     (or section + '/' + key with an empty prefix).
// Every operation first asks the host whether its command exists; without it reads give
// their default and writes are dropped (result false). No caching: each call asks the host.
#pragma once

#include <cstdint>

#include "platform/sys/text.h"

inline constexpr char16_t kModuleProfilePrefix[] = u"plugins\\Vetrix";

void SetProfilePrefix(sys::TextView prefix);
const sys::Text& ProfilePrefix();
sys::Text ProfileKey(sys::TextView section, sys::TextView key);

// The stored value, or `def` when the command is missing, the host answers 0, or the
// stored value is 0 (a stored 0 therefore reads back as the default).
std::int32_t GetInt(sys::TextView section, sys::TextView key, std::int32_t def);
bool SetInt(sys::TextView section, sys::TextView key, std::int32_t value);

// The stored text up to its NUL, at most 127 characters; `def` when the command is
// missing or the host answers 0.
sys::Text GetString(sys::TextView section, sys::TextView key, sys::TextView def);
bool SetString(sys::TextView section, sys::TextView key, sys::TextView value);
