#include "compare/row_arena.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>
#include <stdexcept>

namespace rptconv {

namespace {

// Blocks are allocated this large, or as large as a larger row.
constexpr std::size_t kBlockBytes = std::size_t{1} << 20;
using CellLength = std::uint32_t;

}  // namespace

const char* RowArena::Keep(std::span<const std::string_view> cells) {
  std::size_t size = cells.size() * sizeof(CellLength);
  for (const std::string_view cell : cells) {
    if (cell.size() > std::numeric_limits<CellLength>::max()) throw std::length_error("a cell of 4 GiB or more");
    size += cell.size();
  }
  if (size > room_) {
    room_ = std::max(kBlockBytes, size);
    blocks_.push_back(std::make_unique_for_overwrite<char[]>(room_));
    free_ = blocks_.back().get();
  }
  char* const row = free_;
  char* out = row;
  for (const std::string_view cell : cells) {
    const auto length = static_cast<CellLength>(cell.size());
    std::memcpy(out, &length, sizeof length);
    out += sizeof length;
  }
  for (const std::string_view cell : cells) {
    std::memcpy(out, cell.data(), cell.size());
    out += cell.size();
  }
  free_ += size;
  room_ -= size;
  return row;
}

void RowArena::Cells(const char* row, std::span<std::string_view> cells) {
  const char* bytes = row + cells.size() * sizeof(CellLength);
  for (std::string_view& cell : cells) {
    CellLength length;
    std::memcpy(&length, row, sizeof length);
    row += sizeof length;
    cell = {bytes, length};
    bytes += length;
  }
}

}  // namespace rptconv
