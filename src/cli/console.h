// Console lines: progress, failures, usage and help.
#pragma once

#include <string_view>

#include "platform/platform.h"

namespace rptconv {

class Console {
 public:
  virtual ~Console() = default;
  // Writes one line, CR LF added; a failure throws IoError.
  virtual void Line(std::string_view line) = 0;
};

// The process's console: standard output, or standard error when pages go
// to standard output and must not be mixed with the lines.
class StandardConsole : public Console {
 public:
  explicit StandardConsole(platform::StandardStream stream)
      : stream_(stream), terminal_(platform::IsTerminal(stream)) {}
  // On a terminal, control bytes of the line show as "?".
  void Line(std::string_view line) override;
  platform::StandardStream Stream() const { return stream_; }

 private:
  platform::StandardStream stream_;
  bool terminal_;
};

}  // namespace rptconv
