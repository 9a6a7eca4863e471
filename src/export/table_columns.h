// The columns of a catalogued table as data shows them: each column's key,
// kind and typed companion, taken from the catalogue once per table, and a
// row written as an object of them.
#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>

#include "export/json_writer.h"
#include "export/typed_values.h"
#include "report/sections.h"
#include "walk/page_events.h"

namespace rptconv {

class TableColumns {
 public:
  // Takes the keys and kinds of `section`'s columns.
  void Begin(const Section& section);
  const Section* section() const { return section_; }
  std::size_t count() const { return count_; }
  std::string_view key(std::size_t column) const { return keys_[column]; }
  ValueKind kind(std::size_t column) const { return kinds_[column]; }

  // The row's members: each cell under its column's key, then its typed
  // companion where the cell parses exactly.
  void WriteRow(JsonWriter& out, std::span<const std::string_view> cells, Language language) const;

 private:
  const Section* section_ = nullptr;
  std::size_t count_ = 0;
  std::array<std::string, kMaxColumns> keys_;
  std::array<std::string, kMaxColumns> companions_;  // empty for text columns
  std::array<ValueKind, kMaxColumns> kinds_{};
};

}  // namespace rptconv
