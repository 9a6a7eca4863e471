#include "compare/row_events.h"

#include <algorithm>

#include "compare/report_comparer.h"

namespace rptconv {

void RowEvents::BeginDocument(std::string_view title, Language language) {
  comparer_.BeginReport(side_, title, language);
}

void RowEvents::BeginPage(std::string_view title, bool first) {
  first_page_ = first;
  first_group_ = false;
  page_.assign(title);
  group_.clear();
  item_.clear();
  in_group_ = false;
  table_section_ = kNotYet;
  property_section_ = kNotYet;
}

// The groups of a page that is a table are its rows: their titles are the
// rows' first cells, and no property needs them.
void RowEvents::BeginGroup(std::string_view title, bool first, bool in_table) {
  first_group_ = first;
  if (!in_table) group_.assign(title);
  item_.clear();
  in_group_ = true;
}

void RowEvents::BeginItem(std::string_view title, bool, bool) { item_.assign(title); }

// A table of the page (before any group) or of the group just begun.
void RowEvents::BeginTable(const Section& section) {
  if (&section != last_table_ || in_group_ != last_in_group_) {
    last_table_ = &section;
    last_in_group_ = in_group_;
    last_table_section_ = comparer_.TableSection(side_, section, in_group_, page_);
  }
  table_section_ = last_table_section_;
}

void RowEvents::Property(std::string_view label, std::string_view value, bool in_item) {
  if (property_section_ == kNotYet) property_section_ = comparer_.PropertySection(side_, page_);
  if (first_page_ && first_group_ && !in_item && IsComputerNameLabel(label)) comparer_.ComputerName(side_, value);
  const std::array<std::string_view, kPropertyRoles.size()> cells{group_, in_item ? std::string_view(item_) : "",
                                                                  label, value};
  comparer_.Row(side_, property_section_, cells);
}

void RowEvents::TableRow(std::span<const std::string_view> cells) {
  if (table_section_ == kNotYet) return;
  if (!comparer_.IsGroupTable(table_section_)) {
    comparer_.Row(side_, table_section_, cells);
    return;
  }
  const std::size_t count = std::min(cells.size(), kMaxColumns);
  cells_[0] = item_;
  std::copy_n(cells.begin(), count, cells_.begin() + 1);
  comparer_.Row(side_, table_section_, {cells_.data(), count + 1});
}

void RowEvents::EndDocument() { comparer_.EndReport(side_); }

}  // namespace rptconv
