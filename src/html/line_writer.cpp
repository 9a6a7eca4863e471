#include "html/line_writer.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace rptconv {

namespace {

// What each byte becomes on the page, padded so that it is stored with one
// copy of kEntityStore bytes: the entity, or the byte itself.
struct Entity {
  char bytes[kEntityStore];
  std::size_t size;
};
constexpr std::array<Entity, 256> MakeEntities() {
  std::array<Entity, 256> entities{};
  for (std::size_t c = 0; c < entities.size(); ++c) entities[c] = {{static_cast<char>(c)}, 1};
  const auto set = [&entities](char c, std::string_view entity) {
    Entity& e = entities[static_cast<unsigned char>(c)];
    for (std::size_t i = 0; i < entity.size(); ++i) e.bytes[i] = entity[i];
    e.size = entity.size();
  };
  set('&', "&amp;");
  set('<', "&lt;");
  set('>', "&gt;");
  set('"', "&quot;");
  // A raw ESC lets a browser that guesses ISO-2022-JP read the bytes after
  // it as another character set, swallowing quotes and brackets.
  set(kEscapeByte, "&#27;");
  return entities;
}
constexpr std::array<Entity, 256> kEntities = MakeEntities();

inline char* PutByte(char* out, char c) {
  const Entity& entity = kEntities[static_cast<unsigned char>(c)];
  std::memcpy(out, entity.bytes, kEntityStore);
  return out + entity.size;
}

// Room kept beyond the flush mark, so that most lines never overflow.
constexpr std::size_t kSlack = 4096;

// True when one of the eight bytes of `word` is "&", "<", ">", '"' or ESC. A
// byte equals c exactly when the word XOR c-in-every-byte has a zero byte
// there. The first four bytes come in two pairs that differ in one bit each:
// '"' (0x22) and "&" (0x26) in bit 2, "<" (0x3C) and ">" (0x3E) in bit 1;
// with that bit set in every byte, one comparison finds either byte of a
// pair, and no other. ESC (0x1B) takes a comparison of its own.
constexpr std::uint64_t kEveryByte = 0x0101010101010101ULL;
constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
constexpr std::uint64_t ZeroBytes(std::uint64_t x) { return (x - kEveryByte) & ~x & kHighBits; }
static_assert(('"' | 0x04) == '&' && ('<' | 0x02) == '>');
inline bool HasEscapedByte(std::uint64_t word) {
  return (ZeroBytes((word | (kEveryByte * 0x04)) ^ (kEveryByte * '&')) |
          ZeroBytes((word | (kEveryByte * 0x02)) ^ (kEveryByte * '>')) | ZeroBytes(word ^ (kEveryByte * 0x1B))) != 0;
}

}  // namespace

LineWriter::LineWriter(ByteSink& sink, std::size_t buffer_size)
    : sink_(sink),
      flush_at_(std::max<std::size_t>(buffer_size, 1)),
      capacity_(flush_at_ + kSlack),
      buffer_(new char[capacity_ + kVectorBytes]) {}

char* EscapeElsewhere(char* out, std::string_view text) {
  const char* p = text.data();
  const char* const end = p + text.size();
  while (p < end) {
    // Plain runs go eight bytes at a time.
    if (end - p >= 8) {
      std::uint64_t word;
      std::memcpy(&word, p, sizeof word);
      if (!HasEscapedByte(word)) {
        std::memcpy(out, &word, sizeof word);
        out += sizeof word;
        p += sizeof word;
        continue;
      }
    }
    out = PutByte(out, *p++);
  }
  return out;
}

char* EscapePadded(char* out, std::string_view text) {
  const char* p = text.data();
  const char* const end = p + text.size();
  while (p < end) {
    std::memcpy(out, p, kVectorBytes);
    std::uint32_t escaped = EscapedBits16(p);
    const auto left = static_cast<std::size_t>(end - p);
    if (left < kVectorBytes) escaped &= (std::uint32_t{1} << left) - 1;
    if (escaped == 0) {
      const std::size_t n = std::min(left, kVectorBytes);
      out += n;
      p += n;
    } else {
      const std::size_t first = LowestBit(escaped);
      out = PutByte(out + first, p[first]);
      p += first + 1;
    }
  }
  return out;
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
