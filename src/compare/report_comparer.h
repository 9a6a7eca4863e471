// Matches the rows of two reports by key. The old report is walked first
// and its rows are kept, raw; then each row of the new report is matched as
// the walk tells it, and only rows that differ are kept. Memory grows with
// the old report's rows and with the changes, not with the new report.
//
// Mostly both reports hold the same rows in the same order: a new row is
// first compared with the few old rows after the one matched last, without
// hashing anything. Only when that fails for many rows are the old rows
// indexed by key; else the index is built at the end over the few old rows
// left unmatched.
//
// Rows are matched within their section by their key columns, compared
// without regard to case and surrounding blanks. Of several old rows with
// the same key, a new row takes one that is equal to it first, else, once
// the new report is read, the first left in the old report's order; a
// matched row whose compared columns differ is changed.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "compare/changes.h"
#include "compare/row_arena.h"
#include "compare/row_events.h"
#include "report/sections.h"
#include "walk/page_events.h"

namespace rptconv {

class ReportComparer {
 public:
  // `codepage`: the Windows code page of both reports' text, 0 for each
  // report's language's. `all_columns`: volatile columns count as changes.
  ReportComparer(int codepage, bool all_columns);
  ReportComparer(const ReportComparer&) = delete;
  ReportComparer& operator=(const ReportComparer&) = delete;

  // Walk the old report into the first, then the new one into the second.
  RowEvents& OldReport() { return old_events_; }
  RowEvents& NewReport() { return new_events_; }

  // Complete once the new report's walk has ended.
  const Comparison& Result() const { return comparison_; }

  // For RowEvents.
  void BeginReport(Side side, std::string_view title, Language language);
  std::size_t TableSection(Side side, const Section& table, bool group_table, std::string_view page);
  std::size_t PropertySection(Side side, std::string_view page);
  void ComputerName(Side side, std::string_view name) {
    if (!comparison_.computer[side]) comparison_.computer[side].emplace(name);
  }
  bool IsGroupTable(std::size_t section) const { return comparison_.sections[section].group_table; }
  void Row(Side side, std::size_t section, std::span<const std::string_view> cells);
  void EndReport(Side side);

 private:
  static constexpr std::uint32_t kNoRow = ~std::uint32_t{0};

  struct OldRow {
    const char* cells;  // in arena_
    std::uint32_t section;
    std::uint32_t cell_count;
    std::uint32_t next_same = kNoRow;  // the next old row of the same key hash, or kNoRow
    bool matched = false;
  };
  // The old rows of one key hash, chained through OldRow::next_same in the
  // report's order; those before `next` are all matched. A free slot has no
  // `first`.
  struct KeySlot {
    std::uint64_t key_hash = 0;
    std::uint32_t first = kNoRow;
    std::uint32_t last = kNoRow;
    std::uint32_t next = kNoRow;
  };
  // A new row that no old row near the last match equals: matched by key
  // once the old rows are indexed.
  struct Pending {
    std::uint32_t section;
    std::uint64_t key_hash;
    std::vector<std::string> cells;
  };
  using RowCells = std::array<std::string_view, kMaxColumns + 1>;

  std::size_t SectionOf(Side side, std::string id, const Section* table, bool group_table, std::string_view page);
  std::uint64_t KeyHash(std::size_t section, std::span<const std::string_view> cells) const;
  // The cells of an old row, in `out`.
  std::span<const std::string_view> OldCells(const OldRow& row, RowCells& out) const;
  std::vector<std::string> OldCellCopies(const OldRow& row) const;
  // Whether `row` is unmatched, of `section` and has `cells`' key (compared
  // without regard to case and blanks); with `equal`, its compared cells are
  // `cells`' too.
  bool Agrees(const OldRow& row, std::size_t section, std::span<const std::string_view> cells, bool equal) const;
  void KeepOld(std::size_t section, std::span<const std::string_view> cells);
  void MatchNew(std::size_t section, std::span<const std::string_view> cells);
  // Marks old row `index` matched; the next new row is tried first against
  // the old row after it.
  void Take(std::uint32_t index);
  // Indexes the unmatched old rows by key hash, then matches the rows
  // pending to equal old rows.
  void BuildIndex();
  // The unmatched old row equal to `cells`, or kNoRow.
  std::uint32_t FindEqual(std::size_t section, std::uint64_t key_hash, std::span<const std::string_view> cells);
  // The slot of `key_hash`, or null; AddSlot makes it when there is none.
  KeySlot* FindSlot(std::uint64_t key_hash);
  KeySlot& AddSlot(std::uint64_t key_hash);
  // The first old row of the slot not matched yet whose key cells are
  // `cells`', or kNoRow.
  std::uint32_t FirstUnmatched(KeySlot& slot, std::size_t section, std::span<const std::string_view> cells);
  void Resolve();
  void AddChange(std::size_t section, RowChange change);

  int codepage_;
  Comparison comparison_;
  RowEvents old_events_{*this, kOldSide};
  RowEvents new_events_{*this, kNewSide};
  std::unordered_map<std::string, std::size_t> section_ids_;

  // The old report's rows; a deque, so that growing copies nothing.
  RowArena arena_;
  std::deque<OldRow> old_rows_;
  // Open addressing by key hash; at most half full.
  std::vector<KeySlot> slots_;
  std::size_t used_slots_ = 0;
  bool indexed_ = false;
  std::vector<Pending> pending_;
  std::size_t expected_ = 0;  // the old row after the one matched last
};

}  // namespace rptconv
