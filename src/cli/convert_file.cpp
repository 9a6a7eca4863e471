#include "cli/convert_file.h"

#include <memory>

namespace rptconv {

void StandardOutputPage::Write(std::string_view bytes) {
  platform::WriteStream(platform::StandardStream::kOutput, bytes, IoSite::kWriteOutput);
}

namespace {

// The read, write and execute bits of the owner alone.
constexpr std::uint32_t kOwnerOnly = 0700;

}  // namespace

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
  if (job.shared_output && *job.shared_output) {
    // A later report of a shared stream: the stream is open already.
  } else if (job.to_stdout) {
    output = std::make_unique<StandardOutputPage>();
  } else if (!job.output_taken) {
    // A shared stream shows reports not yet opened: only its owner may read it.
    const std::uint32_t readers = job.shared_output ? kOwnerOnly : input->Permissions();
    output = job.outputs ? files.CreateOutput(job.output, job.outputs->RuleFor(job.output), readers)
                         : files.CreateOutput(job.output, *input);
  }
  if (job.shared_output && output) *job.shared_output = std::move(output);
  platform::OutputFile* const sink = job.shared_output ? job.shared_output->get() : output.get();
  if (!sink) {
    failures.Line(CreateFailureLine(job.output));
    return ConvertResult::kCreateFailed;
  }
  if (!job.quiet) console.Line("Converting: \"" + job.input + "\"");
  Convert(*input, *sink, job.options, job.summary);
  input->Close();
  // A shared stream is committed by the caller once every report is in.
  if (job.shared_output) return ConvertResult::kConverted;
  output->Commit();
  if (job.outputs && !job.to_stdout) job.outputs->Written(job.output, output->Identity());
  return ConvertResult::kConverted;
}

}  // namespace rptconv
