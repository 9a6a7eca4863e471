// Start-up on POSIX: the standard descriptors, the signals.
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>

#include "platform/platform.h"
#include "platform/posix/cleanup.h"

namespace rptconv::platform {

namespace {

// A standard descriptor that the program was started without is taken by a
// read-only /dev/null: writes to it still fail as on a closed descriptor, and
// no report or page opened later can take its number and receive console text.
void OccupyClosedStandardDescriptors() {
  for (const int fd : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
    if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
    const int spare = ::open("/dev/null", O_RDONLY);
    if (spare >= 0 && spare != fd) {
      ::dup2(spare, fd);
      ::close(spare);
    }
  }
}

}  // namespace

void Initialize() {
  OccupyClosedStandardDescriptors();
  // A closed pipe or a file-size limit must become a failure report, not a
  // silent death.
  ::signal(SIGPIPE, SIG_IGN);
  ::signal(SIGXFSZ, SIG_IGN);
  InstallCleanupHandlers();
}

Family ThisFamily() { return Family::kPosix; }

}  // namespace rptconv::platform
