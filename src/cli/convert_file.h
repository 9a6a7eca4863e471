// The conversion of one report into its page, with the console line that
// says how it went.
#pragma once

#include <memory>
#include <string>

#include "cli/args.h"
#include "cli/console.h"
#include "cli/run_outputs.h"
#include "platform/platform.h"

namespace rptconv {

struct ReportJob {
  std::string input;   // the report's path, as console lines name it
  std::string output;  // the page's path
  bool from_stdin = false;  // the report is standard input
  bool to_stdout = false;   // the page goes to standard output
  bool quiet = false;       // no progress line
  platform::ReportOrigin origin = platform::ReportOrigin::kNamed;
  ConvertOptions options;
  ReportSummary* summary = nullptr;  // filled for the index, when there is one
  // The run's reports and outputs: the page is made under their rule, and
  // the report and page are added to them. Null: the page may replace
  // anything but its report.
  RunOutputs* outputs = nullptr;
  bool output_taken = false;  // the page's name is another output's of the run, or a report's
  Console* failures = nullptr;  // where failure lines go; null: the progress console
  // Set: the output is shared by several reports (NDJSON with -o); the
  // first creates it into this slot, the caller commits it once all are in.
  std::unique_ptr<platform::OutputFile>* shared_output = nullptr;
};

// A page on standard output, written as it comes.
class StandardOutputPage : public platform::OutputFile {
 public:
  void Write(std::string_view bytes) override;
  void Commit() override {}
  platform::FileIdentity Identity() const override { return platform::kUnknownFile; }
};

// kSkipped: a report a wildcard found turned out to be no regular file (a
// FIFO or device put in its place): nothing is printed or written.
enum class ConvertResult { kConverted, kOpenFailed, kCreateFailed, kSkipped };

// The console lines of a report that cannot be opened and of a page that
// cannot be created.
std::string OpenFailureLine(const std::string& report);
std::string CreateFailureLine(const std::string& page);

// Converts one report, writing the progress line or the line of the failure
// that stopped it. The report is opened before the page is created, so a
// report that cannot be opened is an open failure whatever its page. Any I/O failure after both ends are open throws IoError;
// a page file then stays as it was before.
ConvertResult ConvertReport(platform::ReportFiles& files, Console& console, const ReportJob& job);

}  // namespace rptconv
