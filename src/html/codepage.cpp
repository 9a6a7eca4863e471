#include "html/codepage.h"

#include <cstring>

#include "html/escape.h"
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
  // Printable bytes with an entity are written as it (ESC, a control byte,
  // is U+FFFD already).
  for (unsigned byte = 0x20; byte < 0x7F; ++byte) {
    const std::string_view entity = EntityOf(static_cast<char>(byte));
    if (!entity.empty()) table[byte] = Entity(entity);
  }
  return table;
}

constexpr CodepageTable kCp1250 = MakeTable(kCp1250High);
constexpr CodepageTable kCp1252 = MakeTable(kCp1252High);

// Bytes that pass as they are: printable ASCII without an entity.
constexpr std::array<bool, 256> MakePlain() {
  std::array<bool, 256> plain{};
  for (unsigned byte = 0x20; byte < 0x7F; ++byte) plain[byte] = EntityOf(static_cast<char>(byte)).empty();
  return plain;
}
constexpr std::array<bool, 256> kPlain = MakePlain();

// Hands `put` the converted text in pieces: runs of plain bytes straight
// from `text`, and the table's bytes for every other byte. Texts go 16
// bytes at a time; a `kPadded` text, readable kVectorBytes past its end,
// also its last bytes.
template <bool kPadded, typename Put>
void Convert(std::string_view text, const CodepageTable& table, Put&& put) {
  const char* p = text.data();
  const char* const end = p + text.size();
  const char* run = p;
  while (p < end) {
    const auto left = static_cast<std::size_t>(end - p);
    if (kPadded || left >= kVectorBytes) {
      std::uint32_t special = NotPlainBits16(p);
      if (left < kVectorBytes) special &= (std::uint32_t{1} << left) - 1;
      if (special == 0) {
        p += std::min(left, kVectorBytes);
        continue;
      }
      p += LowestBit(special);
    } else if (kPlain[static_cast<unsigned char>(*p)]) {
      ++p;
      continue;
    }
    if (p > run) put(std::string_view(run, static_cast<std::size_t>(p - run)));
    put(table[static_cast<unsigned char>(*p)].View());
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

const CodepageTable& CodepageOrWestern(int codepage) {
  const CodepageTable* table = FindCodepage(codepage);
  return table ? *table : kCp1252;
}

bool IsSupportedCodepage(int codepage) { return FindCodepage(codepage) != nullptr; }

void ConvertUtf8ReportText(LineWriter& out, const CodepageTable& table, std::string_view text) {
  Convert<true>(text, table, [&out](std::string_view piece) { out.Raw(piece); });
}

void WriteUtf8Text(LineWriter& out, const CodepageTable& table, std::string_view text) {
  Convert<false>(text, table, [&out](std::string_view piece) { out.Raw(piece); });
}

void AppendUtf8Text(std::string& out, const CodepageTable& table, std::string_view text) {
  Convert<false>(text, table, [&out](std::string_view piece) { out.append(piece); });
}

void AppendUtf8(std::string& out, const CodepageTable& table, std::string_view text) {
  Convert<false>(text, table, [&out](std::string_view piece) {
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
