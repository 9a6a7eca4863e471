// The comparison page: what changed between two reports, in the modern
// page's look (HTML5, UTF-8, the same style sheet and script). Its head
// counts the changes and names the sections they are in; every section of
// either report follows, those without change folded away.
#pragma once

#include "compare/changes.h"
#include "html/line_writer.h"

namespace rptconv {

void WriteComparePage(LineWriter& out, const Comparison& comparison, const ReportNames& names);

}  // namespace rptconv
