#include "html/index_page.h"

#include <algorithm>

#include "html/codepage.h"
#include "html/fleet_sections.h"
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
// The most a cell takes in the store: its report bytes and an ellipsis.
constexpr std::size_t kMostCellStore = kMostCellBytes + sizeof kCodepageEllipsis;
static_assert(kMostCellStore <= UINT8_MAX && kMostIndexLabels * kMostCellStore <= UINT16_MAX,
              "a row's values are found by 8-bit sizes and 16-bit places");

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
  MakeStoreRoom(text.size() + (cut ? (utf8 ? kUtf8Ellipsis.size() : sizeof kCodepageEllipsis) : 0));
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

void FleetIndex::MakeStoreRoom(std::size_t size) {
  if (store_.empty() || store_.back().capacity() - store_.back().size() < size) {
    store_.emplace_back().reserve(std::max(size, kStoreBlock));
  }
}

std::string_view FleetIndex::KeepName(std::string_view name) {
  return Keep(name, kMostNameBytes, names_ == NameBytes::kUtf8);
}

std::size_t FleetIndex::LanguageOf(std::string_view tag) {
  const auto found = std::find_if(languages_.begin(), languages_.end(),
                                   [tag](const IndexLanguage& language) { return language.tag == tag; });
  if (found != languages_.end()) return static_cast<std::size_t>(found - languages_.begin());
  languages_.push_back({std::string(tag), {}});
  return languages_.size() - 1;
}

void FleetIndex::AddConverted(std::string_view report_name, std::string page_href, const ReportSummary& summary) {
  IndexRow row;
  fleet_.Add(summary, std::string(page_href), report_name, names_ == NameBytes::kUtf8 ? 0 : summary.codepage);
  row.codepage = FindCodepage(summary.codepage) ? summary.codepage : kEnglishCodepage;
  row.report_name = KeepName(report_name);
  row.page_href = Keep(page_href, page_href.size(), false);
  row.title = Keep(summary.title, kMostCellBytes, false);
  row.language = LanguageOf(summary.language);
  // Only the values of labels that may get a column are kept (the first
  // kMostIndexLabels labels seen in reports of this language), one after
  // another in one block.
  MakeStoreRoom(kMostIndexLabels * kMostCellStore);
  row.values = store_.back().data() + store_.back().size();
  std::size_t place = 0;  // of the label in the report
  for (const auto& [raw_label, value] : summary.properties) {
    const std::size_t column = ColumnOf(row.language, row.codepage, place++, raw_label);
    if (column == kMostIndexLabels) continue;
    const std::string_view kept = Keep(value, kMostCellBytes, false);
    row.value_at[column] = static_cast<std::uint16_t>(kept.data() - row.values);
    row.value_size[column] = static_cast<std::uint8_t>(kept.size());
    row.has.set(column);
  }
  rows_.push_back(row);
}

std::size_t FleetIndex::ColumnOf(std::size_t language, int codepage, std::size_t place, std::string_view raw_label) {
  if (last_labels_.size() <= language) last_labels_.resize(language + 1);
  LastLabels& last = last_labels_[language];
  if (last.codepage != codepage) {
    last.codepage = codepage;
    last.columns.clear();
  }
  if (place < last.columns.size() && last.columns[place].first == raw_label) return last.columns[place].second;
  std::string label;
  AppendUtf8Text(label, *FindCodepage(codepage), raw_label);
  std::vector<std::string>& labels = languages_[language].labels;
  auto found = std::find(labels.begin(), labels.end(), label);
  std::size_t column = kMostIndexLabels;
  if (found != labels.end()) {
    column = static_cast<std::size_t>(found - labels.begin());
  } else if (labels.size() < kMostIndexLabels) {
    column = labels.size();
    labels.push_back(std::move(label));
  }
  if (place >= last.columns.size()) last.columns.resize(place + 1);
  last.columns[place] = {std::string(raw_label), column};
  return column;
}

void FleetIndex::AddFailed(std::string_view report_name, std::string_view failure_line) {
  IndexRow row;
  row.codepage = kEnglishCodepage;
  row.report_name = KeepName(report_name);
  row.title = Keep(failure_line, kMostNameBytes, names_ == NameBytes::kUtf8);
  row.failed = true;
  rows_.push_back(row);
  ++failed_;
}

void FleetIndex::Write(ByteSink& sink) {
  // The fleet's thread counts the last reports and orders the fleet while
  // the report tables are written.
  fleet_.Close();
  LineWriter out(sink);
  WriteModernHead(out, "en", "Overview of reports", FleetStyleSheet());
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
  WriteReportTables(out, rows_, languages_, names_ == NameBytes::kUtf8);
  WriteFleetSections(out, fleet_.Finish());
  out.Line("</main>");
  out.Line("<script>");
  WriteLines(out, ModernScript());
  WriteLines(out, FleetScript());
  out.Line("</script>");
  out.Line("</body>");
  out.Line("</html>");
  out.Flush();
}

}  // namespace rptconv
