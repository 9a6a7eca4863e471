#include "cli/compare_run.h"

#include <memory>
#include <string>

#include "cli/convert_file.h"

namespace rptconv {

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;
constexpr int kExitCreateFailed = 2;

// The page stands for both reports: it may replace neither, and is readable
// only by those who may read both.
class BothReports : public platform::ReportSource {
 public:
  BothReports(const platform::ReportSource& old_report, const platform::ReportSource& new_report)
      : old_(old_report), new_(new_report) {}
  std::size_t Read(char*, std::size_t) override { return 0; }
  platform::FileIdentity Identity() const override { return new_.Identity(); }
  bool IsFile(const platform::FileIdentity& identity) const override {
    return old_.IsFile(identity) || new_.IsFile(identity);
  }
  std::uint32_t Permissions() const override { return old_.Permissions() & new_.Permissions(); }

 private:
  const platform::ReportSource& old_;
  const platform::ReportSource& new_;
};

std::string OutputOf(const Invocation& inv) {
  if (inv.output) return *inv.output;
  const std::string& new_report = inv.patterns[1];
  if (new_report == kStandardStream) return std::string(kStandardStream);
  std::string output = MakeOutputName(new_report, kChangesExtension, PlatformPaths());
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

int RunComparison(const Invocation& inv, platform::ReportFiles& files, Console& console) {
  const std::string& old_name = inv.patterns[0];
  const std::string& new_name = inv.patterns[1];
  std::unique_ptr<platform::ReportSource> old_report = Open(files, old_name);
  if (!old_report) {
    console.Line(OpenFailureLine(old_name));
    return kExitFailure;
  }
  std::unique_ptr<platform::ReportSource> new_report = Open(files, new_name);
  if (!new_report) {
    console.Line(OpenFailureLine(new_name));
    return kExitFailure;
  }
  const std::string output_name = OutputOf(inv);
  const BothReports both(*old_report, *new_report);
  std::unique_ptr<platform::OutputFile> output = output_name == kStandardStream
                                                     ? std::make_unique<StandardOutputPage>()
                                                     : files.CreateOutput(output_name, both);
  if (!output) {
    console.Line(CreateFailureLine(output_name));
    return kExitCreateFailed;
  }
  if (!inv.quiet) console.Line("Comparing: \"" + old_name + "\" with \"" + new_name + "\"");
  CompareOptions options;
  options.codepage = inv.convert.codepage;
  options.all_columns = inv.all_columns;
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
