// The sections of a report that are shown as column tables, and their lookup.
// Titles and headers are the report's own bytes (Windows-1250 for Hungarian)
// and are compared byte for byte.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace rptconv {

// The widest table: an alignment code has this many characters.
inline constexpr std::size_t kMaxColumns = 8;

// A section shown as a column table. A title that begins with "*" names the
// groups of the page with the rest of the title: each group is a table.
struct Section {
  std::string_view title_en;
  std::string_view title_hu;
  int column_count;
  std::string_view alignment;  // "L", "C" or "R" per column, blanks to eight characters
  std::string_view headers_en;  // comma-separated column headers
  std::string_view headers_hu;
  // The same in both languages, for data and comparisons: the section's
  // stable lower-case snake_case English key, and its columns' keys,
  // comma-separated.
  std::string_view key;
  std::string_view column_keys;
  // One code per column: kKeyColumn for a column that tells one row from
  // another (rows of two reports are matched by their key columns),
  // kVolatileColumn for one whose value changes without anything changing on
  // the computer (memory in use, last access), kPlainColumn otherwise.
  std::string_view column_roles;
  // One code per column: what its texts hold (kTextColumn, kSizeColumn,
  // kCountColumn, kPercentColumn, kDateColumn).
  std::string_view column_kinds;
};

inline constexpr char kKeyColumn = 'K';
inline constexpr char kVolatileColumn = 'V';
inline constexpr char kPlainColumn = '-';

inline constexpr char kTextColumn = 'T';     // free text
inline constexpr char kSizeColumn = 'S';     // a size such as "37.2 GB" or "236 KB"
inline constexpr char kCountColumn = 'N';    // a whole number
inline constexpr char kPercentColumn = 'P';  // a percentage such as "35 %"
inline constexpr char kDateColumn = 'D';     // a date, possibly with a time

inline constexpr std::size_t kSectionCount = 41;
extern const std::array<Section, kSectionCount> kSections;

struct SectionMatch {
  const Section* section;
  std::string_view headers;  // headers_en or headers_hu, by the title that matched
};

// True for the label that names the computer among the properties of a
// report's first group ("Computer Name", Hungarian "Számítógép név").
bool IsComputerNameLabel(std::string_view label);

// The first section whose English title (when `english_titles`) or Hungarian
// title equals `title`; English is tried first within a section. Null
// `section` when none matches.
SectionMatch FindSection(std::string_view title, bool english_titles);

// The match of a title that names no section.
inline constexpr SectionMatch kNoSection{nullptr, {}};

// The section of the groups of page `page`: the one titled "*" + `page`.
SectionMatch FindGroupSection(std::string_view page, bool english_titles);

}  // namespace rptconv
