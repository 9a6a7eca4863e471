// The index's tables of reports: one row per report of the run, with a link
// to its page, its title and the properties of its report's first group.
// Reports of one language share a table (their labels are their own
// language's), so a fleet that mixes languages gets a table for each.
#pragma once

#include <array>
#include <bitset>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace rptconv {

class LineWriter;

// A table shows at most this many properties; a few more labels are kept
// for the columns that are left out because they repeat the title.
inline constexpr std::size_t kMostIndexColumns = 12;
inline constexpr std::size_t kMostIndexLabels = kMostIndexColumns + 4;

// The labels of the reports of one language, UTF-8 and escaped, first seen
// first.
struct IndexLanguage {
  std::string tag;  // "en", "hu"
  std::vector<std::string> labels;
};

// A row's texts are the report's bytes (a name as the platform gives it),
// kept and cut by the index, and converted and escaped only as they are
// written.
struct IndexRow {
  std::string_view report_name;
  std::string_view page_href;  // percent-encoded; empty when there is no page to link
  std::string_view title;      // the failure line for a failed report
  // The values by the place of their label among the labels of the row's
  // language: value_size[i] bytes at values + value_at[i]. A value is cut
  // to a few dozen bytes and a row's values lie together, so a row stays
  // small in an index of many reports.
  const char* values = nullptr;
  std::array<std::uint16_t, kMostIndexLabels> value_at{};
  std::array<std::uint8_t, kMostIndexLabels> value_size{};
  std::bitset<kMostIndexLabels> has;  // which labels the report has
  std::string_view value(std::size_t label) const {
    return value_size[label] == 0 ? std::string_view() : std::string_view(values + value_at[label], value_size[label]);
  }
  std::size_t language = 0;           // of the languages written with the rows
  int codepage = 0;                   // of the title and values (and, on Windows, the name)
  bool failed = false;
};

// Writes the tables of reports: with one language (or none), one table that
// holds the failed reports too; with several, a table per language in the
// order first converted, and one of the reports that failed. A name (and a
// failure line, which quotes one) is written as UTF-8 when `names_utf8`,
// else in its row's code page.
void WriteReportTables(LineWriter& out, std::span<const IndexRow> rows, std::span<const IndexLanguage> languages,
                       bool names_utf8);

}  // namespace rptconv
