// The conversion of one report into its page, with the console line that
// says how it went.
#pragma once

#include <string>

#include "cli/args.h"
#include "cli/console.h"
#include "cli/paths.h"
#include "platform/platform.h"

namespace rptconv {

struct ReportJob {
  std::string input;   // the report's path, as console lines name it
  std::string output;  // the page's path
  bool from_stdin = false;  // the report is standard input
  bool to_stdout = false;   // the page goes to standard output
  bool quiet = false;       // no progress line
  ConvertOptions options;
  ReportSummary* summary = nullptr;  // filled for the index, when there is one
  platform::FileIdentity* identity = nullptr;  // set to the report's once it is open, when asked
};

// The path rules of the platform the program runs on.
const PathSyntax& PlatformPaths();

// A page on standard output, written as it comes.
class StandardOutputPage : public platform::OutputFile {
 public:
  void Write(std::string_view bytes) override;
  void Commit() override {}
};

enum class ConvertResult { kConverted, kOpenFailed, kCreateFailed };

// The console lines of a report that cannot be opened and of a page that
// cannot be created.
std::string OpenFailureLine(const std::string& report);
std::string CreateFailureLine(const std::string& page);

// Converts one report, writing the progress line or the line of the failure
// that stopped it. Any I/O failure after both ends are open throws IoError;
// a page file then stays as it was before.
ConvertResult ConvertReport(platform::ReportFiles& files, Console& console, const ReportJob& job);

}  // namespace rptconv
