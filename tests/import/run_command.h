// run_command.h: running the built programs from the import tests, and small file helpers.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace import_test {

namespace fs = std::filesystem;

struct Result {
  int code = -1;
  std::string out;
  std::string err;
};

// Runs a shell command line; standard output and standard error are captured apart.
inline Result RunCommand(const std::string& command) {
  static int serial = 0;
  const fs::path errFile =
      fs::temp_directory_path() / ("vetrix_import_err_" + std::to_string(::getpid()) + "_" + std::to_string(++serial));
  Result r;
  FILE* pipe = ::popen((command + " 2>" + errFile.string()).c_str(), "r");
  if (!pipe) return r;
  std::array<char, 4096> buffer;
  std::size_t n;
  while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) r.out.append(buffer.data(), n);
  const int status = ::pclose(pipe);
  r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  std::ifstream in(errFile, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  r.err = ss.str();
  fs::remove(errFile);
  return r;
}

inline std::string Quote(const fs::path& p) {
  std::string quoted(1, '\'');
  quoted += p.string();
  quoted += '\'';
  return quoted;
}

inline void WriteBytes(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

inline std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

// A fresh, empty folder under the temporary folder, removed by the destructor.
class TempDir {
 public:
  explicit TempDir(const std::string& name)
      : path_(fs::temp_directory_path() / ("vetrix_" + name + "_" + std::to_string(::getpid()))) {
    fs::remove_all(path_);
    fs::create_directories(path_);
  }
  ~TempDir() { fs::remove_all(path_); }
  const fs::path& path() const { return path_; }
  fs::path operator/(const std::string& leaf) const { return path_ / leaf; }

 private:
  fs::path path_;
};

}  // namespace import_test
