// The library's conversion: one walk over the report, told to the page of
// the chosen style and, when asked, to the report's summary.
#include <stdexcept>
#include <string>

#include "html/classic_page.h"
#include "html/line_writer.h"
#include "html/modern_page.h"
#include "walk/report_summary.h"
#include "rptconv/rptconv.h"
#include "walk/report_walk.h"

namespace rptconv {

namespace {

// Without a summary the walk calls the page directly, with calls the
// compiler inlines; with one, both listeners hear it through PageEvents.
template <class Page>
void WalkToPage(ReportReader& reader, Page& page, const ConvertOptions& options, ReportSummary* summary) {
  if (!summary) {
    WalkReportTo(reader, page);
    return;
  }
  SummaryListener summary_listener(*summary, options.codepage);
  BothListeners both(page, summary_listener);
  WalkReport(reader, both);
}

}  // namespace

void Convert(ByteSource& source, ByteSink& sink, const ConvertOptions& options, ReportSummary* summary) {
  // Every style refuses a code page it could not convert from, also the
  // classic page, which does not use it: a caller learns of the mistake
  // before a byte is read or written.
  if (options.codepage != 0 && !IsSupportedCodepage(options.codepage)) {
    throw std::invalid_argument("unsupported code page " + std::to_string(options.codepage));
  }
  ReportReader reader(source);
  LineWriter out(sink);
  // Texts that lie in the reader's block are escaped 16 bytes at a time.
  out.EscapeFrom(reader.block());
  if (options.style == PageStyle::kModern) {
    ModernPage page(out, options.codepage);
    WalkToPage(reader, page, options, summary);
  } else {
    ClassicPage page(out);
    WalkToPage(reader, page, options, summary);
  }
}

}  // namespace rptconv
