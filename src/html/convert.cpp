// The library's conversion: one walk over the report, told to the page.
#include "html/classic_page.h"
#include "html/line_writer.h"
#include "rptconv/rptconv.h"
#include "walk/report_walk.h"

namespace rptconv {

void Convert(ByteSource& source, ByteSink& sink, const ConvertOptions&) {
  LineWriter out(sink);
  ClassicPage page(out);
  WalkReport(source, page);
}

}  // namespace rptconv
