// Report text in a Windows code page, written as UTF-8 and escaped for HTML.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "html/escape.h"
#include "html/line_writer.h"
#include "report/simd.h"
#include "report/codepage.h"

namespace rptconv {

// What one report byte becomes in a UTF-8 page: its UTF-8 bytes, "&", "<",
// ">" and '"' as entities, and U+FFFD for a control byte other than tab or a
// byte the code page has no character for.
struct Utf8Byte {
  char bytes[7];
  std::uint8_t size;
  std::string_view View() const { return {bytes, size}; }
};
using CodepageTable = std::array<Utf8Byte, 256>;

// The table of `codepage`, or null when there is none.
const CodepageTable* FindCodepage(int codepage);
// The table of `codepage`, or Western's when there is none.
const CodepageTable& CodepageOrWestern(int codepage);

// Bit i is set when byte i of the 16 at `p` is not plain: a control byte,
// DEL, a byte from 0x80 up, or one with an entity. ESC, a control byte,
// needs no test of its own.
template <class V = Bytes16>
inline std::uint32_t NotPlainBits16(const char* p) {
  static_assert(kEscapeByte < ' ');
  constexpr std::uint32_t kAllBits = 0xFFFF;
  const V x = V::Load(p);
  const std::uint32_t printable = PrintableAscii(x).Bits();
  return (printable ^ kAllBits) | ((x | '\x04').Equal('&') | (x | '\x02').Equal('>')).Bits();
}

// Text in the code page of `table` as UTF-8, escaped for HTML.
void WriteUtf8Text(LineWriter& out, const CodepageTable& table, std::string_view text);
// The same for a report text as PageEvents hands it out, readable
// kTextPadding bytes past its end: most are plain ASCII and are copied as
// they are, 16 bytes at a time, inline; ConvertUtf8ReportText converts the
// others.
void ConvertUtf8ReportText(LineWriter& out, const CodepageTable& table, std::string_view text);
inline void WriteUtf8ReportText(LineWriter& out, const CodepageTable& table, std::string_view text) {
  ReservedWrite line = out.Reserve();
  if (line.CopyPlain<NotPlainBits16<>>(text)) {
    out.Keep(line);
  } else {
    ConvertUtf8ReportText(out, table, text);
  }
}
void AppendUtf8Text(std::string& out, const CodepageTable& table, std::string_view text);
// Report text as UTF-8 without escaping (for addresses, which are
// percent-encoded afterwards).
void AppendUtf8(std::string& out, const CodepageTable& table, std::string_view text);

}  // namespace rptconv
