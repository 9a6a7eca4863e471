// Writes a page line by line into a ByteSink through one reusable buffer.
// A line is built from pieces with Raw (the program's own markup) and Text
// (report text, escaped for HTML) and ended with EndLine, which adds CR LF.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>

#include "report/byte_classes.h"
#include "rptconv/rptconv.h"

namespace rptconv {

inline constexpr std::string_view kLineEnd = "\r\n";
inline constexpr std::size_t kOutputBufferSize = 256 * 1024;
inline constexpr std::size_t kLongestEntity = 6;  // "&quot;"
inline constexpr std::size_t kEntityStore = 8;    // an entity is stored with this many bytes
inline constexpr std::size_t kPieceStore = 32;    // see Piece

class LineWriter {
 public:
  explicit LineWriter(ByteSink& sink, std::size_t buffer_size = kOutputBufferSize);

  LineWriter& Raw(std::string_view bytes) {
    if (bytes.size() > capacity_ - size_) return Overflow(bytes);
    std::memcpy(buffer_.get() + size_, bytes.data(), bytes.size());
    size_ += bytes.size();
    return *this;
  }
  // Markup of at most kPieceStore bytes, held in a store of that size that
  // is copied whole: `size` bytes of it count.
  LineWriter& Piece(const char* store, std::size_t size) {
    if (kPieceStore > capacity_ - size_) return Overflow({store, size});
    std::memcpy(buffer_.get() + size_, store, kPieceStore);
    size_ += size;
    return *this;
  }
  // Report text: "&", "<", ">", '"' and ESC become entities, all else passes.
  LineWriter& Text(std::string_view text) {
    // (No text is near 2^61 bytes long, so the product cannot overflow.)
    if (text.size() * kLongestEntity > capacity_ - size_) return TextInPieces(text);
    const std::size_t offset =
        reinterpret_cast<std::uintptr_t>(text.data()) - reinterpret_cast<std::uintptr_t>(padded_->data);
    if (offset < padded_->size && text.size() <= padded_->size - offset) {
      if (!ShortPlainAhead(text)) EscapeAhead(text);
    } else {
      EscapeInto(text);
    }
    return *this;
  }
  // Texts that lie in `block` are escaped 16 bytes at a time: the runs
  // between the bytes to escape are copied whole.
  void EscapeFrom(const PaddedBlock& block) { padded_ = &block; }
  void EndLine() {
    Raw(kLineEnd);
    if (size_ >= flush_at_) Flush();
  }
  // Writes a whole line of the program's own text.
  void Line(std::string_view bytes) {
    Raw(bytes);
    EndLine();
  }
  // Hands everything buffered to the sink.
  void Flush();

 private:
  // Flushes, then buffers `bytes` or, when they exceed the buffer, writes them straight through.
  LineWriter& Overflow(std::string_view bytes);
  // Escapes `text` into the buffer, which has room for its longest escaped form.
  void EscapeInto(std::string_view text);
  // The same for a text in the padded block: the buffer and the block both
  // have room beyond their ends, so it is read and copied 16 bytes at a time.
  void EscapeAhead(std::string_view text);
// GCC cannot tell that a text in the padded block is never one of the short
// literals that other calls of Text pass, and warns about reading past them.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Warray-bounds"
#pragma GCC diagnostic ignored "-Wstringop-overread"
#endif
  // Copies a text of the padded block when it is at most 16 bytes long and
  // holds nothing to escape, the most common case; else copies nothing.
  bool ShortPlainAhead(std::string_view text) {
    if (text.size() > kVectorBytes) return false;
    const std::uint32_t in_text = (std::uint32_t{1} << text.size()) - 1;
    if ((EscapedBits16(text.data()) & in_text) != 0) return false;
    std::memcpy(buffer_.get() + size_, text.data(), kVectorBytes);
    size_ += text.size();
    return true;
  }
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif
  // Text too long for the room left: flushes and escapes it piece by piece.
  LineWriter& TextInPieces(std::string_view text);

  ByteSink& sink_;
  std::size_t flush_at_;  // a finished line is flushed once this much is buffered
  std::size_t capacity_;
  std::unique_ptr<char[]> buffer_;  // capacity_ bytes, then room for writes past the end
  std::size_t size_ = 0;
  static constexpr PaddedBlock kNoBlock{};
  const PaddedBlock* padded_ = &kNoBlock;
};

}  // namespace rptconv
