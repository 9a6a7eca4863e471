// Escaping shared by the pages written in UTF-8: text checked as UTF-8 and
// escaped for HTML, and paths percent-encoded for an address.
#include "html/escape.h"

#include "html/links.h"

namespace rptconv {

namespace {

constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";  // U+FFFD

bool IsUnreserved(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '-' || c == '.' ||
         c == '_' || c == '~' || c == '/' || c == ':';
}

// The code point of a valid UTF-8 sequence of `length` bytes.
char32_t CodePoint(std::string_view sequence) {
  static constexpr unsigned char kLeadBits[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
  char32_t code = static_cast<unsigned char>(sequence[0]) & kLeadBits[sequence.size()];
  for (std::size_t k = 1; k < sequence.size(); ++k) code = (code << 6) | (static_cast<unsigned char>(sequence[k]) & 0x3F);
  return code;
}

// Characters that a page must not show as they are: C1 controls and
// noncharacters, which HTML forbids, and the controls of writing direction,
// which can make a name read backwards.
bool IsShownAsReplacement(char32_t code) {
  const bool c1_control = code >= 0x80 && code <= 0x9F;
  const bool noncharacter = (code >= 0xFDD0 && code <= 0xFDEF) || (code & 0xFFFE) == 0xFFFE;
  const bool direction_control = code == 0x061C || code == 0x200E || code == 0x200F ||
                                 (code >= 0x202A && code <= 0x202E) || (code >= 0x2066 && code <= 0x2069);
  return c1_control || noncharacter || direction_control;
}

}  // namespace

void AppendUtf8Checked(std::string& out, std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    std::size_t length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
    bool valid = length != 0 && i + length <= text.size() && !(lead >= 0xC0 && lead <= 0xC1) && lead <= 0xF4;
    for (std::size_t k = 1; valid && k < length; ++k) valid = (static_cast<unsigned char>(text[i + k]) & 0xC0) == 0x80;
    if (valid && length == 3) {
      const auto second = static_cast<unsigned char>(text[i + 1]);
      valid = !(lead == 0xE0 && second < 0xA0) && !(lead == 0xED && second >= 0xA0);
    }
    if (valid && length == 4) {
      const auto second = static_cast<unsigned char>(text[i + 1]);
      valid = !(lead == 0xF0 && second < 0x90) && !(lead == 0xF4 && second >= 0x90);
    }
    const bool control = length == 1 && ((lead < 0x20 && lead != '\t') || lead == 0x7F);
    if (!valid || control || (length > 1 && IsShownAsReplacement(CodePoint(text.substr(i, length))))) {
      out.append(kReplacementCharacter);
      i += valid ? length : 1;
      continue;
    }
    switch (text[i]) {
      case '&': out.append("&amp;"); break;
      case '<': out.append("&lt;"); break;
      case '>': out.append("&gt;"); break;
      case '"': out.append("&quot;"); break;
      default: out.append(text.substr(i, length));
    }
    i += length;
  }
}

std::string PercentEncoded(std::string_view path) {
  std::string out;
  for (const char c : path) {
    if (IsUnreserved(c)) {
      out.push_back(c);
    } else {
      AppendPercentEscape(out, static_cast<unsigned char>(c));
    }
  }
  return out;
}

}  // namespace rptconv
