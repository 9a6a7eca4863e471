// Finding the bytes with a role in report text with vector instructions:
// the separators of a whole block at once, as a bit mask (bit i of word w
// stands for byte 64 * w + i), so that lines and fields are cut without
// looking at every byte again.
//
// The classifier is written once over the vector types of simd.h (SSE2,
// NEON or plain loops) and, where the processor has AVX2, over a type of 32
// bytes chosen at run time (unless RPTCONV_NO_WIDE_CLASSIFIER is defined,
// to measure the 16-byte code on a processor that has AVX2).
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "report/simd.h"

#if defined(RPTCONV_SIMD_SSE2) && defined(__GNUC__) && defined(__x86_64__) && !defined(RPTCONV_NO_WIDE_CLASSIFIER)
#define RPTCONV_CLASSIFY_AVX2 1
#endif

namespace rptconv {

// The masks are written and read as bytes in memory order, which is their
// bits' order on the little-endian processors this program runs on (x86-64,
// arm64).
static_assert(std::endian::native == std::endian::little, "the bit masks assume a little-endian processor");

inline constexpr std::size_t kMaskBits = 64;
inline constexpr std::size_t kVectorBytes = Bytes16::kBytes;

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
// The same with Bytes16, with the 32-byte type (only when
// HasWideClassifier), and with ScalarBytes16.
std::size_t ClassifyBlockVector(const char* data, std::size_t size, BlockMasks masks);
std::size_t ClassifyBlockWide(const char* data, std::size_t size, BlockMasks masks);
bool HasWideClassifier();
std::size_t ClassifyBlockScalar(const char* data, std::size_t size, BlockMasks masks);

// Classifies the bytes from `begin` (which starts a word) to `size` one by one.
void ClassifyTail(const char* data, std::size_t begin, std::size_t size, BlockMasks masks);
// Where the data ends for a reader: at its first Ctrl-Z, or at `size`.
std::size_t FirstCtrlZ(const char* data, std::size_t size);

// The bits of a mask from bit `at` on, at least kShortWindowBits of them
// and zeros above, with one unaligned load. The mask has a word after the
// one holding bit `at`.
inline constexpr std::size_t kShortWindowBits = 57;
inline std::uint64_t ShortMaskWindow(const std::uint64_t* mask, std::size_t at) {
  std::uint64_t bits;
  std::memcpy(&bits, reinterpret_cast<const unsigned char*>(mask) + at / 8, sizeof bits);
  return bits >> (at % 8);
}

// A block that may be read kVectorBytes at a time from any of its bytes:
// up to kVectorBytes - 1 bytes past its end are readable.
struct PaddedBlock {
  const char* data = nullptr;
  std::size_t size = 0;
};

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
