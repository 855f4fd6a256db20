// quit_signals.cpp: the self-pipe from the signal handler to the event loop (see
// quit_signals.h).
#include "host/quit_signals.h"

#include <fcntl.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QSocketNotifier>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>

namespace {

int g_pipe[2] = {-1, -1};
volatile std::sig_atomic_t g_signal = 0;

void OnSignal(int signal) {
  g_signal = signal;
  const unsigned char byte = static_cast<unsigned char>(signal);
  const int saved = errno;
  [[maybe_unused]] const ssize_t written = write(g_pipe[1], &byte, 1);
  errno = saved;
}

}  // namespace

bool QuitOnTerminationSignals() {
  if (g_pipe[0] >= 0) return true;  // once per process: a host started again keeps them
  if (pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) {
    std::fprintf(stderr, "lortan: no pipe for the termination signals: %s\n", std::strerror(errno));
    return false;
  }
  auto* notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, QCoreApplication::instance());
  QObject::connect(notifier, &QSocketNotifier::activated, notifier, [notifier] {
    unsigned char byte = 0;
    while (read(g_pipe[0], &byte, 1) == 1) {
    }
    notifier->setEnabled(false);
    QCoreApplication::exit(AnnouncedTermination());
  });
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART | SA_RESETHAND;
  for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
    if (sigaction(signal, &action, nullptr) != 0) {
      std::fprintf(stderr, "lortan: no handler for signal %d: %s\n", signal, std::strerror(errno));
      return false;
    }
  }
  return true;
}

int TerminationSignal() { return g_signal; }

int AnnouncedTermination() {
  static bool announced = false;
  const int signal = g_signal;
  if (signal == 0) return 0;
  if (!announced) std::fprintf(stderr, "lortan: signal %d (%s): closing\n", signal, strsignal(signal));
  announced = true;
  return 128 + signal;
}
