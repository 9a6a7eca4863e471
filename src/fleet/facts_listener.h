// Gathers, while a report is walked, what the overview tells across many
// reports: installed programs, the fullest fixed drive, antivirus databases,
// error events and SMART attributes that are not OK. Tells the programs to a
// sink and keeps a few numbers, never whole tables.
#pragma once

#include <array>
#include <cstddef>
#include <string>

#include "report/sections.h"
#include "rptconv/rptconv.h"
#include "walk/page_events.h"

namespace rptconv {

class FactsListener final : public PageEvents {
 public:
  // `codepage` 0: the report language's code page. Programs go to
  // `programs`, none when it is null.
  FactsListener(ReportSummary::Facts& facts, ProgramSink* programs, int codepage)
      : facts_(facts), programs_(programs), codepage_(codepage) {}

  void BeginDocument(std::string_view title, Language language) override;
  void BeginPage(std::string_view, bool) override {
    table_ = Table::kNone;
    group_ = {};
  }
  // Inline: the walk tells every group and row, and most pass by. A group
  // that is no row of its page's table ends the table before it; its own
  // table, if it has one, begins right after it.
  void BeginGroup(std::string_view title, bool, bool in_table) override {
    group_ = title;
    if (!in_table) table_ = Table::kNone;
  }
  void BeginItem(std::string_view, bool, bool) override {}
  // The walk names each table's catalogue section as it begins it.
  void BeginTable(const Section& section) override;
  void TableHeader(std::span<const std::string_view>, std::string_view) override {}
  void Property(std::string_view, std::string_view, bool) override {}
  void TableRow(std::span<const std::string_view> cells) override {
    // Installed programs are most of the rows read: straight to them.
    if (table_ == Table::kPrograms) {
      Program(cells);
    } else if (table_ != Table::kNone) {
      Row(cells);
    }
  }
  void EndDocument() override {}

 private:
  // The tables whose rows say something across reports.
  enum class Table { kNone, kPrograms, kDrives, kAntivirus, kEvents, kSmart };

  void Row(std::span<const std::string_view> cells);
  void Program(std::span<const std::string_view> cells);
  void Drive(std::span<const std::string_view> cells);
  void Antivirus(std::span<const std::string_view> cells);
  void Event(std::span<const std::string_view> cells);
  void Smart(std::span<const std::string_view> cells);

  ReportSummary::Facts& facts_;
  ProgramSink* programs_;
  int codepage_;
  std::size_t program_count_ = 0;  // of this report
  // The title of the group begun last, read only as its own table begins
  // (in the same step of the walk, while the title stands).
  std::string_view group_;
  std::string group_title_;  // of the SMART table begun last: its disk
  Table table_ = Table::kNone;
  // The columns of the current table that are read, in the order its
  // reader names their keys.
  static constexpr std::size_t kMostColumnsRead = 5;
  std::array<std::size_t, kMostColumnsRead> columns_{};
};

}  // namespace rptconv
