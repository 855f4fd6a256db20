// screenshot_host.h: the host the screenshot tool plays: a HostApi table with an
// in-memory profile and an analysis chooser that picks a fixed list of analyses.
//
// Assumes one instance at a time on the user-interface thread. Costs nothing beyond the
// stored values.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "platform/sys/text.h"
#include "plugin/host_api.h"

class ScreenshotHost {
 public:
  ScreenshotHost();
  ~ScreenshotHost();
  ScreenshotHost(const ScreenshotHost&) = delete;
  ScreenshotHost& operator=(const ScreenshotHost&) = delete;

  // The analyses "Main/OpenAssayIdDlgEx" answers with, in this order.
  std::vector<std::int32_t> chosenAssays;
  std::map<sys::Text, std::int32_t> ints;
  std::map<sys::Text, sys::Text> strings;

 private:
  static std::int32_t Execute(const char* command, void* p1, void* p2);
  static std::int32_t CommandExists(const char* command);
  HostApi api_{};
};
