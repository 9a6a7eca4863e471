#include "export/title_key.h"

#include "report/codepage.h"

namespace rptconv {

namespace {

// The base letter of each code point from U+00C0 to U+017F, "_" where there
// is none (the multiplication and division signs, IJ).
constexpr char16_t kFirstFolded = 0xC0;
constexpr std::string_view kBaseLetters =
    "aaaaaaaceeeeiiiidnooooo_ouuuuytsaaaaaaaceeeeiiiidnooooo_ouuuuyty"
    "aaaaaaccccccccddddeeeeeeeeeegggggggghhhhiiiiiiiiii__jjkkklllllll"
    "lllnnnnnnnnnoooooooorrrrrrssssssssttttttuuuuuuuuuuuuwwyyyzzzzzzs";
constexpr char kNoLetter = '_';
constexpr std::string_view kEmptyKey = "section";

char KeyCharOf(unsigned char byte, const char16_t* high) {
  if (byte >= 'A' && byte <= 'Z') return static_cast<char>(byte - 'A' + 'a');
  if ((byte >= 'a' && byte <= 'z') || (byte >= '0' && byte <= '9')) return static_cast<char>(byte);
  if (byte < kFirstHighByte || high == nullptr) return kNoLetter;
  const char16_t code_point = high[byte - kFirstHighByte];
  if (code_point < kFirstFolded || code_point >= kFirstFolded + kBaseLetters.size()) return kNoLetter;
  return kBaseLetters[code_point - kFirstFolded];
}

}  // namespace

std::string KeyFromTitle(std::string_view title, int codepage) {
  const char16_t* high = FindCodepageHigh(codepage);
  std::string key;
  for (const char c : title) {
    const char k = KeyCharOf(static_cast<unsigned char>(c), high);
    if (k != kNoLetter) {
      key.push_back(k);
    } else if (!key.empty() && key.back() != kNoLetter) {
      key.push_back(kNoLetter);
    }
  }
  while (!key.empty() && key.back() == kNoLetter) key.pop_back();
  return key.empty() ? std::string(kEmptyKey) : key;
}

}  // namespace rptconv
