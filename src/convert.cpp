// The library's conversion: one walk over the report, told to the page of
// the chosen style or to the data of the chosen format and, when asked, to
// the report's summary and the facts an overview compares across reports.
#include <stdexcept>
#include <string>

#include "export/json_report.h"
#include "export/json_writer.h"
#include "export/ndjson_report.h"
#include "fleet/facts_listener.h"
#include "html/classic_page.h"
#include "html/line_writer.h"
#include "html/modern_page.h"
#include "html/summary_walks.h"
#include "walk/report_summary.h"
#include "rptconv/rptconv.h"
#include "walk/report_walk.h"

namespace rptconv {

namespace {

// The walk calls the listener, and the gatherers of a summary when one is
// asked for, directly, with calls the compiler inlines.
template <class Listener>
void WalkTo(ReportReader& reader, Listener& listener, const ConvertOptions& options, ReportSummary* summary) {
  if (!summary) {
    WalkReportTo(reader, listener);
    return;
  }
  SummaryListener summary_listener(*summary, options.codepage);
  FactsListener facts_listener(summary->facts, summary->program_sink, options.codepage);
  AllListeners<Listener, SummaryListener, FactsListener> all(listener, summary_listener, facts_listener);
  WalkReportTo(reader, all);
}

template <class Data>
void WriteData(ReportReader& reader, ByteSink& sink, const ConvertOptions& options, ReportSummary* summary) {
  // The code page is set once the report's language is known.
  JsonWriter out(sink, *FindJsonCodepage(kEnglishCodepage));
  Data data(out, options.codepage, options.report_name, options.report_name_utf8);
  WalkTo(reader, data, options, summary);
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
  switch (options.format) {
    case OutputFormat::kJson: return WriteData<JsonReport>(reader, sink, options, summary);
    case OutputFormat::kNdjson: return WriteData<NdjsonReport>(reader, sink, options, summary);
    case OutputFormat::kHtml: break;
  }
  LineWriter out(sink);
  // Texts that lie in the reader's block are escaped 16 bytes at a time.
  out.EscapeFrom(reader.block());
  if (options.style == PageStyle::kModern) {
    ModernPage page(out, options.codepage);
    WalkTo(reader, page, options, summary);
  } else {
    ClassicPage page(out);
    WalkTo(reader, page, options, summary);
  }
}

}  // namespace rptconv
