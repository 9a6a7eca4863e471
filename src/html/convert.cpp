#include "html/frame.h"
#include "html/line_writer.h"
#include "html/render.h"
#include "report/line_reader.h"
#include "report/record.h"
#include "rptconv/rptconv.h"

namespace rptconv {

void Convert(ByteSource& source, ByteSink& sink) {
  ReportReader reader(source);
  LineWriter out(sink);

  // Lines 2 to 6 are read once here, for the title from line 6, and handed
  // out again as record lines below.
  WriteDocumentHead(out, AfterFifthField(reader.ReadPreamble()));
  PageRenderer renderer(out, reader);
  while (!reader.AtEnd()) {
    reader.ReadLine();
    const ReportRecord record = SplitRecord(reader.CurrentLine());
    if (IsDiscarded(record)) continue;
    renderer.RenderRecord(record);
  }
  WriteDocumentTail(out);
  out.Flush();
}

}  // namespace rptconv
