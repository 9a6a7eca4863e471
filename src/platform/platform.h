// Everything the program needs of the operating system. One implementation
// per platform: src/platform/posix and src/platform/win32. The layer hands
// the command line over as raw words or text and knows nothing of how the
// front end reads them.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "rptconv/rptconv.h"

namespace rptconv::platform {

// Prepares the process: binary standard streams, signal handling.
void Initialize();

// Whose rules the command line, the patterns and the paths follow.
enum class Family { kPosix, kWindows };
Family ThisFamily();

// The command line as the platform hands it over: on POSIX the process's
// arguments after the program's name, as the shell gave them (`text` empty);
// on Windows the one command-line text, word 0 included (`words` empty).
struct RawCommandLine {
  std::vector<std::string> words;
  std::string text;
};
RawCommandLine ReadCommandLine(int argc, char** argv);

// Whether anything of that name exists (a dangling link counts).
bool PathExists(const std::string& path);

// The process's current directory, absolute.
std::string CurrentDirectory();

// The first byte of a double-byte character in the system's character set;
// always false on POSIX.
bool IsLeadByte(unsigned char byte);

// A directory search: the names (without directory) of the entries that
// match a pattern and are regular files, in the platform's order.
class DirectorySearch {
 public:
  virtual ~DirectorySearch() = default;
  virtual bool Next(std::string& name) = 0;
};
// Null when the pattern's directory cannot be searched: it is missing, is no
// directory, or may not be read.
std::unique_ptr<DirectorySearch> StartSearch(const std::string& pattern);

// The output file of one conversion. It becomes the page of the output's name
// only on Commit; destroyed before that, it leaves no trace.
class OutputFile : public ByteSink {
 public:
  // Closes the file and moves it onto the output's name; failures throw IoError.
  virtual void Commit() = 0;
};

// Which file an open report is, whatever name or link it was opened by.
struct FileIdentity {
  std::uint64_t volume = 0;  // the device (POSIX) or the volume serial number (Windows)
  std::uint64_t file = 0;    // the inode (POSIX) or the file index (Windows)
  bool operator==(const FileIdentity&) const = default;
};

// An open report: its bytes, which file it is, and who may read it.
class ReportSource : public ByteSource {
 public:
  virtual FileIdentity Identity() const = 0;
  // Whether the file `identity` is this report, which its output may not
  // replace; an output that stands for several reports answers for each.
  virtual bool IsFile(const FileIdentity& identity) const { return identity == Identity(); }
  // The report's read, write and execute bits for its owner, group and
  // others (0777 where the platform has none): its page is made readable by
  // no class that cannot read the report.
  virtual std::uint32_t Permissions() const = 0;
};

// Report and page files.
class ReportFiles {
 public:
  virtual ~ReportFiles() = default;
  // Opens the report for reading; null when it cannot be opened.
  virtual std::unique_ptr<ReportSource> OpenReport(const std::string& path) = 0;
  // Creates the output of `report`; null when it cannot be created (also
  // when it would be the report itself (see ReportSource::IsFile), is
  // read-only, or may not be replaced by the running user).
  virtual std::unique_ptr<OutputFile> CreateOutput(const std::string& path, const ReportSource& report) = 0;
};
ReportFiles& Files();

// The report read from standard input, which stays open after it; its
// identity is that of the file or pipe standard input is.
std::unique_ptr<ReportSource> StandardInput();

enum class StandardStream { kOutput, kError };
// Writes bytes to standard output or standard error as they are; a failure
// throws IoError with `site`.
void WriteStream(StandardStream stream, std::string_view bytes, IoSite site);
// Writes to standard error as well as it can, for the failure report.
void WriteStderr(std::string_view bytes);

// Whether a standard stream is a terminal (POSIX) or a character device
// (Windows), where console lines hide control bytes.
bool IsTerminal(StandardStream stream);

// The failure report's pieces: the program file's name, the kind of an error
// number, and the report as the console shows it.
std::string ModuleName();
enum class ErrorKind { kFileNotFound, kInvalidFilename, kTooManyOpenFiles, kAccessDenied, kOther };
ErrorKind KindOfError(int code);
std::string ForConsole(std::string report);

}  // namespace rptconv::platform
