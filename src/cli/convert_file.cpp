#include "cli/convert_file.h"

#include <memory>

namespace rptconv {

const PathSyntax& PlatformPaths() {
  static const PathSyntax syntax = platform::ThisFamily() == platform::Family::kWindows
                                       ? WindowsPaths(platform::IsLeadByte)
                                       : kPosixPaths;
  return syntax;
}

void StandardOutputPage::Write(std::string_view bytes) {
  platform::WriteStream(platform::StandardStream::kOutput, bytes, IoSite::kWriteOutput);
}

std::string OpenFailureLine(const std::string& report) { return "Cannot open input file: \"" + report + "\""; }
std::string CreateFailureLine(const std::string& page) { return "Cannot create output file: \"" + page + "\""; }

ConvertResult ConvertReport(platform::ReportFiles& files, Console& console, const ReportJob& job) {
  std::unique_ptr<platform::ReportSource> input =
      job.from_stdin ? platform::StandardInput() : files.OpenReport(job.input);
  if (!input) {
    console.Line(OpenFailureLine(job.input));
    return ConvertResult::kOpenFailed;
  }
  if (job.identity) *job.identity = input->Identity();
  std::unique_ptr<platform::OutputFile> output =
      job.to_stdout ? std::make_unique<StandardOutputPage>() : files.CreateOutput(job.output, *input);
  if (!output) {
    console.Line(CreateFailureLine(job.output));
    return ConvertResult::kCreateFailed;
  }
  if (!job.quiet) console.Line("Converting: \"" + job.input + "\"");
  Convert(*input, *output, job.options, job.summary);
  input->Close();
  output->Commit();
  return ConvertResult::kConverted;
}

}  // namespace rptconv
