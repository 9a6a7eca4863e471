// Everything the program needs of the operating system. One implementation
// per platform: src/platform/posix and src/platform/win32.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "cli/args.h"
#include "cli/failure_report.h"
#include "cli/paths.h"
#include "cli/convert_file.h"

namespace rptconv::platform {

// Prepares the process: binary standard streams, signal handling.
void Initialize();

// The command line, split into words after the program's name, up to the
// first empty one, and read as this platform reads its options.
Invocation ReadInvocation(int argc, char** argv);

const PathSyntax& Paths();

// A directory search: the names (without directory) of the entries that
// match a pattern and are not directories, in the platform's order.
class DirectorySearch {
 public:
  virtual ~DirectorySearch() = default;
  virtual bool Next(std::string& name) = 0;
};
std::unique_ptr<DirectorySearch> StartSearch(const std::string& pattern);

// Report files, output files and console lines.
ReportFiles& Files();

// Writes text to standard output or standard error as it is; standard output
// failures throw IoError, standard error is written as well as it can be.
void WriteStdout(std::string_view bytes);
void WriteStderr(std::string_view bytes);

// Whether a standard stream is a terminal (POSIX) or a character device
// (Windows), where console lines hide control bytes.
enum class StandardStream { kOutput, kError };
bool IsTerminal(StandardStream stream);

// The failure report's pieces.
std::string ModuleName();
std::string IoErrorText(int code);
// Converts the failure report for the console where the platform needs it.
std::string ForConsole(std::string report);

}  // namespace rptconv::platform
