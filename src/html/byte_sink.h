// Where the bytes of a page (or of a console stream) go: a file on each
// platform, a string in the tests.
#pragma once

#include <string_view>

namespace rptconv {

class ByteSink {
 public:
  virtual ~ByteSink() = default;
  // Writes all of `bytes`; a failure throws IoError.
  virtual void Write(std::string_view bytes) = 0;
};

}  // namespace rptconv
