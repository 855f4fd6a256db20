// stdout_writer.cpp: the checked write of standard output (see stdout_writer.h).
#include "platform/sys/stdout_writer.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace sys {

bool WriteStdout(std::string_view bytes, std::string& error) {
  errno = 0;
  const std::size_t written = bytes.empty() ? 0 : std::fwrite(bytes.data(), 1, bytes.size(), stdout);
  int reason = errno;
  const bool flushed = std::fflush(stdout) == 0;
  if (!flushed && reason == 0) reason = errno;
  if (written == bytes.size() && flushed && !std::ferror(stdout)) return true;
  error = "cannot write to standard output: " +
          std::string(reason != 0 ? std::strerror(reason) : "the stream reported an error");
  return false;
}

}  // namespace sys

namespace sys {

void ReserveStandardStreams() {
  for (int fd = 0; fd <= 2; ++fd) {
    if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
    const int taken = ::open("/dev/null", O_RDONLY);
    if (taken >= 0 && taken != fd) {
      ::dup2(taken, fd);
      ::close(taken);
    }
  }
}

}  // namespace sys
