#include "report/line_reader.h"

#include <algorithm>
#include <cstring>

namespace rptconv {

namespace {
constexpr int kPreambleLines = 6;
}

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
  if (!replay_.empty()) return false;
  if (stopped_) return true;
  if (pos_ == end_ && !FillBuffer()) return true;
  if (pos_ == data_end_) {  // the next byte is the block's Ctrl-Z
    stopped_ = true;
    return true;
  }
  return false;
}

std::string_view ReportReader::ReadLineElsewhere() {
  if (!replay_.empty()) {
    line_.swap(replay_.back());
    replay_.pop_back();
    return Current(line_);
  }
  GatherLine();
  return Current(line_);
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
}

std::string_view ReportReader::ReadPreamble() {
  // Lines that exist are kept for the record loop; lines missing at the end
  // of a short report read as empty and are not kept.
  std::vector<std::string> kept;
  for (int n = 1; n <= kPreambleLines; ++n) {
    if (AtEnd()) break;
    const std::string_view line = ReadLine();
    if (n >= 2) kept.emplace_back(line);
  }
  title_line_ = kept.size() == kPreambleLines - 1 ? kept.back() : std::string();
  replay_.assign(kept.rbegin(), kept.rend());
  current_ = {};
  return title_line_;
}

}  // namespace rptconv
