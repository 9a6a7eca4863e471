#include "report/header_line.h"

#include "report/hungarian_text.h"

namespace rptconv {

namespace {

constexpr std::string_view kEnglishHeader = "Page,Group,Item,Type,Property,Value";
constexpr std::string_view kHungarianHeader = Hu<"Oldal,Csoport,Elem,Típus,Tulajdonság,Érték">();

bool LineIs(std::string_view head, std::string_view line) {
  if (!head.starts_with(line)) return false;
  return head.size() == line.size() || head[line.size()] == '\r' || head[line.size()] == '\n';
}

}  // namespace

bool StartsWithReportHeader(std::string_view head) {
  return LineIs(head, kEnglishHeader) || LineIs(head, kHungarianHeader);
}

}  // namespace rptconv
