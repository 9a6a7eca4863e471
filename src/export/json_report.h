// A report's data as one JSON document, written as the report is read: the
// format and its version, the report's title, language and code page, then
// its pages in order. A property page holds its groups, each with its own
// label/value pairs and its items; a page or group that is a catalogued
// table holds its columns and its rows, one object per row. Memory does not
// grow with the report. doc/schema/report.schema.json describes it.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "export/json_writer.h"
#include "export/table_columns.h"
#include "walk/page_events.h"
#include "walk/report_walk.h"

namespace rptconv {

inline constexpr std::string_view kReportFormat = "rptconv-report";
inline constexpr int kReportFormatVersion = 1;

// A report's language in the data: "en" or "hu".
std::string_view LanguageCode(Language language);

class JsonReport final : public PageEvents {
 public:
  // `codepage` is the report's Windows code page, 0 for its language's; a
  // code page without a table throws std::invalid_argument. `file` names
  // the report in the data (empty: no name), in UTF-8 or, unless
  // `file_utf8`, in the report's code page.
  JsonReport(JsonWriter& out, int codepage, std::string_view file, bool file_utf8);

  void BeginDocument(std::string_view title, Language language) override;
  void BeginPage(std::string_view title, bool first) override;
  // Inline: in a table page every row begins a group.
  void BeginGroup(std::string_view title, bool, bool in_table) override {
    // The groups of a page that is a table are its rows.
    if (in_table && page_holds_ == Holds::kRows) {
      row_item_.clear();
      return;
    }
    OpenGroup(title);
  }
  void BeginItem(std::string_view title, bool first, bool in_table) override;
  void BeginTable(const Section& section) override;
  void TableHeader(std::span<const std::string_view> names, std::string_view alignment) override;
  void Property(std::string_view label, std::string_view value, bool in_item) override;
  // The hot path, inlined into the walk.
  [[gnu::always_inline]] inline void TableRow(std::span<const std::string_view> cells) override;
  void EndDocument() override;

 private:
  // What the open page or group holds so far.
  enum class Holds { kNothing, kGroups, kProperties, kItems, kRows };

  void OpenPage(std::string_view title);
  void ClosePage();
  void OpenGroup(std::string_view title);
  void CloseGroup();
  void CloseItem();
  // The group that properties and items go into; one without a title when
  // the report has given none.
  void NeedGroup();
  void OpenRows(Holds& holds);
  void NeedRows();
  void LongRow(std::span<const std::string_view> cells);

  JsonWriter& out_;
  int codepage_;
  std::string file_;
  bool file_utf8_;
  Language language_ = Language::kEnglish;

  bool page_open_ = false;
  Holds page_holds_ = Holds::kNothing;
  std::string page_title_;  // for the key of an uncatalogued page
  bool group_open_ = false;
  Holds group_holds_ = Holds::kNothing;
  bool item_open_ = false;
  // The item of a table's rows, when one has begun: its member, as JSON
  // after a comma.
  std::string row_item_;
  TableColumns columns_;
  // The last table's header, for rows that go on without one.
  std::array<std::string, kMaxColumns> header_names_;
  std::size_t header_count_ = 0;
};

// A row object: the item it belongs to, then its cells. Every member is
// written after a comma; the first comma becomes the object's "{".
inline void JsonReport::TableRow(std::span<const std::string_view> cells) {
  if (page_holds_ != Holds::kRows && (!group_open_ || group_holds_ != Holds::kRows)) NeedRows();
  const std::size_t room = row_item_.size() + columns_.RoomFor(cells) + 2;
  if (!out_.RawRoomFits(room)) return LongRow(cells);
  char* const start = out_.RawElementOnNewLine(room);
  char* out = start;
  *out = '{';
  if (!row_item_.empty()) out = std::copy(row_item_.begin(), row_item_.end(), out);
  out = columns_.WriteMembers(out, cells, out_.table(), language_);
  if (out == start) ++out;  // no member at all: "{}"
  *start = '{';
  *out++ = '}';
  out_.EndRawValue(out);
}

// The walk to this listener is compiled with it (json_report.cpp), apart from
// the other walks: the compiler inlines its hot loop on its own, whatever
// else the program's entry grows to hold.
extern template void WalkReportTo<JsonReport>(ReportReader& reader, JsonReport& events);

}  // namespace rptconv
