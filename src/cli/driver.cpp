#include "cli/driver.h"

#include <new>
#include <stdexcept>
#include <string>

#include "cli/usage.h"
#include "platform/platform.h"
#include "rptconv/rptconv.h"

namespace rptconv {

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;
constexpr int kExitCreateFailed = 2;

void PrintUsageLines(std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) platform::Files().ConsoleLine(kUsageLines[i]);
}

// Converts every report a pattern finds; gives 0 or the exit code of the
// conversion that ended the batch.
int ConvertMatches(const std::string& pattern, const std::string& extension) {
  const std::string input_dir = InputDir(pattern, platform::Paths());
  auto search = platform::StartSearch(pattern);
  std::string name;
  while (search && search->Next(name)) {
    const std::string input = input_dir + name;
    const std::string output = MakeOutputName(input, extension, platform::Paths());
    switch (ConvertReport(platform::Files(), input, output)) {
      case ConvertResult::kConverted: break;
      case ConvertResult::kOpenFailed: return kExitFailure;
      case ConvertResult::kCreateFailed: return kExitCreateFailed;
    }
  }
  return kExitOk;
}

}  // namespace

int RunProgram(int argc, char** argv) {
  const Invocation inv = platform::ReadInvocation(argc, argv);
  switch (inv.action) {
    case Invocation::Action::kUsage: PrintUsageLines(kUsageLines.size()); return kExitOk;
    case Invocation::Action::kVersion: PrintUsageLines(kVersionLines); return kExitOk;
    case Invocation::Action::kConvert: break;
  }
  for (const std::string& pattern : inv.patterns) {
    if (const int code = ConvertMatches(pattern, inv.extension); code != kExitOk) return code;
  }
  return kExitOk;
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
      platform::WriteStderr(platform::ForConsole(FailureReport(
          kIoErrorKind, platform::ModuleName(), static_cast<std::uint32_t>(error.site),
          platform::IoErrorText(error.code))));
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
