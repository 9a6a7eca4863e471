#include "html/convert.h"

#include "html/frame.h"
#include "html/line_writer.h"
#include "html/render.h"
#include "report/line_reader.h"
#include "report/record.h"

namespace rptconv {

void ConvertStream(ByteSource& source, ByteSink& sink) {
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

ConvertResult ConvertReport(ReportFiles& files, const std::string& input_path,
                            const std::string& output_path) {
  std::unique_ptr<ByteSource> input = files.OpenReport(input_path);
  if (!input) {
    files.ConsoleLine("Cannot open input file: \"" + input_path + "\"");
    return ConvertResult::kOpenFailed;
  }
  std::unique_ptr<OutputFile> output = files.CreateOutput(output_path, *input);
  if (!output) {
    files.ConsoleLine("Cannot create output file: \"" + output_path + "\"");
    return ConvertResult::kCreateFailed;
  }
  files.ConsoleLine("Converting: \"" + input_path + "\"");
  ConvertStream(*input, *output);
  input->Close();
  output->Commit();
  return ConvertResult::kConverted;
}

}  // namespace rptconv
