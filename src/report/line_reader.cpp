#include "report/line_reader.h"

#include <algorithm>
#include <cstring>

namespace rptconv {

ReportReader::ReportReader(ByteSource& source, std::size_t block_size)
    : source_(source),
      block_size_(std::max<std::size_t>(block_size, 1)),
      block_(block_size_ + kVectorBytes),
      // Two words more than the block needs: a mask window may start at the
      // block's end and takes the next word too.
      line_ends_(MaskWords(block_size_) + 2),
      commas_(MaskWords(block_size_) + 2) {
  padded_.data = block_.data();
}

bool ReportReader::FillBuffer() {
  if (stopped_) return false;
  pos_ = 0;
  end_ = source_.Read(block_.data(), block_size_);
  if (end_ == 0) stopped_ = true;
  data_end_ = ClassifyBlock(block_.data(), end_, {line_ends_.data(), commas_.data()});
  for (std::size_t w = MaskWords(end_); w < MaskWords(end_) + 2; ++w) line_ends_[w] = commas_[w] = 0;
  padded_.size = end_;
  return end_ != 0;
}

bool ReportReader::AtEndOfBlock() {
  if (stopped_) return true;
  if (pos_ == end_ && !FillBuffer()) return true;
  if (pos_ == data_end_) {  // the next byte is the block's Ctrl-Z
    stopped_ = true;
    return true;
  }
  return false;
}

std::size_t ReportReader::VeryLongLineEnd(std::size_t pos) const {
  return MaskCursor(line_ends_.data(), pos + kShortWindowBits, data_end_).Next();
}

void ReportReader::ReplaceSemicolons(std::size_t from, std::size_t end) {
  for (std::size_t i = from; i < end; i += kVectorBytes) {
    std::uint32_t semicolons = ByteBits16(block_.data() + i, kValueComma);
    if (end - i < kVectorBytes) semicolons &= (std::uint32_t{1} << (end - i)) - 1;
    for (; semicolons != 0; semicolons &= semicolons - 1) block_[i + LowestBit(semicolons)] = kFieldSeparator;
  }
}

std::span<char> ReportReader::GatherLine() {
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
  const std::size_t size = line_.size();
  line_.append(kVectorBytes, '\0');  // readable past its end, as lines in the block are
  return std::span<char>(line_.data(), size);
}

}  // namespace rptconv
