// The columns of a catalogued table as data shows them: each column's key,
// kind and typed companion, taken from the catalogue once per table, and a
// row written as the members of an object, straight into the writer's
// buffer: a row is the hot path of a conversion to data.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <string_view>

#include "export/json_writer.h"
#include "export/typed_values.h"
#include "report/sections.h"
#include "walk/page_events.h"

namespace rptconv {

class TableColumns {
 public:
  // Takes the keys and kinds of `section`'s columns.
  void Begin(const Section& section);
  const Section* section() const { return section_; }
  std::size_t count() const { return count_; }
  std::string_view key(std::size_t column) const { return keys_[column]; }
  ValueKind kind(std::size_t column) const { return kinds_[column]; }

  // The most bytes WriteMembers may write for `cells`, past-the-end copies
  // included.
  std::size_t RoomFor(std::span<const std::string_view> cells) const {
    std::size_t text = 0;
    for (const std::string_view cell : cells) text += cell.size();
    return fixed_room_ + text * kJsonWorstBytes;
  }
  // Writes the row's members at `out`, each after a comma: each cell (a
  // text as PageEvents hands it out) under its column's key, then its typed
  // companion where the cell parses exactly. Gives the end.
  [[gnu::always_inline]] char* WriteMembers(char* out, std::span<const std::string_view> cells,
                                            const JsonCodepageTable& table, Language language) const;
  // The same members through the writer, for a row longer than its buffer.
  void WriteMembers(JsonWriter& out, std::span<const std::string_view> cells, Language language) const;

 private:
  // A member's name as JSON, with the comma before it and the colon after
  // (and, for a cell's text, the quote that opens it): stored in a fixed
  // room so that it is copied with one move.
  static constexpr std::size_t kNameStore = 32;
  struct MemberName {
    std::array<char, kNameStore> bytes{};
    std::size_t size = 0;
    void Set(std::string_view key, std::string_view after);
    template <bool kLongNames>
    char* Put(char* out) const {
      std::memcpy(out, bytes.data(), kNameStore);
      if (kLongNames && size > kNameStore) std::memcpy(out, long_bytes.data(), size);
      return out + size;
    }
    std::string long_bytes;  // the whole name, also when longer than the store
  };

  template <bool kLongNames>
  char* Write(char* out, std::span<const std::string_view> cells, const JsonCodepageTable& table,
              Language language) const;

  const Section* section_ = nullptr;
  bool long_names_ = false;  // a name does not fit its store (none of the catalogue's)
  std::uint32_t typed_ = 0;  // bit i: column i has a typed companion
  std::size_t count_ = 0;
  std::size_t fixed_room_ = 0;  // the room of a row but for its cells' texts
  std::array<std::string, kMaxColumns> keys_;
  std::array<std::string, kMaxColumns> companion_keys_;
  std::array<MemberName, kMaxColumns> names_;
  std::array<MemberName, kMaxColumns> companions_;  // unused for text columns
  std::array<ValueKind, kMaxColumns> kinds_{};
};

inline char* TableColumns::WriteMembers(char* out, std::span<const std::string_view> cells, const JsonCodepageTable& table,
                                 Language language) const {
  return long_names_ ? Write<true>(out, cells, table, language) : Write<false>(out, cells, table, language);
}

template <bool kLongNames>
[[gnu::always_inline]] inline char* TableColumns::Write(char* out, std::span<const std::string_view> cells, const JsonCodepageTable& table,
                          Language language) const {
  const std::size_t columns = std::min(cells.size(), count_);
  TypedValue typed;
  for (std::size_t column = 0; column < columns; ++column) {
    const std::string_view cell = cells[column];
    out = names_[column].Put<kLongNames>(out);
    out = EscapeText(out, cell, table);
    *out++ = '"';
    // Every typed value begins with a digit.
    if ((typed_ >> column & 1) != 0 && !cell.empty() && cell.front() >= '0' && cell.front() <= '9' &&
        ParseTypedReportValue(kinds_[column], cell, language, typed)) {
      out = companions_[column].Put<kLongNames>(out);
      std::memcpy(out, typed.text, TypedValue::kRoom);
      out += typed.size;
    }
  }
  return out;
}

}  // namespace rptconv
