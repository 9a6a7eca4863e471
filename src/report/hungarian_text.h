// Hungarian texts of the program, written readably in UTF-8 in the source and
// stored as the Windows-1250 bytes that Hungarian reports hold, converted at
// compile time: Hu<"Számítógép név">() is "Sz\xE1m\xEDt\xF3g\xE9p n\xE9v".
#pragma once

#include <cstddef>
#include <string_view>

namespace rptconv {

// The Windows-1250 byte of each accented letter of Hungarian.
struct HungarianLetter {
  char32_t code_point;
  unsigned char cp1250;
};
inline constexpr HungarianLetter kHungarianLetters[] = {
    {U'Á', 0xC1}, {U'É', 0xC9}, {U'Í', 0xCD}, {U'Ó', 0xD3}, {U'Ö', 0xD6}, {U'Ő', 0xD5},
    {U'Ú', 0xDA}, {U'Ü', 0xDC}, {U'Ű', 0xDB}, {U'á', 0xE1}, {U'é', 0xE9}, {U'í', 0xED},
    {U'ó', 0xF3}, {U'ö', 0xF6}, {U'ő', 0xF5}, {U'ú', 0xFA}, {U'ü', 0xFC}, {U'ű', 0xFB},
};

// A UTF-8 literal of ASCII and Hungarian letters as Windows-1250 bytes. Any
// other character stops the compilation.
template <std::size_t N>
struct Cp1250Literal {
  char bytes[N] = {};
  std::size_t size = 0;

  consteval Cp1250Literal(const char (&utf8)[N]) {
    for (std::size_t i = 0; i + 1 < N;) {
      const auto lead = static_cast<unsigned char>(utf8[i]);
      if (lead < 0x80) {
        bytes[size++] = utf8[i++];
        continue;
      }
      if ((lead & 0xE0) != 0xC0 || i + 2 >= N) throw "only two-byte UTF-8 letters are known";
      const char32_t code_point =
          (char32_t{lead & 0x1Fu} << 6) | (static_cast<unsigned char>(utf8[i + 1]) & 0x3Fu);
      bytes[size++] = static_cast<char>(ToCp1250(code_point));
      i += 2;
    }
  }

  static consteval unsigned char ToCp1250(char32_t code_point) {
    for (const HungarianLetter& letter : kHungarianLetters) {
      if (letter.code_point == code_point) return letter.cp1250;
    }
    throw "not a Hungarian letter";
  }
};

template <Cp1250Literal text>
constexpr std::string_view Hu() {
  return {text.bytes, text.size};
}

}  // namespace rptconv
