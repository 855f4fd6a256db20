// settings_host.cpp: a host table answering "Profile/GetInt" for the program settings.
#include "cli/settings_host.h"

#include <cstring>
#include <map>

#include "platform/sys/text.h"
#include "plugin/host_bridge.h"
#include "plugin/profile.h"
#include "plugin/settings.h"

namespace {

std::map<sys::Text, std::int32_t>& Values() {
  static std::map<sys::Text, std::int32_t> values;
  return values;
}

std::int32_t CommandExists(const char* command) { return std::strcmp(command, "Profile/GetInt") == 0 ? 1 : 0; }

std::int32_t Execute(const char* command, void* key, void* out) {
  if (std::strcmp(command, "Profile/GetInt") != 0 || !key || !out) return 0;
  const auto it = Values().find(static_cast<const char16_t*>(key));
  if (it == Values().end()) return 0;
  *static_cast<std::int32_t*>(out) = it->second;
  return 1;
}

HostApi g_api{nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &Execute, &CommandExists};

}  // namespace

void InstallSettingsHost(bool pressureCorrection, bool temperatureCorrection) {
  auto& v = Values();
  v[ProfileKey(kProgramSettingsSection, u"enPressCorrect")] = pressureCorrection ? 1 : 0;
  v[ProfileKey(kProgramSettingsSection, u"enTempCorrect")] = temperatureCorrection ? 1 : 0;
  SetHost(&g_api);
}
