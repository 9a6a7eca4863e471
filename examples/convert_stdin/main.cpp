// Converts the report on standard input into a page on standard output,
// through the library alone. A failure is told on standard error with the
// exit code 1.
#include <rptconv/rptconv.h>

#include <cerrno>
#include <cstdio>
#include <exception>
#include <new>

struct Stdin : rptconv::ByteSource {
  std::size_t Read(char* buffer, std::size_t capacity) override {
    const std::size_t n = std::fread(buffer, 1, capacity, stdin);
    if (n == 0 && std::ferror(stdin)) throw rptconv::IoError(errno, rptconv::IoSite::kReadReport);
    return n;
  }
};
struct Stdout : rptconv::ByteSink {
  void Write(std::string_view bytes) override {
    if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size()) {
      throw rptconv::IoError(errno, rptconv::IoSite::kWriteOutput);
    }
  }
};

int main() {
  Stdin in;
  Stdout out;
  try {
    rptconv::Convert(in, out);
    if (std::fflush(stdout) != 0) throw rptconv::IoError(errno, rptconv::IoSite::kWriteOutput);
  } catch (const rptconv::IoError& error) {
    std::fprintf(stderr, "convert_stdin: %s\n", error.what());
    return 1;
  } catch (const std::bad_alloc&) {
    std::fprintf(stderr, "convert_stdin: out of memory\n");
    return 1;
  } catch (const std::exception& error) {  // std::invalid_argument for a code page without a table
    std::fprintf(stderr, "convert_stdin: %s\n", error.what());
    return 1;
  }
}
