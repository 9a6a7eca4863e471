// Standard streams, start-up and the failure report's pieces on POSIX.
#include <fcntl.h>
#include <sys/stat.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <string>

#include "platform/platform.h"
#include "platform/posix/cleanup.h"
#include "report/io_error.h"

namespace rptconv::platform {

namespace {

// Writes all of `bytes` to `fd`; gives 0 or the errno of the failed write.
int WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return 0;
}

}  // namespace

void Initialize() {
  // A closed pipe or a file-size limit must become a failure report, not a
  // silent death.
  ::signal(SIGPIPE, SIG_IGN);
  ::signal(SIGXFSZ, SIG_IGN);
  InstallCleanupHandlers();
}

void WriteStdout(std::string_view bytes) {
  if (const int error = WriteAll(STDOUT_FILENO, bytes); error != 0) {
    throw IoError{error, IoSite::kWriteConsole};
  }
}

void WriteStderr(std::string_view bytes) { WriteAll(STDERR_FILENO, bytes); }

std::string ModuleName() {
  char path[PATH_MAX];
  const ssize_t n = ::readlink("/proc/self/exe", path, sizeof path - 1);
  std::string exe = n > 0 ? std::string(path, static_cast<std::size_t>(n)) : std::string("rptconv");
  const std::size_t slash = exe.rfind('/');
  return slash == std::string::npos ? exe : exe.substr(slash + 1);
}

std::string IoErrorText(int code) {
  switch (code) {
    case ENOENT: return IoErrorMessage(ErrorKind::kFileNotFound, code);
    case ENOTDIR:
    case ENAMETOOLONG: return IoErrorMessage(ErrorKind::kInvalidFilename, code);
    case EMFILE:
    case ENFILE: return IoErrorMessage(ErrorKind::kTooManyOpenFiles, code);
    case EACCES:
    case EPERM: return IoErrorMessage(ErrorKind::kAccessDenied, code);
    default: return IoErrorMessage(ErrorKind::kOther, code);
  }
}

// POSIX consoles have no separate OEM character set.
std::string ForConsole(std::string report) { return report; }

const PathSyntax& Paths() { return kPosixPaths; }

Invocation ReadInvocation(int argc, char** argv) {
  std::vector<std::string> words;
  for (int i = 1; i < argc; ++i) words.emplace_back(argv[i]);
  return ParsePosixArguments(CountedArguments(std::move(words)), [](const std::string& path) {
    struct stat info;
    return ::lstat(path.c_str(), &info) == 0;
  });
}

}  // namespace rptconv::platform
