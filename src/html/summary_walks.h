// The walks that tell a page and, beside it, the gatherers of the report's
// summary and of the facts an index compares across reports. Each is
// compiled apart (summary_walks.cpp), as the pages' own walks are: the
// compiler inlines its hot loop on its own, whatever else the program's entry
// grows to hold.
#pragma once

#include "fleet/facts_listener.h"
#include "html/classic_page.h"
#include "html/modern_page.h"
#include "walk/report_summary.h"
#include "walk/report_walk.h"

namespace rptconv {

using ModernPageWithSummary = AllListeners<ModernPage, SummaryListener, FactsListener>;
using ClassicPageWithSummary = AllListeners<ClassicPage, SummaryListener, FactsListener>;

extern template void WalkReportTo<ModernPageWithSummary>(ReportReader& reader, ModernPageWithSummary& events);
extern template void WalkReportTo<ClassicPageWithSummary>(ReportReader& reader, ClassicPageWithSummary& events);

}  // namespace rptconv
