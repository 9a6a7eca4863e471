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
    if (!valid || (length == 1 && ((lead < 0x20 && lead != '\t') || lead == 0x7F))) {
      out.append(kReplacementCharacter);
      ++i;
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

void AppendScriptJsonString(std::string& out, std::string_view text) {
  constexpr std::string_view kHexDigits = "0123456789abcdef";
  constexpr unsigned char kFirstPrintable = 0x20;
  out.push_back('"');
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out.push_back('\\');
      out.push_back(c);
    } else if (byte < kFirstPrintable || c == '<') {
      out.append("\\u00");
      out.push_back(kHexDigits[byte >> 4]);
      out.push_back(kHexDigits[byte & 0x0F]);
    } else {
      out.push_back(c);
    }
  }
  out.push_back('"');
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
