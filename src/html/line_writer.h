// Writes a page line by line into a ByteSink through one reusable buffer.
// A line is built from pieces with Raw (the program's own markup) and Text
// (report text, escaped for HTML) and ended with EndLine, which adds CR LF.
#pragma once

#include <cstddef>
#include <cstring>
#include <memory>
#include <string_view>

#include "rptconv/rptconv.h"

namespace rptconv {

inline constexpr std::string_view kLineEnd = "\r\n";
inline constexpr std::size_t kOutputBufferSize = 256 * 1024;
inline constexpr std::size_t kLongestEntity = 6;  // "&quot;"

class LineWriter {
 public:
  explicit LineWriter(ByteSink& sink, std::size_t buffer_size = kOutputBufferSize);

  LineWriter& Raw(std::string_view bytes) {
    if (bytes.size() > capacity_ - size_) return Overflow(bytes);
    std::memcpy(buffer_.get() + size_, bytes.data(), bytes.size());
    size_ += bytes.size();
    return *this;
  }
  // Report text: "&", "<", ">", '"' and ESC become entities, all else passes.
  LineWriter& Text(std::string_view text) {
    if (text.size() > (capacity_ - size_) / kLongestEntity) return TextInPieces(text);
    EscapeInto(text);
    return *this;
  }
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
  // Text too long for the room left: flushes and escapes it piece by piece.
  LineWriter& TextInPieces(std::string_view text);

  ByteSink& sink_;
  std::size_t flush_at_;  // a finished line is flushed once this much is buffered
  std::size_t capacity_;
  std::unique_ptr<char[]> buffer_;
  std::size_t size_ = 0;
};

}  // namespace rptconv
