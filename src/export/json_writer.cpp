#include "export/json_writer.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <stdexcept>

#include "report/codepage.h"

namespace rptconv {

namespace {

constexpr char16_t kReplacement = 0xFFFD;
constexpr char kHexDigits[] = "0123456789abcdef";

constexpr JsonByte Bytes(std::string_view text) {
  JsonByte out{};
  for (std::size_t i = 0; i < text.size(); ++i) out.bytes[i] = text[i];
  out.size = static_cast<std::uint8_t>(text.size());
  return out;
}

constexpr JsonByte Utf8Of(char16_t code_point) {
  JsonByte out{};
  out.size = static_cast<std::uint8_t>(EncodeUtf8(code_point, out.bytes));
  return out;
}

// The ASCII half, the same for every code page: control bytes, DEL, the
// quote and the backslash escaped, everything else as it is.
constexpr JsonByte AsciiByte(unsigned byte) {
  switch (byte) {
    case '"': return Bytes("\\\"");
    case '\\': return Bytes("\\\\");
    case '\b': return Bytes("\\b");
    case '\f': return Bytes("\\f");
    case '\n': return Bytes("\\n");
    case '\r': return Bytes("\\r");
    case '\t': return Bytes("\\t");
    default: break;
  }
  if (byte < 0x20 || byte == 0x7F) {
    const char escaped[] = {'\\', 'u', '0', '0', kHexDigits[byte >> 4], kHexDigits[byte & 0xF]};
    return Bytes(std::string_view(escaped, sizeof escaped));
  }
  return Utf8Of(static_cast<char16_t>(byte));
}

constexpr JsonCodepageTable MakeTable(const char16_t* high) {
  JsonCodepageTable table{};
  for (unsigned byte = 0; byte < kFirstHighByte; ++byte) table[byte] = AsciiByte(byte);
  for (unsigned byte = kFirstHighByte; byte < table.size(); ++byte) table[byte] = Utf8Of(high[byte - kFirstHighByte]);
  return table;
}

constexpr JsonCodepageTable kCp1250 = MakeTable(FindCodepageHigh(kCodepageCentralEuropean));
constexpr JsonCodepageTable kCp1252 = MakeTable(FindCodepageHigh(kCodepageWestern));
// For UTF-8 text: its ASCII bytes escaped as above (the high half is never used).
constexpr JsonCodepageTable kAscii = MakeTable(FindCodepageHigh(kCodepageWestern));

// True when all eight bytes of `word` pass into a JSON string unchanged:
// printable ASCII other than '"' and '\'. A byte below n shows as a high
// bit of (word - n in every byte) & ~word once no byte has its high bit
// set, which is tested first; a byte equal to c is a zero byte of word XOR
// c-in-every-byte.
constexpr std::uint64_t kEveryByte = 0x0101010101010101ULL;
constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
constexpr std::uint64_t ZeroBytes(std::uint64_t x) { return (x - kEveryByte) & ~x & kHighBits; }
constexpr std::uint64_t BytesBelow(std::uint64_t x, std::uint64_t n) { return (x - kEveryByte * n) & ~x & kHighBits; }
inline bool IsPlainWord(std::uint64_t word) {
  return ((word & kHighBits) | BytesBelow(word, 0x20) | ZeroBytes(word ^ (kEveryByte * 0x7F)) |
          ZeroBytes(word ^ (kEveryByte * '"')) | ZeroBytes(word ^ (kEveryByte * '\\'))) == 0;
}

// The length of the valid UTF-8 sequence that begins at `p` (a byte from
// 0x80 up), or 0 when none does: no overlong form, no surrogate, nothing
// beyond U+10FFFF.
std::size_t Utf8SequenceAt(const unsigned char* p, std::size_t left) {
  const unsigned lead = p[0];
  std::size_t size;
  unsigned low = 0x80, high = 0xBF;  // the range of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    size = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    size = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    size = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (left < size || p[1] < low || p[1] > high) return 0;
  for (std::size_t i = 2; i < size; ++i) {
    if (p[i] < 0x80 || p[i] > 0xBF) return 0;
  }
  return size;
}

// Room a string keeps at the end of the buffer for one step of its loop.
constexpr std::size_t kStepRoom = 16;
constexpr std::size_t kSmallestBuffer = 64;

}  // namespace

const JsonCodepageTable* FindJsonCodepage(int codepage) {
  switch (codepage) {
    case kCodepageCentralEuropean: return &kCp1250;
    case kCodepageWestern: return &kCp1252;
    default: return nullptr;
  }
}

JsonWriter::JsonWriter(ByteSink& sink, const JsonCodepageTable& table, std::size_t buffer_size)
    : sink_(sink),
      table_(&table),
      capacity_(std::max(buffer_size, kSmallestBuffer)),
      buffer_(new char[capacity_]) {
  empty_[0] = true;
}

void JsonWriter::Put(std::string_view bytes) {
  while (!bytes.empty()) {
    const std::size_t n = std::min(bytes.size(), capacity_);
    std::memcpy(Room(n), bytes.data(), n);
    size_ += n;
    bytes.remove_prefix(n);
  }
}

void JsonWriter::BeforeValue() {
  if (after_key_) {
    after_key_ = false;
    return;
  }
  // Values at the top level are separated by EndRecord, not by commas.
  if (depth_ > 0 && !empty_[depth_]) PutChar(',');
  empty_[depth_] = false;
  if (new_line_) {
    PutChar('\n');
    new_line_ = false;
  }
}

void JsonWriter::Open(char bracket) {
  BeforeValue();
  if (depth_ == kJsonMaxDepth) throw std::logic_error("JSON nested too deep");
  PutChar(bracket);
  empty_[++depth_] = true;
}

void JsonWriter::Close(char bracket) {
  if (depth_ == 0 || after_key_) throw std::logic_error("JSON closed without an open value");
  if (new_line_) {
    PutChar('\n');
    new_line_ = false;
  }
  --depth_;
  PutChar(bracket);
}

JsonWriter& JsonWriter::BeginObject() {
  Open('{');
  return *this;
}
JsonWriter& JsonWriter::EndObject() {
  Close('}');
  return *this;
}
JsonWriter& JsonWriter::BeginArray() {
  Open('[');
  return *this;
}
JsonWriter& JsonWriter::EndArray() {
  Close(']');
  return *this;
}

JsonWriter& JsonWriter::Key(std::string_view text) {
  BeforeValue();
  Quoted(text, false);
  PutChar(':');
  after_key_ = true;
  return *this;
}

JsonWriter& JsonWriter::String(std::string_view text) {
  BeforeValue();
  Quoted(text, false);
  return *this;
}

JsonWriter& JsonWriter::Utf8String(std::string_view text) {
  BeforeValue();
  Quoted(text, true);
  return *this;
}

JsonWriter& JsonWriter::Int(std::int64_t value) {
  BeforeValue();
  char digits[24];
  const auto result = std::to_chars(digits, digits + sizeof digits, value);
  Put(std::string_view(digits, static_cast<std::size_t>(result.ptr - digits)));
  return *this;
}

JsonWriter& JsonWriter::Number(std::string_view json_number) {
  BeforeValue();
  Put(json_number);
  return *this;
}

JsonWriter& JsonWriter::Bool(bool value) {
  BeforeValue();
  Put(value ? "true" : "false");
  return *this;
}

JsonWriter& JsonWriter::Null() {
  BeforeValue();
  Put("null");
  return *this;
}

void JsonWriter::EndRecord() {
  if (depth_ != 0 || after_key_) throw std::logic_error("JSON record ended inside a value");
  new_line_ = false;
  PutChar('\n');
}

void JsonWriter::Quoted(std::string_view text, bool utf8) {
  const JsonCodepageTable& table = utf8 ? kAscii : *table_;
  char* out = Room(kStepRoom);
  *out++ = '"';
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  const auto* const end = p + text.size();
  char* limit = buffer_.get() + capacity_ - kStepRoom;
  while (p < end) {
    if (out > limit) {
      size_ = static_cast<std::size_t>(out - buffer_.get());
      Flush();
      out = buffer_.get();
    }
    // Plain runs go eight bytes at a time.
    if (end - p >= 8) {
      std::uint64_t word;
      std::memcpy(&word, p, sizeof word);
      if (IsPlainWord(word)) {
        std::memcpy(out, &word, sizeof word);
        out += sizeof word;
        p += sizeof word;
        continue;
      }
    }
    if (utf8 && *p >= kFirstHighByte) {
      const std::size_t n = Utf8SequenceAt(p, static_cast<std::size_t>(end - p));
      if (n == 0) {
        const JsonByte replacement = Utf8Of(kReplacement);
        std::memcpy(out, replacement.bytes, replacement.size);
        out += replacement.size;
        ++p;
      } else {
        std::memcpy(out, p, n);
        out += n;
        p += n;
      }
      continue;
    }
    const JsonByte& mapped = table[*p++];
    std::memcpy(out, &mapped, sizeof mapped);
    out += mapped.size;
  }
  size_ = static_cast<std::size_t>(out - buffer_.get());
  PutChar('"');
}

void JsonWriter::Flush() {
  if (size_ == 0) return;
  sink_.Write(std::string_view(buffer_.get(), size_));
  size_ = 0;
}

}  // namespace rptconv
