#include "report/line_reader.h"

#include <algorithm>
#include <cstring>

namespace rptconv {

namespace {

// Words of storage for a block of `block_size` bytes with its padding, and
// for its two masks. Each mask has two words more than the block needs: a
// mask window may start at the block's end and takes the next word too.
std::size_t BlockWords(std::size_t block_size) { return (block_size + kVectorBytes + 7) / 8; }
std::size_t MaskWordsKept(std::size_t block_size) { return MaskWords(block_size) + 2; }

// The storage a finished reader left, for the next reader of its thread.
struct SpareStorage {
  std::unique_ptr<std::uint64_t[]> words;
  std::size_t block_size = 0;
};
thread_local SpareStorage spare_storage;

}  // namespace

ReportReader::ReportReader(ByteSource& source, std::size_t block_size)
    : source_(source), block_size_(std::max<std::size_t>(block_size, 1)) {
  if (spare_storage.words && spare_storage.block_size == block_size_) {
    storage_ = std::move(spare_storage.words);
  } else {
    storage_.reset(new std::uint64_t[BlockWords(block_size_) + 2 * MaskWordsKept(block_size_)]);
  }
  block_ = reinterpret_cast<char*>(storage_.get());
  line_ends_ = storage_.get() + BlockWords(block_size_);
  commas_ = line_ends_ + MaskWordsKept(block_size_);
  padded_.data = block_;
  // Before the first read the reader sees an empty block.
  std::memset(block_, 0, kVectorBytes);
  line_ends_[0] = line_ends_[1] = commas_[0] = commas_[1] = 0;
}

ReportReader::~ReportReader() {
  spare_storage.words = std::move(storage_);
  spare_storage.block_size = block_size_;
}

bool ReportReader::FillBuffer() {
  if (stopped_) return false;
  pos_ = 0;
  end_ = source_.Read(block_, block_size_);
  if (end_ == 0) stopped_ = true;
  // The bytes a vector read past the data may see.
  std::memset(block_ + end_, 0, kVectorBytes);
  data_end_ = ClassifyBlock(block_, end_, {line_ends_, commas_});
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
  return MaskCursor(line_ends_, pos + kShortWindowBits, data_end_).Next();
}

void ReportReader::ReplaceSemicolons(std::size_t from, std::size_t end) {
  for (std::size_t i = from; i < end; i += kVectorBytes) {
    std::uint32_t semicolons = ByteBits16(block_ + i, kValueComma);
    if (end - i < kVectorBytes) semicolons &= (std::uint32_t{1} << (end - i)) - 1;
    for (; semicolons != 0; semicolons &= semicolons - 1) block_[i + LowestBit(semicolons)] = kFieldSeparator;
  }
}

std::span<char> ReportReader::GatherLine() {
  line_.clear();
  while (!stopped_) {
    if (pos_ == end_ && !FillBuffer()) break;
    const char* start = block_ + pos_;
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
