#include "html/classic_page.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "html/links.h"

namespace rptconv {

namespace {

constexpr std::string_view kHeadLines[] = {
    "<HTML>",
    "<HEAD>",
    "</HEAD>",
    "<STYLE>",
    "A { text-decoration: none }",
    "A:hover { text-decoration: underline }",
    "TD { font: 80% verdana, arial; color: #000000; vertical-align: text-center; text-align: left }",
    "TD.cr { font: 80% verdana, arial; color: #000000; vertical-align: text-center; text-align: right }",
    "TD.cc { font: 80% verdana, arial; color: #000000; vertical-align: text-center; text-align: center }",
    "TD.pt { font: bold 140% verdana, arial; color: #000080; vertical-align: text-center }",
    "TD.dt { font: bold 110% verdana, arial; color: #000080; vertical-align: text-center }",
    "</STYLE>",
};
constexpr std::string_view kTitleStart = "<TITLE>Report of <";
constexpr std::string_view kTitleEnd = "></TITLE>";
constexpr std::string_view kBodyStart = "<BODY BGCOLOR=\"#FFFFFF\">";
constexpr std::string_view kTailLines[] = {
    "</TABLE><BR><BR>", "<HR>", "<BR>", "", "</BODY>", "</HTML>",
};

// A page is a heading table, then a body table of five layout columns: the
// indentation of groups, items and properties is the column they start in.
constexpr std::string_view kCloseBodyTable = "</TABLE><BR><BR>";
constexpr std::string_view kPageHeadingStart = "<TABLE WIDTH=100%><TD CLASS=pt>";
constexpr std::string_view kPageHeadingEnd =
    "<TR><TD><HR></TABLE><TABLE><TR><TD WIDTH=16>&nbsp;<TD WIDTH=16><TD WIDTH=16><TD WIDTH=16>"
    "<TD WIDTH=16>";
constexpr std::string_view kSpacerRow = "<TR><TD>&nbsp;";
constexpr std::string_view kGroupRowStart = "<TR><TD><TD CLASS=dt COLSPAN=5>[ ";
constexpr std::string_view kGroupRowEnd = " ]";
constexpr std::string_view kItemRowStart = "<TR><TD><TD><TD COLSPAN=3><B>";
constexpr std::string_view kItemRowEnd = ":</B>";
constexpr std::string_view kPropertyRowStart = "<TR><TD><TD><TD>";
constexpr std::string_view kItemPropertyRowStart = "<TR><TD><TD><TD><TD>";
constexpr std::string_view kLabelEnd = "&nbsp;&nbsp;<TD>";
constexpr std::string_view kCellGap = "&nbsp;&nbsp;";

}  // namespace

// Web addresses open in the browser window named "blank"; the contact
// address opens the mail program.
ReservedWrite ClassicPage::MaybeLink(ReservedWrite out, std::string_view value) {
  const bool web = value.starts_with(kWebPrefix);
  if (!web && value != kContactAddress) {
    out.Text(value);
  } else {
    out.Raw(kLinkStart).Raw(web ? "" : kMailScheme).Text(value).Raw(kLinkMiddle).Text(value).Raw(kLinkEnd);
  }
  return out;
}

void ClassicPage::BeginDocument(std::string_view title, Language) {
  for (std::string_view line : kHeadLines) out_.Line(line);
  out_.Raw(kTitleStart).Text(title).Raw(kTitleEnd).EndLine();
  out_.Line(kBodyStart);
}

void ClassicPage::EndDocument() {
  for (std::string_view line : kTailLines) out_.Line(line);
  out_.Flush();
}

void ClassicPage::SpacerRow() { out_.Line(kSpacerRow); }

void ClassicPage::BeginPage(std::string_view title, bool first) {
  if (!first) out_.Line(kCloseBodyTable);
  out_.Raw(kPageHeadingStart);
  if (first) {
    out_.Raw(kBannerText);
  } else {
    out_.Text(title);
  }
  out_.Raw(kPageHeadingEnd).EndLine();
}

void ClassicPage::GroupRow(std::string_view title, bool first) {
  if (!first) SpacerRow();
  out_.Raw(kGroupRowStart).Text(title).Raw(kGroupRowEnd).EndLine();
  SpacerRow();
}

void ClassicPage::ItemRow(std::string_view title, bool first) {
  if (!first) SpacerRow();
  out_.Raw(kItemRowStart).Text(title).Raw(kItemRowEnd).EndLine();
}

void ClassicPage::Property(std::string_view label, std::string_view value, bool in_item) {
  ReservedWrite out = out_.Reserve();
  out.Raw(in_item ? kItemPropertyRowStart : kPropertyRowStart).Text(label).Raw(kLabelEnd);
  Value(out, value);
  out_.EndLine(out);
}


// Cell `column` (from 0) opens by its alignment code: "<TD>" for "L", else
// the code in lower case as the class ("cc" centre, "cr" right); a column
// beyond the code counts as a blank.
void ClassicPage::MakeOpenings(std::string_view alignment) {
  const std::size_t size = std::min(alignment.size(), kMaxColumns);
  for (std::size_t column = 0; column < kMaxColumns; ++column) {
    CellOpening& opening = openings_[column];
    opening.size = 0;
    const auto add = [&opening](std::string_view bytes) {
      std::copy(bytes.begin(), bytes.end(), opening.store.begin() + static_cast<std::ptrdiff_t>(opening.size));
      opening.size += bytes.size();
    };
    // The first cell's opening begins the row, the others end the cell before.
    add(column == 0 ? kTableRowStart : kCellGap);
    const char code = column < size ? alignment[column] : ' ';
    switch (code) {
      case 'L': add("<TD>"); break;
      case 'C': add("<TD CLASS=cc>"); break;
      case 'R': add("<TD CLASS=cr>"); break;
      default: {
        const char lower = code >= 'A' && code <= 'Z' ? static_cast<char>(code - 'A' + 'a') : code;
        add("<TD CLASS=c");
        add({&lower, 1});
        add(">");
      }
    }
  }
}

void ClassicPage::TableHeader(std::span<const std::string_view> names, std::string_view alignment) {
  MakeOpenings(alignment);
  for (std::size_t column = 0; column < names.size(); ++column) {
    out_.Piece(openings_[column].store.data(), openings_[column].size);
    out_.Raw("<B>").Raw(names[column]).Raw("</B>");
  }
  out_.EndLine();
}


template void WalkReportTo<ClassicPage>(ReportReader& reader, ClassicPage& events);

}  // namespace rptconv
