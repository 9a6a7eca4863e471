#include "html/line_writer.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

namespace rptconv {

namespace {

// The entity for each byte that must not reach the page raw, else empty.
constexpr std::array<std::string_view, 256> MakeEntities() {
  std::array<std::string_view, 256> entities{};
  entities[static_cast<unsigned char>('&')] = "&amp;";
  entities[static_cast<unsigned char>('<')] = "&lt;";
  entities[static_cast<unsigned char>('>')] = "&gt;";
  entities[static_cast<unsigned char>('"')] = "&quot;";
  return entities;
}
constexpr std::array<std::string_view, 256> kEntities = MakeEntities();

// True when one of the eight bytes of `word` is "&", "<", ">" or '"'. A byte
// equals c exactly when the word XOR c-in-every-byte has a zero byte there.
constexpr std::uint64_t kEveryByte = 0x0101010101010101ULL;
constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
constexpr bool HasZeroByte(std::uint64_t x) { return ((x - kEveryByte) & ~x & kHighBits) != 0; }
inline bool HasEscapedByte(std::uint64_t word) {
  return HasZeroByte(word ^ (kEveryByte * '&')) || HasZeroByte(word ^ (kEveryByte * '<')) ||
         HasZeroByte(word ^ (kEveryByte * '>')) || HasZeroByte(word ^ (kEveryByte * '"'));
}

// The position of the first byte of `text` from `from` on that needs an
// entity, or the size of `text`. Plain runs are skipped eight bytes at a time.
std::size_t NextEscaped(std::string_view text, std::size_t from) {
  std::size_t i = from;
  for (; i + sizeof(std::uint64_t) <= text.size(); i += sizeof(std::uint64_t)) {
    std::uint64_t word;
    std::memcpy(&word, text.data() + i, sizeof word);
    if (HasEscapedByte(word)) break;
  }
  while (i < text.size() && kEntities[static_cast<unsigned char>(text[i])].empty()) ++i;
  return i;
}

}  // namespace

LineWriter::LineWriter(ByteSink& sink, std::size_t buffer_size)
    : sink_(sink), flush_at_(std::max<std::size_t>(buffer_size, 1)) {
  buffer_.reserve(flush_at_ + 1024);
}

LineWriter& LineWriter::Text(std::string_view text) {
  std::size_t start = 0;
  for (std::size_t i = NextEscaped(text, 0); i < text.size(); i = NextEscaped(text, start)) {
    Raw(text.substr(start, i - start));
    Raw(kEntities[static_cast<unsigned char>(text[i])]);
    start = i + 1;
  }
  return Raw(text.substr(start));
}

LineWriter& LineWriter::Overflow(std::string_view bytes) {
  Flush();
  if (bytes.size() > buffer_.capacity()) {
    sink_.Write(bytes);
  } else {
    buffer_.append(bytes);
  }
  return *this;
}

void LineWriter::Flush() {
  if (buffer_.empty()) return;
  sink_.Write(buffer_);
  buffer_.clear();
}

}  // namespace rptconv
