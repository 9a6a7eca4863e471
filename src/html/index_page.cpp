#include "html/index_page.h"

#include <algorithm>

#include "html/codepage.h"
#include "html/escape.h"
#include "html/line_writer.h"
#include "html/modern_assets.h"
#include "html/page_texts.h"
#include "walk/page_events.h"

namespace rptconv {

void FleetIndex::AddConverted(std::string_view report_name, std::string page_href, const ReportSummary& summary) {
  const CodepageTable* table = FindCodepage(summary.codepage);
  if (!table) table = FindCodepage(kEnglishCodepage);
  IndexRow row;
  if (names_ == NameBytes::kUtf8) {
    AppendUtf8Checked(row.report_name, report_name);
  } else {
    AppendUtf8Text(row.report_name, *table, report_name);
  }
  row.page_href = std::move(page_href);
  AppendUtf8Text(row.title, *table, summary.title);
  row.language = summary.language;
  // Only the values of labels that may get a column are kept: the first
  // kMostIndexLabels labels seen in reports of this language.
  std::vector<std::string>& labels = labels_[summary.language];
  std::string label;
  for (const auto& [raw_label, value] : summary.properties) {
    label.clear();
    AppendUtf8Text(label, *table, raw_label);
    if (std::find(labels.begin(), labels.end(), label) == labels.end()) {
      if (labels.size() == kMostIndexLabels) continue;
      labels.push_back(label);
    }
    auto& property = row.properties.emplace_back(label, std::string());
    AppendUtf8Text(property.second, *table, value);
  }
  rows_.push_back(std::move(row));
}

void FleetIndex::AddFailed(std::string_view report_name, std::string_view failure_line) {
  IndexRow row;
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
  WriteReportTables(out, rows_);
  out.Line("</main>");
  out.Line("<script>");
  WriteLines(out, ModernScript());
  out.Line("</script>");
  out.Line("</body>");
  out.Line("</html>");
  out.Flush();
}

}  // namespace rptconv
