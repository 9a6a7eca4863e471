// The current directory on POSIX.
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <string>

#include "platform/platform.h"

namespace rptconv::platform {

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
