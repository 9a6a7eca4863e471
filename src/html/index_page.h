// The overview of a batch: one row per report converted or failed, with a
// link to its page, its title and the properties of its first group; then
// what runs across the reports (software, computers that need attention).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "fleet/background_fleet.h"
#include "html/index_reports.h"
#include "rptconv/rptconv.h"

namespace rptconv {

class LineWriter;

class FleetIndex {
 public:
  // How the names of reports are written: as UTF-8 already (POSIX), or in
  // the code page of each report's text (Windows' ANSI code page).
  enum class NameBytes { kUtf8, kReportCodepage };
  explicit FleetIndex(NameBytes names, AttentionRules rules = {}) : names_(names), fleet_(rules) {}

  // A report whose page was written; `page_href` is the page's address
  // relative to the index, empty when the page has no file (standard output).
  void AddConverted(std::string_view report_name, std::string page_href, const ReportSummary& summary);
  // Makes room for the rows of `reports` reports at once, so that a batch
  // does not copy them as they grow.
  void Expect(std::size_t reports) { rows_.reserve(reports); }
  // A report that failed, with the console line that said so.
  void AddFailed(std::string_view report_name, std::string_view failure_line);
  // Where each report's programs go as it is read: set it as the summary's
  // program sink.
  ProgramSink& program_sink() { return fleet_.program_sink(); }

  // Writes the whole index page to `sink`.
  // Waits for the fleet's thread; throws what it failed with.
  void Write(ByteSink& sink);

 private:
  // The texts of a row lie in the store as the report's bytes (a name as
  // the platform gives it), cut where they are long, and are converted and
  // escaped only as the page is written: an index of many reports holds a
  // few bytes per cell.
  // Keeps a copy of `text`, cut to `most` bytes and then marked "…" in its
  // own encoding (UTF-8, or a Windows code page, where it is byte 0x85).
  std::string_view Keep(std::string_view text, std::size_t most, bool utf8);
  std::string_view KeepName(std::string_view name);
  // Makes room for `size` more bytes in the store's last block.
  void MakeStoreRoom(std::size_t size);
  std::size_t LanguageOf(std::string_view tag);
  // The column of the label `raw_label` (report bytes in `codepage`), the
  // `place`th of its report, among the labels of `language`, adding it when
  // there is room; kMostIndexLabels when there is none.
  std::size_t ColumnOf(std::size_t language, int codepage, std::size_t place, std::string_view raw_label);

  NameBytes names_;
  std::vector<IndexLanguage> languages_;
  // Per language, the labels of the report added last as its bytes, by
  // their place in it, with their columns: the reports of a fleet mostly
  // list the same labels in the same order, and a label found here is not
  // converted and looked up again.
  struct LastLabels {
    int codepage = 0;
    std::vector<std::pair<std::string, std::size_t>> columns;
  };
  std::vector<LastLabels> last_labels_;
  std::vector<IndexRow> rows_;
  std::vector<std::string> store_;  // blocks that never move once made
  std::size_t failed_ = 0;
  BackgroundFleet fleet_;  // what runs across the converted reports
};

}  // namespace rptconv
