#include "report/line_reader.h"

#include <algorithm>
#include <cstring>

namespace rptconv {

ReportReader::ReportReader(ByteSource& source, std::size_t block_size)
    : source_(source), block_(std::max<std::size_t>(block_size, 1)) {}

bool ReportReader::FillBuffer() {
  if (stopped_) return false;
  pos_ = 0;
  end_ = source_.Read(block_.data(), block_.size());
  if (end_ == 0) stopped_ = true;
  const char* sub = static_cast<const char*>(std::memchr(block_.data(), kCtrlZ, end_));
  data_end_ = sub ? static_cast<std::size_t>(sub - block_.data()) : end_;
  return end_ != 0;
}

bool ReportReader::AtEnd() {
  if (stopped_) return true;
  if (pos_ == end_ && !FillBuffer()) return true;
  if (pos_ == data_end_) {  // the next byte is the block's Ctrl-Z
    stopped_ = true;
    return true;
  }
  return false;
}

void ReportReader::GatherLine() {
  line_.clear();
  while (!stopped_) {
    if (pos_ == end_ && !FillBuffer()) break;
    const char* start = block_.data() + pos_;
    const std::size_t avail = data_end_ - pos_;
    const char* lf = static_cast<const char*>(std::memchr(start, kLineFeed, avail));
    const std::size_t run = lf ? static_cast<std::size_t>(lf - start) : avail;
    // No line end before the block's Ctrl-Z: it ends the line and the input.
    if (!lf && data_end_ < end_) stopped_ = true;
    // Copy the run without its CR bytes.
    const char* p = start;
    const char* stop = start + run;
    while (p < stop) {
      const char* cr = static_cast<const char*>(std::memchr(p, kCarriageReturn, static_cast<std::size_t>(stop - p)));
      const char* piece_end = cr ? cr : stop;
      line_.append(p, static_cast<std::size_t>(piece_end - p));
      p = cr ? cr + 1 : stop;
    }
    pos_ += run;
    if (stopped_) break;
    if (lf) {
      ++pos_;  // consume the LF
      break;
    }
  }
  current_ = std::span<char>(line_.data(), line_.size());
}

}  // namespace rptconv
