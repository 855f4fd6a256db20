// qt_offscreen.h: the environment every Qt test and benchmark runs in.
//
// Construct one OffscreenQt before the QApplication: it selects Qt's offscreen platform,
// makes a private 0700 XDG_RUNTIME_DIR (Qt refuses a shared one), pins TZ=MSK-3 (the zone
// expected dates are written in), and drops the offscreen plugin's harmless "This plugin
// does not support" chatter. The destructor removes the runtime folder.
#pragma once

#include <string>

class OffscreenQt {
 public:
  OffscreenQt();
  ~OffscreenQt();
  OffscreenQt(const OffscreenQt&) = delete;
  OffscreenQt& operator=(const OffscreenQt&) = delete;

 private:
  std::string runtimeDir_;
};
