#include "cli/driver.h"

#include <algorithm>
#include <new>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "cli/args.h"
#include "cli/cmdline_split.h"
#include "cli/compare_run.h"
#include "cli/console.h"
#include "cli/console_text.h"
#include "cli/convert_file.h"
#include "cli/failure_report.h"
#include "cli/link_paths.h"
#include "cli/run_outputs.h"
#include "cli/run_plan.h"
#include "cli/usage.h"
#include "export/index_json.h"
#include "html/index_page.h"
#include "platform/platform.h"
#include "rptconv/rptconv.h"

namespace rptconv {

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;
constexpr int kExitCreateFailed = 2;
constexpr int kExitUsage = 64;  // EX_USAGE

Invocation ReadInvocation(int argc, char** argv) {
  platform::RawCommandLine raw = platform::ReadCommandLine(argc, argv);
  if (platform::ThisFamily() == platform::Family::kWindows) {
    return ParseWindowsArguments(CommandLineArguments(raw.text, platform::IsLeadByte));
  }
  return ParsePosixArguments(CountedArguments(std::move(raw.words)), platform::PathExists);
}

std::string IoFailureReport(const IoError& error) {
  return platform::ForConsole(FailureReport(kIoErrorKind, platform::ModuleName(),
                                            static_cast<std::uint32_t>(error.site), IoErrorText(error.code)));
}

void PrintLines(std::span<const std::string_view> lines) {
  StandardConsole console(platform::StandardStream::kOutput);
  for (const std::string_view line : lines) console.Line(line);
}

// The conversions of one run, in the order the patterns name them. Every
// pattern is searched and every output named before the first report is
// converted, so that each output can be checked against all reports and all
// other outputs of the run.
class Batch {
 public:
  explicit Batch(const Invocation& inv)
      : inv_(inv),
        console_(PagesToStdout() ? platform::StandardStream::kError : platform::StandardStream::kOutput),
        failures_(inv.quiet ? platform::StandardStream::kError : console_.Stream()),
        current_dir_(platform::CurrentDirectory()),
        outputs_(current_dir_, Windows()) {
    if (inv_.index && DataFormat()) {
      json_index_.emplace(!Windows(), inv_.attention);
    } else if (inv_.index) {
      index_.emplace(Windows() ? FleetIndex::NameBytes::kReportCodepage : FleetIndex::NameBytes::kUtf8,
                     inv_.attention);
      index_dir_ = DirectoryOf(AbsolutePath(*inv_.index, current_dir_, Windows()));
    }
  }

  // Gives 0, or the exit code of the failure that ended the batch (with
  // --keep-going: of its first failure). The index, when asked for, lists
  // every report the batch took, also when a failure ended it.
  int Run() {
    plan_ = PlanRun(inv_, outputs_);
    if (!OutputsUsable()) return kExitCreateFailed;
    if (index_) index_->Expect(plan_.size());
    bool complete = true;
    try {
      for (const PlannedReport& report : plan_) {
        if (!Record(ConvertOne(report))) {
          complete = false;
          break;
        }
      }
      // The one stream of every report is kept when the batch went through
      // (with --keep-going: when no failure ended it).
      if (shared_output_ && complete) {
        shared_output_->Commit();
        outputs_.Written(*inv_.output, shared_output_->Identity());
      }
      shared_output_.reset();
    } catch (const IoError& error) {
      shared_output_.reset();
      // The failure report follows once the index is written.
      if (Indexed() && error.site != IoSite::kWriteConsole) WriteIndex();
      throw;
    }
    if (Indexed()) WriteIndex();
    return first_failure_;
  }

 private:
  bool DataFormat() const { return inv_.convert.format != OutputFormat::kHtml; }
  bool Indexed() const { return index_ || json_index_; }

  bool PagesToStdout() const {
    return inv_.output ? *inv_.output == kStandardStream : inv_.stdin_pattern;
  }

  static bool Windows() { return platform::ThisFamily() == platform::Family::kWindows; }

  // The outputs the user named (-o, -d, the index) are checked, with their
  // directories, before any report is converted; one that cannot be made
  // ends the run with the create-failure line.
  bool OutputsUsable() {
    if (inv_.output && *inv_.output != kStandardStream) {
      const bool taken = std::any_of(plan_.begin(), plan_.end(), [](const PlannedReport& r) { return r.output_taken; });
      if (taken || !platform::Files().CanCreateOutput(*inv_.output, outputs_.RuleFor(*inv_.output))) {
        return Refused(*inv_.output);
      }
    }
    if (inv_.output_dir && !platform::Files().DirectoryTakesFiles(*inv_.output_dir)) return Refused(*inv_.output_dir);
    if (inv_.index && (!outputs_.Claim(*inv_.index) ||
                       !platform::Files().CanCreateOutput(*inv_.index, outputs_.RuleFor(*inv_.index)))) {
      return Refused(*inv_.index);
    }
    return true;
  }

  bool Refused(const std::string& output) {
    failures_.Line(CreateFailureLine(output));
    return false;
  }

  // Notes the outcome of one report; gives whether the batch goes on.
  bool Record(int code) {
    if (code == kExitOk) return true;
    if (first_failure_ == kExitOk) first_failure_ = code;
    return inv_.keep_going;
  }

  // With --keep-going an I/O failure of one report is reported and the batch
  // goes on; a console that cannot be written still ends the program.
  int ConvertOne(const PlannedReport& report) {
    if (report.pattern_failed) {
      failures_.Line(OpenFailureLine(report.input));
      IndexFailure(report.input, OpenFailureLine(report.input));
      return kExitFailure;
    }
    ReportJob job;
    job.input = report.input;
    job.from_stdin = report.from_stdin;
    job.origin = report.origin;
    job.quiet = inv_.quiet;
    job.options = inv_.convert;
    job.options.report_name = report.input;
    job.options.report_name_utf8 = !Windows();
    job.output = OutputPath(inv_, report.input, report.from_stdin);
    job.to_stdout = job.output == kStandardStream;
    job.outputs = &outputs_;
    job.output_taken = report.output_taken;
    job.failures = &failures_;
    if (SharedStream(inv_)) job.shared_output = &shared_output_;
    if (Indexed()) {
      job.summary = &summary_;
      summary_.program_sink = index_ ? &index_->program_sink() : &json_index_->program_sink();
    }
    try {
      switch (ConvertReport(platform::Files(), console_, job)) {
        case ConvertResult::kConverted:
          if (index_) index_->AddConverted(job.input, PageHref(job), summary_);
          if (json_index_) json_index_->AddConverted(job.input, job.to_stdout ? std::string() : job.output, summary_);
          return kExitOk;
        case ConvertResult::kSkipped: return kExitOk;
        case ConvertResult::kOpenFailed:
          IndexFailure(job.input, OpenFailureLine(job.input));
          return kExitFailure;
        case ConvertResult::kCreateFailed:
          IndexFailure(job.input, CreateFailureLine(job.output));
          return kExitCreateFailed;
      }
    } catch (const IoError& error) {
      if (error.site == IoSite::kWriteConsole) throw;
      const std::string report_text = IoFailureReport(error);
      IndexFailure(job.input, OneLine(report_text));
      if (!inv_.keep_going) throw;
      platform::WriteStderr(report_text);
    }
    return kExitFailure;
  }

  // The lines of a failure report, joined by blanks.
  static std::string OneLine(std::string_view report) {
    std::string line;
    for (const char c : report) {
      if (c == '\r') continue;
      if (c == '\n') {
        if (!line.empty() && line.back() != ' ') line.push_back(' ');
      } else {
        line.push_back(c);
      }
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    return line;
  }

  void IndexFailure(const std::string& report, const std::string& line) {
    if (index_) index_->AddFailed(report, line);
    if (json_index_) json_index_->AddFailed(report, line);
  }

  std::string PageHref(const ReportJob& job) const {
    if (job.to_stdout) return {};
    return RelativeHref(index_dir_, AbsolutePath(job.output, current_dir_, Windows()));
  }

  // The index is written like a page: a temporary file moved onto its name
  // once complete, under the run's rule, readable only by those who may read
  // every report it shows.
  void WriteIndex() {
    std::unique_ptr<platform::OutputFile> file =
        platform::Files().CreateOutput(*inv_.index, outputs_.RuleFor(*inv_.index), outputs_.Readers());
    if (!file) {
      failures_.Line(CreateFailureLine(*inv_.index));
      Record(kExitCreateFailed);
      return;
    }
    if (json_index_) {
      json_index_->Write(*file);
    } else {
      index_->Write(*file);
    }
    file->Commit();
    outputs_.Written(*inv_.index, file->Identity());
  }

  const Invocation& inv_;
  StandardConsole console_;   // progress lines
  StandardConsole failures_;  // failure lines: with --quiet on standard error
  std::string current_dir_;
  RunOutputs outputs_;
  std::vector<PlannedReport> plan_;
  int first_failure_ = kExitOk;
  std::optional<FleetIndex> index_;
  std::optional<JsonIndex> json_index_;
  std::unique_ptr<platform::OutputFile> shared_output_;  // with SharedStream, once created
  ReportSummary summary_;
  std::string index_dir_;
};

}  // namespace

int RunProgram(int argc, char** argv) {
  const Invocation inv = ReadInvocation(argc, argv);
  switch (inv.action) {
    case Invocation::Action::kUsage: PrintLines(kUsageLines); return kExitOk;
    case Invocation::Action::kVersion: PrintLines(std::span(kUsageLines).first(kVersionLines)); return kExitOk;
    case Invocation::Action::kHelp: PrintLines(kHelpLines); return kExitOk;
    case Invocation::Action::kUsageError:
      // The text quoted from the command line shows no control byte on a terminal.
      platform::WriteStderr(ConsoleLineBytes("rptconv: " + inv.error, platform::IsTerminal(platform::StandardStream::kError)) +
                            "Try 'rptconv --help'.\r\n");
      return kExitUsage;
    case Invocation::Action::kConvert: break;
  }
  if (inv.compare) {
    StandardConsole console(ComparisonToStdout(inv) ? platform::StandardStream::kError
                                                    : platform::StandardStream::kOutput);
    // With --quiet, failure lines go to standard error.
    StandardConsole failures(inv.quiet ? platform::StandardStream::kError : console.Stream());
    return RunComparison(inv, platform::Files(), console, failures);
  }
  return Batch(inv).Run();
}

int Main(int argc, char** argv) {
  platform::Initialize();
  // The report for exhausted memory is made while memory is still there, so
  // that writing it needs none.
  std::string out_of_memory;
  const auto report_out_of_memory = [&out_of_memory] {
    platform::WriteStderr(out_of_memory.empty() ? kOutOfMemoryFallback : std::string_view(out_of_memory));
  };
  try {
    out_of_memory = platform::ForConsole(
        FailureReport(kOutOfMemoryKind, platform::ModuleName(), kOutOfMemorySite, kOutOfMemoryMessage));
    return RunProgram(argc, argv);
  } catch (const IoError& error) {
    // Console lines are written whole and at once, so standard output holds
    // nothing back that should come before the report.
    try {
      platform::WriteStderr(IoFailureReport(error));
    } catch (const std::bad_alloc&) {
      report_out_of_memory();
    }
  } catch (const std::bad_alloc&) {
    report_out_of_memory();
  } catch (const std::length_error&) {
    // A line longer than a string can ever hold.
    report_out_of_memory();
  }
  return kExitFailure;
}

}  // namespace rptconv
