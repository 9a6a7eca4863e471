#include "cli/fleet_index.h"

#include <algorithm>

#include "html/codepage.h"
#include "html/links.h"
#include "html/modern_assets.h"
#include "walk/page_events.h"

namespace rptconv {

namespace {

// More columns make a table no one can read on a screen.
constexpr std::size_t kMostColumns = 12;
constexpr char kPathSeparator = '/';
constexpr std::string_view kParentDirectory = "../";
constexpr std::string_view kFileScheme = "file:///";
constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";  // U+FFFD

// `text` as UTF-8 escaped for HTML, with U+FFFD for every byte that starts
// no valid sequence and for control bytes other than tab.
void AppendUtf8Checked(std::string& out, std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    std::size_t length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
    bool valid = length != 0 && i + length <= text.size() && !(lead >= 0xC0 && lead <= 0xC1) && lead <= 0xF4;
    for (std::size_t k = 1; valid && k < length; ++k) valid = (static_cast<unsigned char>(text[i + k]) & 0xC0) == 0x80;
    if (valid && length == 3) {
      const auto second = static_cast<unsigned char>(text[i + 1]);
      valid = !(lead == 0xE0 && second < 0xA0) && !(lead == 0xED && second >= 0xA0);
    }
    if (valid && length == 4) {
      const auto second = static_cast<unsigned char>(text[i + 1]);
      valid = !(lead == 0xF0 && second < 0x90) && !(lead == 0xF4 && second >= 0x90);
    }
    if (!valid || (length == 1 && ((lead < 0x20 && lead != '\t') || lead == 0x7F))) {
      out.append(kReplacementCharacter);
      ++i;
      continue;
    }
    switch (text[i]) {
      case '&': out.append("&amp;"); break;
      case '<': out.append("&lt;"); break;
      case '>': out.append("&gt;"); break;
      case '"': out.append("&quot;"); break;
      default: out.append(text.substr(i, length));
    }
    i += length;
  }
}

bool IsUnreserved(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '-' || c == '.' ||
         c == '_' || c == '~' || c == '/' || c == ':';
}

std::string PercentEncoded(std::string_view path) {
  std::string out;
  for (const char c : path) {
    if (IsUnreserved(c)) {
      out.push_back(c);
    } else {
      AppendPercentEscape(out, static_cast<unsigned char>(c));
    }
  }
  return out;
}

// The parts of a path between its separators, without empty ones and ".".
std::vector<std::string_view> PartsOf(std::string_view path) {
  std::vector<std::string_view> parts;
  while (!path.empty()) {
    const std::size_t separator = path.find(kPathSeparator);
    const std::string_view part = path.substr(0, separator);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    if (separator == std::string_view::npos) break;
    path.remove_prefix(separator + 1);
  }
  return parts;
}

void WriteCell(LineWriter& out, std::string_view escaped) { out.Raw("<td>").Raw(escaped); }

}  // namespace

std::string RelativeHref(std::string_view index_dir, std::string_view page) {
  const std::vector<std::string_view> from = PartsOf(index_dir);
  const std::vector<std::string_view> to = PartsOf(page);
  const bool windows_drive = !to.empty() && to.front().size() == 2 && to.front()[1] == ':';
  std::size_t common = 0;
  while (common < from.size() && common + 1 < to.size() && from[common] == to[common]) ++common;
  std::string relative;
  if (windows_drive && common == 0) {
    // Another drive: no relative address reaches it.
    relative.append(kFileScheme);
  } else {
    for (std::size_t i = common; i < from.size(); ++i) relative.append(kParentDirectory);
  }
  for (std::size_t i = common; i < to.size(); ++i) {
    relative.append(to[i]);
    if (i + 1 < to.size()) relative.push_back(kPathSeparator);
  }
  // A name such as "c:x.htm" would read as a scheme: anchor it to this directory.
  if (relative.find(':') != std::string::npos && !relative.starts_with(kFileScheme)) relative.insert(0, "./");
  return PercentEncoded(relative);
}

std::string AbsolutePath(std::string_view path, std::string_view current_dir, bool windows) {
  std::string absolute;
  std::string given(path);
  std::string current(current_dir);
  if (windows) {
    std::replace(given.begin(), given.end(), '\\', kPathSeparator);
    std::replace(current.begin(), current.end(), '\\', kPathSeparator);
    const bool drive = given.size() >= 2 && given[1] == ':';
    if (drive && given.size() >= 3 && given[2] == kPathSeparator) return given;
    if (given.starts_with("//")) return given;
    if (given.starts_with(kPathSeparator)) return current.substr(0, 2) + given;
    // "C:name" is relative to the current directory of drive C:, which is
    // only known for the current drive.
    if (drive) {
      if (current.size() >= 2 && (current[0] | 0x20) == (given[0] | 0x20)) return current + "/" + given.substr(2);
      return given.substr(0, 2) + "/" + given.substr(2);
    }
  } else if (given.starts_with(kPathSeparator)) {
    return given;
  }
  absolute = current;
  absolute.push_back(kPathSeparator);
  absolute.append(given);
  return absolute;
}

std::string_view DirectoryOf(std::string_view absolute_path) {
  const std::size_t separator = absolute_path.rfind(kPathSeparator);
  return separator == std::string_view::npos ? std::string_view() : absolute_path.substr(0, separator);
}

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

void FleetIndex::Write(LineWriter& out) const {
  out.Line("<!DOCTYPE html>");
  out.Line("<html lang=\"en\">");
  out.Line("<head>");
  out.Line("<meta charset=\"utf-8\">");
  out.Line("<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">");
  out.Line("<title>Overview of reports</title>");
  out.Line("<style>");
  WriteLines(out, ModernStyleSheet());
  out.Line("</style>");
  out.Line("</head>");
  out.Line("<body>");
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
  out.Line("<script>");
  WriteLines(out, ModernScript());
  out.Line("</script>");
  out.Line("</body>");
  out.Line("</html>");
  out.Flush();
}

}  // namespace rptconv
