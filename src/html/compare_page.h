// The comparison page: what changed between two reports, in the modern
// page's look (HTML5, UTF-8, the same style sheet and script). Its head
// counts the changes and names the sections they are in; every section of
// either report follows, those without change folded away.
#pragma once

#include <string_view>

#include "compare/changes.h"
#include "html/line_writer.h"

namespace rptconv {

// How the page names the two reports: as the command line gave them, in
// UTF-8 (POSIX), or in the new report's code page (Windows' ANSI code page).
struct ReportNames {
  std::string_view old_name;
  std::string_view new_name;
  bool utf8 = true;
};

void WriteComparePage(LineWriter& out, const Comparison& comparison, const ReportNames& names);

}  // namespace rptconv
