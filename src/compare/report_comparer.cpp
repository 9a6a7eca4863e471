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

std::uint64_t HashBytes(std::uint64_t hash, std::string_view bytes) {
  for (const char c : bytes) hash = (hash ^ static_cast<unsigned char>(c)) * kFnvPrime;
  return hash;
}

// A size written into a key, so that no two different keys are the same bytes.
void AppendSize(std::string& out, std::size_t size) {
  const auto value = static_cast<std::uint32_t>(size);
  out.append(reinterpret_cast<const char*>(&value), sizeof value);
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

void ReportComparer::MakeKey(std::size_t section, std::span<const std::string_view> cells) {
  const std::string_view roles = comparison_.sections[section].roles;
  key_.clear();
  AppendSize(key_, section);
  for (std::size_t column = 0; column < cells.size() && column < roles.size(); ++column) {
    if (roles[column] != kKeyColumn) continue;
    const std::size_t at = key_.size();
    AppendSize(key_, 0);
    AppendFoldedKey(key_, cells[column]);
    const auto size = static_cast<std::uint32_t>(key_.size() - at - sizeof(std::uint32_t));
    key_.replace(at, sizeof size, reinterpret_cast<const char*>(&size), sizeof size);
  }
}

std::uint64_t ReportComparer::HashCompared(std::string_view roles, std::span<const std::string_view> cells) const {
  std::uint64_t hash = kFnvOffset;
  for (std::size_t column = 0; column < cells.size(); ++column) {
    if (!IsComparedColumn(roles, column, comparison_.all_columns)) continue;
    hash = HashBytes(hash, cells[column]);
    hash = (hash ^ cells[column].size()) * kFnvPrime;
  }
  return hash;
}

std::string_view ReportComparer::OldCell(const OldRow& row, std::size_t column) const {
  const std::size_t index = row.first_cell + column;
  const std::size_t start = index == 0 ? 0 : cell_ends_[index - 1];
  return std::string_view(text_).substr(start, cell_ends_[index] - start);
}

std::vector<std::string> ReportComparer::OldCells(const OldRow& row) const {
  std::vector<std::string> cells;
  cells.reserve(row.cell_count);
  for (std::size_t column = 0; column < row.cell_count; ++column) cells.emplace_back(OldCell(row, column));
  return cells;
}

bool ReportComparer::EqualsCompared(const OldRow& row, std::string_view roles,
                                    std::span<const std::string_view> cells) const {
  if (row.cell_count != cells.size()) return false;
  for (std::size_t column = 0; column < cells.size(); ++column) {
    if (IsComparedColumn(roles, column, comparison_.all_columns) && OldCell(row, column) != cells[column]) {
      return false;
    }
  }
  return true;
}

void ReportComparer::Row(Side side, std::size_t section, std::span<const std::string_view> cells) {
  ++comparison_.sections[section].rows[side];
  MakeKey(section, cells);
  if (side == kOldSide) {
    KeepOld(section, cells);
  } else {
    MatchNew(section, cells);
  }
}

void ReportComparer::KeepOld(std::size_t section, std::span<const std::string_view> cells) {
  const auto index = static_cast<std::uint32_t>(old_rows_.size());
  old_rows_.push_back({static_cast<std::uint32_t>(section), static_cast<std::uint32_t>(cells.size()),
                       cell_ends_.size(), HashCompared(comparison_.sections[section].roles, cells), false});
  for (const std::string_view cell : cells) {
    text_.append(cell);
    cell_ends_.push_back(text_.size());
  }
  keys_[key_].rows.push_back(index);
}

ReportComparer::OldRow* ReportComparer::NextUnmatched(KeyRows& rows) {
  while (rows.next < rows.rows.size() && old_rows_[rows.rows[rows.next]].matched) ++rows.next;
  return rows.next < rows.rows.size() ? &old_rows_[rows.rows[rows.next]] : nullptr;
}

void ReportComparer::MatchNew(std::size_t section, std::span<const std::string_view> cells) {
  const std::string_view roles = comparison_.sections[section].roles;
  const auto found = keys_.find(key_);
  if (found != keys_.end()) {
    KeyRows& rows = found->second;
    const std::uint64_t hash = HashCompared(roles, cells);
    for (std::size_t i = rows.next; i < rows.rows.size(); ++i) {
      OldRow& row = old_rows_[rows.rows[i]];
      if (!row.matched && row.hash == hash && EqualsCompared(row, roles, cells)) {
        row.matched = true;
        NextUnmatched(rows);
        return;
      }
    }
  }
  pending_.push_back({static_cast<std::uint32_t>(section), key_, std::vector<std::string>(cells.begin(), cells.end())});
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
  for (Pending& pending : pending_) {
    const auto found = keys_.find(pending.key);
    OldRow* row = found == keys_.end() ? nullptr : NextUnmatched(found->second);
    if (row != nullptr) {
      row->matched = true;
      AddChange(pending.section, {ChangeKind::kChanged, OldCells(*row), std::move(pending.cells)});
    } else {
      AddChange(pending.section, {ChangeKind::kAdded, {}, std::move(pending.cells)});
    }
  }
  pending_.clear();
  for (const OldRow& row : old_rows_) {
    if (!row.matched) AddChange(row.section, {ChangeKind::kRemoved, OldCells(row), {}});
  }
}

void ReportComparer::EndReport(Side side) {
  if (side == kNewSide) Resolve();
}

}  // namespace rptconv
