// Turns the flat list of record lines into nested HTML: a heading and a body
// table per page, heading rows for groups and items, and a row per record.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "html/line_writer.h"
#include "report/line_reader.h"
#include "report/record.h"
#include "report/utypes.h"

namespace rptconv {

// The heading of the first page of every report, written instead of its title.
inline constexpr std::string_view BannerText = "QUORVIX System Information Report";
inline constexpr std::string_view kEnglishFirstPage = "Report";

// The state of one conversion; every report starts from these values.
struct ConverterState {
  std::string LastPage;
  std::string LastGroup;
  std::string LastItem;
  int PageColumns = 0;
  int GroupColumns = 0;
  std::string_view ColumnAlign = "          ";
  bool SkipEnglishTitles = false;
};

class PageRenderer {
 public:
  PageRenderer(LineWriter& out, ReportReader& reader) : out_(out), reader_(reader) {}

  // Renders one record line (never a discarded one). A table row reads its
  // continuation lines from the reader itself.
  void RenderRecord(const ReportRecord& record);

 private:
  void StartPage(std::string_view page);
  void StartGroup(std::string_view page, std::string_view group);
  void StartItem(std::string_view item);
  void WritePropertyRow(const ReportRecord& record);
  void SpacerRow();

  LineWriter& out_;
  ReportReader& reader_;
  ConverterState state_;
  // The last group-level lookup: its page title, language flag and result.
  bool group_lookup_done_ = false;
  std::string group_lookup_page_;
  bool group_lookup_skip_ = false;
  std::optional<SectionMatch> group_lookup_;
};

}  // namespace rptconv
