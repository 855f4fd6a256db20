// session_test.cpp: the desktop host's whole life on a real profile, with the real module
// and a test module that plays the user (driver_module.cpp): what the module saves when it
// is closed — the column layout of "Промежуточные расчеты", the report dialog's options,
// the chromatogram list — reaches the profile however the host ends ("Выход", the window's
// close, SIGTERM, SIGINT, SIGHUP) and is shown by the next host; and a host killed while
// the list is being saved leaves the old list or the new one, never a mixture.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <optional>
#include <thread>
#include <vector>

#include "host_test_support.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kDefaultWidths[15] = {40, 200, 80, 110, 80, 80, 140, 140, 110, 120, 150, 90, 110, 110, 110};

// A plug-in folder with the real module and, loaded after it, the driver.
class DesktopHost {
 public:
  DesktopHost() {
    fs::create_directories(folder_.path() / "plugins");
    fs::create_symlink(VETRIX_MODULE_FILE, folder_.path() / "plugins/libvetrix.so");
    fs::create_symlink(LORTAN_DRIVER_MODULE, folder_.path() / "plugins/zz_driver.so");
  }
  const TestFolder& folder() const { return folder_; }
  std::string profile() const { return folder_ / "profile.db"; }
  std::string output() const { return folder_ / "driver.txt"; }

  // Starts lortan with the driver's `steps` and the extra environment `env`.
  pid_t Start(const std::string& steps, const std::vector<std::string>& env = {}, const std::string& db = "") {
    fs::remove(output());
    std::vector<std::string> args = {LORTAN_EXECUTABLE, "--profile", profile(), "--plugins", folder_ / "plugins"};
    if (!db.empty()) args.insert(args.end(), {"--db", db});
    std::vector<std::string> vars = {"QT_QPA_PLATFORM=offscreen", "LORTAN_DRIVER=" + steps,
                                     "LORTAN_DRIVER_OUT=" + output()};
    vars.insert(vars.end(), env.begin(), env.end());
    for (char** e = environ; *e; ++e)
      if (std::strncmp(*e, "LORTAN_DRIVER", 13) != 0 && std::strncmp(*e, "QT_QPA_PLATFORM=", 16) != 0)
        vars.emplace_back(*e);
    std::vector<char*> argv, envp;
    for (std::string& a : args) argv.push_back(a.data());
    for (std::string& v : vars) envp.push_back(v.data());
    argv.push_back(nullptr);
    envp.push_back(nullptr);
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    const std::string log = folder_ / "stderr.txt";
    posix_spawn_file_actions_addopen(&files, 2, log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    pid_t pid = -1;
    EXPECT_EQ(posix_spawn(&pid, argv[0], &files, nullptr, argv.data(), envp.data()), 0);
    posix_spawn_file_actions_destroy(&files);
    return pid;
  }

  // The exit code, 128 + the signal that ended the process, or -1 after 60 s (killed).
  static int Wait(pid_t pid) {
    const auto deadline = Clock::now() + std::chrono::seconds(60);
    int status = 0;
    while (waitpid(pid, &status, WNOHANG) == 0) {
      if (Clock::now() > deadline) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
        return -1;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }

  // Waits until the driver has written `line`; false after 60 s.
  bool AwaitLine(const std::string& line) const {
    const auto deadline = Clock::now() + std::chrono::seconds(60);
    while (Clock::now() < deadline) {
      if (("\n" + ReadWholeFile(output())).find("\n" + line + "\n") != std::string::npos) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
  }

  // Runs the driver's steps to the host's end; the exit code.
  int Run(const std::string& steps, const std::vector<std::string>& env = {}, const std::string& db = "") {
    return Wait(Start(steps, env, db));
  }
  std::string Output() const { return ReadWholeFile(output()); }
  std::string Log() const { return ReadWholeFile(folder_ / "stderr.txt"); }

 private:
  TestFolder folder_;
};

// The profile's integers under `prefix` (a key of plugins\Vetrix), read with SQLite.
class ProfileReader {
 public:
  explicit ProfileReader(const std::string& path) {
    if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) ADD_FAILURE() << path;
  }
  ~ProfileReader() { sqlite3_close(db_); }
  std::optional<long long> Int(const std::string& key) const {
    sqlite3_stmt* s = nullptr;
    std::optional<long long> value;
    sqlite3_prepare_v2(db_, "SELECT value FROM profile_int WHERE key = ?1", -1, &s, nullptr);
    const std::string full = "plugins\\Vetrix\\" + key;
    sqlite3_bind_text(s, 1, full.c_str(), -1, SQLITE_TRANSIENT);
    if (sqlite3_step(s) == SQLITE_ROW) value = sqlite3_column_int64(s, 0);
    sqlite3_finalize(s);
    return value;
  }
  std::string Integrity() const {
    sqlite3_stmt* s = nullptr;
    std::string answer;
    sqlite3_prepare_v2(db_, "PRAGMA integrity_check", -1, &s, nullptr);
    while (sqlite3_step(s) == SQLITE_ROW) answer += reinterpret_cast<const char*>(sqlite3_column_text(s, 0));
    sqlite3_finalize(s);
    return answer;
  }
  // The saved chromatogram list: its count's entries, in order.
  std::vector<long long> List() const {
    std::vector<long long> ids;
    const long long count = Int("Assays/qtyAssays").value_or(0);
    for (long long i = 0; i < count; ++i) ids.push_back(Int("Assays/" + std::to_string(i) + "_Assay_ID").value_or(-1));
    return ids;
  }

 private:
  sqlite3* db_ = nullptr;
};

std::string ExpectedWidths() {
  std::string line = "widths";
  for (int c = 0; c < 15; ++c) line += " " + std::to_string(c == 2 ? kDefaultWidths[c] + 37 : c == 5 ? 0 : kDefaultWidths[c]);
  return line;
}

TEST(DesktopSession, WhatTheWindowsSaveWhenClosedReachesTheNextHostHoweverTheHostEnds) {
  struct Ending {
    const char* name;
    const char* steps;  // the driver ends the host, or
    int signal;         // the test sends this signal once the driver is ready
  };
  const Ending endings[] = {{"Выход", "report exit", 0},
                            {"window close", "report close", 0},
                            {"SIGTERM", "report ready", SIGTERM},
                            {"SIGINT", "report ready", SIGINT},
                            {"SIGHUP", "report ready", SIGHUP},
                            {"SIGTERM over the open report dialog", "report-held", SIGTERM}};
  for (const Ending& ending : endings) {
    SCOPED_TRACE(ending.name);
    DesktopHost host;
    const pid_t pid = host.Start(std::string("open layout ") + ending.steps);
    if (ending.signal) {
      ASSERT_TRUE(host.AwaitLine("ready")) << host.Log();
      kill(pid, ending.signal);
    }
    const int code = DesktopHost::Wait(pid);
    EXPECT_EQ(code, ending.signal ? 128 + ending.signal : 0) << host.Log();
    {
      ProfileReader profile(host.profile());
      EXPECT_EQ(profile.Int("TablesSettings\\CalcInfo/qtyCols"), 15) << host.Log();
      EXPECT_EQ(profile.Int("TablesSettings\\CalcInfo/5_visible"), 0);
    }

    ASSERT_EQ(host.Run("open dump exit"), 0) << host.Log();
    const std::string shown = host.Output();
    EXPECT_NE(shown.find(ExpectedWidths() + "\n"), std::string::npos) << shown;
    EXPECT_NE(shown.find("report ХР-7|Иванов А. Б.| 1 0 1 0 1\n"), std::string::npos) << shown;
  }
}

// The report written from the desktop: the host says where it went.
TEST(DesktopSession, TheHostSaysWhereTheReportWent) {
  DesktopHost host;
  const std::string db = host.folder() / "demo/lortan.db";
  ASSERT_EQ(std::system((std::string("'") + VETRIX_DEMO_DATA + "' --out '" + (host.folder() / "demo") + "' >/dev/null").c_str()), 0);
  const std::string report = host.folder() / "отчет.odt";
  ASSERT_EQ(host.Run("open choose-all write-report exit", {"LORTAN_DRIVER_REPORT=" + report}, db), 0) << host.Log();
  EXPECT_TRUE(fs::is_regular_file(report)) << host.Log();
  EXPECT_NE(host.Output().find("box Отчет сохранен: " + report + "\n"), std::string::npos) << host.Output();
}

// Qt's own dialogs and buttons speak Russian in the host.
TEST(DesktopSession, QtsOwnTextsAreRussian) {
  DesktopHost host;
  ASSERT_EQ(host.Run("tr exit"), 0) << host.Log();
  EXPECT_NE(host.Output().find("tr Отмена|Сохранить как\n"), std::string::npos) << host.Output();
}

// The list saved at the end has `count` + 1 writes (the count, then each identifier). The
// driver kills the host at chosen writes, or the test kills it while slowed writes run;
// every time the profile holds the list before the save or the list after it.
TEST(DesktopSession, AHostKilledWhileSavingTheListLeavesTheOldListOrTheNew) {
  DesktopHost host;
  const std::string db = host.folder() / "demo/lortan.db";
  ASSERT_EQ(std::system((std::string("'") + VETRIX_DEMO_DATA + "' --out '" + (host.folder() / "demo") + "' >/dev/null").c_str()), 0);
  ASSERT_EQ(host.Run("open choose-all exit", {}, db), 0) << host.Log();
  const std::vector<long long> all = ProfileReader(host.profile()).List();
  ASSERT_GE(all.size(), 10u) << host.Log();
  const std::vector<long long> rest(all.begin() + 1, all.end());

  std::vector<long long> before = all;
  auto check = [&](int code, const std::string& how) {
    SCOPED_TRACE(how);
    ProfileReader profile(host.profile());
    EXPECT_EQ(profile.Integrity(), "ok");
    const std::vector<long long> now = profile.List();
    EXPECT_TRUE(now == all || now == rest) << "a mixed list of " << now.size() << "\n" << host.Log();
    before = now;
    return code;
  };
  const int total = static_cast<int>(rest.size()) + 1;  // writes of the shorter list's save
  for (const int at : {1, 2, 3, total / 2, total - 1, total}) {
    const std::string steps = before == all ? "open choose-rest exit" : "open choose-all exit";
    const std::vector<long long> old = before;
    const int code = check(host.Run(steps, {"LORTAN_DRIVER_KILL_AT=" + std::to_string(at)}, db), "kill at " + std::to_string(at));
    EXPECT_EQ(code, 128 + SIGKILL) << "killed at write " << at;
    EXPECT_EQ(before, old) << "nothing of an unfinished save is kept";
  }
  for (const int delay : {0, 30, 90, 150}) {
    const std::string steps = before == all ? "open choose-rest exit" : "open choose-all exit";
    const pid_t pid = host.Start(steps, {"LORTAN_DRIVER_SLOW_MS=4"}, db);
    ASSERT_TRUE(host.AwaitLine("saving")) << host.Log();
    std::this_thread::sleep_for(std::chrono::milliseconds(delay));
    kill(pid, SIGKILL);
    check(DesktopHost::Wait(pid), "killed " + std::to_string(delay) + " ms into the save");
  }
  const std::vector<long long> old = before;
  EXPECT_EQ(check(host.Run(before == all ? "open choose-rest exit" : "open choose-all exit", {}, db), "no kill"), 0);
  EXPECT_NE(before, old) << "a save that ends is kept";
}

}  // namespace

namespace {

// The kernel's view of `pid`: true while its main thread waits in a write to standard
// output (the system call's number and first argument in /proc, or the wait channel).
bool BlockedWritingStandardOutput(pid_t pid) {
  const std::string proc = "/proc/" + std::to_string(pid);
  return ReadWholeFile(proc + "/syscall").rfind("1 0x1 ", 0) == 0 ||
         ReadWholeFile(proc + "/wchan").find("pipe_write") != std::string::npos;
}

}  // namespace

// A batch run on the user's profile ends in order on SIGTERM, SIGINT and SIGHUP: the
// signal comes while the run waits to print its results (standard output is a full pipe,
// so the moment is certain), the run stops after that step, the module is closed as after
// "Выход", and its saves — the chromatogram list, the column layout — reach the profile.
TEST(BatchSession, ASignalEndsTheRunInOrderAndTheModulesSavesReachTheProfile) {
  DesktopHost host;
  const std::string demo = host.folder() / "demo";
  ASSERT_EQ(std::system(("'" + std::string(VETRIX_DEMO_DATA) + "' --out '" + demo + "' >/dev/null").c_str()), 0);
  for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
    SCOPED_TRACE(strsignal(signal));
    fs::remove(host.profile());
    int out[2];
    ASSERT_EQ(pipe2(out, O_CLOEXEC | O_NONBLOCK), 0);
    const std::string filler(4096, '#');
    while (write(out[1], filler.data(), filler.size()) > 0) {
    }
    ASSERT_EQ(fcntl(out[1], F_SETFL, 0), 0);  // the host's writes block on the full pipe

    std::vector<std::string> args = {LORTAN_EXECUTABLE, "--batch",   "--profile", host.profile(), "--db",
                                     demo + "/lortan.db", "--select", "all",      "--export",     host.folder() / "export"};
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_adddup2(&files, out[1], 1);
    const std::string log = host.folder() / "stderr.txt";
    posix_spawn_file_actions_addopen(&files, 2, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = -1;
    ASSERT_EQ(posix_spawn(&pid, argv[0], &files, nullptr, argv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&files);
    close(out[1]);

    const auto deadline = Clock::now() + std::chrono::seconds(60);
    while (!BlockedWritingStandardOutput(pid) && Clock::now() < deadline)
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    kill(pid, signal);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    std::thread drain([fd = out[0]] {
      char buffer[4096];
      while (read(fd, buffer, sizeof buffer) > 0) {
      }
    });
    const int code = DesktopHost::Wait(pid);
    drain.join();
    close(out[0]);
    EXPECT_EQ(code, 128 + signal) << host.Log();
    EXPECT_NE(host.Log().find("closing"), std::string::npos) << host.Log();

    ProfileReader profile(host.profile());
    EXPECT_EQ(profile.Integrity(), "ok");
    EXPECT_EQ(profile.Int("TablesSettings\\CalcInfo/qtyCols"), 15) << host.Log();
    EXPECT_FALSE(profile.List().empty()) << host.Log();
    EXPECT_EQ(host.Log().find("export"), std::string::npos) << "the run went on after the signal: " << host.Log();
  }
}
