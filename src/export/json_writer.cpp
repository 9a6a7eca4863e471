#include "export/json_writer.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <stdexcept>

#include "report/byte_classes.h"
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

constexpr std::size_t kWorstBytes = kJsonWorstBytes;
constexpr std::size_t kSlack = kJsonSlack;
constexpr std::size_t kSmallestBuffer = 64;
constexpr std::size_t kLongestSequence = 4;

// Writes the one byte at `p` that does not pass as it is, and gives where
// the text goes on.
inline const unsigned char* PutSpecial(char*& out, const unsigned char* p, const unsigned char* end,
                                       const JsonCodepageTable& table, bool utf8) {
  if (utf8 && *p >= kFirstHighByte) {
    const std::size_t n = Utf8SequenceAt(p, static_cast<std::size_t>(end - p));
    if (n == 0) {
      const JsonByte replacement = Utf8Of(kReplacement);
      std::memcpy(out, replacement.bytes, replacement.size);
      out += replacement.size;
      return p + 1;
    }
    std::memcpy(out, p, n);
    out += n;
    return p + n;
  }
  const JsonByte& mapped = table[*p];
  std::memcpy(out, &mapped, sizeof mapped);
  out += mapped.size;
  return p + 1;
}

// Writes the text escaped at `out`, which has room for kWorstBytes a byte
// and kSlack more; gives the end. Runs of bytes that pass are copied 16 at
// a time; a `padded` text may be read 16 bytes past its end, the last
// bytes of any other are first copied to a block of 16.
template <bool kPadded>
char* Escape(char* out, std::string_view text, const JsonCodepageTable& table, bool utf8) {
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  const auto* const end = p + text.size();
  while (p < end) {
    const auto left = static_cast<std::size_t>(end - p);
    const char* block = reinterpret_cast<const char*>(p);
    char tail[kVectorBytes] = {};
    if (!kPadded && left < kVectorBytes) {
      std::memcpy(tail, p, left);
      block = tail;
    }
    std::memcpy(out, block, kVectorBytes);
    std::uint32_t stops = JsonBits16(block);
    if (left < kVectorBytes) stops |= ~std::uint32_t{0} << left;
    const std::size_t run = stops == 0 ? kVectorBytes : LowestBit(stops);
    out += run;
    p += run;
    if (run == kVectorBytes || p >= end) continue;
    p = PutSpecial(out, p, end, table, utf8);
  }
  return out;
}

}  // namespace

const JsonCodepageTable* FindJsonCodepage(int codepage) {
  switch (codepage) {
    case kCodepageCentralEuropean: return &kCp1250;
    case kCodepageWestern: return &kCp1252;
    default: return nullptr;
  }
}

const JsonCodepageTable& JsonCodepageOrWestern(int codepage) {
  const JsonCodepageTable* table = FindJsonCodepage(codepage);
  return table ? *table : kCp1252;
}

JsonWriter::JsonWriter(ByteSink& sink, const JsonCodepageTable& table, std::size_t buffer_size)
    : sink_(sink),
      table_(&table),
      capacity_(std::max(buffer_size, kSmallestBuffer)),
      buffer_(new char[capacity_]) {
  empty_[0] = true;
}

void JsonWriter::PutLong(std::string_view bytes) {
  while (!bytes.empty()) {
    const std::size_t n = std::min(bytes.size(), capacity_);
    std::memcpy(Room(n), bytes.data(), n);
    size_ += n;
    bytes.remove_prefix(n);
  }
}

void JsonWriter::TooDeep() { throw std::logic_error("JSON nested too deep"); }
void JsonWriter::Unbalanced() { throw std::logic_error("JSON closed or ended inside a value, or with none open"); }

JsonWriter& JsonWriter::BeginObject(std::string_view members) {
  Open('{');
  Put(members);
  empty_[depth_] = members.empty();
  return *this;
}
JsonWriter& JsonWriter::Key(std::string_view text) {
  BeforeValue();
  Quoted(text, *table_, false, false);
  PutChar(':');
  after_key_ = true;
  return *this;
}

JsonWriter& JsonWriter::String(std::string_view text) {
  BeforeValue();
  Quoted(text, *table_, false, false);
  return *this;
}

JsonWriter& JsonWriter::String(std::string_view text, const JsonCodepageTable& table) {
  BeforeValue();
  Quoted(text, table, false, false);
  return *this;
}

JsonWriter& JsonWriter::Text(std::string_view text) {
  BeforeValue();
  Quoted(text, *table_, false, true);
  return *this;
}

JsonWriter& JsonWriter::TextMember(std::string_view json_key, std::string_view text) {
  BeforeValue();
  const std::size_t worst = TextMemberRoom(json_key, text);
  if (worst > capacity_) {
    Put(json_key);
    Quoted(text, *table_, false, true);
    return *this;
  }
  size_ = static_cast<std::size_t>(PutTextMember(Room(worst), json_key, text, *table_) - buffer_.get());
  return *this;
}

JsonWriter& JsonWriter::Utf8String(std::string_view text) {
  BeforeValue();
  Quoted(text, kAscii, true, false);
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

void JsonWriter::Quoted(std::string_view text, const JsonCodepageTable& table, bool utf8, bool padded) {
  // (No text is near 2^61 bytes long, so the product cannot overflow.)
  const std::size_t worst = text.size() * kWorstBytes + 2 + kSlack;
  if (worst <= capacity_) {
    char* out = Room(worst);
    *out++ = '"';
    out = padded && !utf8 ? EscapeText(out, text, table) : Escape<false>(out, text, table, utf8);
    *out++ = '"';
    size_ = static_cast<std::size_t>(out - buffer_.get());
    return;
  }
  // Longer than the buffer can take at once: in pieces that never split a
  // UTF-8 sequence.
  PutChar('"');
  const std::size_t piece = (capacity_ - kSlack) / kWorstBytes;
  while (!text.empty()) {
    std::size_t n = std::min(piece, text.size());
    for (std::size_t back = 1; utf8 && n < text.size() && back < kLongestSequence && n > back; ++back) {
      if ((static_cast<unsigned char>(text[n]) & 0xC0) != 0x80) break;
      --n;
    }
    char* out = Room(n * kWorstBytes + kSlack);
    size_ = static_cast<std::size_t>(Escape<false>(out, text.substr(0, n), table, utf8) - buffer_.get());
    text.remove_prefix(n);
  }
  PutChar('"');
}

void JsonWriter::MakeRoom(std::size_t n) {
  // Whole lines first, keeping the line begun.
  if (record_end_ > 0) {
    sink_.Write(std::string_view(buffer_.get(), record_end_));
    std::memmove(buffer_.get(), buffer_.get() + record_end_, size_ - record_end_);
    size_ -= record_end_;
    record_end_ = 0;
    if (n <= capacity_ - size_) return;
  }
  Flush();
}

char* EscapeLongText(char* out, std::string_view text, const JsonCodepageTable& table) {
  return Escape<true>(out, text, table, false);
}

void AppendJsonString(std::string& out, std::string_view text, const JsonCodepageTable& table, bool utf8) {
  const std::size_t start = out.size();
  out.resize(start + text.size() * kWorstBytes + 2 + kSlack);
  char* p = out.data() + start;
  *p++ = '"';
  p = Escape<false>(p, text, table, utf8);
  *p++ = '"';
  out.resize(static_cast<std::size_t>(p - out.data()));
}

void JsonWriter::Flush() {
  record_end_ = 0;
  if (size_ == 0) return;
  sink_.Write(std::string_view(buffer_.get(), size_));
  size_ = 0;
}

}  // namespace rptconv
