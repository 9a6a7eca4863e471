// Report text in a Windows code page, written as UTF-8 and escaped for HTML.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "html/line_writer.h"
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

// Report text as UTF-8, escaped for HTML. WriteUtf8Text takes a report text
// as PageEvents hands it out, readable kTextPadding bytes past its end.
void WriteUtf8Text(LineWriter& out, const CodepageTable& table, std::string_view text);
void AppendUtf8Text(std::string& out, const CodepageTable& table, std::string_view text);
// Report text as UTF-8 without escaping (for addresses, which are
// percent-encoded afterwards).
void AppendUtf8(std::string& out, const CodepageTable& table, std::string_view text);

}  // namespace rptconv
