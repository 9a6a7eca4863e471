#include "platform/posix/fd_io.h"

#include <unistd.h>

#include <cerrno>

namespace rptconv::platform {

int WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    // A write that takes nothing would be retried for ever.
    if (n == 0) return EIO;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return 0;
}

long ReadSome(int fd, char* buffer, std::size_t capacity) {
  while (true) {
    const ssize_t n = ::read(fd, buffer, capacity);
    if (n >= 0 || errno != EINTR) return static_cast<long>(n);
  }
}

}  // namespace rptconv::platform
