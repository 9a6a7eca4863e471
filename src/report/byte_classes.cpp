#include "report/byte_classes.h"

#include "report/line_reader.h"
#include "report/record.h"

namespace rptconv {

namespace {

constexpr bool IsSeparator(char c) { return c == kLineFeed || c == kCarriageReturn || c == kFieldSeparator; }
constexpr bool IsEscaped(char c) { return c == '&' || c == '<' || c == '>' || c == '"' || c == kEscapeByte; }

// Classifies the bytes from `begin` (which starts a word) to `size` one by one.
void ClassifyTail(const char* data, std::size_t begin, std::size_t size, std::uint64_t* separators) {
  for (std::size_t w = begin / kMaskBits; w < MaskWords(size); ++w) separators[w] = 0;
  for (std::size_t i = begin; i < size; ++i) {
    if (IsSeparator(data[i])) separators[i / kMaskBits] |= std::uint64_t{1} << (i % kMaskBits);
  }
}

#if defined(RPTCONV_CLASSIFY_SSE2)

inline std::uint64_t Separators16(const char* p) {
  const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  const __m128i line_end = _mm_or_si128(_mm_cmpeq_epi8(x, _mm_set1_epi8(kLineFeed)),
                                        _mm_cmpeq_epi8(x, _mm_set1_epi8(kCarriageReturn)));
  return static_cast<std::uint32_t>(
      _mm_movemask_epi8(_mm_or_si128(line_end, _mm_cmpeq_epi8(x, _mm_set1_epi8(kFieldSeparator)))));
}
inline std::uint64_t Separators64(const char* p) {
  return Separators16(p) | Separators16(p + 16) << 16 | Separators16(p + 32) << 32 | Separators16(p + 48) << 48;
}

#elif defined(RPTCONV_CLASSIFY_NEON)

inline uint8x16_t Separators16(const char* p) {
  const uint8x16_t x = vld1q_u8(reinterpret_cast<const std::uint8_t*>(p));
  const auto eq = [&x](char c) { return vceqq_u8(x, vdupq_n_u8(static_cast<std::uint8_t>(c))); };
  return vorrq_u8(vorrq_u8(eq(kLineFeed), eq(kCarriageReturn)), eq(kFieldSeparator));
}
// Weighs each byte of the four comparisons by its bit and adds neighbours
// until the 64 bytes are one word.
inline std::uint64_t Separators64(const char* p) {
  static const std::uint8_t kWeights[16] = {1, 2, 4, 8, 16, 32, 64, 128, 1, 2, 4, 8, 16, 32, 64, 128};
  const uint8x16_t weights = vld1q_u8(kWeights);
  const uint8x16_t ab = vpaddq_u8(vandq_u8(Separators16(p), weights), vandq_u8(Separators16(p + 16), weights));
  const uint8x16_t cd = vpaddq_u8(vandq_u8(Separators16(p + 32), weights), vandq_u8(Separators16(p + 48), weights));
  const uint8x16_t abcd = vpaddq_u8(ab, cd);
  return vgetq_lane_u64(vreinterpretq_u64_u8(vpaddq_u8(abcd, abcd)), 0);
}

#endif

}  // namespace

void ClassifyBlockScalar(const char* data, std::size_t size, std::uint64_t* separators) {
  ClassifyTail(data, 0, size, separators);
}

#if defined(RPTCONV_CLASSIFY_SSE2) || defined(RPTCONV_CLASSIFY_NEON)
void ClassifyBlock(const char* data, std::size_t size, std::uint64_t* separators) {
  std::size_t begin = 0;
  for (; begin + kMaskBits <= size; begin += kMaskBits) separators[begin / kMaskBits] = Separators64(data + begin);
  ClassifyTail(data, begin, size, separators);
}
#else
void ClassifyBlock(const char* data, std::size_t size, std::uint64_t* separators) {
  ClassifyBlockScalar(data, size, separators);
}
#endif

std::uint32_t EscapedBits16Scalar(const char* p) {
  std::uint32_t bits = 0;
  for (unsigned i = 0; i < kVectorBytes; ++i) bits |= std::uint32_t{IsEscaped(p[i])} << i;
  return bits;
}

std::uint32_t ByteBits16Scalar(const char* p, char c) {
  std::uint32_t bits = 0;
  for (unsigned i = 0; i < kVectorBytes; ++i) bits |= std::uint32_t{p[i] == c} << i;
  return bits;
}

}  // namespace rptconv
