#include "compare/key_text.h"

#include <array>
#include <cstddef>
#include <cstring>

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

constexpr unsigned kBitsPerByte = 8;
constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
constexpr unsigned kHighBit = 0x80;
constexpr unsigned kBitsPerWord = 64;
// From the high bit (0x80) down to the case bit (0x20).
constexpr unsigned kHighToCaseBit = 2;
constexpr std::uint64_t kGoldenRatio = 0x9E3779B97F4A7C15ULL;
constexpr unsigned kMixShift = 29;

std::uint64_t Mix(std::uint64_t hash, std::uint64_t word) {
  hash = (hash ^ word) * kGoldenRatio;
  return hash ^ (hash >> kMixShift);
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// `text` without its leading and trailing blanks and tabs.
std::string_view WithoutBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

constexpr unsigned char FoldedByte(unsigned char byte) {
  if (byte >= kAsciiUpperFirst && byte <= kAsciiUpperLast) return static_cast<unsigned char>(byte + kCaseDistance);
  if (byte >= kAccentedUpperFirst && byte <= kAccentedUpperLast && byte != kMultiplicationSign) {
    return static_cast<unsigned char>(byte + kCaseDistance);
  }
  if (byte == kHighUpperS || (byte >= kHighUpperFirst && byte <= kHighUpperLast)) {
    return static_cast<unsigned char>(byte + kHighCaseDistance);
  }
  return byte;
}

// Keys are folded byte by byte through one table.
constexpr std::array<char, 256> kFolded = [] {
  std::array<char, 256> table{};
  for (std::size_t byte = 0; byte < table.size(); ++byte) {
    table[byte] = static_cast<char>(FoldedByte(static_cast<unsigned char>(byte)));
  }
  return table;
}();

// Eight bytes folded: ASCII ones at once, the bytes of any other one by one.
std::uint64_t FoldedWord(std::uint64_t word) {
  if ((word & kHighBits) == 0) {
    // Those from "A" to "Z" get the lower-case bit.
    const std::uint64_t upper = (word + kOnes * (kHighBit - kAsciiUpperFirst)) &
                                ~(word + kOnes * (kHighBit - kAsciiUpperLast - 1)) & kHighBits;
    return word | upper >> kHighToCaseBit;
  }
  std::uint64_t folded = 0;
  for (unsigned shift = 0; shift < kBitsPerWord; shift += kBitsPerByte) {
    folded |= std::uint64_t{static_cast<unsigned char>(kFolded[(word >> shift) & 0xFF])} << shift;
  }
  return folded;
}

// Mixes `text` into `hash` eight bytes at a time, folded, then its length.
std::uint64_t HashFoldedWords(std::uint64_t hash, std::string_view text) {
  std::size_t i = 0;
  for (; i + sizeof(std::uint64_t) <= text.size(); i += sizeof(std::uint64_t)) {
    std::uint64_t word;
    std::memcpy(&word, text.data() + i, sizeof word);
    hash = Mix(hash, FoldedWord(word));
  }
  std::uint64_t rest = 0;  // the last bytes, little end first, zeros above
  std::memcpy(&rest, text.data() + i, text.size() - i);
  return Mix(Mix(hash, FoldedWord(rest)), text.size());
}

}  // namespace


void AppendFoldedKey(std::string& out, std::string_view text) {
  text = WithoutBlanks(text);
  const std::size_t at = out.size();
  out.resize(at + text.size());
  char* folded = out.data() + at;
  for (const char c : text) *folded++ = kFolded[static_cast<unsigned char>(c)];
}

bool SameKey(std::string_view a, std::string_view b) {
  if (a == b) return true;  // mostly
  a = WithoutBlanks(a);
  b = WithoutBlanks(b);
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (kFolded[static_cast<unsigned char>(a[i])] != kFolded[static_cast<unsigned char>(b[i])]) return false;
  }
  return true;
}

std::uint64_t HashFoldedKey(std::uint64_t hash, std::string_view text) {
  return HashFoldedWords(hash, WithoutBlanks(text));
}

}  // namespace rptconv
