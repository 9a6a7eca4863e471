#include "html/tables.h"

#include <cstddef>

#include "html/links.h"

namespace rptconv {

namespace {

constexpr std::string_view kRowStart = "<TR><TD><TD>";
constexpr std::string_view kCellGap = "&nbsp;&nbsp;";

// "<TD" for a left-aligned column, else "<TD CLASS=c" and the code letter in
// lower case ("cc" centre, "cr" right).
void OpenCell(LineWriter& out, std::string_view column_align, std::size_t column) {
  const char code = column < column_align.size() ? column_align[column] : ' ';
  out.Raw("<TD");
  if (code == 'L') return;
  const char lower = (code >= 'A' && code <= 'Z') ? static_cast<char>(code - 'A' + 'a') : code;
  out.Raw(" CLASS=c").Raw(std::string_view(&lower, 1));
}

}  // namespace

void WriteHeaderRow(LineWriter& out, std::string_view headers, std::string_view column_align) {
  out.Raw(kRowStart);
  std::size_t column = 0;
  while (true) {
    const std::size_t comma = headers.find(kFieldSeparator);
    OpenCell(out, column_align, column++);
    out.Raw("><B>").Raw(headers.substr(0, comma)).Raw("</B>");
    if (comma == std::string_view::npos) break;
    out.Raw(kCellGap);
    headers.remove_prefix(comma + 1);
  }
  out.EndLine();
}

void WriteTableRow(LineWriter& out, ReportReader& reader, int columns, const ReportRecord& record,
                   std::string_view column_align) {
  // Group and Value point into the reader's line: write them before the
  // continuation lines are read.
  out.Raw(kRowStart);
  OpenCell(out, column_align, 0);
  out.Raw(">").Text(record.Group).Raw(kCellGap);
  OpenCell(out, column_align, 1);
  out.Raw(">");
  DecorateValue(out, record.Value);
  for (int k = 3; k <= columns; ++k) {
    const std::string_view cell = AfterFifthField(reader.ReadLine());
    out.Raw(kCellGap);
    OpenCell(out, column_align, static_cast<std::size_t>(k - 1));
    out.Raw(">").Text(cell);
  }
  out.EndLine();
}

}  // namespace rptconv
