#include "cli/convert_file.h"

namespace rptconv {

ConvertResult ConvertReport(ReportFiles& files, const std::string& input_path,
                            const std::string& output_path) {
  std::unique_ptr<ReportSource> input = files.OpenReport(input_path);
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
  Convert(*input, *output);
  input->Close();
  output->Commit();
  return ConvertResult::kConverted;
}

}  // namespace rptconv
