// The text of an I/O failure: its error number and the check that found it.
#include <cstdio>
#include <string>

#include "rptconv/rptconv.h"

namespace rptconv {

namespace {

std::string_view SiteText(IoSite site) {
  switch (site) {
    case IoSite::kReadReport: return "reading the report";
    case IoSite::kCloseReport: return "closing the report";
    case IoSite::kWriteOutput: return "writing a block of the page";
    case IoSite::kCloseOutput: return "closing the page";
    case IoSite::kCommitOutput: return "moving the page onto its name";
    case IoSite::kSyncOutput: return "flushing the page to disk";
    case IoSite::kSyncDirectory: return "flushing the page's directory";
    case IoSite::kWriteConsole: return "writing a console line";
  }
  return "in an I/O operation";
}

std::string Describe(int code, IoSite site) {
  char number[sizeof "00000000"];
  std::snprintf(number, sizeof number, "%08X", static_cast<unsigned>(site));
  std::string text = "I/O error " + std::to_string(code) + " ";
  text.append(SiteText(site));
  return text + " (site " + number + ")";
}

}  // namespace

IoError::IoError(int error_code, IoSite error_site)
    : std::runtime_error(Describe(error_code, error_site)), code(error_code), site(error_site) {}

}  // namespace rptconv
