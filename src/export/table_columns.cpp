#include "export/table_columns.h"

namespace rptconv {

namespace {

constexpr char kListSeparator = ',';
// A column the catalogue has no key for (never, while its lists are whole).
constexpr std::string_view kUnnamedColumn = "column_";

}  // namespace

void TableColumns::Begin(const Section& section) {
  section_ = &section;
  count_ = std::min<std::size_t>(static_cast<std::size_t>(section.column_count), kMaxColumns);
  std::string_view keys = section.column_keys;
  for (std::size_t column = 0; column < count_; ++column) {
    const std::size_t comma = keys.find(kListSeparator);
    const std::string_view key = keys.substr(0, comma);
    keys_[column] = key.empty() ? std::string(kUnnamedColumn) + std::to_string(column + 1) : std::string(key);
    keys.remove_prefix(comma == std::string_view::npos ? keys.size() : comma + 1);
    kinds_[column] = column < section.column_kinds.size() ? KindOfColumn(section.column_kinds[column]) : ValueKind::kText;
    const std::string_view suffix = CompanionSuffix(kinds_[column]);
    companions_[column] = suffix.empty() ? std::string() : keys_[column] + std::string(suffix);
  }
}

void TableColumns::WriteRow(JsonWriter& out, std::span<const std::string_view> cells, Language language) const {
  const std::size_t columns = std::min(cells.size(), count_);
  TypedValue typed;
  for (std::size_t column = 0; column < columns; ++column) {
    out.Key(keys_[column]).String(cells[column]);
    if (kinds_[column] != ValueKind::kText && ParseTypedValue(kinds_[column], cells[column], language, typed)) {
      out.Key(companions_[column]).Number(typed.View());
    }
  }
}

}  // namespace rptconv
