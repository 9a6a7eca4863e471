// The conversion of one report file into its page file, with the console line
// that says how it went.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "rptconv/rptconv.h"

namespace rptconv {

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
  // The report's read, write and execute bits for its owner, group and
  // others (0777 where the platform has none): its page is made readable by
  // no class that cannot read the report.
  virtual std::uint32_t Permissions() const = 0;
};

// The output file of one conversion. It becomes the page of the output's name
// only on Commit; destroyed before that, it leaves no trace.
class OutputFile : public ByteSink {
 public:
  // Closes the file and moves it onto the output's name; failures throw IoError.
  virtual void Commit() = 0;
};

// What a conversion needs of the platform.
class ReportFiles {
 public:
  virtual ~ReportFiles() = default;
  // Opens the report for reading; null when it cannot be opened.
  virtual std::unique_ptr<ReportSource> OpenReport(const std::string& path) = 0;
  // Creates the output of `report`; null when it cannot be created (also
  // when it would be the report itself, is read-only, or may not be
  // replaced by the running user).
  virtual std::unique_ptr<OutputFile> CreateOutput(const std::string& path, const ReportSource& report) = 0;
  // Writes one console line (CR LF added); failures throw IoError.
  virtual void ConsoleLine(std::string_view line) = 0;
};

enum class ConvertResult { kConverted, kOpenFailed, kCreateFailed };

// Converts the report at `input_path` into the page at `output_path`, writing
// the progress line or the line of the failure that stopped it. Any I/O
// failure after both files are open throws IoError; the output then stays
// as it was before.
ConvertResult ConvertReport(ReportFiles& files, const std::string& input_path,
                            const std::string& output_path);

}  // namespace rptconv
