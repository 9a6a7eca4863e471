// Reads a report line by line through a ByteSource, in large blocks.
//
// Line rules: LF ends a line; every CR is dropped (so CR LF ends a line and a
// lone CR vanishes); Ctrl-Z ends the input wherever it stands and is never
// consumed; the end of the data ends the last line, with or without a line
// end. Reading at the end gives an empty line, however often.
#pragma once

#include <cstddef>
#include <cstring>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "rptconv/rptconv.h"

namespace rptconv {

inline constexpr char kLineFeed = '\n';
inline constexpr char kCarriageReturn = '\r';
inline constexpr char kCtrlZ = '\x1A';
inline constexpr std::size_t kDefaultBlockSize = 256 * 1024;

class ReportReader {
 public:
  explicit ReportReader(ByteSource& source, std::size_t block_size = kDefaultBlockSize);

  // The next line without its line end. Its bytes stay valid, and may be
  // changed in place, until the next call of ReadLine or AtEnd.
  std::span<char> ReadLine() {
    if (!ReadLineInPlace()) GatherLine();
    return current_;
  }

  // Reads the next line as ReadLine does when it lies wholly in the block
  // and can be handed out where it lies, which leaves every line handed out
  // before where it was. Otherwise reads nothing and gives false: ReadLine
  // then gathers the line, which may move or overwrite the earlier ones.
  bool TryReadLineInPlace(std::span<char>& line) {
    if (!ReadLineInPlace()) return false;
    line = current_;
    return true;
  }

  // True when the next byte to read is the end of the data or a Ctrl-Z.
  bool AtEnd();

 private:
  bool FillBuffer();  // false at the end of the data
  // A line that lies wholly in the block before its first Ctrl-Z, ends with
  // LF or CR LF and holds no other CR, is handed out where it lies.
  bool ReadLineInPlace() {
    if (stopped_ || pos_ >= data_end_) return false;
    char* start = block_.data() + pos_;
    const auto* lf = static_cast<const char*>(std::memchr(start, kLineFeed, data_end_ - pos_));
    if (!lf) return false;
    const auto run = static_cast<std::size_t>(lf - start);
    std::size_t length = run;
    if (length > 0 && start[length - 1] == kCarriageReturn) --length;
    if (std::memchr(start, kCarriageReturn, length)) return false;
    pos_ += run + 1;
    current_ = std::span<char>(start, length);
    return true;
  }
  // Gathers a line that cannot be handed out in place into line_.
  void GatherLine();

  ByteSource& source_;
  std::vector<char> block_;
  std::size_t pos_ = 0;
  std::size_t end_ = 0;
  // Where the block's data ends for the reader: at its first Ctrl-Z, or at
  // end_ when it has none.
  std::size_t data_end_ = 0;
  bool stopped_ = false;  // a Ctrl-Z or the end of the data was reached
  std::string line_;
  std::span<char> current_;
};

}  // namespace rptconv
