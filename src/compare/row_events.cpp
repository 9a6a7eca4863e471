#include "compare/row_events.h"

#include <algorithm>

#include "compare/report_comparer.h"

namespace rptconv {

void RowEvents::BeginDocument(std::string_view title, Language language) {
  comparer_.BeginReport(side_, title, language);
}

void RowEvents::BeginPage(std::string_view title, bool first) {
  if (first) english_titles_ = title == kEnglishFirstPage;
  page_.assign(title);
  group_.clear();
  item_.clear();
  in_group_ = false;
  table_section_ = kNotYet;
  property_section_ = kNotYet;
  // The first page is never a table.
  page_match_ = first ? kNoSection : FindSection(title, english_titles_);
  group_match_ = FindGroupSection(title, english_titles_);
}

void RowEvents::BeginGroup(std::string_view title, bool, bool) {
  group_.assign(title);
  item_.clear();
  in_group_ = true;
}

void RowEvents::BeginItem(std::string_view title, bool, bool) { item_.assign(title); }

// A header row begins a table of the page (before any group) or of the
// group just begun.
void RowEvents::TableHeader(std::span<const std::string_view>, std::string_view) {
  const SectionMatch& match = in_group_ ? group_match_ : page_match_;
  table_section_ = match.section ? comparer_.TableSection(side_, *match.section, in_group_, page_) : kNotYet;
}

void RowEvents::Property(std::string_view label, std::string_view value, bool in_item) {
  if (property_section_ == kNotYet) property_section_ = comparer_.PropertySection(side_, page_);
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
