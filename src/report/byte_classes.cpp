#include "report/byte_classes.h"

#include <cstring>

#include "report/classify_block.h"
#include "report/report_bytes.h"

namespace rptconv {

void ClassifyTail(const char* data, std::size_t begin, std::size_t size, BlockMasks masks) {
  for (std::size_t w = begin / kMaskBits; w < MaskWords(size); ++w) masks.line_ends[w] = masks.commas[w] = 0;
  for (std::size_t i = begin; i < size; ++i) {
    const std::uint64_t bit = std::uint64_t{1} << (i % kMaskBits);
    if (data[i] == kLineFeed || data[i] == kCarriageReturn) masks.line_ends[i / kMaskBits] |= bit;
    if (data[i] == kFieldSeparator) masks.commas[i / kMaskBits] |= bit;
  }
}

// A Ctrl-Z is rare: one search of the block after it is classified finds it.
std::size_t FirstCtrlZ(const char* data, std::size_t size) {
  const void* ctrl_z = std::memchr(data, kCtrlZ, size);
  return ctrl_z ? static_cast<std::size_t>(static_cast<const char*>(ctrl_z) - data) : size;
}

std::size_t ClassifyBlockScalar(const char* data, std::size_t size, BlockMasks masks) {
  return ClassifyBlockWith<ScalarBytes16>(data, size, masks);
}

std::size_t ClassifyBlockVector(const char* data, std::size_t size, BlockMasks masks) {
  return ClassifyBlockWith<Bytes16>(data, size, masks);
}

#if !defined(RPTCONV_CLASSIFY_AVX2)
std::size_t ClassifyBlockWide(const char* data, std::size_t size, BlockMasks masks) {
  return ClassifyBlockVector(data, size, masks);
}
bool HasWideClassifier() { return false; }
#endif

std::size_t ClassifyBlock(const char* data, std::size_t size, BlockMasks masks) {
  return HasWideClassifier() ? ClassifyBlockWide(data, size, masks) : ClassifyBlockVector(data, size, masks);
}

}  // namespace rptconv
