// qt_offscreen.cpp: the offscreen Qt environment of the tests and benchmarks.
#include "tests/support/qt_offscreen.h"

#include <QtGlobal>
#include <QString>

#include <cstdlib>
#include <ctime>
#include <filesystem>

namespace {

QtMessageHandler g_previous = nullptr;

void FilterMessages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (message.contains(QLatin1String("This plugin does not support"))) return;
  if (g_previous) g_previous(type, context, message);
}

}  // namespace

OffscreenQt::OffscreenQt() {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  setenv("TZ", "MSK-3", 1);
  tzset();
  std::string pattern = (std::filesystem::temp_directory_path() / "vetrix-qt-XXXXXX").string();
  if (mkdtemp(pattern.data())) {
    runtimeDir_ = pattern;
    setenv("XDG_RUNTIME_DIR", pattern.c_str(), 1);
  }
  g_previous = qInstallMessageHandler(FilterMessages);
}

OffscreenQt::~OffscreenQt() {
  std::error_code ignored;
  if (!runtimeDir_.empty()) std::filesystem::remove_all(runtimeDir_, ignored);
}
