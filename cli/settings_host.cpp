// settings_host.cpp: a host table answering "Profile/GetInt" and "Profile/GetString" for the
// program settings.
#include "cli/settings_host.h"

#include <algorithm>
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

std::map<sys::Text, sys::Text>& Texts() {
  static std::map<sys::Text, sys::Text> texts;
  return texts;
}

std::int32_t CommandExists(const char* command) {
  return std::strcmp(command, "Profile/GetInt") == 0 || std::strcmp(command, "Profile/GetString") == 0 ? 1 : 0;
}

std::int32_t Execute(const char* command, void* key, void* out) {
  if (!key || !out) return 0;
  const sys::Text full = static_cast<const char16_t*>(key);
  if (std::strcmp(command, "Profile/GetInt") == 0) {
    const auto it = Values().find(full);
    if (it == Values().end()) return 0;
    *static_cast<std::int32_t*>(out) = it->second;
    return 1;
  }
  if (std::strcmp(command, "Profile/GetString") == 0) {
    const auto it = Texts().find(full);
    auto* buffer = static_cast<TextBuffer*>(out);
    if (it == Texts().end() || buffer->capacity <= 0) return 0;
    const std::size_t n = std::min<std::size_t>(it->second.size(), static_cast<std::size_t>(buffer->capacity) - 1);
    std::copy_n(it->second.data(), n, buffer->text);
    buffer->text[n] = 0;
    return 1;
  }
  return 0;
}

HostApi g_api{nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &Execute, &CommandExists};

}  // namespace

void InstallSettingsHost(bool pressureCorrection, bool temperatureCorrection, std::int32_t digits,
                         const std::string& exportFolder) {
  auto& v = Values();
  v[ProfileKey(kProgramSettingsSection, u"qtySymInProg")] = digits;
  Texts()[ProfileKey(kProgramSettingsSection, u"ExportFolder")] = sys::FromUtf8(exportFolder);
  v[ProfileKey(kProgramSettingsSection, u"enPressCorrect")] = pressureCorrection ? 1 : 0;
  v[ProfileKey(kProgramSettingsSection, u"enTempCorrect")] = temperatureCorrection ? 1 : 0;
  SetHost(&g_api);
}
