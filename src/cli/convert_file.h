// The conversion of one report file into its page file, with the console line
// that says how it went.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "rptconv/rptconv.h"

namespace rptconv {

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
  virtual std::unique_ptr<ByteSource> OpenReport(const std::string& path) = 0;
  // Creates the output beside `input`; null when it cannot be created (also
  // when it would be the input itself or is read-only).
  virtual std::unique_ptr<OutputFile> CreateOutput(const std::string& path, ByteSource& input) = 0;
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
