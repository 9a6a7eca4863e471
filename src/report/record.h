// Cutting report lines into fields. Fields are separated by commas, with no
// quoting, escaping or trimming; the sixth field takes the rest of the line.
#pragma once

#include <span>
#include <string_view>

#include "report/report_bytes.h"

namespace rptconv {

inline constexpr std::string_view kPciDumpPage = "PCI Dump";

// One record line: page, group and item titles, then (after a fourth field
// that nothing reads) the property's label and value. The views point into
// the line they were cut from.
struct ReportRecord {
  std::string_view page;
  std::string_view group;
  std::string_view item;
  std::string_view label;
  std::string_view value;
};

// The text after the fifth comma: after the last comma when there are fewer,
// the whole text when there is none. Used for the title and for the cells of
// continuation lines, whose semicolons stay as they are.
std::string_view AfterFifthField(std::string_view line);

// Splits a record line in place: every ";" of the value becomes ",".
ReportRecord SplitRecord(std::span<char> line);

// Records of the "PCI Dump" page are dropped unrendered.
inline bool IsDiscarded(const ReportRecord& record) { return record.page == kPciDumpPage; }

}  // namespace rptconv
