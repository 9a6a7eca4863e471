#include "html/codepage.h"

#include <cstring>

#include "rptconv/rptconv.h"

namespace rptconv {

namespace {

constexpr char16_t kReplacement = 0xFFFD;

constexpr Utf8Byte Encode(char16_t code_point) {
  Utf8Byte out{};
  out.size = static_cast<std::uint8_t>(EncodeUtf8(code_point, out.bytes));
  return out;
}

constexpr Utf8Byte Entity(std::string_view entity) {
  Utf8Byte out{};
  for (std::size_t i = 0; i < entity.size(); ++i) out.bytes[i] = entity[i];
  out.size = static_cast<std::uint8_t>(entity.size());
  return out;
}

constexpr bool IsControl(unsigned byte) { return (byte < 0x20 && byte != '\t') || byte == 0x7F; }

constexpr CodepageTable MakeTable(const char16_t (&high)[128]) {
  CodepageTable table{};
  for (unsigned byte = 0; byte < 0x80; ++byte) {
    table[byte] = Encode(IsControl(byte) ? kReplacement : static_cast<char16_t>(byte));
  }
  for (unsigned byte = 0x80; byte < 0x100; ++byte) table[byte] = Encode(high[byte - 0x80]);
  table['&'] = Entity("&amp;");
  table['<'] = Entity("&lt;");
  table['>'] = Entity("&gt;");
  table['"'] = Entity("&quot;");
  return table;
}

constexpr CodepageTable kCp1250 = MakeTable(kCp1250High);
constexpr CodepageTable kCp1252 = MakeTable(kCp1252High);

// Bytes that pass as they are: printable ASCII other than the four escaped.
constexpr std::array<bool, 256> MakePlain() {
  std::array<bool, 256> plain{};
  for (unsigned byte = 0x20; byte < 0x7F; ++byte) plain[byte] = true;
  plain['&'] = plain['<'] = plain['>'] = plain['"'] = false;
  return plain;
}
constexpr std::array<bool, 256> kPlain = MakePlain();

// True when all eight bytes of `word` are plain. A byte below n shows as a
// high bit in (word - n in every byte) & ~word, as long as no byte has its
// high bit set, which is tested first; a byte equal to c is a zero byte of
// word XOR c-in-every-byte. '"' and "&" differ in bit 2 only, "<" and ">" in
// bit 1 only, so one comparison finds either byte of each pair.
constexpr std::uint64_t kEveryByte = 0x0101010101010101ULL;
constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
constexpr std::uint64_t ZeroBytes(std::uint64_t x) { return (x - kEveryByte) & ~x & kHighBits; }
constexpr std::uint64_t BytesBelow(std::uint64_t x, std::uint64_t n) { return (x - kEveryByte * n) & ~x & kHighBits; }
static_assert(('"' | 0x04) == '&' && ('<' | 0x02) == '>');
inline bool IsPlainWord(std::uint64_t word) {
  return ((word & kHighBits) | BytesBelow(word, 0x20) | ZeroBytes(word ^ (kEveryByte * 0x7F)) |
          ZeroBytes((word | (kEveryByte * 0x04)) ^ (kEveryByte * '&')) |
          ZeroBytes((word | (kEveryByte * 0x02)) ^ (kEveryByte * '>'))) == 0;
}

// Hands `put` the converted text in pieces: runs of plain bytes straight
// from `text`, and the table's bytes for every other byte.
template <typename Put>
void Convert(std::string_view text, const CodepageTable& table, Put&& put) {
  const char* p = text.data();
  const char* const end = p + text.size();
  const char* run = p;
  while (p < end) {
    if (end - p >= 8) {
      std::uint64_t word;
      std::memcpy(&word, p, sizeof word);
      if (IsPlainWord(word)) {
        p += sizeof word;
        continue;
      }
    }
    const auto byte = static_cast<unsigned char>(*p);
    if (kPlain[byte]) {
      ++p;
      continue;
    }
    if (p > run) put(std::string_view(run, static_cast<std::size_t>(p - run)));
    put(table[byte].View());
    run = ++p;
  }
  if (p > run) put(std::string_view(run, static_cast<std::size_t>(p - run)));
}

}  // namespace

const CodepageTable* FindCodepage(int codepage) {
  switch (codepage) {
    case kCodepageCentralEuropean: return &kCp1250;
    case kCodepageWestern: return &kCp1252;
    default: return nullptr;
  }
}

bool IsSupportedCodepage(int codepage) { return FindCodepage(codepage) != nullptr; }

void WriteUtf8Text(LineWriter& out, const CodepageTable& table, std::string_view text) {
  Convert(text, table, [&out](std::string_view piece) { out.Raw(piece); });
}

void AppendUtf8Text(std::string& out, const CodepageTable& table, std::string_view text) {
  Convert(text, table, [&out](std::string_view piece) { out.append(piece); });
}

void AppendUtf8(std::string& out, const CodepageTable& table, std::string_view text) {
  Convert(text, table, [&out](std::string_view piece) {
    // A plain run never begins with "&": a piece that does is one of the
    // four entities, and goes back to its byte.
    if (piece.front() != '&') {
      out.append(piece);
      return;
    }
    switch (piece[1]) {
      case 'a': out.push_back('&'); break;
      case 'l': out.push_back('<'); break;
      case 'g': out.push_back('>'); break;
      default: out.push_back('"'); break;
    }
  });
}

}  // namespace rptconv
