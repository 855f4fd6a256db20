// file_commit.cpp: writing a file beside its final name and renaming it into place (see
// file_commit.h). Assumes Linux: renameat2 with RENAME_NOREPLACE, or link() where the file
// system lacks it.
#include "output/file_commit.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace {

namespace fs = std::filesystem;

std::string Reason(int error, const std::string& path) { return std::string(std::strerror(error)) + ": " + path; }

// Renames from → to unless `to` exists; errno EEXIST when it does.
bool RenameNoReplace(const std::string& from, const std::string& to) {
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
  if (errno != EINVAL && errno != ENOSYS) return false;
  // Without RENAME_NOREPLACE: link() never replaces either.
  if (::link(from.c_str(), to.c_str()) != 0) return false;
  ::unlink(from.c_str());
  return true;
}

// Writes the file's data to the disk, so that the name never points at a file whose
// contents a crash may still lose.
bool SyncFile(const std::string& path, int& error) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0 || ::fsync(fd) != 0) {
    error = errno;
    if (fd >= 0) ::close(fd);
    return false;
  }
  ::close(fd);
  return true;
}

}  // namespace

std::string NumberedPath(const std::string& path, int n) {
  if (n <= 1) return path;
  const fs::path p(path);
  return (p.parent_path() / (p.stem().string() + "_" + std::to_string(n) + p.extension().string())).string();
}

bool CreateTemporaryBeside(const std::string& finalPath, std::string& temporaryPath, std::string& error) {
  const fs::path target(finalPath);
  const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
  for (int n = 1; n < 1000; ++n) {
    // Appended piece by piece: GCC 12 at -O3 misreports "literal" + std::string as an overlap.
    std::string name = ".";
    name += target.stem().string();
    name += '.';
    name += std::to_string(::getpid());
    name += '-';
    name += std::to_string(n);
    name += ".part";
    const fs::path candidate = folder / name;
    const int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) {
      ::close(fd);
      temporaryPath = candidate.string();
      return true;
    }
    if (errno != EEXIST) {
      error = Reason(errno, folder.string());
      return false;
    }
  }
  error = Reason(EEXIST, folder.string());
  return false;
}

bool CommitWithoutReplacing(const std::string& temporaryPath, const std::string& finalPath,
                            std::string& placedPath, std::string& error) {
  int reason = 0;
  if (!SyncFile(temporaryPath, reason)) {
    error = Reason(reason, temporaryPath);
    ::unlink(temporaryPath.c_str());
    return false;
  }
  for (int n = 1; n < 1000; ++n) {
    const std::string candidate = NumberedPath(finalPath, n);
    if (RenameNoReplace(temporaryPath, candidate)) {
      placedPath = candidate;
      return true;
    }
    if (errno != EEXIST) {
      error = Reason(errno, candidate);
      ::unlink(temporaryPath.c_str());
      return false;
    }
  }
  error = Reason(EEXIST, finalPath);
  ::unlink(temporaryPath.c_str());
  return false;
}
