#include "walk/report_walk.h"

namespace rptconv {

void WalkReport(ReportReader& reader, PageEvents& events) { WalkReportTo(reader, events); }

void WalkReport(ByteSource& source, PageEvents& events, std::size_t block_size) {
  ReportReader reader(source, block_size);
  WalkReport(reader, events);
}

}  // namespace rptconv
