#include "html/index_reports.h"

#include <algorithm>

#include "html/codepage.h"
#include "html/escape.h"
#include "html/line_writer.h"

namespace rptconv {

namespace {

struct LanguageName {
  std::string_view tag;
  std::string_view heading;
};
constexpr LanguageName kLanguageNames[] = {
    {"en", "Reports in English"},
    {"hu", "Reports in Hungarian"},
};

std::string_view HeadingOf(std::string_view tag) {
  for (const LanguageName& name : kLanguageNames) {
    if (name.tag == tag) return name.heading;
  }
  return "Reports";
}

class TableWriter {
 public:
  TableWriter(LineWriter& out, bool names_utf8) : out_(out), names_utf8_(names_utf8) {}

  // One table of `rows`, all of the language `language` (null: no language,
  // only failed reports or none); `second` names the second column.
  void Write(std::span<const IndexRow* const> rows, const IndexLanguage* language, std::string_view second) {
    const std::vector<std::size_t> columns = language ? ColumnsOf(rows) : std::vector<std::size_t>();
    out_.Raw("<div class=\"scroll\"><table class=\"cols index\"");
    if (language) out_.Raw(" lang=\"").Raw(language->tag).Raw("\"");
    out_.Raw(">").EndLine();
    out_.Raw("<thead><tr><th scope=\"col\">Report<th scope=\"col\">").Raw(second);
    for (const std::size_t column : columns) out_.Raw("<th scope=\"col\">").Raw(language->labels[column]);
    out_.EndLine();
    out_.Line("<tbody>");
    for (const IndexRow* row : rows) WriteRow(*row, columns);
    out_.Line("</tbody></table></div>");
  }

 private:
  // The labels of the rows' language in first-seen order, but for those
  // whose value is the report's title in every row that has them (the title
  // has a column of its own), at most kMostIndexColumns.
  static std::vector<std::size_t> ColumnsOf(std::span<const IndexRow* const> rows) {
    std::vector<std::size_t> columns;
    for (std::size_t label = 0; label < kMostIndexLabels && columns.size() < kMostIndexColumns; ++label) {
      const bool shown = std::any_of(rows.begin(), rows.end(), [&](const IndexRow* row) { return row->has[label]; });
      const bool title = std::all_of(rows.begin(), rows.end(), [&](const IndexRow* row) {
        return !row->has[label] || row->value(label) == row->title;
      });
      if (shown && !title) columns.push_back(label);
    }
    return columns;
  }

  // A name (and a failure line, which quotes one) is UTF-8 on POSIX and in
  // the report's code page on Windows; every other text is the report's.
  void Text(std::string_view text, const IndexRow& row, bool name) {
    if ((name || row.failed) && names_utf8_) {
      checked_.clear();
      AppendUtf8Checked(checked_, text);
      out_.Raw(checked_);
    } else {
      WriteUtf8Text(out_, *FindCodepage(row.codepage), text);
    }
  }

  void WriteRow(const IndexRow& row, std::span<const std::size_t> columns) {
    // A failed report's row stays below the others however the table is
    // sorted (the script keeps rows marked data-sort-last last).
    if (row.failed) {
      out_.Raw("<tr data-sort-last class=\"failed\"><td>");
      Text(row.report_name, row, true);
      out_.Raw("<td class=\"w\">");
    } else if (row.page_href.empty()) {
      out_.Raw("<tr><td>");
      Text(row.report_name, row, true);
      out_.Raw("<td>");
    } else {
      out_.Raw("<tr><td><a href=\"").Raw(row.page_href).Raw("\">");
      Text(row.report_name, row, true);
      out_.Raw("</a><td>");
    }
    Text(row.title, row, false);
    for (const std::size_t column : columns) {
      out_.Raw("<td>");
      if (!row.failed) Text(row.value(column), row, false);
    }
    out_.EndLine();
  }

  LineWriter& out_;
  bool names_utf8_;
  std::string checked_;
};

}  // namespace

void WriteReportTables(LineWriter& out, std::span<const IndexRow> rows, std::span<const IndexLanguage> languages,
                       bool names_utf8) {
  TableWriter writer(out, names_utf8);
  std::vector<std::size_t> shown;  // languages of converted reports, first converted first
  for (const IndexRow& row : rows) {
    if (!row.failed && std::find(shown.begin(), shown.end(), row.language) == shown.end()) {
      shown.push_back(row.language);
    }
  }
  std::vector<const IndexRow*> table;
  if (shown.size() <= 1) {
    for (const IndexRow& row : rows) table.push_back(&row);
    writer.Write(table, shown.empty() ? nullptr : &languages[shown.front()], "Title");
    return;
  }
  for (const std::size_t language : shown) {
    table.clear();
    for (const IndexRow& row : rows) {
      if (!row.failed && row.language == language) table.push_back(&row);
    }
    out.Raw("<h2>").Raw(HeadingOf(languages[language].tag)).Raw("</h2>").EndLine();
    writer.Write(table, &languages[language], "Title");
  }
  table.clear();
  for (const IndexRow& row : rows) {
    if (row.failed) table.push_back(&row);
  }
  if (table.empty()) return;
  out.Line("<h2>Reports that failed</h2>");
  writer.Write(table, nullptr, "Failure");
}

}  // namespace rptconv
