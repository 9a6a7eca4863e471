// The overview of a batch as a JSON document: for every report converted its
// file, its output, its title, code page and summary properties; for every
// report that failed its file and the console line that said so; then what
// runs across the converted reports (software, computers that need
// attention), as the index page shows it.
// doc/schema/index.schema.json describes it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fleet/background_fleet.h"
#include "rptconv/rptconv.h"

namespace rptconv {

inline constexpr std::string_view kIndexFormat = "rptconv-index";
inline constexpr int kIndexFormatVersion = 1;

class JsonIndex {
 public:
  // Names of reports are UTF-8 (POSIX), or in each report's code page
  // (Windows' ANSI names) when `names_utf8` is false.
  explicit JsonIndex(bool names_utf8, AttentionRules rules = {}) : names_utf8_(names_utf8), fleet_(rules) {}

  // `output` is the output's path relative to the index; empty when it has
  // no file (standard output).
  void AddConverted(std::string_view report_name, std::string output, const ReportSummary& summary);
  void AddFailed(std::string_view report_name, std::string_view failure_line);
  // Where each report's programs go as it is read: set it as the summary's
  // program sink.
  ProgramSink& program_sink() { return fleet_.program_sink(); }

  // Waits for the fleet's thread; throws what it failed with.
  void Write(ByteSink& sink);

 private:
  struct Entry {
    std::string report_name;  // as given
    std::string output;
    bool failed = false;
    std::string failure_line;
    ReportSummary summary;
  };
  bool names_utf8_;
  std::vector<Entry> entries_;
  BackgroundFleet fleet_;
  std::vector<std::uint32_t> computer_reports_;  // per computer of the fleet, its entry
};

}  // namespace rptconv
