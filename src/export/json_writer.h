// Writes JSON into a ByteSink through one reusable buffer: objects, arrays,
// keys, numbers, and strings converted to UTF-8 and escaped. Report text is
// converted from its Windows code page; every byte maps to something, so
// the output is always valid UTF-8 and valid JSON whatever the report holds.
// Commas between members and elements are written by the writer itself.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

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

class JsonWriter {
 public:
  // Report text is converted with `table`.
  JsonWriter(ByteSink& sink, const JsonCodepageTable& table, std::size_t buffer_size = kJsonBufferSize);
  // Report text from now on is converted with `table`.
  void SetCodepage(const JsonCodepageTable& table) { table_ = &table; }

  JsonWriter& BeginObject();
  JsonWriter& EndObject();
  JsonWriter& BeginArray();
  JsonWriter& EndArray();
  // The name of the next member of an object, as report text.
  JsonWriter& Key(std::string_view text);
  // Report text in the current code page.
  JsonWriter& String(std::string_view text);
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
  // Ends a top-level value with LF: one line of NDJSON.
  void EndRecord();
  // Hands everything buffered to the sink.
  void Flush();

 private:
  // Room for `n` more bytes, flushing first when the buffer lacks it; `n`
  // is at most the buffer's capacity.
  char* Room(std::size_t n) {
    if (n > capacity_ - size_) Flush();
    return buffer_.get() + size_;
  }
  void Put(std::string_view bytes);
  void PutChar(char c) { *Room(1) = c; ++size_; }
  // The comma and line break that go before a value or a key.
  void BeforeValue();
  void Open(char bracket);
  void Close(char bracket);
  void Quoted(std::string_view text, bool utf8);

  ByteSink& sink_;
  const JsonCodepageTable* table_;
  std::size_t capacity_;
  std::unique_ptr<char[]> buffer_;
  std::size_t size_ = 0;
  // Per open object or array: true until its first member or element.
  std::array<bool, kJsonMaxDepth + 1> empty_{};
  std::size_t depth_ = 0;
  bool after_key_ = false;
  bool new_line_ = false;
};

}  // namespace rptconv
