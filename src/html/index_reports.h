// The index's table of reports: one row per report of the run, with a link
// to its page, its title and the properties of its report's first group.
// Reports of one language share a table (their labels are their own
// language's), so a fleet that mixes languages gets a table for each.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "html/line_writer.h"

namespace rptconv {

// A table shows at most this many properties; a few more labels are kept
// for the columns that are left out because they repeat the title.
inline constexpr std::size_t kMostIndexColumns = 12;
inline constexpr std::size_t kMostIndexLabels = kMostIndexColumns + 4;

struct IndexRow {
  std::string report_name;  // UTF-8, escaped
  std::string page_href;    // percent-encoded; empty when there is no page to link
  bool failed = false;
  std::string title;        // UTF-8, escaped; the failure line for a failed report
  std::string language;     // the report's language tag; empty for a failed report
  // The first group's own properties in the report's order: label and value,
  // UTF-8 and escaped.
  std::vector<std::pair<std::string, std::string>> properties;
};

// Writes the tables of reports: with one language (or none), one table that
// holds the failed reports too; with several, a table per language in the
// order first converted, and one of the reports that failed.
void WriteReportTables(LineWriter& out, std::span<const IndexRow> rows);

}  // namespace rptconv
