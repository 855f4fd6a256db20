// host_test_support.h: a private temporary folder per test, small file helpers and a
// shell command run with its output captured in files of that folder.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

class TestFolder {
 public:
  TestFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "lortan-test-XXXXXX").string();
    if (mkdtemp(pattern.data())) path_ = pattern;
  }
  ~TestFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TestFolder(const TestFolder&) = delete;
  TestFolder& operator=(const TestFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::string operator/(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

inline std::string ReadWholeFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

// What a shell command line gave: its exit code (-1 when it did not exit normally) and
// its standard output and standard error, each read whole.
struct ShellOutcome {
  int code;
  std::string out, err;
};

// Runs `command` through the shell with its standard output and standard error going to
// out.txt and err.txt in `folder` (overwritten by each run).
inline ShellOutcome RunShell(const TestFolder& folder, const std::string& command) {
  const int status =
      std::system((command + " >'" + (folder / "out.txt") + "' 2>'" + (folder / "err.txt") + "'").c_str());
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadWholeFile(folder / "out.txt"),
          ReadWholeFile(folder / "err.txt")};
}
