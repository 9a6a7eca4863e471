#include "cli/compare_run.h"

#include <memory>
#include <string>

#include "cli/convert_file.h"
#include "cli/run_outputs.h"
#include "cli/run_plan.h"

namespace rptconv {

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;
constexpr int kExitCreateFailed = 2;

std::string_view ExtensionOf(OutputFormat format) {
  switch (format) {
    case OutputFormat::kJson: return kChangesJsonExtension;
    case OutputFormat::kNdjson: return kChangesNdjsonExtension;
    case OutputFormat::kHtml: break;
  }
  return kChangesExtension;
}

std::string OutputOf(const Invocation& inv) {
  if (inv.output) return *inv.output;
  const std::string& new_report = inv.patterns[1];
  if (new_report == kStandardStream) return std::string(kStandardStream);
  std::string output = MakeOutputName(new_report, ExtensionOf(inv.convert.format), PlatformPaths());
  if (inv.output_dir) output = JoinPath(*inv.output_dir, FileNamePart(output, PlatformPaths()), PlatformPaths());
  return output;
}

bool FromStdin(const std::string& name) {
  return name == kStandardStream && platform::ThisFamily() == platform::Family::kPosix;
}

std::unique_ptr<platform::ReportSource> Open(platform::ReportFiles& files, const std::string& name) {
  return FromStdin(name) ? platform::StandardInput() : files.OpenReport(name);
}

}  // namespace

bool ComparisonToStdout(const Invocation& inv) { return OutputOf(inv) == kStandardStream; }

int RunComparison(const Invocation& inv, platform::ReportFiles& files, Console& console, Console& failures) {
  const std::string& old_name = inv.patterns[0];
  const std::string& new_name = inv.patterns[1];
  const std::string output_name = OutputOf(inv);
  const bool to_stdout = output_name == kStandardStream;
  // The output shows both reports: it may replace neither, nor a report's
  // file, and is refused before either is read.
  RunOutputs outputs(platform::CurrentDirectory(), platform::ThisFamily() == platform::Family::kWindows);
  for (const std::string* name : {&old_name, &new_name}) {
    if (!FromStdin(*name)) outputs.AddReport(*name);
  }
  if (!to_stdout && (!outputs.Claim(output_name) || (inv.output_dir && !files.DirectoryTakesFiles(*inv.output_dir)) ||
                     !files.CanCreateOutput(output_name, outputs.RuleFor(output_name)))) {
    failures.Line(CreateFailureLine(output_name));
    return kExitCreateFailed;
  }
  std::unique_ptr<platform::ReportSource> old_report = Open(files, old_name);
  if (!old_report) {
    failures.Line(OpenFailureLine(old_name));
    return kExitFailure;
  }
  outputs.ReportOpened(old_report->Identity(), old_report->Permissions());
  std::unique_ptr<platform::ReportSource> new_report = Open(files, new_name);
  if (!new_report) {
    failures.Line(OpenFailureLine(new_name));
    return kExitFailure;
  }
  outputs.ReportOpened(new_report->Identity(), new_report->Permissions());
  std::unique_ptr<platform::OutputFile> output =
      to_stdout ? std::make_unique<StandardOutputPage>()
                : files.CreateOutput(output_name, outputs.RuleFor(output_name), outputs.Readers());
  if (!output) {
    failures.Line(CreateFailureLine(output_name));
    return kExitCreateFailed;
  }
  if (!inv.quiet) console.Line("Comparing: \"" + old_name + "\" with \"" + new_name + "\"");
  CompareOptions options;
  options.codepage = inv.convert.codepage;
  options.all_columns = inv.all_columns;
  options.format = inv.convert.format;
  options.old_name = old_name;
  options.new_name = new_name;
  options.names_utf8 = platform::ThisFamily() == platform::Family::kPosix;
  CompareReports(*old_report, *new_report, *output, options);
  old_report->Close();
  new_report->Close();
  output->Commit();
  return kExitOk;
}

}  // namespace rptconv
