#include "html/compare_page.h"

#include <array>
#include <string>
#include <unordered_set>
#include <vector>

#include "html/codepage.h"
#include "html/compare_words.h"
#include "html/escape.h"
#include "html/modern_assets.h"
#include "html/page_texts.h"

namespace rptconv {

namespace {

// A cell longer than this may wrap, as on the modern page.
constexpr std::size_t kWideCell = 40;
// Shown for a page without a title, so that no heading is empty.
constexpr std::string_view kNoTitle = "\xE2\x80\x94";  // em dash
constexpr std::string_view kArrow = " \xE2\x86\x92 ";  // " → "
constexpr std::string_view kGroupSectionMark = "*";

// The rules the comparison adds to the modern style sheet: sections fold
// into their headings; removed text is struck through, added text marked.
constexpr std::string_view kCompareStyle[] = {
    ":root { --ins: #116329; --ins-bg: #dafbe1; --del: #a40e26; --del-bg: #ffebe9; }",
    "@media (prefers-color-scheme: dark) { :root { --ins: #7ee2a8; --ins-bg: #12361f; --del: #ffa198;"
    " --del-bg: #4a1b1e; } }",
    "summary { margin: 1.4rem 0 .4rem; cursor: pointer; }",
    "summary h2 { display: inline; margin: 0; padding: 0; border: 0; }",
    "details:not([open]) summary h2 { color: var(--muted); font-weight: 600; }",
    ".counts { margin-left: .6rem; color: var(--muted); white-space: nowrap; }",
    ".count { margin: .5rem 0 0; font-weight: 600; }",
    ".reports { margin: .4rem 0 0; }",
    ".note { margin: .2rem 0 .6rem; color: var(--muted); }",
    "nav .counts { margin-left: .4rem; font-size: .9rem; }",
    "del { color: var(--del); background: var(--del-bg); }",
    "ins { color: var(--ins); background: var(--ins-bg); text-decoration: none; }",
    "tr.added > td:first-child { color: var(--ins); font-weight: 600; }",
    "tr.removed > td:first-child { color: var(--del); font-weight: 600; }",
    "tr.changed > td:first-child { font-weight: 600; }",
    "tr.removed > td:not(:first-child) { text-decoration: line-through; color: var(--muted); }",
    "@media print { :root { --ins: #000; --ins-bg: #fff; --del: #000; --del-bg: #fff; }"
    " ins { text-decoration: underline; } summary { cursor: auto; } }",
};

constexpr std::array<std::string_view, kChangeKinds> kRowClasses{"added", "removed", "changed"};

std::vector<std::string_view> SplitCommas(std::string_view text) {
  std::vector<std::string_view> parts;
  for (;;) {
    const std::size_t comma = text.find(',');
    parts.push_back(text.substr(0, comma));
    if (comma == std::string_view::npos) return parts;
    text.remove_prefix(comma + 1);
  }
}

class ComparePage {
 public:
  ComparePage(LineWriter& out, const Comparison& comparison, const ReportNames& names)
      : out_(out),
        comparison_(comparison),
        names_(names),
        words_(WordsFor(comparison.language[kNewSide])),
        hungarian_(*FindCodepage(kHungarianCodepage)) {
    for (const Side side : {kOldSide, kNewSide}) tables_[side] = &CodepageOrWestern(comparison.codepage[side]);
  }

  void Write() {
    MakeTitlesAndIds();
    std::string title(words_.heading);
    title.append(": ").append(ReportTitle(kNewSide));
    WriteModernHead(out_, words_.lang, title, kCompareStyle);
    WriteHeader();
    out_.Line("<main>");
    for (std::size_t i = 0; i < comparison_.sections.size(); ++i) WriteSection(i);
    out_.Line("</main>");
    WriteNav();
    WriteModernTail(out_);
  }

 private:
  // Report text kept by the comparison (not readable past its end, as the
  // walk's texts are), in UTF-8 and escaped.
  void Text(const CodepageTable& table, std::string_view text) {
    scratch_.clear();
    AppendUtf8Text(scratch_, table, text);
    out_.Raw(scratch_);
  }

  // The report's title in UTF-8, escaped; the banner when it has none.
  std::string ReportTitle(Side side) const {
    std::string title;
    AppendUtf8Text(title, *tables_[side], comparison_.report_title[side]);
    if (title.find_first_not_of(" \t") == std::string::npos) title = kBannerText;
    return title;
  }

  std::string ReportName(Side side) const {
    const std::string_view name = side == kOldSide ? names_.old_name : names_.new_name;
    std::string text;
    if (names_.utf8) {
      AppendUtf8Checked(text, name);
    } else {
      AppendUtf8Text(text, *tables_[kNewSide], name);
    }
    return text;
  }

  // The catalogue's texts are in English or in Windows-1250.
  std::string CatalogueText(std::string_view text) const {
    std::string utf8;
    AppendUtf8Text(utf8, hungarian_, text);
    return utf8;
  }
  bool HungarianCatalogue() const { return words_.lang == kHungarianWords.lang; }

  // The section's heading: a table's catalogue title, or the page's own.
  std::string SectionTitle(const ComparedSection& section) const {
    std::string title;
    if (section.table != nullptr) {
      std::string_view name = HungarianCatalogue() ? section.table->title_hu : section.table->title_en;
      if (name.starts_with(kGroupSectionMark)) name.remove_prefix(kGroupSectionMark.size());
      title = CatalogueText(name);
    } else {
      const Side side = section.present[kNewSide] ? kNewSide : kOldSide;
      AppendUtf8Text(title, *tables_[side], section.title[side]);
    }
    if (title.find_first_not_of(" \t") == std::string::npos) title = kNoTitle;
    return title;
  }

  // Anchors: a table's key; a page of properties by its place.
  void MakeTitlesAndIds() {
    std::unordered_set<std::string> used;
    for (std::size_t i = 0; i < comparison_.sections.size(); ++i) {
      const ComparedSection& section = comparison_.sections[i];
      titles_.push_back(SectionTitle(section));
      std::string id = section.table != nullptr ? std::string(section.table->key) : "page-" + std::to_string(i + 1);
      if (!used.insert(id).second) id += "-" + std::to_string(i + 1);
      used.insert(id);
      ids_.push_back(std::move(id));
    }
  }

  // "3 added, 1 changed" or "új: 3, módosítva: 1"; "no change".
  std::string Counts(const std::array<std::size_t, kChangeKinds>& counts) const {
    const std::array<std::string_view, kChangeKinds> names{words_.added, words_.removed, words_.changed};
    std::string text;
    for (std::size_t kind = 0; kind < kChangeKinds; ++kind) {
      if (counts[kind] == 0) continue;
      if (!text.empty()) text += ", ";
      const std::string number = std::to_string(counts[kind]);
      text += words_.number_first ? number + " " + std::string(names[kind])
                                  : std::string(names[kind]) + ": " + number;
    }
    return text.empty() ? std::string(words_.no_change) : text;
  }

  void WriteHeader() {
    out_.Line("<header>");
    out_.Raw("<p class=\"banner\">").Raw(kBannerText).Raw("</p>").EndLine();
    out_.Raw("<h1>").Raw(words_.heading).Raw("</h1>").EndLine();
    out_.Line("<table class=\"props reports\">");
    for (const Side side : {kOldSide, kNewSide}) {
      out_.Raw("<tr><th scope=\"row\">").Raw(side == kOldSide ? words_.old_report : words_.new_report);
      out_.Raw("<td>").Raw(ReportName(side)).Raw(" (").Raw(ReportTitle(side)).Raw(")");
      out_.EndLine();
    }
    out_.Line("</table>");
    std::array<std::size_t, kChangeKinds> totals{};
    std::size_t changed_sections = 0;
    for (const ComparedSection& section : comparison_.sections) {
      for (std::size_t kind = 0; kind < kChangeKinds; ++kind) totals[kind] += section.counts[kind];
      if (!section.changes.empty()) ++changed_sections;
    }
    const std::string total = std::to_string(comparison_.Total());
    const std::string sections = std::to_string(comparison_.sections.size());
    const std::string changed = std::to_string(changed_sections);
    out_.Raw("<p class=\"count\">");
    if (comparison_.Total() == 0) {
      out_.Raw(words_.nothing_changed).Raw(" (").Raw(sections).Raw(" ").Raw(words_.section_count).Raw(")</p>").EndLine();
      out_.Line("</header>");
      return;
    }
    if (words_.number_first) {
      out_.Raw(total).Raw(comparison_.Total() == 1 ? " change in " : " changes in ").Raw(changed).Raw(" of ");
      out_.Raw(sections).Raw(comparison_.sections.size() == 1 ? " section: " : " sections: ");
    } else {
      out_.Raw(total).Raw(" változás ").Raw(sections).Raw(" szakaszból ").Raw(changed).Raw(" szakaszban: ");
    }
    out_.Raw(Counts(totals)).Raw("</p>").EndLine();
    out_.Line("</header>");
  }

  void WriteNav() {
    if (comparison_.Total() == 0) return;
    out_.Line("<nav id=\"contents\">");
    out_.Raw("<h2>").Raw(words_.sections).Raw("</h2>").EndLine();
    out_.Line("<ol>");
    for (std::size_t i = 0; i < comparison_.sections.size(); ++i) {
      const ComparedSection& section = comparison_.sections[i];
      if (section.changes.empty()) continue;
      out_.Raw("<li><a href=\"#").Raw(ids_[i]).Raw("\">").Raw(titles_[i]).Raw("</a> <span class=\"counts\">");
      out_.Raw(Counts(section.counts)).Raw("</span>").EndLine();
    }
    out_.Line("</ol>");
    out_.Line("</nav>");
  }

  // The columns a section shows: all but the volatile ones, unless they count.
  std::vector<std::size_t> ShownColumns(const ComparedSection& section) const {
    std::vector<std::size_t> columns;
    for (std::size_t column = 0; column < section.roles.size(); ++column) {
      if (comparison_.all_columns || section.roles[column] != kVolatileColumn) columns.push_back(column);
    }
    return columns;
  }

  std::vector<std::string> ColumnNames(const ComparedSection& section) const {
    std::vector<std::string> names;
    if (section.table == nullptr) {
      for (const std::string_view name : SplitCommas(words_.property_columns)) names.emplace_back(name);
      return names;
    }
    if (section.group_table) names.emplace_back(words_.item);
    const std::string_view headers = HungarianCatalogue() ? section.table->headers_hu : section.table->headers_en;
    for (const std::string_view name : SplitCommas(headers)) names.push_back(CatalogueText(name));
    return names;
  }

  // The catalogue's alignment of a column: "c", "r" or none.
  std::string_view AlignClass(const ComparedSection& section, std::size_t column) const {
    if (section.table == nullptr) return {};
    if (section.group_table) {
      if (column == 0) return {};
      --column;
    }
    const std::string_view alignment = section.table->alignment;
    const char code = column < alignment.size() ? alignment[column] : ' ';
    return code == 'C' ? "c" : code == 'R' ? "r" : "";
  }

  void OpenCell(std::string_view align, bool wide) {
    out_.Raw("<td");
    if (!align.empty() || wide) {
      out_.Raw(" class=\"").Raw(align).Raw(!align.empty() && wide ? " " : "").Raw(wide ? "w" : "").Raw("\"");
    }
    out_.Raw(">");
  }

  void WriteRow(const ComparedSection& section, const RowChange& change, const std::vector<std::size_t>& columns) {
    const auto kind = static_cast<std::size_t>(change.kind);
    const std::array<std::string_view, kChangeKinds> names{words_.added, words_.removed, words_.changed};
    out_.Raw("<tr class=\"").Raw(kRowClasses[kind]).Raw("\"><td>").Raw(names[kind]);
    const bool removed = change.kind == ChangeKind::kRemoved;
    const std::vector<std::string>& shown = removed ? change.old_cells : change.new_cells;
    const CodepageTable& table = *tables_[removed ? kOldSide : kNewSide];
    for (const std::size_t column : columns) {
      const std::string_view text = column < shown.size() ? std::string_view(shown[column]) : std::string_view();
      const bool differs = change.kind == ChangeKind::kChanged &&
                           IsComparedColumn(section.roles, column, comparison_.all_columns) &&
                           column < change.old_cells.size() && change.old_cells[column] != text;
      const std::string_view old_text = differs ? std::string_view(change.old_cells[column]) : std::string_view();
      OpenCell(AlignClass(section, column), text.size() + old_text.size() > kWideCell);
      if (differs) {
        out_.Raw("<del>");
        Text(*tables_[kOldSide], old_text);
        out_.Raw("</del>").Raw(kArrow).Raw("<ins>");
        Text(table, text);
        out_.Raw("</ins>");
      } else {
        Text(table, text);
      }
    }
    out_.EndLine();
  }

  void WriteSection(std::size_t index) {
    const ComparedSection& section = comparison_.sections[index];
    out_.Raw("<section id=\"").Raw(ids_[index]).Raw("\">").EndLine();
    out_.Line(section.changes.empty() ? "<details>" : "<details open>");
    out_.Raw("<summary><h2>").Raw(titles_[index]).Raw("</h2> <span class=\"counts\">").Raw(Counts(section.counts));
    out_.Raw("</span></summary>").EndLine();
    if (!section.present[kNewSide]) out_.Raw("<p class=\"note\">").Raw(words_.only_old).Raw("</p>").EndLine();
    if (!section.present[kOldSide]) out_.Raw("<p class=\"note\">").Raw(words_.only_new).Raw("</p>").EndLine();
    if (section.changes.empty()) {
      out_.Raw("<p class=\"note\">").Raw(words_.no_change).Raw(" (")
          .Raw(std::to_string(section.rows[kNewSide])).Raw(")</p>").EndLine();
    } else {
      const std::vector<std::size_t> columns = ShownColumns(section);
      const std::vector<std::string> names = ColumnNames(section);
      out_.Line("<div class=\"scroll\"><table class=\"cols changes\">");
      out_.Raw("<thead><tr><th scope=\"col\">").Raw(words_.change_column);
      for (const std::size_t column : columns) {
        out_.Raw("<th scope=\"col\"");
        const std::string_view align = AlignClass(section, column);
        if (!align.empty()) out_.Raw(" class=\"").Raw(align).Raw("\"");
        out_.Raw(">").Raw(column < names.size() ? std::string_view(names[column]) : std::string_view());
      }
      out_.EndLine();
      out_.Line("<tbody>");
      for (const RowChange& change : section.changes) WriteRow(section, change, columns);
      out_.Line("</tbody></table></div>");
    }
    out_.Line("</details>");
    out_.Line("</section>");
  }

  LineWriter& out_;
  const Comparison& comparison_;
  const ReportNames& names_;
  const CompareWords& words_;
  const CodepageTable& hungarian_;
  std::array<const CodepageTable*, kSides> tables_{};
  std::vector<std::string> titles_;  // UTF-8, escaped
  std::vector<std::string> ids_;
  std::string scratch_;
};

}  // namespace

void WriteComparePage(LineWriter& out, const Comparison& comparison, const ReportNames& names) {
  ComparePage(out, comparison, names).Write();
}

}  // namespace rptconv
