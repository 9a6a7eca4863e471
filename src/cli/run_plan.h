// The reports and outputs of a run, known before the first report is
// converted: every pattern searched, every page named and claimed.
#pragma once

#include <string>
#include <vector>

#include "cli/args.h"
#include "cli/paths.h"
#include "cli/run_outputs.h"
#include "platform/platform.h"

namespace rptconv {

// One entry of a run: a report to convert, or a pattern that found none.
struct PlannedReport {
  std::string input;  // the report's path as console lines name it, or the failed pattern
  bool from_stdin = false;
  bool pattern_failed = false;  // a literal name that is no report, or a directory that cannot be searched
  platform::ReportOrigin origin = platform::ReportOrigin::kNamed;
  bool output_taken = false;    // its page's name is another output's of the run, or a report's
};

// The path rules of the platform the program runs on.
const PathSyntax& PlatformPaths();

// Where the page of `input` goes: -o, standard output for standard input,
// else beside the report or in -d under its usual name.
std::string OutputPath(const Invocation& inv, const std::string& input, bool from_stdin);

// NDJSON with -o FILE: every report's lines go into the one file.
inline bool SharedStream(const Invocation& inv) {
  return inv.convert.format == OutputFormat::kNdjson && inv.output && *inv.output != kStandardStream;
}

// Searches every pattern in the order given, adds every report found or
// named to `outputs`, and claims every page's name there; a page whose name
// is taken is marked, to fail when its turn comes.
std::vector<PlannedReport> PlanRun(const Invocation& inv, RunOutputs& outputs);

}  // namespace rptconv
