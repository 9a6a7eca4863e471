// Every escaping of the program's pages: HTML text, attribute values,
// percent-encoded addresses and UTF-8 checked text.
#include "html/escape.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace rptconv {

namespace {

constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";  // U+FFFD

bool IsPrintableAscii(char c) { return c >= ' ' && c < '\x7F'; }

// What each byte becomes on the page, padded so that it is stored with one
// copy of kEntityStore bytes: its entity, or the byte itself.
struct StoredEntity {
  char bytes[kEntityStore];
  std::size_t size;
};
constexpr std::array<StoredEntity, 256> MakeEntities() {
  std::array<StoredEntity, 256> entities{};
  for (std::size_t byte = 0; byte < entities.size(); ++byte) {
    const char c = static_cast<char>(byte);
    const std::string_view entity = EntityOf(c);
    StoredEntity& e = entities[byte];
    if (entity.empty()) {
      e = {{c}, 1};
    } else {
      std::copy(entity.begin(), entity.end(), e.bytes);
      e.size = entity.size();
    }
  }
  return entities;
}
constexpr std::array<StoredEntity, 256> kEntities = MakeEntities();

inline char* PutByte(char* out, char c) {
  const StoredEntity& entity = kEntities[static_cast<unsigned char>(c)];
  std::memcpy(out, entity.bytes, kEntityStore);
  return out + entity.size;
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

// True when one of the eight bytes of `word` has an entity. A byte equals c
// exactly when the word XOR c-in-every-byte has a zero byte there; the pairs
// '"' and "&", "<" and ">" are found with one comparison each, as in
// EscapedBits16.
constexpr std::uint64_t kEveryByte = 0x0101010101010101ULL;
constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
constexpr std::uint64_t ZeroBytes(std::uint64_t x) { return (x - kEveryByte) & ~x & kHighBits; }
inline bool HasEscapedByte(std::uint64_t word) {
  return (ZeroBytes((word | (kEveryByte * 0x04)) ^ (kEveryByte * '&')) |
          ZeroBytes((word | (kEveryByte * 0x02)) ^ (kEveryByte * '>')) |
          ZeroBytes(word ^ (kEveryByte * static_cast<unsigned char>(kEscapeByte)))) != 0;
}

// Bytes of a relative address that stand as they are.
bool IsPathByte(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
         std::string_view("-._~/:").find(c) != std::string_view::npos;
}
// Bytes of a web address that stand as they are in an href ("&" is one of
// them, but is written as its entity), looked up in a table: an address is
// written byte by byte.
constexpr std::array<bool, 256> MakeUrlBytes() {
  std::array<bool, 256> stands{};
  for (unsigned c = 0; c < 256; ++c) {
    stands[c] = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                std::string_view("-._~!$'()*+,;=:@/?").find(static_cast<char>(c)) != std::string_view::npos;
  }
  return stands;
}
constexpr std::array<bool, 256> kUrlBytes = MakeUrlBytes();
bool IsHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

}  // namespace

char* EscapeElsewhere(char* out, std::string_view text) {
  const char* p = text.data();
  const char* const end = p + text.size();
  while (p < end) {
    // Plain runs go eight bytes at a time.
    if (end - p >= 8) {
      std::uint64_t word;
      std::memcpy(&word, p, sizeof word);
      if (!HasEscapedByte(word)) {
        std::memcpy(out, &word, sizeof word);
        out += sizeof word;
        p += sizeof word;
        continue;
      }
    }
    out = PutByte(out, *p++);
  }
  return out;
}

char* EscapePadded(char* out, std::string_view text) {
  const char* p = text.data();
  const char* const end = p + text.size();
  while (p < end) {
    std::memcpy(out, p, kVectorBytes);
    std::uint32_t escaped = EscapedBits16(p);
    const auto left = static_cast<std::size_t>(end - p);
    if (left < kVectorBytes) escaped &= (std::uint32_t{1} << left) - 1;
    if (escaped == 0) {
      const std::size_t n = std::min(left, kVectorBytes);
      out += n;
      p += n;
    } else {
      const std::size_t first = LowestBit(escaped);
      out = PutByte(out + first, p[first]);
      p += first + 1;
    }
  }
  return out;
}

void AppendUtf8Checked(std::string& out, std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    // A run of printable ASCII without an entity is copied whole.
    std::size_t run = i;
    while (run < text.size() && IsPrintableAscii(text[run]) && EntityOf(text[run]).empty()) ++run;
    if (run > i) {
      out.append(text.substr(i, run - i));
      i = run;
      continue;
    }
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
    const std::string_view entity = length == 1 ? EntityOf(text[i]) : std::string_view();
    out.append(entity.empty() ? text.substr(i, length) : entity);
    i += length;
  }
}

void AppendScriptJsonString(std::string& out, std::string_view text) {
  constexpr std::string_view kHexDigits = "0123456789abcdef";
  constexpr unsigned char kFirstPrintable = 0x20;
  const auto plain = [](char c) {
    return static_cast<unsigned char>(c) >= kFirstPrintable && c != '"' && c != '\\' && c != '<';
  };
  out.push_back('"');
  for (std::size_t i = 0; i < text.size(); ++i) {
    // A run that needs no escape is copied whole.
    std::size_t run = i;
    while (run < text.size() && plain(text[run])) ++run;
    out.append(text.substr(i, run - i));
    if (run == text.size()) break;
    i = run;
    const char c = text[i];
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out.push_back('\\');
      out.push_back(c);
    } else {  // a control byte or "<"
      out.append("\\u00");
      out.push_back(kHexDigits[byte >> 4]);
      out.push_back(kHexDigits[byte & 0x0F]);
    }
  }
  out.push_back('"');
}

void AppendPercentEscape(std::string& out, unsigned char byte) {
  constexpr std::string_view kHexDigits = "0123456789ABCDEF";
  out.push_back('%');
  out.push_back(kHexDigits[byte >> 4]);
  out.push_back(kHexDigits[byte & 0x0F]);
}

std::string PercentEncoded(std::string_view path) {
  std::string out;
  for (const char c : path) {
    if (IsPathByte(c)) {
      out.push_back(c);
    } else {
      AppendPercentEscape(out, static_cast<unsigned char>(c));
    }
  }
  return out;
}

bool IsOwnHref(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return kUrlBytes[static_cast<unsigned char>(c)]; });
}

void AppendHref(std::string& href, std::string_view utf8) {
  bool fragment = false;
  std::size_t run = 0;  // where the bytes not yet appended begin
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const char c = utf8[i];
    if (kUrlBytes[static_cast<unsigned char>(c)]) continue;
    const bool escape_start = c == '%' && i + 2 < utf8.size() && IsHexDigit(utf8[i + 1]) && IsHexDigit(utf8[i + 2]);
    if (escape_start || (c == '#' && !fragment)) {
      fragment = fragment || c == '#';
      continue;
    }
    href.append(utf8.substr(run, i - run));
    if (c == '&') {
      href.append(EntityOf(c));
    } else {
      AppendPercentEscape(href, static_cast<unsigned char>(c));
    }
    run = i + 1;
  }
  href.append(utf8.substr(run));
}

}  // namespace rptconv
