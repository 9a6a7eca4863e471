// The classic page: the HTML of 2004, with tables for layout and a small
// style sheet, written byte for byte as it always was.
#pragma once

#include <array>

#include "html/line_writer.h"
#include "report/sections.h"
#include "walk/page_events.h"

namespace rptconv {

class ClassicPage final : public PageEvents {
 public:
  explicit ClassicPage(LineWriter& out) : out_(out) {}

  void BeginDocument(std::string_view title, Language language) override;
  void BeginPage(std::string_view title, bool first) override;
  // In a table, groups and items have no row of their own: a row of a
  // table begins a group on most lines, so this is decided here, inline.
  void BeginGroup(std::string_view title, bool first, bool in_table) override {
    if (!in_table) GroupRow(title, first);
  }
  void BeginItem(std::string_view title, bool first, bool in_table) override {
    if (!in_table) ItemRow(title, first);
  }
  void TableHeader(std::span<const std::string_view> names, std::string_view alignment) override;
  void Property(std::string_view label, std::string_view value, bool in_item) override;
  void TableRow(std::span<const std::string_view> cells, std::string_view alignment) override;
  void EndDocument() override;

 private:
  void SpacerRow();
  void GroupRow(std::string_view title, bool first);
  void ItemRow(std::string_view title, bool first);
  // A value, which may be a link.
  void Value(ReservedWrite& out, std::string_view value);
  void MaybeLink(ReservedWrite& out, std::string_view value);
  // The markup before each cell of a table: the gap after the cell before
  // and the cell's opening tag, made once per alignment code.
  struct CellOpening {
    std::array<char, kPieceStore> store;
    std::size_t size;
  };
  const std::array<CellOpening, kMaxColumns>& OpeningsFor(std::string_view alignment);
  void MakeOpenings(std::string_view alignment);

  LineWriter& out_;
  std::array<CellOpening, kMaxColumns> openings_{};
  std::array<char, kMaxColumns> openings_alignment_{};  // the code they were made for
  std::size_t openings_alignment_size_ = kMaxColumns + 1;  // none yet
};

}  // namespace rptconv
