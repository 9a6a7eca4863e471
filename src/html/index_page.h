// The overview of a batch: one row per report converted or failed, with a
// link to its page, its title and the properties of its first group.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "rptconv/rptconv.h"

namespace rptconv {

class FleetIndex {
 public:
  // How the names of reports are written: as UTF-8 already (POSIX), or in
  // the code page of each report's text (Windows' ANSI code page).
  enum class NameBytes { kUtf8, kReportCodepage };
  explicit FleetIndex(NameBytes names) : names_(names) {}

  // A report whose page was written; `page_href` is the page's address
  // relative to the index, empty when the page has no file (standard output).
  void AddConverted(std::string_view report_name, std::string page_href, const ReportSummary& summary);
  // A report that failed, with the console line that said so.
  void AddFailed(std::string_view report_name, std::string_view failure_line);

  // Writes the whole index page to `sink`.
  void Write(ByteSink& sink) const;

 private:
  struct Row {
    std::string report_name;  // UTF-8, escaped
    std::string page_href;    // percent-encoded; empty when there is no page to link
    bool failed = false;
    std::string title;        // UTF-8, escaped; the failure line for a failed report
    std::vector<std::string> values;  // UTF-8, escaped, by column
  };
  std::size_t ColumnOf(const std::string& label);

  NameBytes names_;
  std::vector<std::string> columns_;  // property labels, UTF-8 and escaped, first seen first
  std::vector<Row> rows_;
  std::size_t failed_ = 0;
};

}  // namespace rptconv
