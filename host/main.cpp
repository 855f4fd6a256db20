// lortan: the reference host. Loads the modules of its plug-in folder, offers them its
// menu bar, profile, database and dialogs, and runs either as a desktop program or, with
// --batch, unattended on the offscreen platform. Exit codes: 0 done, 1 (batch) a requested
// export or report failed, 2 a bad command line, a host that cannot start, or (batch) a
// database or load failure, nothing loaded, or standard output that took nothing; 128 +
// the signal's number after an orderly end on SIGTERM, SIGINT or SIGHUP.
#include <unistd.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "host/batch.h"
#include "host/host_application.h"
#include "host/host_options.h"
#include "host/host_session.h"
#include "host/import_menu.h"
#include "host/main_window.h"
#include "host/quit_signals.h"
#include "platform/sys/stdout_writer.h"

namespace {

// The offscreen platform's notices about features it lacks are not the user's business.
void FilterQtMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (message.contains(QStringLiteral("This plugin does not support"))) return;
  if (type == QtDebugMsg || type == QtInfoMsg) return;
  std::fprintf(stderr, "lortan: Qt: %s\n", message.toLocal8Bit().constData());
}

bool WantsBatch(int argc, char** argv) {
  for (int i = 1; i < argc; ++i)
    if (std::strcmp(argv[i], "--batch") == 0) return true;
  return false;
}

// Batch mode runs headless: the offscreen platform and, when the session has none, a
// private runtime folder (Qt insists on one with mode 0700). Returns the folder made, to be
// removed at the end, or an empty path.
std::filesystem::path PrepareHeadless() {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  if (std::getenv("XDG_RUNTIME_DIR")) return {};
  std::error_code ec;
  std::string folder = (std::filesystem::temp_directory_path(ec) / "lortan-runtime-XXXXXX").string();
  if (ec || !mkdtemp(folder.data())) return {};
  setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
  return folder;
}

int RunHost(int argc, char** argv) {
  HostApplication app(argc, argv);  // takes its own options (-platform ...) out of argv
  std::setlocale(LC_NUMERIC, "C");  // numbers are formatted by our own code, never by the C library

  std::string error;
  const auto options = ParseHostOptions(argc, argv, error);
  if (!options) {
    std::fprintf(stderr, "%slortan: %s\n", kHostUsage, error.c_str());
    return 2;
  }
  if (options->help) {
    std::fputs(kHostUsage, stdout);
    return 0;
  }
  QuitOnTerminationSignals();  // SIGTERM, SIGINT, SIGHUP: the same orderly end as "Выход"
  int rc = 0;
  HostOptions current = *options;
  for (bool again = true; again;) {
    HostSession session(current);
    if (!session.Start(error)) {
      std::fprintf(stderr, "lortan: %s\n", error.c_str());
      return 2;
    }
    if (current.batch) {
      rc = RunBatch(session);
    } else {
      session.window()->show();
      rc = app.exec();
    }
    session.Shutdown();
    // An import from the "Файл" menu asked for its new database: start again on it.
    const auto imported = TakeDatabaseToOpen();
    again = imported.has_value() && TerminationSignal() == 0;  // a signal ends the host
    if (again) current.db = *imported;
  }
  return rc;
}

}  // namespace

int main(int argc, char** argv) {
  sys::ReserveStandardStreams();  // a closed standard output must not become a file opened later
  const std::filesystem::path runtime = WantsBatch(argc, argv) ? PrepareHeadless() : std::filesystem::path();
  qInstallMessageHandler(FilterQtMessages);
  const int rc = RunHost(argc, argv);
  std::error_code ignored;
  if (!runtime.empty()) std::filesystem::remove_all(runtime, ignored);
  return rc;
}
