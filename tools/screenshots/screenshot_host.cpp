// screenshot_host.cpp: the profile store and the analysis chooser behind ScreenshotHost.
#include "tools/screenshots/screenshot_host.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "plugin/host_bridge.h"

namespace {
ScreenshotHost* g_host = nullptr;
}

ScreenshotHost::ScreenshotHost() {
  api_.Execute = &ScreenshotHost::Execute;
  api_.CommandExists = &ScreenshotHost::CommandExists;
  g_host = this;
  SetHost(&api_);
}

ScreenshotHost::~ScreenshotHost() {
  SetHost(nullptr);
  g_host = nullptr;
}

// Answers 1 for the profile commands and the chooser, 0 for everything else.
std::int32_t ScreenshotHost::CommandExists(const char* command) {
  static const char* const known[] = {"Profile/GetInt", "Profile/SetInt", "Profile/GetString", "Profile/SetString",
                                      "Main/OpenAssayIdDlgEx"};
  return std::any_of(std::begin(known), std::end(known), [&](const char* k) { return std::strcmp(k, command) == 0; });
}

// The profile keeps values in memory; the chooser copies chosenAssays up to the buffer's
// capacity and answers how many it wrote. Unknown commands answer 0.
std::int32_t ScreenshotHost::Execute(const char* command, void* p1, void* p2) {
  ScreenshotHost& h = *g_host;
  const std::string cmd(command);
  if (cmd == "Main/OpenAssayIdDlgEx") {
    auto* buffer = static_cast<AssayIdBuffer*>(p1);
    if (!buffer || !buffer->ids || buffer->capacity <= 0) return 0;
    const std::size_t n = std::min<std::size_t>(h.chosenAssays.size(), static_cast<std::size_t>(buffer->capacity));
    std::copy_n(h.chosenAssays.data(), n, buffer->ids);
    return static_cast<std::int32_t>(n);
  }
  const sys::Text key = p1 ? sys::Text(static_cast<const char16_t*>(p1)) : sys::Text();
  if (cmd == "Profile/GetInt") {
    auto it = h.ints.find(key);
    if (it == h.ints.end()) return 0;
    *static_cast<std::int32_t*>(p2) = it->second;
    return 1;
  }
  if (cmd == "Profile/SetInt") {
    h.ints[key] = *static_cast<const std::int32_t*>(p2);
    return 1;
  }
  if (cmd == "Profile/GetString") {
    auto it = h.strings.find(key);
    if (it == h.strings.end()) return 0;
    auto* buffer = static_cast<TextBuffer*>(p2);
    const std::size_t room = static_cast<std::size_t>(std::max(buffer->capacity, 1)) - 1;
    const std::size_t n = std::min(it->second.size(), room);
    std::copy_n(it->second.data(), n, buffer->text);
    buffer->text[n] = 0;
    return 1;
  }
  if (cmd == "Profile/SetString") {
    h.strings[key] = static_cast<const char16_t*>(p2);
    return 1;
  }
  return 0;
}
