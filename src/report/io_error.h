// The one error type of the converter: an I/O operation failed after the
// report was opened and the output created. It carries the platform's error
// number and the check site that found the failure, and is caught only at the
// top of the program, which turns it into the failure report.
#pragma once

#include <cstdint>

namespace rptconv {

// Stable numbers naming each checked operation; the failure report prints
// the site as eight upper-case hexadecimal digits.
enum class IoSite : std::uint32_t {
  kReadReport = 0x00401010,
  kReportAtEnd = 0x00401020,
  kCloseReport = 0x00401030,
  kWriteOutput = 0x00402010,
  kCloseOutput = 0x00402020,
  kCommitOutput = 0x00402030,
  kWriteConsole = 0x00403010,
  kFlushConsole = 0x00403020,
};

struct IoError {
  int code;     // errno on POSIX, GetLastError() on Windows
  IoSite site;  // the check that failed
};

}  // namespace rptconv
