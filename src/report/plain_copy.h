// Copying report text that passes into the output unchanged, 16 bytes at a
// time. The texts PageEvents hands out may be read kVectorBytes past their
// end, so a short text is one load, one test and one store; each output
// says through `kSpecial` which bytes it cannot take as they are.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "report/byte_classes.h"

namespace rptconv {

// Bit i set for each of the 16 bytes at `p` that an output cannot take as
// it is.
using SpecialBits = std::uint32_t (*)(const char*);

// Copies a text of at most 16 bytes, readable kVectorBytes past its end, to
// `out` (which has room for 16 bytes) and moves `out` past the copy when
// none of its bytes is special; else copies nothing and gives false.
template <SpecialBits kSpecial>
[[gnu::always_inline]] inline bool CopyShortPlain(char*& out, std::string_view text) {
  // Mostly none of the 16 bytes is special, inside the text or past it.
  const std::uint32_t special = kSpecial(text.data());
  if (special != 0 && LowestBit(special) < text.size()) return false;
  std::memcpy(out, text.data(), kVectorBytes);
  out += text.size();
  return true;
}

// The same for a text of more than 16 bytes, 16 at a time, the last 16
// bytes of the text last; `out` has room for the text and 16 bytes more.
// Before it finds a special byte it may have written part of the text,
// but `out` moves only when the whole text is copied.
template <SpecialBits kSpecial>
[[gnu::always_inline]] inline bool CopyMediumPlain(char*& out_ref, std::string_view text) {
  const char* p = text.data();
  const char* const last = p + text.size() - kVectorBytes;  // where the last 16 bytes start
  char* out = out_ref;
  for (; p < last; p += kVectorBytes, out += kVectorBytes) {
    if (kSpecial(p) != 0) return false;
    std::memcpy(out, p, kVectorBytes);
  }
  if (kSpecial(last) != 0) return false;
  std::memcpy(out + (last - p), last, kVectorBytes);
  out_ref = out + (last - p) + kVectorBytes;
  return true;
}

}  // namespace rptconv
