#include "html/line_writer.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace rptconv {

namespace {

// Room kept beyond the flush mark, so that most lines never overflow.
constexpr std::size_t kSlack = 4096;

}  // namespace

LineWriter::LineWriter(ByteSink& sink, std::size_t buffer_size)
    : sink_(sink),
      flush_at_(std::max<std::size_t>(buffer_size, 1)),
      capacity_(flush_at_ + kSlack),
      buffer_(new char[capacity_ + kVectorBytes]) {}

void ReservedWrite::LongerText(std::string_view text) {
  if (text.size() > kVectorBytes && text.size() <= kInlineText && MediumPlain<EscapedBits16>(text)) return;
  out_ = writer_->TextMakingRoom(out_, text, true);
}

char* LineWriter::TextMakingRoom(char* out, std::string_view text, bool padded) {
  size_ = static_cast<std::size_t>(out - buffer_.get());
  // (No text is near 2^61 bytes long, so the product cannot overflow.)
  const std::size_t room = text.size() * kLongestEntity + ReservedWrite::kLineRoom;
  if (room > capacity_ - size_) Flush();
  if (room <= capacity_ - size_) {
    char* const start = buffer_.get() + size_;
    size_ = static_cast<std::size_t>((padded ? EscapePadded(start, text) : EscapeElsewhere(start, text)) - buffer_.get());
  } else {
    // Longer than the whole buffer even if every byte needed an entity:
    // escape it in pieces the buffer can always take, flushing between.
    const std::size_t piece = (capacity_ - ReservedWrite::kLineRoom) / kLongestEntity;
    while (!text.empty()) {
      const std::size_t n = std::min(piece, text.size());
      if (n * kLongestEntity > capacity_ - size_) Flush();
      size_ = static_cast<std::size_t>(EscapeElsewhere(buffer_.get() + size_, text.substr(0, n)) - buffer_.get());
      text.remove_prefix(n);
    }
    if (ReservedWrite::kLineRoom > capacity_ - size_) Flush();
  }
  return buffer_.get() + size_;
}

LineWriter& LineWriter::Overflow(std::string_view bytes) {
  Flush();
  if (bytes.size() > capacity_) {
    sink_.Write(bytes);
  } else {
    std::memcpy(buffer_.get(), bytes.data(), bytes.size());
    size_ = bytes.size();
  }
  return *this;
}

void LineWriter::Flush() {
  if (size_ == 0) return;
  sink_.Write(std::string_view(buffer_.get(), size_));
  size_ = 0;
}

}  // namespace rptconv
