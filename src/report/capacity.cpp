#include "report/capacity.h"

#include "report/hungarian_text.h"
#include "report/sections.h"

namespace rptconv {

namespace {

// The column keys of the catalogue that hold a capacity.
constexpr std::string_view kTotalKey = "total_size";
constexpr std::string_view kFreeKey = "free_space";
constexpr std::string_view kPercentFreeKey = "percent_free";

constexpr std::string_view kTotalMemory[] = {"Total Physical", Hu<"Teljes fizikai">()};
constexpr std::string_view kFreeMemory[] = {"Free Physical", Hu<"Szabad fizikai">()};

// The `index`-th of the comma-separated `list`; empty past its end.
std::string_view Nth(std::string_view list, std::size_t index) {
  for (; index > 0; --index) {
    const std::size_t comma = list.find(',');
    if (comma == std::string_view::npos) return {};
    list.remove_prefix(comma + 1);
  }
  return list.substr(0, list.find(','));
}

bool SameHeaders(std::string_view headers, std::span<const std::string_view> names) {
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (Nth(headers, i) != names[i]) return false;
  }
  return true;
}

bool OneOf(std::string_view label, std::span<const std::string_view> labels) {
  for (const std::string_view known : labels) {
    if (label == known) return true;
  }
  return false;
}

}  // namespace

// The keys are read in one pass: a table is begun for most pages of a report.
CapacityColumns CapacityColumnsOf(const Section& section) {
  CapacityColumns columns;
  std::string_view keys = section.column_keys;
  for (std::size_t i = 0; i < static_cast<std::size_t>(section.column_count); ++i) {
    const std::size_t comma = keys.find(',');
    const std::string_view key = keys.substr(0, comma);
    if (key == kTotalKey) columns.total = i;
    if (key == kFreeKey) columns.free = i;
    if (key == kPercentFreeKey) columns.percent_free = i;
    if (comma == std::string_view::npos) break;
    keys.remove_prefix(comma + 1);
  }
  return columns;
}

CapacityColumns CapacityColumnsOf(std::span<const std::string_view> names) {
  for (const Section& section : kSections) {
    if (static_cast<std::size_t>(section.column_count) == names.size() &&
        (SameHeaders(section.headers_en, names) || SameHeaders(section.headers_hu, names))) {
      return CapacityColumnsOf(section);
    }
  }
  return {};
}

bool IsTotalMemoryLabel(std::string_view label) { return OneOf(label, kTotalMemory); }
bool IsFreeMemoryLabel(std::string_view label) { return OneOf(label, kFreeMemory); }

}  // namespace rptconv
