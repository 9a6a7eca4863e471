// Where the bytes of a report come from: a file on each platform, a string or
// a failing stub in the tests.
#pragma once

#include <cstddef>

namespace rptconv {

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // Reads up to `capacity` bytes into `buffer` and returns how many were read;
  // 0 means the end of the data. A failure throws IoError.
  virtual std::size_t Read(char* buffer, std::size_t capacity) = 0;
  // Releases the source once the report has been read; a failure throws IoError.
  virtual void Close() {}
};

}  // namespace rptconv
