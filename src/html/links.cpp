#include "html/links.h"

namespace rptconv {

namespace {

void WriteLink(LineWriter& out, std::string_view scheme, std::string_view value) {
  out.Raw("<A HREF=\"").Raw(scheme).Text(value).Raw("\" TARGET=\"blank\">").Text(value).Raw("</A>");
}

}  // namespace

void DecorateValue(LineWriter& out, std::string_view value) {
  if (value.starts_with(kWebPrefix)) {
    WriteLink(out, "", value);
  } else if (value == ContactAddress) {
    WriteLink(out, "mailto:", value);
  } else {
    out.Text(value);
  }
}

}  // namespace rptconv
