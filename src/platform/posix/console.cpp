// Standard streams, start-up and the failure report's pieces on POSIX.
#include <fcntl.h>
#include <sys/stat.h>
#include <signal.h>
#include <unistd.h>
#if defined(__APPLE__)
#include <mach-o/dyld.h>
#endif

#include <cerrno>
#include <climits>
#include <cstdint>
#include <string>

#include "platform/platform.h"
#include "platform/posix/cleanup.h"
#include "platform/posix/fd_io.h"
#include "rptconv/rptconv.h"

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

std::string ModuleName() {
  std::string exe = "rptconv";
#if defined(__APPLE__)
  char path[PATH_MAX];
  std::uint32_t size = sizeof path;
  if (::_NSGetExecutablePath(path, &size) == 0) exe = path;
#else
  char path[PATH_MAX];
  const ssize_t n = ::readlink("/proc/self/exe", path, sizeof path);
  if (n > 0 && static_cast<std::size_t>(n) < sizeof path) exe.assign(path, static_cast<std::size_t>(n));
  // The link of a program replaced while it runs names the old file.
  constexpr std::string_view kDeleted = " (deleted)";
  if (exe.size() > kDeleted.size() && exe.ends_with(kDeleted)) exe.resize(exe.size() - kDeleted.size());
#endif
  const std::size_t slash = exe.rfind('/');
  return slash == std::string::npos ? exe : exe.substr(slash + 1);
}

ErrorKind KindOfError(int code) {
  switch (code) {
    case ENOENT: return ErrorKind::kFileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG: return ErrorKind::kInvalidFilename;
    case EMFILE:
    case ENFILE: return ErrorKind::kTooManyOpenFiles;
    case EACCES:
    case EPERM: return ErrorKind::kAccessDenied;
    default: return ErrorKind::kOther;
  }
}

// POSIX consoles have no separate OEM character set.
std::string ForConsole(std::string report) { return report; }

Family ThisFamily() { return Family::kPosix; }

RawCommandLine ReadCommandLine(int argc, char** argv) {
  RawCommandLine command_line;
  for (int i = 1; i < argc; ++i) command_line.words.emplace_back(argv[i]);
  return command_line;
}

bool PathExists(const std::string& path) {
  struct stat info;
  return ::lstat(path.c_str(), &info) == 0;
}

bool IsLeadByte(unsigned char) { return false; }

std::string CurrentDirectory() {
  std::string path(PATH_MAX, '\0');
  while (::getcwd(path.data(), path.size()) == nullptr) {
    if (errno != ERANGE) return ".";
    path.resize(path.size() * 2);
  }
  path.resize(std::char_traits<char>::length(path.c_str()));
  return path;
}

}  // namespace rptconv::platform
