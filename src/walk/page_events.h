// What a walk over a report tells the pages it writes: the events between
// reading a report and writing any markup. A listener gets every text raw, as
// the report holds it (";" of a value already turned into ","), and decides
// itself how to escape or convert it. Texts are valid only during the call.
// Every text of the report (all but the headers of TableHeader), an empty
// one too, may be read kTextPadding bytes past its end, so that a listener can copy and inspect
// short texts 16 bytes at a time.
#pragma once

#include <cstddef>
#include <span>
#include <string_view>

#include "report/sections.h"

namespace rptconv {

inline constexpr std::size_t kTextPadding = 16;

// A report whose first page is titled "Report" is English; any other is
// Hungarian, and only Hungarian section titles are looked up in it.
inline constexpr std::string_view kEnglishFirstPage = "Report";
enum class Language { kEnglish, kHungarian };

// The Windows code page that reports of a language are written in.
inline constexpr int kEnglishCodepage = 1252;
inline constexpr int kHungarianCodepage = 1250;
constexpr int CodepageOf(Language language) {
  return language == Language::kEnglish ? kEnglishCodepage : kHungarianCodepage;
}

class PageEvents {
 public:
  virtual ~PageEvents() = default;

  // The report's title (the text after the fifth comma of its sixth line)
  // and its language, before anything else.
  virtual void BeginDocument(std::string_view title, Language language) = 0;
  // A report page; `first` is the report's first, shown under the banner.
  virtual void BeginPage(std::string_view title, bool first) = 0;
  // A group of the current page; `first` is the page's first. `in_table`:
  // the page is a column table and its groups are the table's rows, so the
  // group has no heading of its own.
  virtual void BeginGroup(std::string_view title, bool first, bool in_table) = 0;
  // An item of the current group; `first` is the group's first. `in_table`:
  // the page or group is a column table, so the item has no heading.
  virtual void BeginItem(std::string_view title, bool first, bool in_table) = 0;
  // The catalogue's section of the column table about to begin, just before
  // its TableHeader: what a listener that writes data needs of it (keys,
  // kinds), beyond what a page shows. A group's table is told in the same
  // step as the group, while the title BeginGroup gave still stands.
  virtual void BeginTable(const Section&) {}
  // The header row of a column table, of the page just begun or of the group
  // just begun. One alignment code ("L", "C", "R" or blank) per column.
  virtual void TableHeader(std::span<const std::string_view> names, std::string_view alignment) = 0;
  // A label and value row; `in_item` when the group has begun an item.
  virtual void Property(std::string_view label, std::string_view value, bool in_item) = 0;
  // A row of a column table: the record's group, its value (which may be a
  // link), then one cell from each continuation line. Its columns are those
  // of the last TableHeader, aligned as that header said.
  virtual void TableRow(std::span<const std::string_view> cells) = 0;
  virtual void EndDocument() = 0;
};

}  // namespace rptconv
