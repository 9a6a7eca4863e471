// The old report's rows, kept end to end in blocks that never move (no copy
// when the store grows): each row is its cells' lengths, then their bytes.
#pragma once

#include <cstddef>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

namespace rptconv {

class RowArena {
 public:
  // Keeps the cells; gives where the row lies, valid while the arena lives.
  // A cell of 4 GiB or more throws std::length_error.
  const char* Keep(std::span<const std::string_view> cells);
  // The cells of a kept row of `count` cells, into `cells` (room for
  // `count`), read front to back in one pass.
  static void Cells(const char* row, std::span<std::string_view> cells);

 private:
  std::vector<std::unique_ptr<char[]>> blocks_;
  char* free_ = nullptr;
  std::size_t room_ = 0;
};

}  // namespace rptconv
