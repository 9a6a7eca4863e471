// Hears the walk over one report of a comparison and tells every property
// and every table row as a row of its section, with the report's raw bytes.
#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>

#include "compare/changes.h"
#include "report/sections.h"
#include "walk/page_events.h"

namespace rptconv {

class ReportComparer;

class RowEvents final : public PageEvents {
 public:
  RowEvents(ReportComparer& comparer, Side side) : comparer_(comparer), side_(side) {}

  void BeginDocument(std::string_view title, Language language) override;
  void BeginPage(std::string_view title, bool first) override;
  void BeginGroup(std::string_view title, bool first, bool in_table) override;
  void BeginItem(std::string_view title, bool first, bool in_table) override;
  void BeginTable(const Section& section) override;
  void TableHeader(std::span<const std::string_view>, std::string_view) override {}
  void Property(std::string_view label, std::string_view value, bool in_item) override;
  void TableRow(std::span<const std::string_view> cells) override;
  void EndDocument() override;

 private:
  static constexpr std::size_t kNotYet = ~std::size_t{0};  // no section found yet

  ReportComparer& comparer_;
  Side side_;
  std::string page_;
  std::string group_;
  std::string item_;
  bool in_group_ = false;  // a group has begun on the current page
  // The report's first page, and its first group, are the current ones:
  // they name the computer.
  bool first_page_ = false;
  bool first_group_ = false;
  // The table the walk began last (a page's or a group's), and its section
  // of the comparison: every group of a page begins the same table again.
  const Section* last_table_ = nullptr;
  bool last_in_group_ = false;
  std::size_t last_table_section_ = kNotYet;
  std::size_t table_section_ = kNotYet;
  std::size_t property_section_ = kNotYet;
  // A group table's row: the item's title, then the walk's cells.
  std::array<std::string_view, kMaxColumns + 1> cells_;
};

}  // namespace rptconv
