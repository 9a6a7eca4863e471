// The one error type of the converter: an I/O operation failed after the
// report was opened and the output created. It carries the platform's error
// number and the check site that found the failure, and is caught only at the
// top of the program, which turns it into the failure report.
#pragma once

#include <cstdint>

namespace rptconv {

// Stable numbers naming each checked operation; the failure report prints
// the site as eight upper-case hexadecimal digits. The numbers never change
// once given out: a report from any build points at the same check.
enum class IoSite : std::uint32_t {
  kReadReport = 0x00401010,    // a block read of the report, for a line or for the end test
  kReportAtEnd = 0x00401020,   // an end test that reads nothing but asks the platform
  kCloseReport = 0x00401030,   // closing the report after its last line
  kWriteOutput = 0x00402010,   // writing a block of the page
  kCloseOutput = 0x00402020,   // closing the page's temporary file
  kCommitOutput = 0x00402030,  // moving the finished page onto its name
  kWriteConsole = 0x00403010,  // a line on standard output
  kFlushConsole = 0x00403020,  // writing out console text held by the platform
};

struct IoError {
  int code;     // errno on POSIX, GetLastError() on Windows
  IoSite site;  // the check that failed
};

}  // namespace rptconv
