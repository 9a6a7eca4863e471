// Where a report says how full something is: the columns of a catalogued
// table that hold a total, a free part or a free share (logical drives), and
// the labels of the physical memory's total and free part in the summary.
#pragma once

#include <cstddef>
#include <span>
#include <string_view>

namespace rptconv {

inline constexpr std::size_t kNoColumn = static_cast<std::size_t>(-1);

struct CapacityColumns {
  std::size_t total = kNoColumn;
  std::size_t free = kNoColumn;
  std::size_t percent_free = kNoColumn;
  bool Any() const { return percent_free != kNoColumn || (total != kNoColumn && free != kNoColumn); }
};

struct Section;

// The capacity columns of the catalogued table whose header is `names` (as
// the walk tells it, in either language); none for any other header.
CapacityColumns CapacityColumnsOf(std::span<const std::string_view> names);
// The same for a section of the catalogue, by its column keys.
CapacityColumns CapacityColumnsOf(const Section& section);

// The physical memory's properties in the summary, in the report's bytes.
bool IsTotalMemoryLabel(std::string_view label);
bool IsFreeMemoryLabel(std::string_view label);

}  // namespace rptconv
