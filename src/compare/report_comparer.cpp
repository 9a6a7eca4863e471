#include "compare/report_comparer.h"

#include <algorithm>
#include <utility>

#include "compare/key_text.h"

namespace rptconv {

namespace {

// Section identities: a catalogued table by its key (a page table and a
// group table apart), a page of properties by its title as keys are compared.
constexpr char kPageTableId = 'T';
constexpr char kGroupTableId = 'G';
constexpr char kPropertiesId = 'P';

constexpr std::uint64_t kFnvOffset = 0xCBF29CE484222325ULL;
constexpr std::uint64_t kFnvPrime = 0x100000001B3ULL;

// The key hash table's first size, a power of two.
constexpr std::size_t kFirstSlots = 1024;
// How many old rows after the one matched last a new row is compared with
// before it is looked up by key: a run of rows removed up to this long
// keeps the rows after it in step.
constexpr std::size_t kNearRows = 8;
// How many new rows may wait for the old rows' index before it is built
// while the new report is read (so that reports whose rows come in another
// order do not keep the new report's rows too).
constexpr std::size_t kMostPendingUnindexed = 4096;

// FNV-1a leaves the low bits, which pick a slot, weakly mixed.
std::size_t Spread(std::uint64_t hash) {
  hash ^= hash >> 33;
  hash *= 0xFF51AFD7ED558CCDULL;
  hash ^= hash >> 33;
  return static_cast<std::size_t>(hash);
}

}  // namespace

ReportComparer::ReportComparer(int codepage, bool all_columns) : codepage_(codepage) {
  comparison_.all_columns = all_columns;
}

void ReportComparer::BeginReport(Side side, std::string_view title, Language language) {
  comparison_.report_title[side].assign(title);
  comparison_.language[side] = language;
  comparison_.codepage[side] = codepage_ != 0 ? codepage_ : CodepageOf(language);
}

std::size_t ReportComparer::SectionOf(Side side, std::string id, const Section* table, bool group_table,
                                      std::string_view page) {
  const auto [found, added] = section_ids_.try_emplace(std::move(id), comparison_.sections.size());
  if (added) {
    ComparedSection& section = comparison_.sections.emplace_back();
    section.table = table;
    section.group_table = group_table;
    if (table == nullptr) {
      section.roles = kPropertyRoles;
    } else {
      // A group table's rows begin with their item, which tells them apart.
      if (group_table) section.roles.push_back(kKeyColumn);
      section.roles.append(table->column_roles);
    }
  }
  ComparedSection& section = comparison_.sections[found->second];
  if (!section.present[side]) {
    section.present[side] = true;
    section.title[side].assign(page);
  }
  return found->second;
}

std::size_t ReportComparer::TableSection(Side side, const Section& table, bool group_table, std::string_view page) {
  std::string id(1, group_table ? kGroupTableId : kPageTableId);
  id.append(table.key);
  return SectionOf(side, std::move(id), &table, group_table, page);
}

std::size_t ReportComparer::PropertySection(Side side, std::string_view page) {
  std::string id(1, kPropertiesId);
  AppendFoldedKey(id, page);
  return SectionOf(side, std::move(id), nullptr, false, page);
}

std::uint64_t ReportComparer::KeyHash(std::size_t section, std::span<const std::string_view> cells) const {
  const std::string_view roles = comparison_.sections[section].roles;
  std::uint64_t hash = (kFnvOffset ^ section) * kFnvPrime;
  for (std::size_t column = 0; column < cells.size() && column < roles.size(); ++column) {
    if (roles[column] == kKeyColumn) hash = HashFoldedKey(hash, cells[column]);
  }
  return hash;
}

std::span<const std::string_view> ReportComparer::OldCells(const OldRow& row, RowCells& out) const {
  const std::span<std::string_view> cells(out.data(), row.cell_count);
  RowArena::Cells(row.cells, cells);
  return cells;
}

std::vector<std::string> ReportComparer::OldCellCopies(const OldRow& row) const {
  RowCells cells;
  const std::span<const std::string_view> old = OldCells(row, cells);
  return {old.begin(), old.end()};
}

bool ReportComparer::Agrees(const OldRow& row, std::size_t section, std::span<const std::string_view> cells,
                            bool equal) const {
  if (row.matched || row.section != section || row.cell_count != cells.size()) return false;
  const std::string_view roles = comparison_.sections[section].roles;
  RowCells cells_of_row;
  const std::span<const std::string_view> old = OldCells(row, cells_of_row);
  for (std::size_t column = 0; column < cells.size(); ++column) {
    if (column < roles.size() && roles[column] == kKeyColumn) {
      if (!SameKey(old[column], cells[column])) return false;
    } else if (equal && IsComparedColumn(roles, column, comparison_.all_columns) && old[column] != cells[column]) {
      return false;
    }
  }
  return true;
}

void ReportComparer::Row(Side side, std::size_t section, std::span<const std::string_view> cells) {
  ++comparison_.sections[section].rows[side];
  if (side == kOldSide) {
    KeepOld(section, cells);
  } else {
    MatchNew(section, cells);
  }
}

ReportComparer::KeySlot* ReportComparer::FindSlot(std::uint64_t key_hash) {
  if (slots_.empty()) return nullptr;
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t i = Spread(key_hash) & mask;; i = (i + 1) & mask) {
    if (slots_[i].first == kNoRow) return nullptr;
    if (slots_[i].key_hash == key_hash) return &slots_[i];
  }
}

ReportComparer::KeySlot& ReportComparer::AddSlot(std::uint64_t key_hash) {
  if (KeySlot* slot = FindSlot(key_hash)) return *slot;
  if (2 * (used_slots_ + 1) > slots_.size()) {
    std::vector<KeySlot> old = std::move(slots_);
    slots_.assign(std::max(kFirstSlots, 2 * old.size()), KeySlot{});
    used_slots_ = 0;
    for (const KeySlot& slot : old) {
      if (slot.first != kNoRow) AddSlot(slot.key_hash) = slot;
    }
  }
  const std::size_t mask = slots_.size() - 1;
  std::size_t i = Spread(key_hash) & mask;
  while (slots_[i].first != kNoRow) i = (i + 1) & mask;
  ++used_slots_;
  slots_[i].key_hash = key_hash;
  return slots_[i];
}

void ReportComparer::KeepOld(std::size_t section, std::span<const std::string_view> cells) {
  old_rows_.push_back({.cells = arena_.Keep(cells),
                       .section = static_cast<std::uint32_t>(section),
                       .cell_count = static_cast<std::uint32_t>(cells.size())});
}

void ReportComparer::BuildIndex() {
  indexed_ = true;
  RowCells old_cells;
  // Walked in order: the deque's iterator, not an index divided per row.
  std::uint32_t index = 0;
  for (auto row_at = old_rows_.begin(); row_at != old_rows_.end(); ++row_at, ++index) {
    const OldRow& row = *row_at;
    if (row.matched) continue;
    KeySlot& slot = AddSlot(KeyHash(row.section, OldCells(row, old_cells)));
    if (slot.first == kNoRow) {
      slot.first = slot.next = index;
    } else {
      old_rows_[slot.last].next_same = index;
    }
    slot.last = index;
  }
  // Rows that wait for an equal old row take it now; those left are changed
  // or added, and stay until the end.
  std::erase_if(pending_, [this](const Pending& pending) {
    const std::vector<std::string_view> cells(pending.cells.begin(), pending.cells.end());
    const std::uint32_t equal = FindEqual(pending.section, pending.key_hash, cells);
    if (equal == kNoRow) return false;
    old_rows_[equal].matched = true;
    return true;
  });
}

std::uint32_t ReportComparer::FirstUnmatched(KeySlot& slot, std::size_t section,
                                             std::span<const std::string_view> cells) {
  while (slot.next != kNoRow && old_rows_[slot.next].matched) slot.next = old_rows_[slot.next].next_same;
  for (std::uint32_t i = slot.next; i != kNoRow; i = old_rows_[i].next_same) {
    if (Agrees(old_rows_[i], section, cells, false)) return i;
  }
  return kNoRow;
}

std::uint32_t ReportComparer::FindEqual(std::size_t section, std::uint64_t key_hash,
                                        std::span<const std::string_view> cells) {
  KeySlot* slot = FindSlot(key_hash);
  if (slot == nullptr) return kNoRow;
  FirstUnmatched(*slot, section, cells);
  for (std::uint32_t i = slot->next; i != kNoRow; i = old_rows_[i].next_same) {
    if (Agrees(old_rows_[i], section, cells, true)) return i;
  }
  return kNoRow;
}

void ReportComparer::Take(std::uint32_t index) {
  old_rows_[index].matched = true;
  expected_ = index + std::size_t{1};
}

void ReportComparer::MatchNew(std::size_t section, std::span<const std::string_view> cells) {
  // The old row after the one matched last, or one of the few after it
  // (rows removed in between), is tried first, without a look-up.
  const std::size_t window_end = std::min(old_rows_.size(), expected_ + kNearRows);
  for (std::size_t index = expected_; index < window_end; ++index) {
    if (Agrees(old_rows_[index], section, cells, true)) return Take(static_cast<std::uint32_t>(index));
  }
  const std::uint64_t key_hash = KeyHash(section, cells);
  if (indexed_) {
    const std::uint32_t index = FindEqual(section, key_hash, cells);
    if (index != kNoRow) return Take(index);
  }
  pending_.push_back({static_cast<std::uint32_t>(section), key_hash, std::vector<std::string>(cells.begin(), cells.end())});
  if (!indexed_ && pending_.size() > kMostPendingUnindexed) BuildIndex();
}

void ReportComparer::AddChange(std::size_t section, RowChange change) {
  ComparedSection& compared = comparison_.sections[section];
  ++compared.counts[static_cast<std::size_t>(change.kind)];
  compared.changes.push_back(std::move(change));
}

// A new row that no old row equalled takes the first old row of its key
// still unmatched, in the old report's order: it changed; without one it was
// added. Old rows left unmatched were removed.
void ReportComparer::Resolve() {
  if (!indexed_) BuildIndex();
  for (Pending& pending : pending_) {
    const std::vector<std::string_view> cells(pending.cells.begin(), pending.cells.end());
    KeySlot* slot = FindSlot(pending.key_hash);
    const std::uint32_t index = slot == nullptr ? kNoRow : FirstUnmatched(*slot, pending.section, cells);
    if (index != kNoRow) {
      old_rows_[index].matched = true;
      AddChange(pending.section, {ChangeKind::kChanged, OldCellCopies(old_rows_[index]), std::move(pending.cells)});
    } else {
      AddChange(pending.section, {ChangeKind::kAdded, {}, std::move(pending.cells)});
    }
  }
  pending_.clear();
  for (const OldRow& row : old_rows_) {
    if (!row.matched) AddChange(row.section, {ChangeKind::kRemoved, OldCellCopies(row), {}});
  }
}

void ReportComparer::EndReport(Side side) {
  if (side == kNewSide) Resolve();
}

}  // namespace rptconv
