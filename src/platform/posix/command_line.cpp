// The command line on POSIX: the words as the shell hands them over.
#include <sys/stat.h>

#include <string>

#include "platform/platform.h"

namespace rptconv::platform {

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

}  // namespace rptconv::platform
