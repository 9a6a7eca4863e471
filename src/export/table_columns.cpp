#include "export/table_columns.h"

#include <algorithm>

namespace rptconv {

namespace {

constexpr char kListSeparator = ',';
// A column the catalogue has no key for (never, while its lists are whole).
constexpr std::string_view kUnnamedColumn = "column_";

}  // namespace

void TableColumns::MemberName::Set(std::string_view key, std::string_view after) {
  long_bytes = ",\"" + std::string(key) + "\":" + std::string(after);
  size = long_bytes.size();
  std::copy_n(long_bytes.begin(), std::min(size, kNameStore), bytes.begin());
}

void TableColumns::Begin(const Section& section) {
  // Tables of one section often follow each other (a page's groups): the
  // names made for the last one serve again.
  if (section_ == &section) return;
  section_ = &section;
  count_ = std::min<std::size_t>(static_cast<std::size_t>(section.column_count), kMaxColumns);
  fixed_room_ = kJsonSlack;
  long_names_ = false;
  typed_ = 0;
  std::string_view keys = section.column_keys;
  for (std::size_t column = 0; column < count_; ++column) {
    const std::size_t comma = keys.find(kListSeparator);
    const std::string_view key = keys.substr(0, comma);
    keys_[column] = key.empty() ? std::string(kUnnamedColumn) + std::to_string(column + 1) : std::string(key);
    keys.remove_prefix(comma == std::string_view::npos ? keys.size() : comma + 1);
    kinds_[column] = column < section.column_kinds.size() ? KindOfColumn(section.column_kinds[column]) : ValueKind::kText;
    names_[column].Set(keys_[column], "\"");
    fixed_room_ += std::max(names_[column].size, kNameStore) + 2;
    const std::string_view suffix = CompanionSuffix(kinds_[column]);
    companion_keys_[column] = keys_[column] + std::string(suffix);
    long_names_ = long_names_ || names_[column].size > kNameStore;
    if (!suffix.empty()) {
      companions_[column].Set(companion_keys_[column], {});
      fixed_room_ += std::max(companions_[column].size, kNameStore) + TypedValue::kRoom;
      long_names_ = long_names_ || companions_[column].size > kNameStore;
      typed_ |= std::uint32_t{1} << column;
    }
  }
}

void TableColumns::WriteMembers(JsonWriter& out, std::span<const std::string_view> cells, Language language) const {
  TypedValue typed;
  for (std::size_t column = 0; column < std::min(cells.size(), count_); ++column) {
    out.Key(keys_[column]).Text(cells[column]);
    if (kinds_[column] != ValueKind::kText && ParseTypedValue(kinds_[column], cells[column], language, typed)) {
      out.Key(companion_keys_[column]).Number(typed.View());
    }
  }
}

}  // namespace rptconv
