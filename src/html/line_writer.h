// Writes a page line by line into a ByteSink through one reusable buffer.
// A line is built from pieces with Raw (the program's own markup) and Text
// (report text, escaped for HTML) and ended with EndLine, which adds CR LF.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>

#include "html/escape.h"
#include "report/byte_classes.h"
#include "report/plain_copy.h"
#include "walk/page_events.h"
#include "rptconv/rptconv.h"

namespace rptconv {

inline constexpr std::string_view kLineEnd = "\r\n";
inline constexpr std::size_t kOutputBufferSize = 256 * 1024;
inline constexpr std::size_t kPieceStore = 32;    // see Piece

class LineWriter;

// Writes a line into room that LineWriter::Reserve made: no test for room
// per piece, and the write position stays in a register. The room holds
// kLineRoom bytes: the line's markup and its plain texts of up to
// kInlineText bytes (each with kVectorBytes written past it) must fit in it;
// a longer text, or one to escape, makes room for itself.
class ReservedWrite {
 public:
  static constexpr std::size_t kLineRoom = 1024;
  static constexpr std::size_t kInlineText = 64;

  ReservedWrite& Raw(std::string_view bytes) {
    std::memcpy(out_, bytes.data(), bytes.size());
    out_ += bytes.size();
    return *this;
  }
  // Markup of at most kPieceStore bytes, held in a store of that size that
  // is copied whole: `size` bytes of it count.
  ReservedWrite& Piece(const char* store, std::size_t size) {
    std::memcpy(out_, store, kPieceStore);
    out_ += size;
    return *this;
  }
  // Report text as PageEvents hands it out, readable kTextPadding bytes
  // past its end: "&", "<", ">", '"' and ESC become entities, all else
  // passes.
  [[gnu::always_inline]] inline ReservedWrite& Text(std::string_view text);

  // Copies a report text of up to kInlineText bytes, readable kTextPadding
  // bytes past its end, when kSpecial finds none of its bytes; else copies
  // nothing and gives false.
  template <SpecialBits kSpecial>
  [[gnu::always_inline]] bool CopyPlain(std::string_view text) {
    if (text.size() <= kVectorBytes) return ShortPlain<kSpecial>(text);
    return text.size() <= kInlineText && MediumPlain<kSpecial>(text);
  }

 private:
  friend class LineWriter;
  ReservedWrite(LineWriter& writer, char* out) : writer_(&writer), out_(out) {}

  // CopyShortPlain and CopyMediumPlain at the write position.
  template <SpecialBits kSpecial>
  bool ShortPlain(std::string_view text) {
    return CopyShortPlain<kSpecial>(out_, text);
  }
  template <SpecialBits kSpecial>
  [[gnu::always_inline]] bool MediumPlain(std::string_view text) {
    char* out = out_;
    if (!CopyMediumPlain<kSpecial>(out, text)) return false;
    out_ = out;
    return true;
  }

  // Any text: copied 16 bytes at a time when it is plain and short enough,
  // else escaped where it makes room for itself.
  [[gnu::noinline]] void LongerText(std::string_view text);

  LineWriter* writer_;
  char* out_;
};

class LineWriter {
 public:
  explicit LineWriter(ByteSink& sink, std::size_t buffer_size = kOutputBufferSize);

  LineWriter& Raw(std::string_view bytes) {
    if (bytes.size() > capacity_ - size_) return Overflow(bytes);
    if (bytes.empty()) return *this;  // an empty view may hold no pointer, which memcpy may not take
    std::memcpy(buffer_.get() + size_, bytes.data(), bytes.size());
    size_ += bytes.size();
    return *this;
  }
  // As ReservedWrite::Piece.
  LineWriter& Piece(const char* store, std::size_t size) {
    if (kPieceStore > capacity_ - size_) return Overflow({store, size});
    std::memcpy(buffer_.get() + size_, store, kPieceStore);
    size_ += size;
    return *this;
  }
  // Any text: "&", "<", ">", '"' and ESC become entities, all else passes.
  LineWriter& Text(std::string_view text) {
    size_ = static_cast<std::size_t>(TextMakingRoom(buffer_.get() + size_, text, PaddedAt(text)) - buffer_.get());
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

  // Room for the rest of a line, ReservedWrite::kLineRoom bytes; then the
  // line written into it is kept and ended.
  ReservedWrite Reserve() {
    if (ReservedWrite::kLineRoom > capacity_ - size_) Flush();
    return {*this, buffer_.get() + size_};
  }
  // Keeps what was written into the room, without ending the line.
  void Keep(const ReservedWrite& line) { Commit(line); }
  void EndLine(ReservedWrite& line) {
    line.Raw(kLineEnd);
    Commit(line);
    if (size_ >= flush_at_) Flush();
  }

 private:
  friend class ReservedWrite;
  void Commit(const ReservedWrite& line) { size_ = static_cast<std::size_t>(line.out_ - buffer_.get()); }
  // Writes `text` at `out` in a reserved line, making room for it and for
  // kLineRoom bytes after it; gives where the line goes on. A `padded`
  // text may be read kTextPadding bytes past its end.
  char* TextMakingRoom(char* out, std::string_view text, bool padded);
  // True when `text` lies in the reader's block, which is padded.
  bool PaddedAt(std::string_view text) const {
    const std::size_t offset =
        reinterpret_cast<std::uintptr_t>(text.data()) - reinterpret_cast<std::uintptr_t>(padded_->data);
    return offset < padded_->size && text.size() <= padded_->size - offset;
  }
  // Flushes, then buffers `bytes` or, when they exceed the buffer, writes them straight through.
  LineWriter& Overflow(std::string_view bytes);

  ByteSink& sink_;
  std::size_t flush_at_;  // a finished line is flushed once this much is buffered
  std::size_t capacity_;
  std::unique_ptr<char[]> buffer_;  // capacity_ bytes, then room for writes past the end
  std::size_t size_ = 0;
  static constexpr PaddedBlock kNoBlock{};
  const PaddedBlock* padded_ = &kNoBlock;
};

inline ReservedWrite& ReservedWrite::Text(std::string_view text) {
  // Short texts are copied here, inline; longer ones in a call.
  if (text.size() > kVectorBytes || !ShortPlain<EscapedBits16>(text)) LongerText(text);
  return *this;
}

}  // namespace rptconv
