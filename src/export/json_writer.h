// Writes JSON into a ByteSink through one reusable buffer: objects, arrays,
// keys, numbers, and strings converted to UTF-8 and escaped. Report text is
// converted from its Windows code page; every byte maps to something, so
// the output is always valid UTF-8 and valid JSON whatever the report holds.
// Commas between members and elements are written by the writer itself.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "report/byte_classes.h"
#include "report/plain_copy.h"
#include "report/simd.h"
#include "rptconv/rptconv.h"

namespace rptconv {

inline constexpr std::size_t kJsonBufferSize = 256 * 1024;
// Objects and arrays nest at most this deep; the documents written here
// need far fewer levels.
inline constexpr std::size_t kJsonMaxDepth = 32;

// What one report byte becomes inside a JSON string: its UTF-8 bytes, "\""
// and "\\" escaped, control bytes as \t, \n, \r, \b, \f or \u00XX, and
// U+FFFD for a byte the code page has no character for. Stored in eight
// bytes so that it is copied with one move.
struct JsonByte {
  char bytes[7];
  std::uint8_t size;
};
using JsonCodepageTable = std::array<JsonByte, 256>;

// The table of `codepage`, or null when there is none.
const JsonCodepageTable* FindJsonCodepage(int codepage);
// The table of `codepage`, or the Western one where there is none: for
// text whose code page may be unknown (a report that failed to convert).
const JsonCodepageTable& JsonCodepageOrWestern(int codepage);

// Appends `text` as a quoted JSON string: report text converted with
// `table`, or, when `utf8`, text that should be UTF-8 (as Utf8String).
void AppendJsonString(std::string& out, std::string_view text, const JsonCodepageTable& table, bool utf8);

// Bit i is set when byte i of the 16 at `p` does not pass into a JSON
// string as it is: a control byte, DEL, '"', "\\", or a byte from 0x80 up
// (converted from the code page).
template <class V = Bytes16>
inline std::uint32_t JsonBits16(const char* p) {
  constexpr std::uint32_t kAllBits = 0xFFFF;
  const V x = V::Load(p);
  return (PrintableAscii(x).Bits() ^ kAllBits) | (x.Equal('"') | x.Equal('\\')).Bits();
}

// What escaping may need: six bytes for each byte of text (\u00XX), and
// room for the copies of 16 bytes that may write past the end.
inline constexpr std::size_t kJsonWorstBytes = 6;
inline constexpr std::size_t kJsonSlack = 2 * kVectorBytes;

// Writes report text as PageEvents hands it out (readable kTextPadding
// bytes past its end), escaped and converted with `table` but not quoted,
// at `out`, which has room for kJsonWorstBytes a byte and kJsonSlack more;
// gives the end. Most texts are short and plain: copied 16 bytes at a time
// inline; the others are escaped in a call.
inline constexpr std::size_t kJsonInlineText = 64;
char* EscapeLongText(char* out, std::string_view text, const JsonCodepageTable& table);
inline char* EscapeText(char* out, std::string_view text, const JsonCodepageTable& table) {
  if (text.size() <= kVectorBytes ? CopyShortPlain<JsonBits16>(out, text)
                                   : text.size() <= kJsonInlineText && CopyMediumPlain<JsonBits16>(out, text)) {
    return out;
  }
  return EscapeLongText(out, text, table);
}

// Writes a member whose value is report text at `out`: `json_key`, ready
// JSON with its colon, then the text quoted as EscapeText writes it. `out`
// has room for the key, two quotes, kJsonWorstBytes a byte of text and
// kJsonSlack more; gives the end.
inline char* PutTextMember(char* out, std::string_view json_key, std::string_view text,
                           const JsonCodepageTable& table) {
  std::memcpy(out, json_key.data(), json_key.size());
  out += json_key.size();
  *out++ = '"';
  out = EscapeText(out, text, table);
  *out++ = '"';
  return out;
}
// The room PutTextMember needs.
inline std::size_t TextMemberRoom(std::string_view json_key, std::string_view text) {
  // (No text is near 2^61 bytes long, so the product cannot overflow.)
  return json_key.size() + text.size() * kJsonWorstBytes + 2 + kJsonSlack;
}

class JsonWriter {
 public:
  // Report text is converted with `table`.
  JsonWriter(ByteSink& sink, const JsonCodepageTable& table, std::size_t buffer_size = kJsonBufferSize);
  // Report text from now on is converted with `table`.
  void SetCodepage(const JsonCodepageTable& table) { table_ = &table; }

  JsonWriter& BeginObject() {
    Open('{');
    return *this;
  }
  // An object whose first members are `members`, JSON already written
  // (say by another JsonWriter): members that many values share.
  JsonWriter& BeginObject(std::string_view members);
  JsonWriter& EndObject() {
    Close('}');
    return *this;
  }
  JsonWriter& BeginArray() {
    Open('[');
    return *this;
  }
  JsonWriter& EndArray() {
    Close(']');
    return *this;
  }
  // The name of the next member of an object, as report text.
  JsonWriter& Key(std::string_view text);
  // A member's name written by the caller as JSON: quoted, with its colon
  // (say "\"label\":").
  JsonWriter& RawKey(std::string_view json_key) {
    BeforeValue();
    Put(json_key);
    after_key_ = true;
    return *this;
  }
  // RawKey and Text at once: a member whose value is report text.
  JsonWriter& TextMember(std::string_view json_key, std::string_view text);
  // Report text in the current code page, or in that of `table`.
  JsonWriter& String(std::string_view text);
  JsonWriter& String(std::string_view text, const JsonCodepageTable& table);
  // Report text as PageEvents hands it out, readable kTextPadding bytes
  // past its end: looked at 16 bytes at a time.
  JsonWriter& Text(std::string_view text);
  // Text that should be UTF-8 (the program's own words, file names): valid
  // sequences pass, each byte of an invalid one becomes U+FFFD.
  JsonWriter& Utf8String(std::string_view text);
  JsonWriter& Int(std::int64_t value);
  // A number whose text the caller has checked to be a JSON number.
  JsonWriter& Number(std::string_view json_number);
  JsonWriter& Bool(bool value);
  JsonWriter& Null();
  // The next value, member or closing bracket begins a new line (whitespace
  // that keeps long documents readable line by line).
  JsonWriter& NewLine() {
    new_line_ = true;
    return *this;
  }
  // A value written by the caller straight into the buffer: RawValue gives
  // room for `room` bytes (at most the buffer's size, see RawRoomFits),
  // EndRawValue takes its end. The caller writes whole, valid JSON.
  bool RawRoomFits(std::size_t room) const { return room <= capacity_; }
  char* RawValue(std::size_t room) {
    BeforeValue();
    return Room(room);
  }
  // The same for the next element of the array open, on a line of its own.
  char* RawElementOnNewLine(std::size_t room) {
    char* out = Room(room + 2);
    if (!empty_[depth_]) *out++ = ',';
    *out++ = '\n';
    empty_[depth_] = false;
    new_line_ = after_key_ = false;
    return out;
  }
  void EndRawValue(char* end) { size_ = static_cast<std::size_t>(end - buffer_.get()); }
  // The same for a top-level value the caller ended with LF itself: one
  // line of NDJSON, as EndRecord.
  void EndRawRecord(char* end) {
    EndRawValue(end);
    record_end_ = size_;
  }
  const JsonCodepageTable& table() const { return *table_; }

  // Ends a top-level value with LF: one line of NDJSON. When the buffer
  // fills, the sink gets whole lines where it can, so that a line of a
  // report that fails midway is either all there or not at all (unless one
  // line alone is longer than the buffer).
  void EndRecord() {
    if (depth_ != 0 || after_key_) Unbalanced();
    new_line_ = false;
    PutChar('\n');
    record_end_ = size_;
  }
  // Hands everything buffered to the sink.
  void Flush();

 private:
  // Room for `n` more bytes, flushing first when the buffer lacks it; `n`
  // is at most the buffer's capacity.
  char* Room(std::size_t n) {
    if (n > capacity_ - size_) MakeRoom(n);
    return buffer_.get() + size_;
  }
  void MakeRoom(std::size_t n);
  void Put(std::string_view bytes) {
    if (bytes.size() > capacity_ - size_) return PutLong(bytes);
    std::memcpy(buffer_.get() + size_, bytes.data(), bytes.size());
    size_ += bytes.size();
  }
  void PutLong(std::string_view bytes);
  void PutChar(char c) {
    *Room(1) = c;
    ++size_;
  }
  // The comma and line break that go before a value or a key.
  void BeforeValue() {
    if (after_key_) {
      after_key_ = false;
      return;
    }
    // Values at the top level are separated by EndRecord, not by commas.
    if (depth_ > 0 && !empty_[depth_]) PutChar(',');
    empty_[depth_] = false;
    if (new_line_) NewLineNow();
  }
  void NewLineNow() {
    new_line_ = false;
    PutChar('\n');
  }
  void Open(char bracket) {
    BeforeValue();
    if (depth_ == kJsonMaxDepth) TooDeep();
    PutChar(bracket);
    empty_[++depth_] = true;
  }
  void Close(char bracket) {
    if (depth_ == 0 || after_key_) Unbalanced();
    if (new_line_) NewLineNow();
    --depth_;
    PutChar(bracket);
  }
  [[noreturn]] static void TooDeep();
  [[noreturn]] static void Unbalanced();
  void Quoted(std::string_view text, const JsonCodepageTable& table, bool utf8, bool padded);

  ByteSink& sink_;
  const JsonCodepageTable* table_;
  std::size_t capacity_;
  std::unique_ptr<char[]> buffer_;
  std::size_t size_ = 0;
  std::size_t record_end_ = 0;  // the end of the last whole line buffered
  // Per open object or array: true until its first member or element.
  std::array<bool, kJsonMaxDepth + 1> empty_{};
  std::size_t depth_ = 0;
  bool after_key_ = false;
  bool new_line_ = false;
};

}  // namespace rptconv
