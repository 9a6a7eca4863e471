#include "html/frame.h"

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

}  // namespace

void WriteDocumentHead(LineWriter& out, std::string_view title_value) {
  for (std::string_view line : kHeadLines) out.Line(line);
  out.Raw(kTitleStart).Text(title_value).Raw(kTitleEnd).EndLine();
  out.Line(kBodyStart);
}

void WriteDocumentTail(LineWriter& out) {
  for (std::string_view line : kTailLines) out.Line(line);
}

}  // namespace rptconv
