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

// Which file a report or output is, whatever name or link it was reached by.
struct FileIdentity {
  std::uint64_t volume = 0;  // the device (POSIX) or the volume serial number (Windows)
  std::uint64_t file = 0;    // the inode (POSIX) or the file index (Windows)
  bool operator==(const FileIdentity&) const = default;
};
// The identity of a file that is not known (not open, or the file system
// cannot tell): equal to no file's.
inline constexpr FileIdentity kUnknownFile{~0ULL, ~0ULL};

// The identity of the file `path` names (links followed); kUnknownFile when
// there is none or it cannot be had.
FileIdentity IdentityOfPath(const std::string& path);

// An output of the run. A page file becomes the page of the output's name
// only on Commit; destroyed before that, it leaves no trace. An output that
// is no regular file (a device, a FIFO) is written into as it comes.
class OutputFile : public ByteSink {
 public:
  // Closes the file and, for a page file, moves it onto the output's name;
  // failures throw IoError.
  virtual void Commit() = 0;
  // Which file the output is (a page file: the one its name will hold).
  virtual FileIdentity Identity() const = 0;
};

// An open report: its bytes, which file it is, and who may read it.
class ReportSource : public ByteSource {
 public:
  virtual FileIdentity Identity() const = 0;
  // The report's read, write and execute bits for its owner, group and
  // others (0777 where the platform has none, and for a pipe or terminal):
  // its page is made readable by no class that cannot read the report.
  virtual std::uint32_t Permissions() const = 0;
  // Whether the report is a regular file (not a FIFO, device or socket).
  virtual bool IsRegularFile() const { return true; }
};

// How many first bytes of an existing file a ReplaceRule is shown.
inline constexpr std::size_t kHeadBytes = 4096;

// What an output may replace. The file system layer asks it about the file
// that stands in the output's place (links followed) before anything is
// written, and again when it creates the output.
class ReplaceRule {
 public:
  virtual ~ReplaceRule() = default;
  // `head` holds the file's first bytes (at most kHeadBytes) when it is a
  // regular file that may be read, else nothing.
  virtual bool MayReplace(const FileIdentity& existing, std::string_view head) const = 0;
};

// How a report was named: literally (opened as given, whatever it is) or
// found by a wildcard (opened without blocking, so that a FIFO put in its
// place cannot stop the batch).
enum class ReportOrigin { kNamed, kFound };

// Report and page files.
class ReportFiles {
 public:
  virtual ~ReportFiles() = default;
  // Opens the report for reading; null when it cannot be opened.
  virtual std::unique_ptr<ReportSource> OpenReport(const std::string& path,
                                                   ReportOrigin origin = ReportOrigin::kNamed) = 0;
  // Creates an output; null when it cannot be created: `rule` refuses the
  // file in its place, it is a directory or read-only, may not be replaced
  // by the running user (sticky directory), or its directory takes no file.
  // A regular file is readable by group and others only as far as
  // `readers` (permission bits) lets them read. An existing file that is no
  // regular file (a device, a FIFO) is opened and written into, never
  // replaced.
  virtual std::unique_ptr<OutputFile> CreateOutput(const std::string& path, const ReplaceRule& rule,
                                                   std::uint32_t readers) = 0;
  // Whether CreateOutput would succeed now; touches nothing that exists and
  // opens no device or FIFO.
  virtual bool CanCreateOutput(const std::string& path, const ReplaceRule& rule) = 0;
  // Whether `dir` is a directory that takes new files.
  virtual bool DirectoryTakesFiles(const std::string& dir) = 0;

  // The output of one report on its own: it may not replace the report.
  std::unique_ptr<OutputFile> CreateOutput(const std::string& path, const ReportSource& report) {
    class NotTheReport : public ReplaceRule {
     public:
      explicit NotTheReport(const FileIdentity& report) : report_(report) {}
      bool MayReplace(const FileIdentity& existing, std::string_view) const override { return existing != report_; }

     private:
      FileIdentity report_;
    };
    return CreateOutput(path, NotTheReport(report.Identity()), report.Permissions());
  }
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
