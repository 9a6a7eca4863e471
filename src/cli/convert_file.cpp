#include "cli/convert_file.h"

#include <memory>

namespace rptconv {

void StandardOutputPage::Write(std::string_view bytes) {
  platform::WriteStream(platform::StandardStream::kOutput, bytes, IoSite::kWriteOutput);
}

std::string OpenFailureLine(const std::string& report) { return "Cannot open input file: \"" + report + "\""; }
std::string CreateFailureLine(const std::string& page) { return "Cannot create output file: \"" + page + "\""; }

ConvertResult ConvertReport(platform::ReportFiles& files, Console& console, const ReportJob& job) {
  Console& failures = job.failures ? *job.failures : console;
  std::unique_ptr<platform::ReportSource> input =
      job.from_stdin ? platform::StandardInput() : files.OpenReport(job.input, job.origin);
  if (!input) {
    failures.Line(OpenFailureLine(job.input));
    return ConvertResult::kOpenFailed;
  }
  if (job.origin == platform::ReportOrigin::kFound && !input->IsRegularFile()) return ConvertResult::kSkipped;
  if (job.outputs) job.outputs->ReportOpened(input->Identity(), input->Permissions());
  std::unique_ptr<platform::OutputFile> output;
  if (job.to_stdout) {
    output = std::make_unique<StandardOutputPage>();
  } else if (!job.output_taken) {
    output = job.outputs ? files.CreateOutput(job.output, job.outputs->RuleFor(job.output), input->Permissions())
                         : files.CreateOutput(job.output, *input);
  }
  if (!output) {
    failures.Line(CreateFailureLine(job.output));
    return ConvertResult::kCreateFailed;
  }
  if (!job.quiet) console.Line("Converting: \"" + job.input + "\"");
  Convert(*input, *output, job.options, job.summary);
  input->Close();
  output->Commit();
  if (job.outputs && !job.to_stdout) job.outputs->Written(job.output, output->Identity());
  return ConvertResult::kConverted;
}

}  // namespace rptconv
