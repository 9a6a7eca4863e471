// What a comparison of two reports found: per section, the rows added,
// removed and changed, as the reports' own bytes.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "report/sections.h"
#include "walk/page_events.h"

namespace rptconv {

// The two reports of a comparison, as indexes into the arrays below.
enum Side : std::size_t { kOldSide = 0, kNewSide = 1 };
inline constexpr std::size_t kSides = 2;

enum class ChangeKind : std::size_t { kAdded = 0, kRemoved = 1, kChanged = 2 };
inline constexpr std::size_t kChangeKinds = 3;

// One row of a section that is not the same in both reports. The cells are
// raw report text, each in its own report's code page.
struct RowChange {
  ChangeKind kind;
  std::vector<std::string> old_cells;  // empty when added
  std::vector<std::string> new_cells;  // empty when removed
};

// A section of either report: a catalogued table, or a page of properties.
// A property is a row of four columns: group, item, label and value.
struct ComparedSection {
  const Section* table = nullptr;  // null for a page of properties
  // The table's rows are the groups' items (a page such as "SMART"): the
  // item's title comes first in each row.
  bool group_table = false;
  // One role per column (kKeyColumn, kVolatileColumn, kPlainColumn).
  std::string roles;
  std::array<bool, kSides> present{};
  std::array<std::string, kSides> title;  // the page's title as each report has it
  std::array<std::size_t, kSides> rows{};
  std::vector<RowChange> changes;  // in the new report's order, then the removed rows in the old one's
  std::array<std::size_t, kChangeKinds> counts{};
};

struct Comparison {
  std::array<std::string, kSides> report_title;
  std::array<Language, kSides> language{Language::kEnglish, Language::kEnglish};
  std::array<int, kSides> codepage{kEnglishCodepage, kEnglishCodepage};
  // The computer's name, as the first group of each report's first page
  // gives it.
  std::array<std::optional<std::string>, kSides> computer;
  // Volatile columns were compared and are shown.
  bool all_columns = false;
  // In the order the reports name them, the old report's first.
  std::vector<ComparedSection> sections;

  std::size_t Total() const {
    std::size_t total = 0;
    for (const ComparedSection& section : sections) total += section.changes.size();
    return total;
  }
};

// How the outputs of a comparison name the two reports: as the command line
// gave them, in UTF-8 (POSIX), or in the new report's code page (Windows'
// ANSI code page).
struct ReportNames {
  std::string_view old_name;
  std::string_view new_name;
  bool utf8 = true;
};

// The roles of a page of properties: group, item and label are the key.
inline constexpr std::string_view kPropertyRoles = "KKK-";

// Whether column `column` of a section with `roles` counts as a change:
// plain columns, and volatile ones when `all_columns`.
inline bool IsComparedColumn(std::string_view roles, std::size_t column, bool all_columns) {
  return column < roles.size() &&
         (roles[column] == kPlainColumn || (all_columns && roles[column] == kVolatileColumn));
}

}  // namespace rptconv
