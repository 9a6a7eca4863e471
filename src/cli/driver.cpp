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
#include "cli/convert_file.h"
#include "cli/failure_report.h"
#include "cli/link_paths.h"
#include "cli/paths.h"
#include "cli/usage.h"
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

// The conversions of one run, in the order the patterns name them.
class Batch {
 public:
  explicit Batch(const Invocation& inv)
      : inv_(inv), console_(PagesToStdout() ? platform::StandardStream::kError : platform::StandardStream::kOutput) {
    if (inv_.index) {
      index_.emplace(Windows() ? FleetIndex::NameBytes::kReportCodepage : FleetIndex::NameBytes::kUtf8);
      current_dir_ = platform::CurrentDirectory();
      index_dir_ = DirectoryOf(AbsolutePath(*inv_.index, current_dir_, Windows()));
    }
  }

  // Gives 0, or the exit code of the failure that ended the batch (with
  // --keep-going: of its first failure). The index, when asked for, lists
  // every report the batch took, also when a failure ended it.
  int Run() {
    for (const std::string& pattern : inv_.patterns) {
      if (!ConvertPattern(pattern)) break;
    }
    if (index_) WriteIndex();
    return first_failure_;
  }

 private:
  bool PagesToStdout() const {
    return inv_.output ? *inv_.output == kStandardStream : inv_.stdin_pattern;
  }

  // Notes the outcome of one report; gives whether the batch goes on.
  bool Record(int code) {
    if (code == kExitOk) return true;
    if (first_failure_ == kExitOk) first_failure_ = code;
    return inv_.keep_going;
  }

  ReportJob JobFor(const std::string& input, bool from_stdin) const {
    ReportJob job;
    job.input = input;
    job.from_stdin = from_stdin;
    job.quiet = inv_.quiet;
    job.options = inv_.convert;
    if (inv_.output) {
      job.output = *inv_.output;
    } else if (from_stdin) {
      job.output = kStandardStream;
    } else {
      const PathSyntax& paths = PlatformPaths();
      job.output = MakeOutputName(input, inv_.extension, paths);
      if (inv_.output_dir) job.output = JoinPath(*inv_.output_dir, FileNamePart(job.output, paths), paths);
    }
    job.to_stdout = job.output == kStandardStream;
    return job;
  }

  static bool Windows() { return platform::ThisFamily() == platform::Family::kWindows; }

  // With --keep-going an I/O failure of one report is reported and the batch
  // goes on; a console that cannot be written still ends the program.
  int Convert(ReportJob job) {
    if (index_) {
      job.summary = &summary_;
      // The index may not replace a report of the run: each one's identity
      // is kept, once it is open.
      job.identity = &reports_.emplace_back(kUnknownFile);
    }
    try {
      switch (ConvertReport(platform::Files(), console_, job)) {
        case ConvertResult::kConverted:
          if (index_) index_->AddConverted(job.input, PageHref(job), summary_);
          return kExitOk;
        case ConvertResult::kOpenFailed:
          IndexFailure(job.input, OpenFailureLine(job.input));
          return kExitFailure;
        case ConvertResult::kCreateFailed:
          IndexFailure(job.input, CreateFailureLine(job.output));
          return kExitCreateFailed;
      }
    } catch (const IoError& error) {
      if (!inv_.keep_going || error.site == IoSite::kWriteConsole) throw;
      const std::string report = IoFailureReport(error);
      platform::WriteStderr(report);
      IndexFailure(job.input, OneLine(report));
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
  }

  std::string PageHref(const ReportJob& job) const {
    if (job.to_stdout) return {};
    return RelativeHref(index_dir_, AbsolutePath(job.output, current_dir_, Windows()));
  }

  // The index is written like a page: a temporary file moved onto its name
  // once complete. It stands for every report of the run: like a page, it
  // may replace none of them, and it keeps the usual modes.
  void WriteIndex() {
    class RunReports : public platform::ReportSource {
     public:
      explicit RunReports(const std::vector<platform::FileIdentity>& files) : files_(files) {}
      std::size_t Read(char*, std::size_t) override { return 0; }
      platform::FileIdentity Identity() const override { return kUnknownFile; }
      bool IsFile(const platform::FileIdentity& identity) const override {
        return identity != kUnknownFile && std::find(files_.begin(), files_.end(), identity) != files_.end();
      }
      std::uint32_t Permissions() const override { return 0777; }

     private:
      const std::vector<platform::FileIdentity>& files_;
    };
    const RunReports reports(reports_);
    std::unique_ptr<platform::OutputFile> file = platform::Files().CreateOutput(*inv_.index, reports);
    if (!file) {
      console_.Line(CreateFailureLine(*inv_.index));
      Record(kExitCreateFailed);
      return;
    }
    index_->Write(*file);
    file->Commit();
  }

  // Converts every report a pattern finds; gives whether the batch goes on.
  // A pattern without wildcards must name a report, and every pattern's
  // directory must be searchable.
  bool ConvertPattern(const std::string& pattern) {
    if (inv_.stdin_pattern && pattern == kStandardStream) return Record(Convert(JobFor(pattern, true)));
    const std::string input_dir = InputDir(pattern, PlatformPaths());
    auto search = platform::StartSearch(pattern);
    bool found = false;
    std::string name;
    while (search && search->Next(name)) {
      found = true;
      if (!Record(Convert(JobFor(input_dir + name, false)))) return false;
    }
    if (search && (found || HasWildcards(pattern, PlatformPaths()))) return true;
    console_.Line(OpenFailureLine(pattern));
    IndexFailure(pattern, OpenFailureLine(pattern));
    return Record(kExitFailure);
  }

  const Invocation& inv_;
  StandardConsole console_;
  int first_failure_ = kExitOk;
  std::optional<FleetIndex> index_;
  ReportSummary summary_;
  // The identity of a report that is not open (yet), or of a file whose
  // identity cannot be had.
  static constexpr platform::FileIdentity kUnknownFile{~0ULL, ~0ULL};
  std::vector<platform::FileIdentity> reports_;  // of the run, for the index
  std::string current_dir_;
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
      platform::WriteStderr("rptconv: " + inv.error + "\r\nTry 'rptconv --help'.\r\n");
      return kExitUsage;
    case Invocation::Action::kConvert: break;
  }
  if (inv.compare) {
    StandardConsole console(ComparisonToStdout(inv) ? platform::StandardStream::kError
                                                    : platform::StandardStream::kOutput);
    return RunComparison(inv, platform::Files(), console);
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
