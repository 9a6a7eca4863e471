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

  // The next line without its line end. The view stays valid until the next
  // call of ReadLine or AtEnd; its bytes may be changed through CurrentLine.
  std::string_view ReadLine() {
    if (replay_.empty() && ReadLineInPlace()) return {current_.data(), current_.size()};
    return ReadLineElsewhere();
  }
  // The line that ReadLine returned last, for splitting in place.
  std::span<char> CurrentLine() { return current_; }

  // True when the next byte to read is the end of the data or a Ctrl-Z.
  bool AtEnd();

  // Keeps lines 2 to 6 of the report for a second reading: the title comes
  // from line 6, and lines 2 to 6 are record lines too. Returns line 6 (empty
  // when the report has fewer lines). Call once, before any other read.
  std::string_view ReadPreamble();

 private:
  bool FillBuffer();  // false at the end of the data
  std::string_view Current(std::span<char> line) {
    current_ = line;
    return {line.data(), line.size()};
  }
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
  // A preamble line kept for replay, or a line gathered into line_.
  std::string_view ReadLineElsewhere();
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
  std::vector<std::string> replay_;  // preamble lines still to hand out, last first
  std::string title_line_;
};

}  // namespace rptconv
