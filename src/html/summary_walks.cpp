#include "html/summary_walks.h"

namespace rptconv {

template void WalkReportTo<ModernPageWithSummary>(ReportReader& reader, ModernPageWithSummary& events);
template void WalkReportTo<ClassicPageWithSummary>(ReportReader& reader, ClassicPageWithSummary& events);

}  // namespace rptconv
