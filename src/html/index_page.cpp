#include "html/index_page.h"

#include <algorithm>

#include "html/codepage.h"
#include "html/escape.h"
#include "html/line_writer.h"
#include "html/modern_assets.h"
#include "html/page_texts.h"
#include "walk/page_events.h"

namespace rptconv {

namespace {

// More columns make a table no one can read on a screen.
constexpr std::size_t kMostColumns = 12;

void WriteCell(LineWriter& out, std::string_view escaped) { out.Raw("<td>").Raw(escaped); }

}  // namespace

std::size_t FleetIndex::ColumnOf(const std::string& label) {
  const auto found = std::find(columns_.begin(), columns_.end(), label);
  if (found != columns_.end()) return static_cast<std::size_t>(found - columns_.begin());
  if (columns_.size() == kMostColumns) return kMostColumns;
  columns_.push_back(label);
  return columns_.size() - 1;
}

void FleetIndex::AddConverted(std::string_view report_name, std::string page_href, const ReportSummary& summary) {
  const CodepageTable* table = FindCodepage(summary.codepage);
  if (!table) table = FindCodepage(kEnglishCodepage);
  Row row;
  if (names_ == NameBytes::kUtf8) {
    AppendUtf8Checked(row.report_name, report_name);
  } else {
    AppendUtf8Text(row.report_name, *table, report_name);
  }
  row.page_href = std::move(page_href);
  AppendUtf8Text(row.title, *table, summary.title);
  std::string label;
  for (const auto& [raw_label, value] : summary.properties) {
    label.clear();
    AppendUtf8Text(label, *table, raw_label);
    const std::size_t column = ColumnOf(label);
    if (column == kMostColumns) continue;
    if (row.values.size() <= column) row.values.resize(column + 1);
    AppendUtf8Text(row.values[column], *table, value);
  }
  rows_.push_back(std::move(row));
}

void FleetIndex::AddFailed(std::string_view report_name, std::string_view failure_line) {
  Row row;
  if (names_ == NameBytes::kUtf8) {
    AppendUtf8Checked(row.report_name, report_name);
    AppendUtf8Checked(row.title, failure_line);
  } else {
    const CodepageTable& table = *FindCodepage(kEnglishCodepage);
    AppendUtf8Text(row.report_name, table, report_name);
    AppendUtf8Text(row.title, table, failure_line);
  }
  row.failed = true;
  rows_.push_back(std::move(row));
  ++failed_;
}

void FleetIndex::Write(ByteSink& sink) const {
  LineWriter out(sink);
  WriteModernHead(out, "en", "Overview of reports");
  out.Line("<header>");
  out.Raw("<p class=\"banner\">").Raw(kBannerText).Raw("</p>").EndLine();
  out.Line("<h1>Overview of reports</h1>");
  const std::size_t converted = rows_.size() - failed_;
  out.Raw("<p class=\"count\">")
      .Raw(std::to_string(rows_.size()))
      .Raw(rows_.size() == 1 ? " report, " : " reports, ")
      .Raw(std::to_string(converted))
      .Raw(" converted, ")
      .Raw(std::to_string(failed_))
      .Raw(" failed</p>")
      .EndLine();
  out.Line("</header>");
  out.Line("<main>");
  out.Line("<div class=\"scroll\"><table class=\"cols index\">");
  out.Raw("<thead><tr><th scope=\"col\">Report<th scope=\"col\">Title");
  for (const std::string& column : columns_) out.Raw("<th scope=\"col\">").Raw(column);
  out.EndLine();
  out.Line("<tbody>");
  for (const Row& row : rows_) {
    if (row.failed) {
      out.Raw("<tr class=\"failed\"><td>").Raw(row.report_name).Raw("<td class=\"w\">").Raw(row.title);
    } else if (row.page_href.empty()) {
      out.Raw("<tr><td>").Raw(row.report_name);
      WriteCell(out, row.title);
    } else {
      out.Raw("<tr><td><a href=\"").Raw(row.page_href).Raw("\">").Raw(row.report_name).Raw("</a>");
      WriteCell(out, row.title);
    }
    for (std::size_t column = 0; column < columns_.size(); ++column) {
      WriteCell(out, column < row.values.size() ? std::string_view(row.values[column]) : std::string_view(""));
    }
    out.EndLine();
  }
  out.Line("</tbody></table></div>");
  out.Line("</main>");
  WriteModernTail(out);
}

}  // namespace rptconv
