// The Windows code pages report text is written in, as Unicode code points:
// the one table every output in UTF-8 (modern pages, the index, JSON)
// converts with. The tables come from iconv once (tools/gen_codepages.py), so
// every platform gives the same bytes.
#pragma once

#include <cstddef>

namespace rptconv {

// The code pages with a table: Central European and Western.
inline constexpr int kCodepageCentralEuropean = 1250;
inline constexpr int kCodepageWestern = 1252;

// Bytes below 0x80 are ASCII in both; kCp1250High and kCp1252High give the
// code point of each byte from 0x80 to 0xFF, 0xFFFD where there is none.
inline constexpr unsigned kFirstHighByte = 0x80;
#include "report/codepage_tables.inc"

// The high half of `codepage`, or null when there is no table for it.
constexpr const char16_t* FindCodepageHigh(int codepage) {
  switch (codepage) {
    case kCodepageCentralEuropean: return kCp1250High;
    case kCodepageWestern: return kCp1252High;
    default: return nullptr;
  }
}

// Writes the UTF-8 bytes of `code_point` (one of the tables' code points,
// all below 0x10000) into `out`, which has room for three, and gives how many.
constexpr std::size_t EncodeUtf8(char16_t code_point, char* out) {
  if (code_point < 0x80) {
    out[0] = static_cast<char>(code_point);
    return 1;
  }
  if (code_point < 0x800) {
    out[0] = static_cast<char>(0xC0 | (code_point >> 6));
    out[1] = static_cast<char>(0x80 | (code_point & 0x3F));
    return 2;
  }
  out[0] = static_cast<char>(0xE0 | (code_point >> 12));
  out[1] = static_cast<char>(0x80 | ((code_point >> 6) & 0x3F));
  out[2] = static_cast<char>(0x80 | (code_point & 0x3F));
  return 3;
}

}  // namespace rptconv
