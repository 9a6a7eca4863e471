// The classic page: the HTML of 2004, with tables for layout and a small
// style sheet, written byte for byte as it always was.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

#include "html/line_writer.h"
#include "html/links.h"
#include "html/page_texts.h"
#include "report/sections.h"
#include "walk/page_events.h"
#include "walk/report_walk.h"

namespace rptconv {

inline constexpr std::string_view kTableRowStart = "<TR><TD><TD>";
inline constexpr std::string_view kLinkStart = "<A HREF=\"";
inline constexpr std::string_view kLinkMiddle = "\" TARGET=\"blank\">";
inline constexpr std::string_view kLinkEnd = "</A>";
inline constexpr std::size_t kLongestLinkMarkup =
    kLinkStart.size() + kMailScheme.size() + kLinkMiddle.size() + kLinkEnd.size();

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
  [[gnu::always_inline]] inline void TableRow(std::span<const std::string_view> cells) override;
  void EndDocument() override;

 private:
  void SpacerRow();
  void GroupRow(std::string_view title, bool first);
  void ItemRow(std::string_view title, bool first);
  // A value, which may be a link.
  void Value(ReservedWrite& out, std::string_view value);
  // Taken and given back by value, so that the write position can stay in
  // a register in the caller.
  static ReservedWrite MaybeLink(ReservedWrite out, std::string_view value);
  // The markup before each cell of a table: the start of the row or the gap
  // after the cell before, then the cell's opening tag; made by each table
  // header for the rows after it.
  struct CellOpening {
    std::array<char, kPieceStore> store;
    std::size_t size;
  };
  void MakeOpenings(std::string_view alignment);

  LineWriter& out_;
  std::array<CellOpening, kMaxColumns> openings_{};
};

// A value may be a link; most are not, as their first byte tells.
inline void ClassicPage::Value(ReservedWrite& out, std::string_view value) {
  // (A report text, even an empty one, may be read past its end.)
  const char first = *value.data();
  if (first != kWebPrefix[0] && first != kContactAddress[0]) {
    out.Text(value);
  } else {
    out = MaybeLink(out, value);
  }
}

// The second cell is the record's value, which may be a link; the others
// are plain text. Written here, inline, as the walk tells a row for most
// lines of a report.
inline void ClassicPage::TableRow(std::span<const std::string_view> cells) {
  const auto& openings = openings_;
  // The line has at most kMaxColumns cells, each with an opening of
  // kPieceStore bytes and a text written in place (the value twice when it
  // is a link): well within the line's room.
  static_assert(kMaxColumns * kPieceStore + (kMaxColumns + 1) * ReservedWrite::kInlineText + kVectorBytes +
                    kLongestLinkMarkup < ReservedWrite::kLineRoom);
  ReservedWrite out = out_.Reserve();
  out.Piece(openings[0].store.data(), openings[0].size).Text(cells[0]);
  if (cells.size() > 1) {
    out.Piece(openings[1].store.data(), openings[1].size);
    Value(out, cells[1]);
  }
  for (std::size_t column = 2; column < cells.size(); ++column) {
    out.Piece(openings[column].store.data(), openings[column].size).Text(cells[column]);
  }
  out_.EndLine(out);
}

// The walk to a classic page is compiled with the page (classic_page.cpp),
// apart from the other walks: the compiler inlines its hot loop on its own,
// whatever else the program's entry grows to hold.
extern template void WalkReportTo<ClassicPage>(ReportReader& reader, ClassicPage& events);

}  // namespace rptconv
