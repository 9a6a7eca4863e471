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
};

inline constexpr std::size_t kSectionCount = 41;
extern const std::array<Section, kSectionCount> kSections;

struct SectionMatch {
  const Section* section;
  std::string_view headers;  // headers_en or headers_hu, by the title that matched
};

// The first section whose English title (when `english_titles`) or Hungarian
// title equals `title`; English is tried first within a section. Null
// `section` when none matches.
SectionMatch FindSection(std::string_view title, bool english_titles);

// The section of the groups of page `page`: the one titled "*" + `page`.
SectionMatch FindGroupSection(std::string_view page, bool english_titles);

}  // namespace rptconv
