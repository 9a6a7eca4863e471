#include "cli/run_plan.h"

namespace rptconv {

const PathSyntax& PlatformPaths() {
  static const PathSyntax syntax = platform::ThisFamily() == platform::Family::kWindows
                                       ? WindowsPaths(platform::IsLeadByte)
                                       : kPosixPaths;
  return syntax;
}

std::string OutputPath(const Invocation& inv, const std::string& input, bool from_stdin) {
  if (inv.output) return *inv.output;
  if (from_stdin) return std::string(kStandardStream);
  const PathSyntax& paths = PlatformPaths();
  std::string output = MakeOutputName(input, inv.extension, paths);
  if (inv.output_dir) output = JoinPath(*inv.output_dir, FileNamePart(output, paths), paths);
  return output;
}

std::vector<PlannedReport> PlanRun(const Invocation& inv, RunOutputs& outputs) {
  std::vector<PlannedReport> plan;
  for (const std::string& pattern : inv.patterns) {
    if (inv.stdin_pattern && pattern == kStandardStream) {
      plan.push_back({pattern, true});
      continue;
    }
    const std::string input_dir = InputDir(pattern, PlatformPaths());
    const bool wildcards = HasWildcards(pattern, PlatformPaths());
    auto search = platform::StartSearch(pattern);
    bool found = false;
    std::string name;
    while (search && search->Next(name)) {
      found = true;
      PlannedReport report{input_dir + name};
      // A name the pattern gives as it is was named, not found.
      const bool named = !wildcards || report.input == pattern;
      report.origin = named ? platform::ReportOrigin::kNamed : platform::ReportOrigin::kFound;
      plan.push_back(std::move(report));
    }
    // A pattern without wildcards must name a report, and every pattern's
    // directory must be searchable.
    if (!search || (!found && !wildcards)) plan.push_back({pattern, false, true});
  }
  for (const PlannedReport& report : plan) {
    if (!report.from_stdin) outputs.AddReport(report.input);
  }
  // A shared stream is claimed once, for every report it shows.
  const bool shared = SharedStream(inv);
  const bool shared_taken = shared && !outputs.Claim(*inv.output);
  for (PlannedReport& report : plan) {
    if (report.pattern_failed) continue;
    const std::string output = OutputPath(inv, report.input, report.from_stdin);
    if (shared) {
      report.output_taken = shared_taken;
    } else if (output != kStandardStream) {
      report.output_taken = !outputs.Claim(output, report.input);
    }
  }
  return plan;
}

}  // namespace rptconv
