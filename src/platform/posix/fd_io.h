// Whole reads and writes on file descriptors, retried when a signal
// interrupts them.
#pragma once

#include <cstddef>
#include <string_view>

namespace rptconv::platform {

// Writes all of `bytes` to `fd`; gives 0, or the errno of the write that failed.
int WriteAll(int fd, std::string_view bytes);

// Reads up to `capacity` bytes; gives the count (0 at the end of the data) or
// -1 with errno set.
long ReadSome(int fd, char* buffer, std::size_t capacity);

}  // namespace rptconv::platform
