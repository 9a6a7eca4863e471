// The modern page: HTML5 in UTF-8 for today's browsers. Report pages are
// sections with headings, properties and column tables are real tables, and
// a navigation list of the report pages comes last in the document and first
// on the screen (the style sheet moves it), so that the page is written as
// the report is read and keeps only the (cut) titles of the pages it lists,
// at most 10,000 of them.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "html/codepage.h"
#include "html/line_writer.h"
#include "html/links.h"
#include "report/capacity.h"
#include "report/sections.h"
#include "walk/page_events.h"
#include "walk/report_walk.h"

namespace rptconv {

class ModernPage final : public PageEvents {
 public:
  // `codepage` is the report's Windows code page; 0 takes 1250 for Hungarian
  // reports and 1252 for English ones. A code page without a table throws
  // std::invalid_argument.
  ModernPage(LineWriter& out, int codepage);

  void BeginDocument(std::string_view title, Language language) override;
  void BeginPage(std::string_view title, bool first) override;
  // In a page table the groups are the table's rows, and in a group table
  // the items: most lines begin one, so this is decided here, inline. A
  // table's lines are all rows, without properties: the memory's parts,
  // forgotten when its page or group began, stay forgotten.
  void BeginGroup(std::string_view title, bool, bool in_table) override {
    group_heading_ = !in_table;
    if (!in_table) GroupHeading(title);
  }
  void BeginItem(std::string_view title, bool, bool in_table) override {
    if (!in_table) ItemHeading(title);
  }
  void BeginTable(const Section& section) override { table_section_ = &section; }
  void TableHeader(std::span<const std::string_view> names, std::string_view alignment) override;
  void Property(std::string_view label, std::string_view value, bool in_item) override;
  [[gnu::always_inline]] inline void TableRow(std::span<const std::string_view> cells) override;
  void EndDocument() override;

 private:
  enum class OpenTable { kNone, kProperties, kColumns };
  // A page in the navigation: its anchor and its title as the report's
  // bytes, cut to kNavTitleBytes (then `cut`), converted as it is written.
  struct NavEntry {
    std::string id;
    std::string title;
    bool cut = false;
  };

  void Text(std::string_view text) { WriteUtf8ReportText(out_, *table_, text); }
  // A title that may be blank: blanks then show as no-break spaces.
  void TitleText(std::string_view title);
  void WriteHead();
  void Value(std::string_view value);
  // Writes a report text, or a value (which may be a link), into a line.
  [[gnu::always_inline]] ReservedWrite CellText(ReservedWrite line, std::string_view text, bool value);
  // Writes cells [from, to) of a table row, each with its opening tag.
  [[gnu::always_inline]] ReservedWrite DataCells(ReservedWrite line, std::span<const std::string_view> cells,
                                                 std::size_t from, std::size_t to);
  // CellText's rarer cases, a text to convert or a value that may be a
  // link, out of the row's loop.
  [[gnu::noinline]] ReservedWrite LongerCellText(ReservedWrite line, std::string_view text, bool value);
  // The rest of a row from bar_split_ on (see row_rest_).
  [[gnu::noinline]] ReservedWrite RowRest(ReservedWrite line, std::span<const std::string_view> cells);
  void GroupHeading(std::string_view title);
  void ItemHeading(std::string_view title);
  // <hN> with an optional class.
  void Heading(int level, std::string_view class_name, std::string_view title);
  std::string UniqueId(std::string_view title);
  void OpenColumns(std::size_t columns);
  void OpenHeaderCell(std::string_view alignment, std::size_t column);
  void ChooseDataCells();
  void CloseTable();
  void CloseSection();
  void ForgetMemory() {
    memory_total_.clear();
    memory_free_.clear();
  }
  void DriveBar(std::span<const std::string_view> cells);
  void MemoryBar(std::string_view label, std::string_view value);

  LineWriter& out_;
  int codepage_;
  const CodepageTable* table_ = nullptr;
  Language language_ = Language::kEnglish;

  std::string title_;  // the report's title as its bytes; empty when blank
  bool head_written_ = false;
  bool section_open_ = false;
  bool group_heading_ = false;  // the current group has a heading
  int group_level_ = 0;
  OpenTable open_ = OpenTable::kNone;
  // The open column table's columns, kNoColumn when none is open: a row of
  // another count opens a new table.
  std::size_t open_columns_ = kNoColumn;
  // Whether the open table's rows are written in two parts (a drive's bar,
  // or no cell at all), and the cells of the first: the rows are written to
  // bar_split_, then the rest.
  bool row_rest_ = false;
  std::size_t bar_split_ = 0;
  // The header of the page's last column table, repeated when an item
  // heading or a group heading interrupts the table.
  std::array<std::string, kMaxColumns> header_names_;
  std::size_t header_count_ = 0;
  std::string header_alignment_;
  // The catalogue's section of the table begun, and the section and header
  // text (the catalogue's own) that header_names_ and data_cells_ were made
  // from: the next table of the same section keeps them.
  const Section* table_section_ = nullptr;
  const Section* header_section_ = nullptr;
  const char* header_text_ = nullptr;
  // The opening tag of each column's data cells, narrow and wide, by the
  // last header's alignment; the first column's begins the row.
  // Column c's narrow tag is number 2c, its wide one 2c + 1.
  struct CellTags {
    char store[2 * kMaxColumns][kPieceStore];
    std::size_t size[2 * kMaxColumns];
  };
  CellTags data_cells_{};

  // The used share drawn in a table of logical drives, in the cell of its
  // "% Free" (or "Free Space") column; kNoColumn in other tables.
  CapacityColumns capacity_;
  std::size_t bar_column_ = kNoColumn;
  // The physical memory's total and free part in the current item, raw, for
  // a bar beside the second of them.
  std::string memory_total_;
  std::string memory_free_;

  // The first kMostNavEntries pages are listed in the navigation and get
  // anchors made from their titles; later ones are counted and numbered, so
  // that memory stays bounded whatever the report's length.
  std::vector<NavEntry> nav_;
  std::size_t pages_ = 0;
  std::unordered_set<std::string> ids_;
  std::unordered_map<std::string, int> next_number_;  // the last number added to a repeated anchor
  std::string scratch_;  // an address in UTF-8
  std::string href_;     // the same, percent-encoded
};

// The walk to a modern page is compiled with the page (modern_page.cpp),
// apart from the other walks: the compiler inlines each hot loop on its
// own, and a change to one page leaves the other's code as it is.
extern template void WalkReportTo<ModernPage>(ReportReader& reader, ModernPage& events);

// A cell longer than this may wrap at its blanks (with a sensible least
// width); shorter cells never wrap, so "3412 KB" stays on one line.
inline constexpr std::size_t kWideCell = 40;
inline constexpr std::string_view kRowStart = "<tr>";

// Whether a report text may be a link, as its first byte tells: most are
// not. (A report text, even an empty one, may be read past its end.)
inline bool MayLink(std::string_view value) {
  static_assert(kWebPrefix[0] == kSecureWebPrefix[0]);
  const char first = *value.data();
  return first == kWebPrefix[0] || first == kContactAddress[0];
}

// Most texts are plain ASCII and are copied into the line's room; the others,
// and values that may be links, are written the long way, and the line goes
// on in new room.
inline ReservedWrite ModernPage::CellText(ReservedWrite line, std::string_view text, bool value) {
  if ((value && MayLink(text)) || !line.CopyPlain<NotPlainBits16<>>(text)) line = LongerCellText(line, text, value);
  return line;
}

inline ReservedWrite ModernPage::DataCells(ReservedWrite line, std::span<const std::string_view> cells,
                                           std::size_t from, std::size_t to) {
  // A text of one vector is narrow: only a longer one is tested for its
  // width, where its copy tests its length anyway.
  static_assert(kWideCell >= kVectorBytes);
  for (std::size_t column = from; column < to; ++column) {
    const std::string_view cell = cells[column];
    std::size_t tag = 2 * column;
    if (cell.size() <= kVectorBytes) {
      line.Piece(data_cells_.store[tag], data_cells_.size[tag]);
      line = CellText(line, cell, column == 1);
    } else {
      tag += cell.size() > kWideCell ? 1 : 0;
      line.Piece(data_cells_.store[tag], data_cells_.size[tag]);
      line = CellText(line, cell, column == 1);
    }
  }
  return line;
}

// Written here, inline, as the walk tells a row for most lines of a report.
inline void ModernPage::TableRow(std::span<const std::string_view> cells) {
  const std::size_t count = cells.size();
  if (open_columns_ != count) {
    CloseTable();
    OpenColumns(count);
  }
  static_assert(kMaxColumns * (kPieceStore + ReservedWrite::kInlineText + kVectorBytes) < ReservedWrite::kLineRoom);
  ReservedWrite line = out_.Reserve();
  line = DataCells(line, cells, 0, bar_split_);
  if (row_rest_) line = RowRest(line, cells);
  out_.EndLine(line);
}

}  // namespace rptconv
