// The library's conversion: one walk over the report, told to the page and,
// when asked, to the report's summary.
#include "html/classic_page.h"
#include "html/line_writer.h"
#include "html/report_summary.h"
#include "rptconv/rptconv.h"
#include "walk/report_walk.h"

namespace rptconv {

void Convert(ByteSource& source, ByteSink& sink, const ConvertOptions& options, ReportSummary* summary) {
  LineWriter out(sink);
  ClassicPage page(out);
  if (!summary) {
    WalkReport(source, page);
    return;
  }
  SummaryListener summary_listener(*summary, options.codepage);
  BothListeners both(page, summary_listener);
  WalkReport(source, both);
}

}  // namespace rptconv
