// report_destination.cpp: the checks on a report's destination (see report_destination.h).
#include "host/odt/report_destination.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

namespace odt {

namespace {

namespace fs = std::filesystem;

const char* KindOf(mode_t mode) {
  if (S_ISDIR(mode)) return "a folder";
  if (S_ISFIFO(mode)) return "a FIFO";
  if (S_ISSOCK(mode)) return "a socket";
  if (S_ISCHR(mode)) return "a character device";
  if (S_ISBLK(mode)) return "a block device";
  return "not a file";
}

}  // namespace

fs::path ReportTarget(const fs::path& destination, std::string& error) {
  constexpr int kMaxLinks = 40;  // the kernel's own limit on a chain of links
  fs::path target = destination;
  for (int links = 0; links <= kMaxLinks; ++links) {
    struct stat info {};
    if (::lstat(target.c_str(), &info) != 0) {
      if (errno == ENOENT) return target;  // a new file
      error = "the report destination " + target.string() + " cannot be examined: " + std::strerror(errno);
      return {};
    }
    if (S_ISREG(info.st_mode)) return target;
    if (!S_ISLNK(info.st_mode)) {
      error = "the report destination " + target.string() + " is " + KindOf(info.st_mode) +
              ", not a regular file; it was left untouched";
      return {};
    }
    std::error_code ec;
    const fs::path link = fs::read_symlink(target, ec);
    if (ec) {
      error = "the report destination " + target.string() + " cannot be examined: " + ec.message();
      return {};
    }
    target = link.is_absolute() ? link : target.parent_path() / link;
  }
  error = "the report destination " + destination.string() + " is a loop of symbolic links";
  return {};
}

}  // namespace odt
