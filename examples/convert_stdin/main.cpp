// Converts the report on standard input into a page on standard output,
// through the library alone.
#include <rptconv/rptconv.h>

#include <cstdio>

struct Stdin : rptconv::ByteSource {
  std::size_t Read(char* buffer, std::size_t capacity) override { return std::fread(buffer, 1, capacity, stdin); }
};
struct Stdout : rptconv::ByteSink {
  void Write(std::string_view bytes) override { std::fwrite(bytes.data(), 1, bytes.size(), stdout); }
};

int main() {
  Stdin in;
  Stdout out;
  rptconv::Convert(in, out);
}
