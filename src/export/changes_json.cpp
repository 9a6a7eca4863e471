#include "export/changes_json.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "export/json_report.h"
#include "export/title_key.h"

namespace rptconv {

namespace {

constexpr std::array<std::string_view, kSides> kSideKeys{"old", "new"};
constexpr std::array<std::string_view, kChangeKinds> kKindKeys{"added", "removed", "changed"};
// The columns of a page of properties, and the first column of a group
// table's rows (the item they belong to).
constexpr std::array<std::string_view, kPropertyRoles.size()> kPropertyColumns{"group", "item", "label", "value"};
constexpr std::string_view kItemColumn = "item";

class ChangesWriter {
 public:
  ChangesWriter(JsonWriter& out, const Comparison& comparison) : out_(out), comparison_(comparison) {
    for (const Side side : {kOldSide, kNewSide}) tables_[side] = FindJsonCodepage(comparison.codepage[side]);
  }

  void WriteDocument(const ReportNames& names) {
    out_.BeginObject().Key("format").Utf8String(kChangesFormat).Key("version").Int(kChangesFormatVersion);
    for (const Side side : {kOldSide, kNewSide}) {
      out_.Key(kSideKeys[side]);
      WriteReport(side, side == kOldSide ? names.old_name : names.new_name, names.utf8);
    }
    out_.Key("all_columns").Bool(comparison_.all_columns);
    WriteCounts();
    out_.Key("sections").BeginArray();
    for (const ComparedSection& section : comparison_.sections) WriteSection(section);
    out_.NewLine().EndArray().EndObject().EndRecord();
    out_.Flush();
  }

  // One line per change: the reports and the section it is in, its kind,
  // then the row (added, removed) or what changed in it.
  void WriteLines(const ReportNames& names) {
    for (const ComparedSection& section : comparison_.sections) {
      const std::vector<std::string_view> columns = ColumnKeys(section);
      const Side side = section.present[kNewSide] ? kNewSide : kOldSide;
      for (const RowChange& change : section.changes) {
        out_.BeginObject();
        for (const Side named : {kOldSide, kNewSide}) {
          out_.Key(named == kOldSide ? "old_file" : "new_file");
          WriteName(named == kOldSide ? names.old_name : names.new_name, names.utf8);
        }
        const Side computer_side = comparison_.computer[kNewSide] ? kNewSide : kOldSide;
        const std::optional<std::string>& computer = comparison_.computer[computer_side];
        out_.Key("computer");
        computer ? out_.String(*computer, *tables_[computer_side]) : out_.Null();
        out_.Key("section").Utf8String(SectionKey(section));
        out_.Key("page").String(section.title[side], *tables_[side]);
        out_.Key("change").Utf8String(kKindKeys[static_cast<std::size_t>(change.kind)]);
        switch (change.kind) {
          case ChangeKind::kAdded:
            out_.Key("fields");
            WriteRow(change.new_cells, columns, section.roles, false, kNewSide);
            break;
          case ChangeKind::kRemoved:
            out_.Key("fields");
            WriteRow(change.old_cells, columns, section.roles, false, kOldSide);
            break;
          case ChangeKind::kChanged: WriteChangedMembers(change, columns, section.roles); break;
        }
        out_.EndObject().EndRecord();
      }
    }
    out_.Flush();
  }

 private:
  void WriteReport(Side side, std::string_view name, bool names_utf8) {
    const JsonCodepageTable& table = *tables_[side];
    out_.BeginObject().Key("file");
    WriteName(name, names_utf8);
    out_.Key("title").String(comparison_.report_title[side], table);
    out_.Key("language").Utf8String(LanguageCode(comparison_.language[side]));
    out_.Key("codepage").Int(comparison_.codepage[side]).Key("computer");
    const std::optional<std::string>& computer = comparison_.computer[side];
    computer ? out_.String(*computer, table) : out_.Null();
    out_.EndObject();
  }

  // A report's name, null when there is none; one not in UTF-8 is in the
  // new report's code page.
  void WriteName(std::string_view name, bool utf8) {
    if (name.empty()) {
      out_.Null();
    } else {
      utf8 ? out_.Utf8String(name) : out_.String(name, *tables_[kNewSide]);
    }
  }

  void WriteCounts() {
    std::array<std::size_t, kChangeKinds> counts{};
    std::size_t changed_sections = 0;
    for (const ComparedSection& section : comparison_.sections) {
      for (std::size_t kind = 0; kind < kChangeKinds; ++kind) counts[kind] += section.counts[kind];
      if (!section.changes.empty()) ++changed_sections;
    }
    out_.NewLine().Key("counts").BeginObject().Key("changes").Int(static_cast<std::int64_t>(comparison_.Total()));
    WriteKindCounts(counts);
    out_.Key("sections").Int(static_cast<std::int64_t>(comparison_.sections.size()));
    out_.Key("sections_changed").Int(static_cast<std::int64_t>(changed_sections)).EndObject();
  }

  void WriteKindCounts(const std::array<std::size_t, kChangeKinds>& counts) {
    for (std::size_t kind = 0; kind < kChangeKinds; ++kind) {
      out_.Key(kKindKeys[kind]).Int(static_cast<std::int64_t>(counts[kind]));
    }
  }

  // The section's key: a catalogued table's, else one made from the page's
  // title in the new report (in the old one when only it has the page).
  std::string SectionKey(const ComparedSection& section) const {
    if (section.table != nullptr) return std::string(section.table->key);
    const Side side = section.present[kNewSide] ? kNewSide : kOldSide;
    return KeyFromTitle(section.title[side], comparison_.codepage[side]);
  }

  // The keys of the section's columns, in the order of its rows' cells.
  static std::vector<std::string_view> ColumnKeys(const ComparedSection& section) {
    if (section.table == nullptr) return {kPropertyColumns.begin(), kPropertyColumns.end()};
    std::vector<std::string_view> keys;
    if (section.group_table) keys.push_back(kItemColumn);
    std::string_view rest = section.table->column_keys;
    for (std::size_t comma; (comma = rest.find(',')) != std::string_view::npos; rest.remove_prefix(comma + 1)) {
      keys.push_back(rest.substr(0, comma));
    }
    keys.push_back(rest);
    return keys;
  }

  void WriteSection(const ComparedSection& section) {
    out_.NewLine().BeginObject().Key("key").Utf8String(SectionKey(section));
    out_.Key("group_table").Bool(section.group_table).Key("titles").BeginObject();
    for (const Side side : {kOldSide, kNewSide}) {
      if (section.present[side]) out_.Key(kSideKeys[side]).String(section.title[side], *tables_[side]);
    }
    out_.EndObject().Key("rows").BeginObject();
    for (const Side side : {kOldSide, kNewSide}) {
      out_.Key(kSideKeys[side]).Int(static_cast<std::int64_t>(section.rows[side]));
    }
    out_.EndObject().Key("counts").BeginObject();
    WriteKindCounts(section.counts);
    out_.EndObject();
    const std::vector<std::string_view> columns = ColumnKeys(section);
    for (std::size_t kind = 0; kind < kChangeKinds; ++kind) {
      out_.Key(kKindKeys[kind]).BeginArray();
      for (const RowChange& change : section.changes) {
        if (static_cast<std::size_t>(change.kind) != kind) continue;
        out_.NewLine();
        switch (change.kind) {
          case ChangeKind::kAdded: WriteRow(change.new_cells, columns, section.roles, false, kNewSide); break;
          case ChangeKind::kRemoved: WriteRow(change.old_cells, columns, section.roles, false, kOldSide); break;
          case ChangeKind::kChanged:
            out_.BeginObject();
            WriteChangedMembers(change, columns, section.roles);
            out_.EndObject();
            break;
        }
      }
      out_.EndArray();
    }
    out_.EndObject();
  }

  // A row as an object of its columns (only the key columns when
  // `keys_only`), its texts in `side`'s code page.
  void WriteRow(const std::vector<std::string>& cells, const std::vector<std::string_view>& columns,
                std::string_view roles, bool keys_only, Side side) {
    out_.BeginObject();
    for (std::size_t column = 0; column < cells.size() && column < columns.size(); ++column) {
      if (keys_only && (column >= roles.size() || roles[column] != kKeyColumn)) continue;
      out_.Key(columns[column]).String(cells[column], *tables_[side]);
    }
    out_.EndObject();
  }

  // A changed row's members: its key columns as the new report has them,
  // then each compared column whose text differs.
  void WriteChangedMembers(const RowChange& change, const std::vector<std::string_view>& columns,
                           std::string_view roles) {
    out_.Key("key");
    WriteRow(change.new_cells, columns, roles, true, kNewSide);
    out_.Key("columns").BeginArray();
    const std::size_t count = std::min({change.old_cells.size(), change.new_cells.size(), columns.size()});
    for (std::size_t column = 0; column < count; ++column) {
      if (!IsComparedColumn(roles, column, comparison_.all_columns) ||
          change.old_cells[column] == change.new_cells[column]) {
        continue;
      }
      out_.BeginObject().Key("column").Utf8String(columns[column]);
      out_.Key("old").String(change.old_cells[column], *tables_[kOldSide]);
      out_.Key("new").String(change.new_cells[column], *tables_[kNewSide]).EndObject();
    }
    out_.EndArray();
  }

  JsonWriter& out_;
  const Comparison& comparison_;
  std::array<const JsonCodepageTable*, kSides> tables_{};
};

}  // namespace

void WriteChangesJson(JsonWriter& out, const Comparison& comparison, const ReportNames& names) {
  ChangesWriter(out, comparison).WriteDocument(names);
}

void WriteChangeLines(JsonWriter& out, const Comparison& comparison, const ReportNames& names) {
  ChangesWriter(out, comparison).WriteLines(names);
}

}  // namespace rptconv
