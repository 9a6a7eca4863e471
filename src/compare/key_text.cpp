#include "compare/key_text.h"

namespace rptconv {

namespace {

constexpr unsigned char kAsciiUpperFirst = 'A';
constexpr unsigned char kAsciiUpperLast = 'Z';
constexpr unsigned char kCaseDistance = 'a' - 'A';
// Accented capitals whose small letter is kCaseDistance above, but for the
// multiplication sign.
constexpr unsigned char kAccentedUpperFirst = 0xC0;
constexpr unsigned char kAccentedUpperLast = 0xDE;
constexpr unsigned char kMultiplicationSign = 0xD7;
// Š, Ś or Œ, Ť, Ž, Ź: the small letter is 0x10 above.
constexpr unsigned char kHighUpperFirst = 0x8C;
constexpr unsigned char kHighUpperLast = 0x8F;
constexpr unsigned char kHighUpperS = 0x8A;
constexpr unsigned char kHighCaseDistance = 0x10;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

char Folded(char c) {
  const auto byte = static_cast<unsigned char>(c);
  if (byte >= kAsciiUpperFirst && byte <= kAsciiUpperLast) return static_cast<char>(byte + kCaseDistance);
  if (byte >= kAccentedUpperFirst && byte <= kAccentedUpperLast && byte != kMultiplicationSign) {
    return static_cast<char>(byte + kCaseDistance);
  }
  if (byte == kHighUpperS || (byte >= kHighUpperFirst && byte <= kHighUpperLast)) {
    return static_cast<char>(byte + kHighCaseDistance);
  }
  return c;
}

}  // namespace

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

void AppendFoldedKey(std::string& out, std::string_view text) {
  for (const char c : TrimBlanks(text)) out.push_back(Folded(c));
}

}  // namespace rptconv
