// host_test_main.cpp: runs the host's tests inside one QApplication on the offscreen
// platform, with a private 0700 XDG_RUNTIME_DIR, without the offscreen plugin's harmless
// "This plugin does not support" notices.
#include <gtest/gtest.h>

#include <QApplication>
#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

void FilterMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (message.contains(QLatin1String("This plugin does not support"))) return;
  if (type == QtDebugMsg || type == QtInfoMsg) return;
  std::fprintf(stderr, "Qt: %s\n", qPrintable(message));
}

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  std::string runtime = (std::filesystem::temp_directory_path() / "lortan-test-XDG-XXXXXX").string();
  if (mkdtemp(runtime.data())) setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
  qInstallMessageHandler(FilterMessages);
  QApplication app(argc, argv);
  std::setlocale(LC_NUMERIC, "C");
  ::testing::InitGoogleTest(&argc, argv);
  const int result = RUN_ALL_TESTS();
  std::error_code ignored;
  std::filesystem::remove_all(runtime, ignored);
  return result;
}
