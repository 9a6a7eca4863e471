// The block classifier, written once over a vector type V of simd.h's kind.
// byte_classes.cpp instantiates it for the 16-byte types; byte_classes_avx2.cpp
// includes it within code compiled for AVX2, for its 32-byte type.
#pragma once

#include "report/byte_classes.h"
#include "report/report_bytes.h"

namespace rptconv {

// Stores the bits of the comparisons of 64 bytes as one mask word.
template <class V>
inline void StoreMask(std::uint64_t* word, const V (&parts)[kMaskBits / V::kBytes]) {
  if constexpr (requires { V::Bits64(parts); }) {
    *word = V::Bits64(parts);
  } else {
    constexpr std::size_t kPartBytes = V::kBytes / 8;  // bytes of mask per comparison
    for (std::size_t i = 0; i < kMaskBits / V::kBytes; ++i) {
      const std::uint32_t bits = parts[i].Bits();
      std::memcpy(reinterpret_cast<char*>(word) + kPartBytes * i, &bits, kPartBytes);
    }
  }
}

// The masks of whole words 64 bytes at a time, the rest byte by byte; then
// where the data ends for a reader.
template <class V>
std::size_t ClassifyBlockWith(const char* data, std::size_t size, BlockMasks masks) {
  constexpr std::size_t kParts = kMaskBits / V::kBytes;
  std::size_t begin = 0;
  for (; begin + kMaskBits <= size; begin += kMaskBits) {
    V ends[kParts];
    V commas[kParts];
    for (std::size_t i = 0; i < kParts; ++i) {
      const V x = V::Load(data + begin + V::kBytes * i);
      ends[i] = x.Equal(kLineFeed) | x.Equal(kCarriageReturn);
      commas[i] = x.Equal(kFieldSeparator);
    }
    StoreMask(masks.line_ends + begin / kMaskBits, ends);
    StoreMask(masks.commas + begin / kMaskBits, commas);
  }
  ClassifyTail(data, begin, size, masks);
  return FirstCtrlZ(data, size);
}

}  // namespace rptconv
