#include "cli/failure_report.h"

#include <cstdio>

namespace rptconv {

std::string IoErrorText(int code) {
  using platform::ErrorKind;
  switch (platform::KindOfError(code)) {
    case ErrorKind::kFileNotFound: return "File not found";
    case ErrorKind::kInvalidFilename: return "Invalid filename";
    case ErrorKind::kTooManyOpenFiles: return "Too many open files";
    case ErrorKind::kAccessDenied: return "File access denied";
    case ErrorKind::kOther: break;
  }
  return "I/O error " + std::to_string(code);
}

std::string FailureReport(std::string_view kind, std::string_view module, std::uint32_t location,
                          std::string_view message) {
  char hex[9];
  std::snprintf(hex, sizeof hex, "%08X", static_cast<unsigned>(location));
  std::string report;
  report.append("Exception ").append(kind).append(" in module ").append(module);
  report.append(" at ").append(hex).append(".\r\n");
  report.append(message).append(".\r\n\r\n");
  return report;
}

}  // namespace rptconv
