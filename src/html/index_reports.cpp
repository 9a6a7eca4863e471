#include "html/index_reports.h"

#include <algorithm>
#include <string_view>

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

const std::string* ValueOf(const IndexRow& row, std::string_view label) {
  for (const auto& [name, value] : row.properties) {
    if (name == label) return &value;
  }
  return nullptr;
}

// The labels of the rows' properties in first-seen order, but for those
// whose value is the report's title in every row that has them (the title
// has a column of its own), at most kMostIndexColumns.
std::vector<std::string_view> ColumnsOf(std::span<const IndexRow* const> rows) {
  std::vector<std::string_view> labels;
  for (const IndexRow* row : rows) {
    for (const auto& property : row->properties) {
      if (std::find(labels.begin(), labels.end(), property.first) == labels.end()) labels.push_back(property.first);
    }
  }
  std::erase_if(labels, [&](std::string_view label) {
    return std::all_of(rows.begin(), rows.end(), [&](const IndexRow* row) {
      const std::string* value = ValueOf(*row, label);
      return value == nullptr || *value == row->title;
    });
  });
  if (labels.size() > kMostIndexColumns) labels.resize(kMostIndexColumns);
  return labels;
}

void WriteRow(LineWriter& out, const IndexRow& row, std::span<const std::string_view> columns) {
  // A failed report's row stays below the others however the table is
  // sorted (the script keeps rows marked data-sort-last last).
  if (row.failed) {
    out.Raw("<tr data-sort-last class=\"failed\"><td>").Raw(row.report_name).Raw("<td class=\"w\">").Raw(row.title);
  } else if (row.page_href.empty()) {
    out.Raw("<tr><td>").Raw(row.report_name).Raw("<td>").Raw(row.title);
  } else {
    out.Raw("<tr><td><a href=\"").Raw(row.page_href).Raw("\">").Raw(row.report_name).Raw("</a><td>").Raw(row.title);
  }
  for (const std::string_view label : columns) {
    const std::string* value = row.failed ? nullptr : ValueOf(row, label);
    out.Raw("<td>");
    if (value) out.Raw(*value);
  }
  out.EndLine();
}

// One table; `language` empty leaves the page's language, `second` names
// the second column.
void WriteTable(LineWriter& out, std::span<const IndexRow* const> rows, std::string_view language,
                std::string_view second) {
  const std::vector<std::string_view> columns = ColumnsOf(rows);
  out.Raw("<div class=\"scroll\"><table class=\"cols index\"");
  if (!language.empty()) out.Raw(" lang=\"").Raw(language).Raw("\"");
  out.Raw(">").EndLine();
  out.Raw("<thead><tr><th scope=\"col\">Report<th scope=\"col\">").Raw(second);
  for (const std::string_view column : columns) out.Raw("<th scope=\"col\">").Raw(column);
  out.EndLine();
  out.Line("<tbody>");
  for (const IndexRow* row : rows) WriteRow(out, *row, columns);
  out.Line("</tbody></table></div>");
}

}  // namespace

void WriteReportTables(LineWriter& out, std::span<const IndexRow> rows) {
  std::vector<std::string_view> languages;
  for (const IndexRow& row : rows) {
    if (!row.failed && std::find(languages.begin(), languages.end(), row.language) == languages.end()) {
      languages.push_back(row.language);
    }
  }
  std::vector<const IndexRow*> table;
  if (languages.size() <= 1) {
    for (const IndexRow& row : rows) table.push_back(&row);
    WriteTable(out, table, languages.empty() ? std::string_view() : languages.front(), "Title");
    return;
  }
  for (const std::string_view language : languages) {
    table.clear();
    for (const IndexRow& row : rows) {
      if (!row.failed && row.language == language) table.push_back(&row);
    }
    out.Raw("<h2>").Raw(HeadingOf(language)).Raw("</h2>").EndLine();
    WriteTable(out, table, language, "Title");
  }
  table.clear();
  for (const IndexRow& row : rows) {
    if (row.failed) table.push_back(&row);
  }
  if (table.empty()) return;
  out.Line("<h2>Reports that failed</h2>");
  WriteTable(out, table, {}, "Failure");
}

}  // namespace rptconv
