// The block classifier with 32-byte vectors, for processors with AVX2: this
// file's own code is compiled for AVX2 and runs only after the processor
// has been asked.
#include "report/byte_classes.h"

#if defined(RPTCONV_CLASSIFY_AVX2)

#include <immintrin.h>

#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__clang__)
#pragma clang attribute push(__attribute__((target("avx2"))), apply_to = function)
#else
#pragma GCC push_options
#pragma GCC target("avx2")
#endif

#include "report/classify_block.h"

namespace rptconv {

namespace {

struct Avx2Bytes32 {
  static constexpr std::size_t kBytes = 32;
  __m256i v;

  static Avx2Bytes32 Load(const char* p) { return {_mm256_loadu_si256(reinterpret_cast<const __m256i*>(p))}; }
  Avx2Bytes32 Equal(char c) const { return {_mm256_cmpeq_epi8(v, _mm256_set1_epi8(c))}; }
  Avx2Bytes32 operator|(Avx2Bytes32 y) const { return {_mm256_or_si256(v, y.v)}; }
  std::uint32_t Bits() const { return static_cast<std::uint32_t>(_mm256_movemask_epi8(v)); }
};

}  // namespace

std::size_t ClassifyBlockWide(const char* data, std::size_t size, BlockMasks masks) {
  return ClassifyBlockWith<Avx2Bytes32>(data, size, masks);
}

}  // namespace rptconv

#if defined(__clang__)
#pragma clang attribute pop
#else
#pragma GCC pop_options
#endif

namespace rptconv {

bool HasWideClassifier() {
  static const bool has_avx2 = __builtin_cpu_supports("avx2");
  return has_avx2;
}

}  // namespace rptconv

#endif
