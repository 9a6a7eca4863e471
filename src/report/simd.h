// A small type of 16 bytes handled at once, one for each kind of processor:
// SSE2 on x86-64 (every x86-64 processor has it, the Windows build
// included), NEON on arm64, and plain loops elsewhere or when
// RPTCONV_SCALAR_CLASSIFIER is defined. The code that finds bytes in report
// text is written once over it; byte_classes_avx2.cpp adds a type of 32
// bytes for processors with AVX2.
//
// A comparison gives a vector with all bits set in the bytes that match;
// Bits() turns it into one bit per byte, byte i giving bit i.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(RPTCONV_SCALAR_CLASSIFIER)
#elif defined(__SSE2__) || defined(_M_X64)
#define RPTCONV_SIMD_SSE2 1
#include <emmintrin.h>
#elif defined(__aarch64__) && defined(__ARM_NEON)
#define RPTCONV_SIMD_NEON 1
#include <arm_neon.h>
#endif

namespace rptconv {

// Byte by byte: the reference the vector types are tested against, and the
// type of processors without one.
struct ScalarBytes16 {
  static constexpr std::size_t kBytes = 16;
  unsigned char b[kBytes];

  static ScalarBytes16 Load(const char* p) {
    ScalarBytes16 x;
    std::memcpy(x.b, p, kBytes);
    return x;
  }
  ScalarBytes16 Equal(ScalarBytes16 y) const {
    ScalarBytes16 r;
    for (std::size_t i = 0; i < kBytes; ++i) r.b[i] = b[i] == y.b[i] ? 0xFF : 0;
    return r;
  }
  ScalarBytes16 Equal(char c) const { return Equal(Splat(c)); }
  ScalarBytes16 operator|(ScalarBytes16 y) const {
    ScalarBytes16 r;
    for (std::size_t i = 0; i < kBytes; ++i) r.b[i] = static_cast<unsigned char>(b[i] | y.b[i]);
    return r;
  }
  ScalarBytes16 operator|(char c) const { return *this | Splat(c); }
  // Bytes greater than `c`, both taken as signed.
  ScalarBytes16 GreaterSigned(char c) const {
    ScalarBytes16 r;
    for (std::size_t i = 0; i < kBytes; ++i) r.b[i] = static_cast<signed char>(b[i]) > static_cast<signed char>(c) ? 0xFF : 0;
    return r;
  }
  // Each byte plus `c`, wrapping.
  ScalarBytes16 Add(char c) const {
    ScalarBytes16 r;
    for (std::size_t i = 0; i < kBytes; ++i) r.b[i] = static_cast<unsigned char>(b[i] + static_cast<unsigned char>(c));
    return r;
  }
  std::uint32_t Bits() const {
    std::uint32_t bits = 0;
    for (std::size_t i = 0; i < kBytes; ++i) bits |= std::uint32_t{b[i] != 0} << i;
    return bits;
  }

 private:
  static ScalarBytes16 Splat(char c) {
    ScalarBytes16 x;
    std::memset(x.b, c, kBytes);
    return x;
  }
};

#if defined(RPTCONV_SIMD_SSE2)

struct Sse2Bytes16 {
  static constexpr std::size_t kBytes = 16;
  __m128i v;

  static Sse2Bytes16 Load(const char* p) { return {_mm_loadu_si128(reinterpret_cast<const __m128i*>(p))}; }
  Sse2Bytes16 Equal(Sse2Bytes16 y) const { return {_mm_cmpeq_epi8(v, y.v)}; }
  Sse2Bytes16 Equal(char c) const { return {_mm_cmpeq_epi8(v, _mm_set1_epi8(c))}; }
  Sse2Bytes16 operator|(Sse2Bytes16 y) const { return {_mm_or_si128(v, y.v)}; }
  Sse2Bytes16 operator|(char c) const { return {_mm_or_si128(v, _mm_set1_epi8(c))}; }
  Sse2Bytes16 GreaterSigned(char c) const { return {_mm_cmpgt_epi8(v, _mm_set1_epi8(c))}; }
  Sse2Bytes16 Add(char c) const { return {_mm_add_epi8(v, _mm_set1_epi8(c))}; }
  std::uint32_t Bits() const { return static_cast<std::uint32_t>(_mm_movemask_epi8(v)); }
  // The bits of four comparisons at once, a word of 64: each mask has 16
  // bits, so they are shifted into place without being cut first.
  static std::uint64_t Bits64(const Sse2Bytes16 (&x)[4]) {
    return std::uint64_t{x[0].Bits()} | std::uint64_t{x[1].Bits()} << 16 | std::uint64_t{x[2].Bits()} << 32 |
           std::uint64_t{x[3].Bits()} << 48;
  }
};
using Bytes16 = Sse2Bytes16;

#elif defined(RPTCONV_SIMD_NEON)

struct NeonBytes16 {
  static constexpr std::size_t kBytes = 16;
  uint8x16_t v;

  static NeonBytes16 Load(const char* p) { return {vld1q_u8(reinterpret_cast<const std::uint8_t*>(p))}; }
  NeonBytes16 Equal(NeonBytes16 y) const { return {vceqq_u8(v, y.v)}; }
  NeonBytes16 Equal(char c) const { return {vceqq_u8(v, vdupq_n_u8(static_cast<std::uint8_t>(c)))}; }
  NeonBytes16 operator|(NeonBytes16 y) const { return {vorrq_u8(v, y.v)}; }
  NeonBytes16 operator|(char c) const { return {vorrq_u8(v, vdupq_n_u8(static_cast<std::uint8_t>(c)))}; }
  NeonBytes16 GreaterSigned(char c) const {
    return {vcgtq_s8(vreinterpretq_s8_u8(v), vdupq_n_s8(static_cast<std::int8_t>(c)))};
  }
  NeonBytes16 Add(char c) const { return {vaddq_u8(v, vdupq_n_u8(static_cast<std::uint8_t>(c)))}; }
  // NEON has no byte mask move: each byte of a comparison is weighed by its
  // bit and neighbours are added until the 16 bytes are 16 bits.
  std::uint32_t Bits() const {
    uint8x16_t sums = vandq_u8(v, Weights());
    sums = vpaddq_u8(sums, sums);
    sums = vpaddq_u8(sums, sums);
    sums = vpaddq_u8(sums, sums);
    return vgetq_lane_u16(vreinterpretq_u16_u8(sums), 0);
  }
  // The bits of four comparisons at once, a word of 64.
  static std::uint64_t Bits64(const NeonBytes16 (&x)[4]) {
    const uint8x16_t w = Weights();
    const uint8x16_t ab = vpaddq_u8(vandq_u8(x[0].v, w), vandq_u8(x[1].v, w));
    const uint8x16_t cd = vpaddq_u8(vandq_u8(x[2].v, w), vandq_u8(x[3].v, w));
    const uint8x16_t abcd = vpaddq_u8(ab, cd);
    return vgetq_lane_u64(vreinterpretq_u64_u8(vpaddq_u8(abcd, abcd)), 0);
  }

 private:
  static uint8x16_t Weights() {
    static const std::uint8_t kWeights[16] = {1, 2, 4, 8, 16, 32, 64, 128, 1, 2, 4, 8, 16, 32, 64, 128};
    return vld1q_u8(kWeights);
  }
};
using Bytes16 = NeonBytes16;

#else

using Bytes16 = ScalarBytes16;

#endif

// Bit i is set when byte i of the 16 at `p` is `c`.
template <class V = Bytes16>
inline std::uint32_t ByteBits16(const char* p, char c) {
  return V::Load(p).Equal(c).Bits();
}
// Bit i is set when byte i of the 16 at `a` equals byte i of the 16 at `b`.
template <class V = Bytes16>
inline std::uint32_t EqualBits16(const char* a, const char* b) {
  return V::Load(a).Equal(V::Load(b)).Bits();
}

// All bits set in the bytes that are printable ASCII, 0x20 to 0x7E. Plus
// one they are 0x21 to 0x7F, and every other byte is 0x20 or less taken as
// signed (DEL and the high bytes wrap below zero): one addition and one
// comparison.
template <class V>
inline V PrintableAscii(V x) {
  return x.Add(1).GreaterSigned(' ');
}

}  // namespace rptconv
