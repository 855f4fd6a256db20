// test_host.h: a small in-process host for tests — the one fake the tests allow.
//
// It fills a HostApi table whose profile commands keep values in memory, records every
// command asked of it, and can pretend that a command does not exist. Install() makes it
// the module's host; the destructor uninstalls it. One instance at a time.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "plugin/host_api.h"
#include "plugin/host_bridge.h"
#include "platform/sys/text.h"

class TestHost {
 public:
  TestHost();
  ~TestHost();
  TestHost(const TestHost&) = delete;
  TestHost& operator=(const TestHost&) = delete;

  void Install() { SetHost(&api_); }
  HostApi* api() { return &api_; }

  // Commands made to look absent (CommandExists answers 0 and Execute is not reached).
  std::set<std::string> missing;
  // Stored profile values by full key.
  std::map<sys::Text, std::int32_t> ints;
  std::map<sys::Text, sys::Text> strings;
  // Further commands that exist; Execute records them with param2 read as UTF-16 text.
  std::set<std::string> extra;
  // When set, "Profile/Get*" answer 0 (not found) whatever is stored.
  bool answerNotFound = false;
  // When set, runs for every `extra` command with the raw parameters (valid only during
  // the call) and gives Execute's result; the call is then recorded with an empty value,
  // since param2 need not be text. Unset, extra commands answer 1.
  std::function<std::int32_t(const std::string& command, void* param1, void* param2)> onExtra;
  // "Main/OpenAssayIdDlgEx" (when listed in `extra`): the identifiers the chooser writes
  // into the AssayIdBuffer (at most its capacity), and its answer when set (otherwise
  // the number of identifiers written). The call is recorded with an empty value.
  std::vector<std::int32_t> chosenAssays;
  std::optional<std::int32_t> chooserAnswer;

  struct Call {
    std::string command;
    sys::Text key;    // profile commands: the full key
    sys::Text value;  // extra commands: param2 as text
  };
  std::vector<Call> calls;                 // every Execute, in order
  std::vector<std::string> existsAsked;    // every CommandExists, in order

 private:
  static std::int32_t Execute(const char* command, void* p1, void* p2);
  static std::int32_t CommandExists(const char* command);
  HostApi api_{};
};
