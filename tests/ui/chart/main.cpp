// main.cpp: test entry with the QGuiApplication that text measuring needs.
//
// Forces Qt's offscreen platform and a private 0700 runtime folder before the
// application exists, so the tests run without a display and leave nothing behind
// but that folder under the temporary directory. Filters the offscreen plugin's
// harmless "does not support" warnings.
#include <gtest/gtest.h>

#include <QGuiApplication>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

void QuietHandler(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (message.contains(QStringLiteral("This plugin does not support"))) return;
  if (type == QtDebugMsg || type == QtInfoMsg) return;
  fprintf(stderr, "%s\n", qPrintable(message));
}

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  const char* tmp = std::getenv("TMPDIR");
  std::string runtime = std::string(tmp != nullptr && *tmp != 0 ? tmp : "/tmp") + "/vetrix-xdg-XXXXXX";
  if (mkdtemp(runtime.data()) != nullptr) setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
  qInstallMessageHandler(QuietHandler);
  QGuiApplication app(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  int result = RUN_ALL_TESTS();
  rmdir(runtime.c_str());
  return result;
}
