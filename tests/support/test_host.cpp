// test_host.cpp: the in-memory profile store behind TestHost.
#include "tests/support/test_host.h"

#include <algorithm>
#include <cstring>

namespace {
TestHost* g_current = nullptr;
}

TestHost::TestHost() {
  api_.Execute = &TestHost::Execute;
  api_.CommandExists = &TestHost::CommandExists;
  g_current = this;
}

TestHost::~TestHost() {
  if (Host() == &api_) SetHost(nullptr);
  g_current = nullptr;
}

std::int32_t TestHost::CommandExists(const char* command) {
  TestHost& h = *g_current;
  h.existsAsked.emplace_back(command);
  if (h.missing.count(command)) return 0;
  if (h.extra.count(command)) return 1;
  static const char* const known[] = {"Profile/GetInt", "Profile/SetInt", "Profile/GetString", "Profile/SetString"};
  for (const char* k : known)
    if (std::strcmp(k, command) == 0) return 1;
  return 0;
}

std::int32_t TestHost::Execute(const char* command, void* p1, void* p2) {
  TestHost& h = *g_current;
  std::string cmd(command);
  if (cmd == "Main/OpenAssayIdDlgEx" && h.extra.count(cmd)) {
    h.calls.push_back({cmd, {}, {}});
    auto* buffer = static_cast<AssayIdBuffer*>(p1);
    std::size_t n = 0;
    if (buffer && buffer->ids && buffer->capacity > 0) {
      n = std::min<std::size_t>(h.chosenAssays.size(), static_cast<std::size_t>(buffer->capacity));
      std::copy_n(h.chosenAssays.data(), n, buffer->ids);
    }
    return h.chooserAnswer.value_or(static_cast<std::int32_t>(n));
  }
  if (h.extra.count(cmd)) {
    if (h.onExtra) {
      h.calls.push_back({cmd, {}, {}});
      return h.onExtra(cmd, p1, p2);
    }
    h.calls.push_back({cmd, {}, p2 ? sys::Text(static_cast<const char16_t*>(p2)) : sys::Text()});
    return 1;
  }
  sys::Text key = p1 ? sys::Text(static_cast<const char16_t*>(p1)) : sys::Text();
  h.calls.push_back({cmd, key, {}});
  if (cmd == "Profile/GetInt") {
    auto it = h.ints.find(key);
    if (h.answerNotFound || it == h.ints.end()) return 0;
    *static_cast<std::int32_t*>(p2) = it->second;
    return 1;
  }
  if (cmd == "Profile/SetInt") {
    h.ints[key] = *static_cast<const std::int32_t*>(p2);
    return 1;
  }
  if (cmd == "Profile/GetString") {
    auto it = h.strings.find(key);
    if (h.answerNotFound || it == h.strings.end()) return 0;
    auto* buffer = static_cast<TextBuffer*>(p2);
    // Like a careless host: copies up to the capacity and terminates only when it fits.
    std::size_t n = std::min<std::size_t>(it->second.size(), static_cast<std::size_t>(buffer->capacity));
    std::copy_n(it->second.data(), n, buffer->text);
    if (n < static_cast<std::size_t>(buffer->capacity)) buffer->text[n] = 0;
    return 1;
  }
  if (cmd == "Profile/SetString") {
    h.strings[key] = static_cast<const char16_t*>(p2);
    return 1;
  }
  return 0;
}
