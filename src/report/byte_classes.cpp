#include "report/byte_classes.h"

#include <bit>
#include <cstring>

#include "report/line_reader.h"
#include "report/record.h"

namespace rptconv {

namespace {

constexpr bool IsLineEnd(char c) { return c == kLineFeed || c == kCarriageReturn; }
constexpr bool IsEscaped(char c) { return c == '&' || c == '<' || c == '>' || c == '"' || c == kEscapeByte; }

// Classifies the bytes from `begin` (which starts a word) to `size` one by one.
void ClassifyTail(const char* data, std::size_t begin, std::size_t size, BlockMasks masks) {
  for (std::size_t w = begin / kMaskBits; w < MaskWords(size); ++w) masks.line_ends[w] = masks.commas[w] = 0;
  for (std::size_t i = begin; i < size; ++i) {
    const std::uint64_t bit = std::uint64_t{1} << (i % kMaskBits);
    if (IsLineEnd(data[i])) masks.line_ends[i / kMaskBits] |= bit;
    if (data[i] == kFieldSeparator) masks.commas[i / kMaskBits] |= bit;
  }
}

#if defined(RPTCONV_CLASSIFY_SSE2)

// Each 16 bytes give 16 bits of each mask. On a little-endian machine the
// 16 bits of a mask word are two bytes of it in order, so they are stored
// as they come instead of being shifted into the word.
inline void Store16(std::uint64_t& word, unsigned i, int bits) {
  if constexpr (std::endian::native == std::endian::little) {
    const auto half = static_cast<std::uint16_t>(bits);
    std::memcpy(reinterpret_cast<unsigned char*>(&word) + 2 * i, &half, sizeof half);
  } else {
    word |= std::uint64_t{static_cast<std::uint32_t>(bits)} << (16 * i);
  }
}
inline void Classify64(const char* p, std::uint64_t& line_ends, std::uint64_t& commas) {
  if constexpr (std::endian::native != std::endian::little) line_ends = commas = 0;
  for (unsigned i = 0; i < 4; ++i) {
    const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * i));
    const __m128i ends = _mm_or_si128(_mm_cmpeq_epi8(x, _mm_set1_epi8(kLineFeed)),
                                      _mm_cmpeq_epi8(x, _mm_set1_epi8(kCarriageReturn)));
    const __m128i separators = _mm_cmpeq_epi8(x, _mm_set1_epi8(kFieldSeparator));
    Store16(line_ends, i, _mm_movemask_epi8(ends));
    Store16(commas, i, _mm_movemask_epi8(separators));
  }
}

#elif defined(RPTCONV_CLASSIFY_NEON)

// Weighs each byte of four comparisons by its bit and adds neighbours until
// the 64 bytes are one word.
inline std::uint64_t Bits64(uint8x16_t a, uint8x16_t b, uint8x16_t c, uint8x16_t d) {
  static const std::uint8_t kWeights[16] = {1, 2, 4, 8, 16, 32, 64, 128, 1, 2, 4, 8, 16, 32, 64, 128};
  const uint8x16_t weights = vld1q_u8(kWeights);
  const uint8x16_t ab = vpaddq_u8(vandq_u8(a, weights), vandq_u8(b, weights));
  const uint8x16_t cd = vpaddq_u8(vandq_u8(c, weights), vandq_u8(d, weights));
  const uint8x16_t abcd = vpaddq_u8(ab, cd);
  return vgetq_lane_u64(vreinterpretq_u64_u8(vpaddq_u8(abcd, abcd)), 0);
}
inline void Classify64(const char* p, std::uint64_t& line_ends, std::uint64_t& commas) {
  uint8x16_t ends[4], separators[4];
  for (int i = 0; i < 4; ++i) {
    const uint8x16_t x = vld1q_u8(reinterpret_cast<const std::uint8_t*>(p + 16 * i));
    const auto eq = [&x](char c) { return vceqq_u8(x, vdupq_n_u8(static_cast<std::uint8_t>(c))); };
    ends[i] = vorrq_u8(eq(kLineFeed), eq(kCarriageReturn));
    separators[i] = eq(kFieldSeparator);
  }
  line_ends = Bits64(ends[0], ends[1], ends[2], ends[3]);
  commas = Bits64(separators[0], separators[1], separators[2], separators[3]);
}

#endif

}  // namespace

// Where the data ends for a reader: at its first Ctrl-Z, or at `size`.
std::size_t FirstCtrlZ(const char* data, std::size_t size) {
  const void* ctrl_z = std::memchr(data, kCtrlZ, size);
  return ctrl_z ? static_cast<std::size_t>(static_cast<const char*>(ctrl_z) - data) : size;
}

std::size_t ClassifyBlockScalar(const char* data, std::size_t size, BlockMasks masks) {
  ClassifyTail(data, 0, size, masks);
  return FirstCtrlZ(data, size);
}

#if defined(RPTCONV_CLASSIFY_SSE2) || defined(RPTCONV_CLASSIFY_NEON)
std::size_t ClassifyBlockVector(const char* data, std::size_t size, BlockMasks masks) {
  std::size_t begin = 0;
  for (; begin + kMaskBits <= size; begin += kMaskBits) {
    Classify64(data + begin, masks.line_ends[begin / kMaskBits], masks.commas[begin / kMaskBits]);
  }
  ClassifyTail(data, begin, size, masks);
  return FirstCtrlZ(data, size);
}
#else
std::size_t ClassifyBlockVector(const char* data, std::size_t size, BlockMasks masks) {
  return ClassifyBlockScalar(data, size, masks);
}
#endif

#if defined(RPTCONV_CLASSIFY_AVX2)
// 32 bytes a comparison where the processor has AVX2; the function is
// compiled for AVX2 alone and called only after asking the processor. It
// also notes whether the block holds a Ctrl-Z, which is seldom, so that
// the block is searched for one only then.
__attribute__((target("avx2"))) std::size_t ClassifyBlockWide(const char* data, std::size_t size,
                                                              BlockMasks masks) {
  std::size_t begin = 0;
  std::uint64_t* line_ends = masks.line_ends;
  std::uint64_t* commas = masks.commas;
  __m256i ctrl_z = _mm256_setzero_si256();
  for (; begin + kMaskBits <= size; begin += kMaskBits, ++line_ends, ++commas) {
    for (unsigned half = 0; half < 2; ++half) {
      const __m256i x = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(data + begin + 32 * half));
      const __m256i ends = _mm256_or_si256(_mm256_cmpeq_epi8(x, _mm256_set1_epi8(kLineFeed)),
                                           _mm256_cmpeq_epi8(x, _mm256_set1_epi8(kCarriageReturn)));
      const __m256i separators = _mm256_cmpeq_epi8(x, _mm256_set1_epi8(kFieldSeparator));
      ctrl_z = _mm256_or_si256(ctrl_z, _mm256_cmpeq_epi8(x, _mm256_set1_epi8(kCtrlZ)));
      // x86 is little-endian: the two halves of 32 bits are the word's in order.
      const auto ends_bits = static_cast<std::uint32_t>(_mm256_movemask_epi8(ends));
      const auto comma_bits = static_cast<std::uint32_t>(_mm256_movemask_epi8(separators));
      std::memcpy(reinterpret_cast<char*>(line_ends) + 4 * half, &ends_bits, sizeof ends_bits);
      std::memcpy(reinterpret_cast<char*>(commas) + 4 * half, &comma_bits, sizeof comma_bits);
    }
  }
  ClassifyTail(data, begin, size, masks);
  if (_mm256_testz_si256(ctrl_z, ctrl_z) && std::memchr(data + begin, kCtrlZ, size - begin) == nullptr) return size;
  return FirstCtrlZ(data, size);
}

bool HasWideClassifier() {
  static const bool has_avx2 = __builtin_cpu_supports("avx2");
  return has_avx2;
}
#else
std::size_t ClassifyBlockWide(const char* data, std::size_t size, BlockMasks masks) {
  return ClassifyBlockVector(data, size, masks);
}
bool HasWideClassifier() { return false; }
#endif

std::size_t ClassifyBlock(const char* data, std::size_t size, BlockMasks masks) {
  return HasWideClassifier() ? ClassifyBlockWide(data, size, masks) : ClassifyBlockVector(data, size, masks);
}

std::uint32_t EscapedBits16Scalar(const char* p) {
  std::uint32_t bits = 0;
  for (unsigned i = 0; i < kVectorBytes; ++i) bits |= std::uint32_t{IsEscaped(p[i])} << i;
  return bits;
}

std::uint32_t EqualBits16Scalar(const char* a, const char* b) {
  std::uint32_t bits = 0;
  for (unsigned i = 0; i < kVectorBytes; ++i) bits |= std::uint32_t{a[i] == b[i]} << i;
  return bits;
}

std::uint32_t ByteBits16Scalar(const char* p, char c) {
  std::uint32_t bits = 0;
  for (unsigned i = 0; i < kVectorBytes; ++i) bits |= std::uint32_t{p[i] == c} << i;
  return bits;
}

std::uint32_t JsonBits16Scalar(const char* p) {
  std::uint32_t bits = 0;
  for (unsigned i = 0; i < kVectorBytes; ++i) {
    const auto byte = static_cast<unsigned char>(p[i]);
    bits |= std::uint32_t{byte < 0x20 || byte >= 0x7F || byte == '"' || byte == '\\'} << i;
  }
  return bits;
}

}  // namespace rptconv
