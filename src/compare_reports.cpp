// The library's comparison: the old report walked into the comparer, then
// the new one, then the page (or the data) of what changed.
#include <stdexcept>
#include <string>

#include "compare/report_comparer.h"
#include "export/changes_json.h"
#include "export/json_writer.h"
#include "html/compare_page.h"
#include "html/line_writer.h"
#include "rptconv/rptconv.h"
#include "walk/report_walk.h"

namespace rptconv {

void CompareReports(ByteSource& old_report, ByteSource& new_report, ByteSink& sink, const CompareOptions& options) {
  if (options.codepage != 0 && !IsSupportedCodepage(options.codepage)) {
    throw std::invalid_argument("no table for code page " + std::to_string(options.codepage));
  }
  ReportComparer comparer(options.codepage, options.all_columns);
  // The listener's type is known: the walk calls it directly.
  ReportReader old_reader(old_report);
  WalkReportTo(old_reader, comparer.OldReport());
  ReportReader new_reader(new_report);
  WalkReportTo(new_reader, comparer.NewReport());
  const ReportNames names{options.old_name, options.new_name, options.names_utf8};
  if (options.format != OutputFormat::kHtml) {
    JsonWriter out(sink, *FindJsonCodepage(kEnglishCodepage));
    options.format == OutputFormat::kJson ? WriteChangesJson(out, comparer.Result(), names)
                                          : WriteChangeLines(out, comparer.Result(), names);
    return;
  }
  LineWriter out(sink);
  WriteComparePage(out, comparer.Result(), names);
}

}  // namespace rptconv
