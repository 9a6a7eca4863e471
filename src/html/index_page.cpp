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

// Cells are cut after this many bytes of the report, and names and failure
// lines after this many: "a long value…".
constexpr std::size_t kMostCellBytes = 48;
constexpr std::size_t kMostNameBytes = 256;
constexpr std::size_t kStoreBlock = std::size_t{1} << 20;
constexpr std::string_view kUtf8Ellipsis = "\xE2\x80\xA6";  // U+2026
constexpr char kCodepageEllipsis = '\x85';                    // U+2026 in Windows-1250 and -1252

bool IsUtf8Continuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

}  // namespace

std::string_view FleetIndex::Keep(std::string_view text, std::size_t most, bool utf8) {
  const bool cut = text.size() > most;
  if (cut) {
    std::size_t end = most;
    // A UTF-8 character is kept whole or not at all.
    while (utf8 && end > 0 && IsUtf8Continuation(text[end])) --end;
    text = text.substr(0, end);
  }
  const std::size_t size = text.size() + (cut ? kUtf8Ellipsis.size() : 0);
  if (store_.empty() || store_.back().capacity() - store_.back().size() < size) {
    store_.emplace_back().reserve(std::max(size, kStoreBlock));
  }
  std::string& block = store_.back();
  const std::size_t start = block.size();
  block.append(text);
  if (cut) {
    if (utf8) {
      block.append(kUtf8Ellipsis);
    } else {
      block.push_back(kCodepageEllipsis);
    }
  }
  return std::string_view(block).substr(start);
}

std::string_view FleetIndex::KeepName(std::string_view name) {
  return Keep(name, kMostNameBytes, names_ == NameBytes::kUtf8);
}

std::size_t FleetIndex::ColumnOf(const std::string& label) {
  const auto found = std::find(columns_.begin(), columns_.end(), label);
  if (found != columns_.end()) return static_cast<std::size_t>(found - columns_.begin());
  if (columns_.size() == kMostColumns) return kMostColumns;
  columns_.push_back(label);
  return columns_.size() - 1;
}

void FleetIndex::AddConverted(std::string_view report_name, std::string page_href, const ReportSummary& summary) {
  Row row;
  row.codepage = FindCodepage(summary.codepage) ? summary.codepage : kEnglishCodepage;
  const CodepageTable& table = *FindCodepage(row.codepage);
  row.report_name = KeepName(report_name);
  row.page_href = Keep(page_href, page_href.size(), false);
  row.title = Keep(summary.title, kMostCellBytes, false);
  std::string label;
  for (const auto& [raw_label, value] : summary.properties) {
    label.clear();
    AppendUtf8Text(label, table, raw_label);
    const std::size_t column = ColumnOf(label);
    if (column == kMostColumns) continue;
    row.values[column] = Keep(value, kMostCellBytes, false);
  }
  rows_.push_back(row);
}

void FleetIndex::AddFailed(std::string_view report_name, std::string_view failure_line) {
  Row row;
  row.codepage = kEnglishCodepage;
  row.report_name = KeepName(report_name);
  row.title = Keep(failure_line, kMostNameBytes, names_ == NameBytes::kUtf8);
  row.failed = true;
  rows_.push_back(row);
  ++failed_;
}

// A name (and a failure line, which quotes one) is UTF-8 on POSIX and in
// the report's code page on Windows; every other text is the report's.
void FleetIndex::WriteText(LineWriter& out, std::string_view text, const Row& row, bool name) const {
  if ((name || row.failed) && names_ == NameBytes::kUtf8) {
    std::string checked;
    AppendUtf8Checked(checked, text);
    out.Raw(checked);
  } else {
    WriteUtf8Text(out, *FindCodepage(row.codepage), text);
  }
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
      out.Raw("<tr class=\"failed\"><td>");
      WriteText(out, row.report_name, row, true);
      out.Raw("<td class=\"w\">");
    } else if (row.page_href.empty()) {
      out.Raw("<tr><td>");
      WriteText(out, row.report_name, row, true);
      out.Raw("<td>");
    } else {
      out.Raw("<tr><td><a href=\"").Raw(row.page_href).Raw("\">");
      WriteText(out, row.report_name, row, true);
      out.Raw("</a><td>");
    }
    WriteText(out, row.title, row, false);
    for (std::size_t column = 0; column < columns_.size(); ++column) {
      out.Raw("<td>");
      WriteText(out, row.values[column], row, false);
    }
    out.EndLine();
  }
  out.Line("</tbody></table></div>");
  out.Line("</main>");
  WriteModernTail(out);
}

}  // namespace rptconv
