// profile.cpp: the four profile operations over "Profile/GetInt", "Profile/SetInt",
// "Profile/GetString" and "Profile/SetString".
#include "plugin/profile.h"

#include "plugin/host_bridge.h"

namespace {
sys::Text g_prefix;
constexpr std::int32_t kTextCapacity = 128;
}  // namespace

void SetProfilePrefix(sys::TextView prefix) { g_prefix = prefix; }
const sys::Text& ProfilePrefix() { return g_prefix; }

sys::Text ProfileKey(sys::TextView section, sys::TextView key) {
  sys::Text full;
  if (!g_prefix.empty()) {
    full += g_prefix;
    full += u'\\';
  }
  full += section;
  full += u'/';
  full += key;
  return full;
}

std::int32_t GetInt(sys::TextView section, sys::TextView key, std::int32_t def) {
  if (!HostHasCommand("Profile/GetInt")) return def;
  sys::Text full = ProfileKey(section, key);
  std::int32_t value = 0;
  std::int32_t found = HostExecute("Profile/GetInt", full.data(), &value);
  return (found != 0 && value != 0) ? value : def;
}

bool SetInt(sys::TextView section, sys::TextView key, std::int32_t value) {
  if (!HostHasCommand("Profile/SetInt")) return false;
  sys::Text full = ProfileKey(section, key);
  return HostExecute("Profile/SetInt", full.data(), &value) != 0;
}

sys::Text GetString(sys::TextView section, sys::TextView key, sys::TextView def) {
  if (!HostHasCommand("Profile/GetString")) return sys::Text(def);
  sys::Text full = ProfileKey(section, key);
  char16_t buffer[kTextCapacity] = {};
  TextBuffer request{buffer, kTextCapacity};
  if (HostExecute("Profile/GetString", full.data(), &request) == 0) return sys::Text(def);
  std::size_t n = 0;
  while (n < kTextCapacity - 1 && buffer[n] != 0) ++n;  // a host that fills all 128 loses the last
  return sys::Text(buffer, n);
}

bool SetString(sys::TextView section, sys::TextView key, sys::TextView value) {
  if (!HostHasCommand("Profile/SetString")) return false;
  sys::Text full = ProfileKey(section, key);
  sys::Text terminated(value);  // data() of a std::u16string is NUL-terminated
  return HostExecute("Profile/SetString", full.data(), terminated.data()) != 0;
}
