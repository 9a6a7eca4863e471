// The standard streams on POSIX.
#include <unistd.h>

#include <string>

#include "platform/platform.h"
#include "platform/posix/fd_io.h"
#include "rptconv/rptconv.h"

namespace rptconv::platform {

// The standard streams are written without a buffer of their own, so they
// never hold text back when a failure report follows.
void WriteStream(StandardStream stream, std::string_view bytes, IoSite site) {
  const int fd = stream == StandardStream::kOutput ? STDOUT_FILENO : STDERR_FILENO;
  if (const int error = WriteAll(fd, bytes); error != 0) throw IoError{error, site};
}

void WriteStderr(std::string_view bytes) { WriteAll(STDERR_FILENO, bytes); }

bool IsTerminal(StandardStream stream) {
  return ::isatty(stream == StandardStream::kOutput ? STDOUT_FILENO : STDERR_FILENO) == 1;
}

// POSIX consoles have no separate OEM character set.
std::string ForConsole(std::string report) { return report; }

}  // namespace rptconv::platform
