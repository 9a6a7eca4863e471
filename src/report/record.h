// Cutting report lines into fields. Fields are separated by commas, with no
// quoting, escaping or trimming; the sixth field takes the rest of the line.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace rptconv {

inline constexpr char kFieldSeparator = ',';
inline constexpr char kValueComma = ';';  // stands for a comma inside a value
inline constexpr std::string_view kPciDumpPage = "PCI Dump";

// One record line. The views point into the line they were cut from.
struct ReportRecord {
  std::string_view Page;
  std::string_view Group;
  std::string_view Item;
  std::string_view Field4;
  std::string_view Label;
  std::string_view Value;
};

// The text after the fifth comma: after the last comma when there are fewer,
// the whole text when there is none. Used for the title and for the cells of
// continuation lines, whose semicolons stay as they are.
std::string_view AfterFifthField(std::string_view line);

// Splits a record line in place: every ";" of the value becomes ",".
ReportRecord SplitRecord(std::span<char> line);

// Records of the "PCI Dump" page are dropped unrendered.
inline bool IsDiscarded(const ReportRecord& record) { return record.Page == kPciDumpPage; }

}  // namespace rptconv
