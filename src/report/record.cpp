#include "report/record.h"

#include <algorithm>

namespace rptconv {

namespace {

// Takes the first field of `rest` (empty when `rest` holds no comma) and
// deletes it with its comma (nothing when there is no comma).
inline std::string_view TakeField(std::string_view& rest) {
  const std::size_t comma = rest.find(kFieldSeparator);
  // An empty field still points into the line, which may be read past it.
  if (comma == std::string_view::npos) return rest.substr(0, 0);
  std::string_view field = rest.substr(0, comma);
  rest.remove_prefix(comma + 1);
  return field;
}

}  // namespace

std::string_view AfterFifthField(std::string_view line) {
  for (int i = 0; i < 5; ++i) TakeField(line);
  return line;
}

ReportRecord SplitRecord(std::span<char> line) {
  std::string_view rest(line.data(), line.size());
  ReportRecord record;
  record.page = TakeField(rest);
  record.group = TakeField(rest);
  record.item = TakeField(rest);
  TakeField(rest);
  record.label = TakeField(rest);
  const std::size_t value_start = line.size() - rest.size();
  const std::span<char> value = line.subspan(value_start);
  std::replace(value.begin(), value.end(), kValueComma, kFieldSeparator);
  record.value = std::string_view(value.data(), value.size());
  return record;
}

}  // namespace rptconv
