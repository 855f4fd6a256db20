// main.cpp: runs the grid and page tests inside one QApplication on the offscreen
// platform, with a private 0700 XDG_RUNTIME_DIR (Qt refuses a shared one) and without
// the offscreen plugin's harmless "This plugin does not support" chatter.
#include <gtest/gtest.h>

#include <QApplication>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

QtMessageHandler g_previous = nullptr;

void FilterMessages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (message.contains(QLatin1String("This plugin does not support"))) return;
  if (g_previous) g_previous(type, context, message);
}

// Returns the private runtime folder made, empty when none could be made.
std::string PrepareEnvironment() {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  std::string pattern = (std::filesystem::temp_directory_path() / "vetrix-grid-XXXXXX").string();
  if (!mkdtemp(pattern.data())) return {};
  setenv("XDG_RUNTIME_DIR", pattern.c_str(), 1);
  return pattern;
}

}  // namespace

int main(int argc, char** argv) {
  std::string runtimeDir = PrepareEnvironment();
  g_previous = qInstallMessageHandler(FilterMessages);
  int result = 0;
  {
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    result = RUN_ALL_TESTS();
  }
  std::error_code ignored;
  if (!runtimeDir.empty()) std::filesystem::remove_all(runtimeDir, ignored);
  return result;
}
