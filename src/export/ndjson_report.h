// A report's data as NDJSON: one line per table row and per property, each
// a JSON object that names where it comes from (the report's file, the
// computer, the section's key, the page, the group and the item), so that
// the lines of a whole fleet make one file that a database reads as one
// table. Written as the report is read; memory does not grow with it.
// doc/schema/line.schema.json describes a line.
#pragma once

#include <cstring>
#include <span>
#include <string>
#include <string_view>

#include "export/json_writer.h"
#include "export/table_columns.h"
#include "walk/page_events.h"
#include "walk/report_walk.h"

namespace rptconv {

// The bytes that end a line of a row: two brackets and LF, and one more
// for a row without fields ("{}").
inline constexpr std::size_t kNdjsonLineEnd = 4;

class NdjsonReport final : public PageEvents {
 public:
  // As JsonReport.
  NdjsonReport(JsonWriter& out, int codepage, std::string_view file, bool file_utf8);

  void BeginDocument(std::string_view title, Language language) override;
  void BeginPage(std::string_view title, bool first) override;
  // Inline: in a table page every row begins a group.
  void BeginGroup(std::string_view title, bool first, bool in_table) override {
    first_group_ = first;
    // The groups of a page that is a table are its rows, and the group's
    // title is the row's first cell.
    if (!in_table) return BeginPropertyGroup(title);
    if (item_named_ || group_named_) {
      item_named_ = group_named_ = false;
      Stale(kGroupPart | kItemPart);
    }
  }
  void BeginItem(std::string_view title, bool first, bool in_table) override;
  void BeginTable(const Section& section) override;
  void TableHeader(std::span<const std::string_view>, std::string_view) override {}
  void Property(std::string_view label, std::string_view value, bool in_item) override;
  // The hot path, inlined into the walk.
  [[gnu::always_inline]] inline void TableRow(std::span<const std::string_view> cells) override;
  void EndDocument() override;

 private:
  // The members every line of the current place begins with: the parts
  // marked in `stale_` are written again before the next line.
  enum Part : unsigned { kPagePart = 1, kGroupPart = 2, kItemPart = 4 };
  void Stale(unsigned parts) { stale_ |= parts; }
  const std::string& Members() {
    if (stale_ != 0) MakeMembers();
    return members_;
  }
  void MakeMembers();
  void BeginPropertyGroup(std::string_view title);
  // Rows of a group without a header of its own go on with the last table.
  void NameRows();
  // A row longer than the writer's buffer, written piece by piece.
  void LongRow(std::span<const std::string_view> cells);
  // The section's key, and the page's members again when it changed (a
  // page's groups mostly keep the key of the one before).
  void SetSection(std::string_view key) {
    if (section_ == key) return;
    section_.assign(key);
    Stale(kPagePart);
  }
  // The line of a row up to its fields: "{", the members, the fields'
  // name; of a property up to its label: "{", the members, a comma.
  const std::string& RowStart() {
    if (stale_ != 0) MakeMembers();
    return row_start_;
  }
  const std::string& PropertyStart() {
    if (stale_ != 0) MakeMembers();
    return property_start_;
  }

  JsonWriter& out_;
  int codepage_;
  std::string file_;
  bool file_utf8_;
  Language language_ = Language::kEnglish;

  std::string computer_;  // the report's bytes; empty until the report names it
  bool computer_known_ = false;
  bool first_page_ = false;   // the current page is the report's first
  bool first_group_ = false;  // the current group is its page's first
  std::string page_;
  std::string section_;  // UTF-8 key
  std::string page_key_;  // the key made from the page's title
  std::string group_;
  bool group_named_ = false;  // a group of a property page or a group table
  std::string item_;
  bool item_named_ = false;
  bool rows_named_ = false;  // section_ names the table of the rows that come
  TableColumns columns_;
  // JSON, the shared members of the current place: file, computer,
  // section and page; group; item; and all of them.
  std::string page_members_;
  std::string group_members_;
  std::string item_members_;
  std::string members_;
  std::string row_start_;
  std::string property_start_;
  unsigned stale_ = kPagePart | kGroupPart | kItemPart;
};

inline void NdjsonReport::TableRow(std::span<const std::string_view> cells) {
    if (!rows_named_) NameRows();
  const std::string& start = RowStart();
  const std::size_t room = start.size() + columns_.RoomFor(cells) + kNdjsonLineEnd;
  if (!out_.RawRoomFits(room)) return LongRow(cells);
  // The line straight into the buffer; every member of the row is written
  // after a comma, and the first comma becomes the fields' "{".
  char* out = out_.RawValue(room);
  std::memcpy(out, start.data(), start.size());
  out += start.size();
  char* const fields = out;
  out = columns_.WriteMembers(out, cells, out_.table(), language_);
  if (out == fields) ++out;  // no member at all: "{}"
  *fields = '{';
  *out++ = '}';
  *out++ = '}';
  *out++ = '\n';
  out_.EndRawRecord(out);
}

// The walk to this listener is compiled with it (ndjson_report.cpp), apart from
// the other walks: the compiler inlines its hot loop on its own, whatever
// else the program's entry grows to hold.
extern template void WalkReportTo<NdjsonReport>(ReportReader& reader, NdjsonReport& events);

}  // namespace rptconv
