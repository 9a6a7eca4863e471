#include "fleet/facts_listener.h"

#include <algorithm>

#include "fleet/values.h"

namespace rptconv {

namespace {

// The keys of the columns each table's reader takes, in order.
constexpr std::string_view kProgramColumns[] = {"program", "version"};
constexpr std::string_view kDriveColumns[] = {"drive", "drive_type", "file_system", "total_size",
                                                                   "free_space"};
constexpr std::string_view kAntivirusColumns[] = {"software_description",
                                                                       "virus_database_date"};
constexpr std::string_view kEventColumns[] = {"event_type"};
constexpr std::string_view kSmartColumns[] = {"status"};

// Words of the report, English and Hungarian (Windows-1250).
constexpr std::string_view kErrorTypes[] = {"Error", "Hiba", "Critical", "Kritikus"};
constexpr std::string_view kSmartGood[] = {"OK", "Rendben"};
// Drives whose free space is no one's concern: optical, removable, network
// and memory drives.
constexpr std::string_view kNotFixedTypes[] = {
    "CD", "DVD", "Optical", "Optikai", "Removable", "Cser\xE9lhet\xF5", "Network", "H\xE1l\xF3zati", "Floppy",
    "Hajl\xE9kony", "RAM"};
constexpr std::string_view kOpticalFileSystems[] = {"CDFS", "UDF"};

// The position of column `key` among the section's comma-separated column
// keys; past the last column when it has none of that name.
std::size_t ColumnOf(const Section& section, std::string_view key) {
  std::string_view rest = section.column_keys;
  for (std::size_t column = 0;; ++column) {
    const std::size_t comma = rest.find(',');
    if (rest.substr(0, comma) == key) return column;
    if (comma == std::string_view::npos) return kMaxColumns;
    rest.remove_prefix(comma + 1);
  }
}

std::string_view Cell(std::span<const std::string_view> cells, std::size_t column) {
  return column < cells.size() ? cells[column] : std::string_view();
}

}  // namespace

void FactsListener::BeginDocument(std::string_view, Language language) {
  facts_ = {};
  program_count_ = 0;
  table_ = Table::kNone;
  if (programs_ != nullptr) programs_->BeginReport(codepage_ != 0 ? codepage_ : CodepageOf(language));
}

void FactsListener::BeginTable(const Section& section) {
  table_ = Table::kNone;
  const struct {
    std::string_view key;
    Table table;
    std::span<const std::string_view> columns;
  } kTables[] = {
      {"installed_programs", Table::kPrograms, kProgramColumns}, {"logical_drives", Table::kDrives, kDriveColumns},
      {"antivirus", Table::kAntivirus, kAntivirusColumns},       {"event_logs", Table::kEvents, kEventColumns},
      {"smart", Table::kSmart, kSmartColumns},
  };
  for (const auto& known : kTables) {
    if (section.key != known.key) continue;
    table_ = known.table;
    std::size_t k = 0;
    for (const std::string_view key : known.columns) columns_[k++] = ColumnOf(section, key);
    if (table_ == Table::kSmart) group_title_.assign(group_);
    return;
  }
}

void FactsListener::Row(std::span<const std::string_view> cells) {
  switch (table_) {
    case Table::kNone: return;
    case Table::kPrograms: Program(cells); return;
    case Table::kDrives: Drive(cells); return;
    case Table::kAntivirus: Antivirus(cells); return;
    case Table::kEvents: Event(cells); return;
    case Table::kSmart: Smart(cells); return;
  }
}

void FactsListener::Program(std::span<const std::string_view> cells) {
  const std::string_view name = TrimBlanks(Cell(cells, columns_[0]));
  if (name.empty()) return;
  if (program_count_ == ReportSummary::Facts::kMostPrograms) {
    ++facts_.programs_dropped;
    return;
  }
  ++program_count_;
  if (programs_ != nullptr) programs_->Program(name, TrimBlanks(Cell(cells, columns_[1])));
}

void FactsListener::Drive(std::span<const std::string_view> cells) {
  if (ContainsOneOf(Cell(cells, columns_[1]), kNotFixedTypes) || IsOneOf(Cell(cells, columns_[2]), kOpticalFileSystems)) {
    return;
  }
  const std::optional<double> total = ParseSize(Cell(cells, columns_[3]));
  const std::optional<double> free = ParseSize(Cell(cells, columns_[4]));
  if (!total || !free || *total <= 0) return;
  // Compared as shares: free / total < kept_free / kept_total.
  if (facts_.drive.empty() || *free * facts_.drive_total < facts_.drive_free * *total) {
    facts_.drive.assign(TrimBlanks(Cell(cells, columns_[0])));
    if (facts_.drive.empty()) facts_.drive = "?";
    facts_.drive_free = std::min(*free, *total);
    facts_.drive_total = *total;
  }
}

void FactsListener::Antivirus(std::span<const std::string_view> cells) {
  if (TrimBlanks(Cell(cells, columns_[0])).empty()) return;
  ++facts_.antivirus;
  const std::optional<std::int32_t> day = ParseDay(Cell(cells, columns_[1]));
  if (day && (facts_.antivirus_day == ReportSummary::Facts::kNoDay || *day > facts_.antivirus_day)) {
    facts_.antivirus_day = *day;
  }
}

void FactsListener::Event(std::span<const std::string_view> cells) {
  if (IsOneOf(Cell(cells, columns_[0]), kErrorTypes)) ++facts_.error_events;
}

void FactsListener::Smart(std::span<const std::string_view> cells) {
  const std::string_view status = TrimBlanks(Cell(cells, columns_[0]));
  if (status.empty() || IsOneOf(status, kSmartGood)) return;
  if (facts_.smart_warnings++ == 0) facts_.smart_disk = group_title_;
}

}  // namespace rptconv
