#include "cli/convert_file.h"

#include <memory>

namespace rptconv {

namespace {

// The page on standard output, written as it comes.
class StandardOutputPage : public platform::OutputFile {
 public:
  void Write(std::string_view bytes) override {
    platform::WriteStream(platform::StandardStream::kOutput, bytes, IoSite::kWriteOutput);
  }
  void Commit() override {}
};

// One report of several into one output: the first creates it; a later one
// that is the file the output will replace is refused, as it would be alone.
ConvertResult ConvertIntoShared(platform::ReportFiles& files, Console& console, const ReportJob& job,
                                platform::ReportSource& input) {
  std::unique_ptr<platform::OutputFile>& output = *job.shared_output;
  bool refused = false;
  if (output) {
    const std::unique_ptr<platform::ReportSource> existing = files.OpenReport(job.output);
    refused = existing && input.IsFile(existing->Identity());
  } else {
    output = files.CreateOutput(job.output, input);
    refused = !output;
  }
  if (refused) {
    console.Line(CreateFailureLine(job.output));
    return ConvertResult::kCreateFailed;
  }
  if (!job.quiet) console.Line("Converting: \"" + job.input + "\"");
  Convert(input, *output, job.options, job.summary);
  input.Close();
  return ConvertResult::kConverted;
}

}  // namespace

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
  if (job.shared_output) return ConvertIntoShared(files, console, job, *input);
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
