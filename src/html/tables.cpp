#include "html/tables.h"

#include <array>
#include <cstddef>
#include <cstdint>

#include "html/links.h"

namespace rptconv {

namespace {

constexpr std::string_view kRowStart = "<TR><TD><TD>";
constexpr std::string_view kCellGap = "&nbsp;&nbsp;";

// The opening tag of a cell for each alignment code: "<TD>" for "L", else
// "<TD CLASS=c" with the code in lower case ("cc" centre, "cr" right) and ">".
struct CellTags {
  std::array<std::array<char, 16>, 256> text{};
  std::array<std::uint8_t, 256> size{};
  constexpr CellTags() {
    for (std::size_t code = 0; code < 256; ++code) {
      std::string_view tag = "<TD CLASS=c?>";
      if (code == 'L') tag = "<TD>";
      for (std::size_t i = 0; i < tag.size(); ++i) text[code][i] = tag[i];
      if (code != 'L') {
        const std::size_t lower = (code >= 'A' && code <= 'Z') ? code - 'A' + 'a' : code;
        text[code][11] = static_cast<char>(lower);
      }
      size[code] = static_cast<std::uint8_t>(tag.size());
    }
  }
};
constexpr CellTags kCellTags;

// Opens cell `column` (from 0) with the tag its alignment code asks for; a
// column beyond the code counts as a blank.
void OpenCell(LineWriter& out, std::string_view column_align, std::size_t column) {
  const auto code = static_cast<unsigned char>(column < column_align.size() ? column_align[column] : ' ');
  out.Raw(std::string_view(kCellTags.text[code].data(), kCellTags.size[code]));
}

}  // namespace

void WriteHeaderRow(LineWriter& out, std::string_view headers, std::string_view column_align) {
  out.Raw(kRowStart);
  std::size_t column = 0;
  while (true) {
    const std::size_t comma = headers.find(kFieldSeparator);
    OpenCell(out, column_align, column++);
    out.Raw("<B>").Raw(headers.substr(0, comma)).Raw("</B>");
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
  out.Text(record.Group).Raw(kCellGap);
  OpenCell(out, column_align, 1);
  DecorateValue(out, record.Value);
  for (int k = 3; k <= columns; ++k) {
    const std::string_view cell = AfterFifthField(reader.ReadLine());
    out.Raw(kCellGap);
    OpenCell(out, column_align, static_cast<std::size_t>(k - 1));
    out.Text(cell);
  }
  out.EndLine();
}

}  // namespace rptconv
