// Escaping, in one place for every page: report text as HTML text and
// attribute values, addresses percent-encoded, and text checked as UTF-8.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "report/byte_classes.h"
#include "report/simd.h"

namespace rptconv {

// A raw ESC lets a browser that guesses ISO-2022-JP read the bytes after it
// as another character set, swallowing quotes and brackets: report text
// writes it as an entity.
inline constexpr char kEscapeByte = '\x1B';
inline constexpr std::size_t kLongestEntity = 6;  // "&quot;"
inline constexpr std::size_t kEntityStore = 8;    // an entity is stored with this many bytes

// What a byte of report text becomes in HTML text and in attribute values:
// "&", "<", ">", '"' and ESC an entity; every other byte stands as it is
// (empty).
constexpr std::string_view EntityOf(char c) {
  switch (c) {
    case '&': return "&amp;";
    case '<': return "&lt;";
    case '>': return "&gt;";
    case '"': return "&quot;";
    case kEscapeByte: return "&#27;";
    default: return {};
  }
}

// Bit i is set when byte i of the 16 at `p` has an entity.
template <class V = Bytes16>
inline std::uint32_t EscapedBits16(const char* p) {
  // "&" and '"' differ only in bit 2, "<" and ">" only in bit 1: with that
  // bit set, one comparison finds either byte of a pair and no other.
  static_assert(('"' | 0x04) == '&' && ('<' | 0x02) == '>');
  const V x = V::Load(p);
  return ((x | '\x04').Equal('&') | (x | '\x02').Equal('>') | x.Equal(kEscapeByte)).Bits();
}

// Escape report text for HTML: every byte with an entity becomes it, all
// else passes. `out` has room for the text's longest escaped form and
// kVectorBytes more, which the copies may write past the end. Each gives the
// end of what it wrote. A text that may be read kVectorBytes past its end is
// read 16 bytes at a time, copying the runs between the bytes to escape; any
// other text 8 bytes at a time.
char* EscapePadded(char* out, std::string_view text);
char* EscapeElsewhere(char* out, std::string_view text);

// Appends `text`, which should be UTF-8, escaped for HTML, with U+FFFD for
// every byte that starts no valid sequence and for control bytes other than
// tab.
void AppendUtf8Checked(std::string& out, std::string_view text);

// Appends UTF-8 `text` as a JSON string, quotes included, fit to stand in a
// page's <script> block: "<" is written as \u003c, so no "</script" or
// "<!--" can end or bend the block.
void AppendScriptJsonString(std::string& out, std::string_view text);

// Appends a byte percent-encoded: "%" and two upper-case hexadecimal digits.
void AppendPercentEscape(std::string& out, unsigned char byte);

// `path` with every byte that may not stand as it is in a relative address
// percent-encoded ("/" and ":" stay).
std::string PercentEncoded(std::string_view path);

// Appends a web address, UTF-8, as the value of an href attribute: every
// byte that may not stand in a URL percent-encoded (a "%" that begins an
// escape and the first "#" stay), "&" as its entity. The attribute holds a
// valid URL whatever the report says.
void AppendHref(std::string& href, std::string_view utf8);
// True when `text` is its own href value: every byte stands as it is (most
// addresses are ASCII and hold no "&", "%" or "#").
bool IsOwnHref(std::string_view text);

}  // namespace rptconv
