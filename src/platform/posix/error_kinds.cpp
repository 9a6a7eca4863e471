// The pieces of a failure report on POSIX: the program's name and the kind
// of an error number.
#if defined(__APPLE__)
#include <mach-o/dyld.h>
#endif
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdint>
#include <string>

#include "platform/platform.h"

namespace rptconv::platform {

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

}  // namespace rptconv::platform
