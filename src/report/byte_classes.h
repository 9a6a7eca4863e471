// Finding the bytes with a role in report text with vector instructions:
// the separators of a whole block at once, as a bit mask (bit i of word w
// stands for byte 64 * w + i), so that lines and fields are cut without
// looking at every byte again; and, 16 bytes at a time, the bytes a page
// must escape and the semicolons of a value.
//
// The code uses SSE2 on x86-64 (every x86-64 processor has it, the Windows
// build included), and AVX2 for whole blocks where the processor has it;
// NEON on arm64; elsewhere, or when RPTCONV_SCALAR_CLASSIFIER is defined,
// plain loops do the same work.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(RPTCONV_SCALAR_CLASSIFIER)
#elif defined(__SSE2__) || defined(_M_X64)
#define RPTCONV_CLASSIFY_SSE2 1
#include <emmintrin.h>
#if defined(__GNUC__) && defined(__x86_64__) && !defined(RPTCONV_NO_WIDE_CLASSIFIER)
// Whole blocks are also classified 32 bytes at a time where the processor
// has AVX2, asked at run time (unless RPTCONV_NO_WIDE_CLASSIFIER is defined,
// to measure the SSE2 code on a processor that has AVX2).
#define RPTCONV_CLASSIFY_AVX2 1
#include <immintrin.h>
#endif
#elif defined(__aarch64__) && defined(__ARM_NEON)
#define RPTCONV_CLASSIFY_NEON 1
#include <arm_neon.h>
#endif

namespace rptconv {

inline constexpr std::size_t kMaskBits = 64;
inline constexpr std::size_t kVectorBytes = 16;
inline constexpr char kEscapeByte = '\x1B';

// Words of mask needed for `size` bytes.
constexpr std::size_t MaskWords(std::size_t size) { return (size + kMaskBits - 1) / kMaskBits; }

// Where a block's masks go, MaskWords(size) words each.
struct BlockMasks {
  std::uint64_t* line_ends;  // LF and CR
  std::uint64_t* commas;
};
// Writes the masks of the `size` bytes at `data`, with the widest vectors
// the processor has, and gives where a reader's data ends: at the first
// Ctrl-Z, or at `size` when there is none.
std::size_t ClassifyBlock(const char* data, std::size_t size, BlockMasks masks);
// The same with 16-byte vectors (SSE2 or NEON), and with 32-byte vectors
// (AVX2) when HasWideClassifier.
std::size_t ClassifyBlockVector(const char* data, std::size_t size, BlockMasks masks);
std::size_t ClassifyBlockWide(const char* data, std::size_t size, BlockMasks masks);
bool HasWideClassifier();
// The same, byte by byte: the reference the vector code is tested against.
std::size_t ClassifyBlockScalar(const char* data, std::size_t size, BlockMasks masks);

// The 64 bits of a mask from bit `at` on; the mask has a word after the one
// holding bit `at`.
inline std::uint64_t MaskWindow(const std::uint64_t* mask, std::size_t at) {
  const std::size_t w = at / kMaskBits;
  const unsigned shift = at % kMaskBits;
  // Two shifts keep each below 64 bits when `shift` is 0.
  return mask[w] >> shift | (mask[w + 1] << 1) << (kMaskBits - 1 - shift);
}

// The bits of a mask from bit `at` on, at least kShortWindowBits of them
// and zeros above, with one unaligned load: on a little-endian machine the
// words of a mask are its bytes in order. The mask has a word after the one
// holding bit `at`.
inline constexpr std::size_t kShortWindowBits = 57;
inline std::uint64_t ShortMaskWindow(const std::uint64_t* mask, std::size_t at) {
  if constexpr (std::endian::native == std::endian::little) {
    std::uint64_t bits;
    std::memcpy(&bits, reinterpret_cast<const unsigned char*>(mask) + at / 8, sizeof bits);
    return bits >> (at % 8);
  } else {
    return MaskWindow(mask, at);
  }
}

// A block that may be read kVectorBytes at a time from any of its bytes:
// up to kVectorBytes - 1 bytes past its end are readable.
struct PaddedBlock {
  const char* data = nullptr;
  std::size_t size = 0;
};

// Bit i is set when byte i of the 16 at `p` is "&", "<", ">", '"' or ESC,
// the bytes a page writes as entities; and the same byte by byte.
std::uint32_t EscapedBits16Scalar(const char* p);
// Bit i is set when byte i of the 16 at `p` is `c`; and byte by byte.
std::uint32_t ByteBits16Scalar(const char* p, char c);
// Bit i is set when byte i of the 16 at `p` does not pass into a JSON
// string as it is: a control byte, DEL, '"', "\\" or a byte from 0x80 up
// (converted from the code page); and byte by byte.
std::uint32_t JsonBits16Scalar(const char* p);
// Bit i is set when byte i of the 16 at `a` equals byte i of the 16 at `b`;
// and byte by byte.
std::uint32_t EqualBits16Scalar(const char* a, const char* b);

#if defined(RPTCONV_CLASSIFY_SSE2)

inline std::uint32_t EscapedBits16(const char* p) {
  // "&" and '"' differ only in bit 2, "<" and ">" only in bit 1: with that
  // bit set, one comparison finds either byte of a pair and no other.
  static_assert(('"' | 0x04) == '&' && ('<' | 0x02) == '>');
  const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  const __m128i quote_amp = _mm_cmpeq_epi8(_mm_or_si128(x, _mm_set1_epi8(0x04)), _mm_set1_epi8('&'));
  const __m128i angles = _mm_cmpeq_epi8(_mm_or_si128(x, _mm_set1_epi8(0x02)), _mm_set1_epi8('>'));
  const __m128i esc = _mm_cmpeq_epi8(x, _mm_set1_epi8(kEscapeByte));
  return static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_or_si128(_mm_or_si128(quote_amp, angles), esc)));
}
inline std::uint32_t ByteBits16(const char* p, char c) {
  const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  return static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(x, _mm_set1_epi8(c))));
}
inline std::uint32_t JsonBits16(const char* p) {
  const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  // As signed bytes, those from 0x80 up are below 0x20 too.
  const __m128i low_or_high = _mm_cmplt_epi8(x, _mm_set1_epi8(0x20));
  const __m128i quote = _mm_cmpeq_epi8(x, _mm_set1_epi8('"'));
  const __m128i backslash = _mm_cmpeq_epi8(x, _mm_set1_epi8('\\'));
  const __m128i del = _mm_cmpeq_epi8(x, _mm_set1_epi8(0x7F));
  return static_cast<std::uint32_t>(
      _mm_movemask_epi8(_mm_or_si128(_mm_or_si128(low_or_high, quote), _mm_or_si128(backslash, del))));
}
inline std::uint32_t EqualBits16(const char* a, const char* b) {
  const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a));
  const __m128i y = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b));
  return static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(x, y)));
}

#elif defined(RPTCONV_CLASSIFY_NEON)

// NEON has no byte mask move: weigh each byte of a comparison by its bit
// and add neighbours until the 16 bytes are 16 bits.
inline std::uint32_t Bits16(uint8x16_t equal) {
  static const std::uint8_t kWeights[16] = {1, 2, 4, 8, 16, 32, 64, 128, 1, 2, 4, 8, 16, 32, 64, 128};
  uint8x16_t sums = vandq_u8(equal, vld1q_u8(kWeights));
  sums = vpaddq_u8(sums, sums);
  sums = vpaddq_u8(sums, sums);
  sums = vpaddq_u8(sums, sums);
  return vgetq_lane_u16(vreinterpretq_u16_u8(sums), 0);
}
inline std::uint32_t EscapedBits16(const char* p) {
  const uint8x16_t x = vld1q_u8(reinterpret_cast<const std::uint8_t*>(p));
  const auto eq = [&x](char c) { return vceqq_u8(x, vdupq_n_u8(static_cast<std::uint8_t>(c))); };
  return Bits16(vorrq_u8(vorrq_u8(vorrq_u8(eq('&'), eq('<')), vorrq_u8(eq('>'), eq('"'))), eq(kEscapeByte)));
}
inline std::uint32_t ByteBits16(const char* p, char c) {
  const uint8x16_t x = vld1q_u8(reinterpret_cast<const std::uint8_t*>(p));
  return Bits16(vceqq_u8(x, vdupq_n_u8(static_cast<std::uint8_t>(c))));
}
inline std::uint32_t JsonBits16(const char* p) {
  const uint8x16_t x = vld1q_u8(reinterpret_cast<const std::uint8_t*>(p));
  const auto eq = [&x](char c) { return vceqq_u8(x, vdupq_n_u8(static_cast<std::uint8_t>(c))); };
  const uint8x16_t low_or_high = vorrq_u8(vcltq_u8(x, vdupq_n_u8(0x20)), vcgeq_u8(x, vdupq_n_u8(0x7F)));
  return Bits16(vorrq_u8(low_or_high, vorrq_u8(eq('"'), eq('\\'))));
}
inline std::uint32_t EqualBits16(const char* a, const char* b) {
  return Bits16(vceqq_u8(vld1q_u8(reinterpret_cast<const std::uint8_t*>(a)),
                         vld1q_u8(reinterpret_cast<const std::uint8_t*>(b))));
}

#else

inline std::uint32_t EscapedBits16(const char* p) { return EscapedBits16Scalar(p); }
inline std::uint32_t ByteBits16(const char* p, char c) { return ByteBits16Scalar(p, c); }
inline std::uint32_t JsonBits16(const char* p) { return JsonBits16Scalar(p); }
inline std::uint32_t EqualBits16(const char* a, const char* b) { return EqualBits16Scalar(a, b); }

#endif

// Index of the lowest set bit of a word that is not zero. On x86-64 this is
// the one instruction TZCNT (BSF where the processor lacks it, the same for
// a word that is not zero): std::countr_zero adds a test for zero and a
// widening, six instructions where one does, on every line.
inline std::size_t LowestBit(std::uint64_t word) {
#if defined(__GNUC__) && defined(__x86_64__)
  std::uint64_t index;
  __asm__("rep bsfq %1, %0" : "=r"(index) : "rm"(word) : "cc");
  return index;
#else
  return static_cast<std::size_t>(std::countr_zero(word));
#endif
}

// The set bits of a block's mask for the bytes from `begin` up to (not
// including) `end`: Next gives the position of each in turn, then `end`.
// The mask has a word for the byte at `begin`, even when it is the end.
class MaskCursor {
 public:
  MaskCursor(const std::uint64_t* mask, std::size_t begin, std::size_t end)
      : mask_(mask), word_(begin / kMaskBits), end_(end) {
    bits_ = mask_[word_] & (~std::uint64_t{0} << (begin % kMaskBits));
  }
  std::size_t Next() {
    while (bits_ == 0) {
      if ((++word_) * kMaskBits >= end_) return end_;
      bits_ = mask_[word_];
    }
    const std::size_t at = word_ * kMaskBits + LowestBit(bits_);
    bits_ &= bits_ - 1;
    return at < end_ ? at : end_;
  }

 private:
  const std::uint64_t* mask_;
  std::size_t word_;
  std::size_t end_;
  std::uint64_t bits_;
};

}  // namespace rptconv
