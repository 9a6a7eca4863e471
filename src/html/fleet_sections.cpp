#include "html/fleet_sections.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "fleet/cache_hints.h"
#include "html/codepage.h"
#include "html/escape.h"

namespace rptconv {

namespace {

// A bar shows this many versions, the most used first; the rest share one
// grey segment.
constexpr std::size_t kBarVersions = 5;
static_assert(kBarVersions < 10, "a bar's colors are numbered with one digit");
constexpr std::size_t kMostNumberChars = 20;  // of a 64-bit number
// The software table and the data block ask for the versions and lists of
// the program this many rows on while they write one: these lie all over
// the fleet's memory.
constexpr std::size_t kRowsAhead = 2;
constexpr double kPercent = 100;
constexpr double kKibi = 1024;
constexpr std::array<std::string_view, 5> kSizeUnits = {"B", "KB", "MB", "GB", "TB"};
constexpr std::string_view kNoBreak = "&nbsp;";
constexpr std::string_view kItemSpace = "\xE2\x80\x83";  // an em space (U+2003) between legend items
constexpr std::string_view kSwatch = "\xE2\x96\xA0";  // "■" (U+25A0), in the color of its version

constexpr std::string_view kStyleSheet[] = {
    ":root { --k0: #2f6db5; --k1: #e08a1e; --k2: #3a9a5b; --k3: #8e5bb5; --k4: #c4475b; --k5: #9aa3ad;"
    " --warn: #b3261e; --ok: #3a9a5b; }",
    "@media (prefers-color-scheme: dark) { :root { --k0: #6fa8f0; --k1: #f0ad4e; --k2: #6cc48a; --k3: #b793dc;"
    " --k4: #ee7d8f; --k5: #6b747e; --warn: #ff8a80; --ok: #6cc48a; } }",
    ".bar { display: inline-flex; width: 9rem; height: .75rem; margin-right: .5rem; vertical-align: middle;"
    " background: var(--line); border-radius: 2px; overflow: hidden;"
    " -webkit-print-color-adjust: exact; print-color-adjust: exact; }",
    ".k0 { color: var(--k0); } .k1 { color: var(--k1); } .k2 { color: var(--k2); }",
    ".k3 { color: var(--k3); } .k4 { color: var(--k4); } .k5 { color: var(--k5); }",
    ".bar.free { width: 6rem; } .free span { display: block; height: 100%; background: var(--ok); }",
    ".free.low span { background: var(--warn); }",
    ".legend { display: block; margin: .15rem 0 0; max-width: 40rem; }",
    ".legend i { font-style: normal; margin-right: .2rem; -webkit-print-color-adjust: exact; print-color-adjust: exact; }",
    ".cols td.flag strong { color: var(--warn); }",
    ".rules { margin: .3rem 0 .6rem; padding-left: 1.4rem; color: var(--muted); }",
    "button.list { margin: 0; padding: 0; border: 0; background: none; font: inherit; color: var(--accent);"
    " cursor: pointer; white-space: nowrap; }",
    "button.list::before { content: \"\\25B8  \"; } button.list[aria-expanded=true]::before { content: \"\\25BE  \"; }",
    // An open list is a row of its own under its program, as wide as the
    // table: it adds nothing to the columns' widths, so opening it does not
    // lay out the other rows again nor move them sideways. In a table wider
    // than the screen, scrolled sideways, the list keeps to the part shown.
    ".cols td.computers { white-space: normal; padding-left: 1.4rem; }",
    ".computers div { contain: inline-size; position: sticky; left: 1.4rem; max-width: calc(100vw - 3rem); }",
    ".computers p { margin: .2rem 0; } .computers a { white-space: nowrap; }",
    ".cols tr:has(+ tr.follows) td { border-bottom-color: transparent; }",
    "@media print { button.list { display: none; } tr.follows { break-inside: auto; } }",
};

// Plain ES5. A program's button opens and closes the list of its computers,
// made from the page's data block (one listener for all; computer numbers
// as gaps, each added to the one before): a row under the program's, marked
// as following it (the filter and the sort keep the two together), with a
// paragraph per version, the computers as links copied from the attention
// table's first cells (rows "c" + number), so the page carries each address
// once and stays light.
constexpr std::string_view kScript[] = {
    "(function () {",
    "  \"use strict\";",
    "  var block = document.getElementById(\"software-computers\"), data = null;",
    "  if (!block) return;",
    "  function link(number) {",
    "    var row = document.getElementById(\"c\" + number);",
    "    if (!row) return document.createTextNode(\"?\");",
    "    var cell = row.cells[0], a = cell.querySelector(\"a\");",
    "    return a ? a.cloneNode(true) : document.createTextNode(cell.textContent);",
    "  }",
    "  function list(versions, id, columns) {",
    "    var row = document.createElement(\"tr\"), cell = row.insertCell(0), div = document.createElement(\"div\");",
    "    row.className = \"follows\";",
    "    cell.className = \"computers\";",
    "    cell.colSpan = columns;",
    "    cell.id = id;",
    "    versions.forEach(function (version) {",
    "      var p = document.createElement(\"p\"), b = document.createElement(\"b\");",
    "      b.textContent = version[0] || \"no version\";",
    "      p.appendChild(b);",
    "      p.appendChild(document.createTextNode(\": \"));",
    "      var number = 0;",
    "      version[1].forEach(function (gap, i) {",
    "        number += gap;",
    "        if (i) p.appendChild(document.createTextNode(\", \"));",
    "        p.appendChild(link(number));",
    "      });",
    "      div.appendChild(p);",
    "    });",
    "    cell.appendChild(div);",
    "    return row;",
    "  }",
    "  document.addEventListener(\"click\", function (event) {",
    "    var button = event.target.closest && event.target.closest(\"button.list\");",
    "    var row = button && button.closest(\"tr\");",
    "    if (!row) return;",
    "    var next = row.nextElementSibling, open = next && next.className === \"follows\" ? next : null;",
    "    if (open) {",
    "      open.parentNode.removeChild(open);",
    "    } else {",
    "      if (!data) data = JSON.parse(block.textContent);",
    "      var program = button.getAttribute(\"data-p\"), id = \"computers-\" + program;",
    "      row.parentNode.insertBefore(list(data[+program], id, row.cells.length), next);",
    "      button.setAttribute(\"aria-controls\", id);",
    "    }",
    "    button.setAttribute(\"aria-expanded\", open ? \"false\" : \"true\");",
    "    row.filterText = undefined;  // the filter reads the row again",
    "  });",
    "})();",
};

// Appends report text (or a UTF-8 name when `codepage` is 0) as escaped UTF-8.
void AppendUtf8Name(std::string& out, std::string_view raw, int codepage) {
  if (codepage != 0) {
    AppendUtf8Text(out, CodepageOrWestern(codepage), raw);
  } else {
    AppendUtf8Checked(out, raw);
  }
}

// Appends `value` (not negative) with one decimal, or none: "37.2", "37".
void AppendFixed(std::string& out, double value, bool decimal) {
  constexpr double kTenths = 10;
  constexpr double kHalf = 0.5;
  // Beyond 2^53 a double holds whole numbers only, and beyond 2^64 no
  // integer type holds them: such a value is written as the double it is.
  constexpr double kWholeFrom = 9007199254740992.0;  // 2^53
  if (value >= kWholeFrom) {
    std::array<char, 400> digits{};
    const auto [end, error] = std::to_chars(digits.data(), digits.data() + digits.size(), value, std::chars_format::fixed, 0);
    out.append(digits.data(), end);
    return;
  }
  // A 64-bit number, a point and a digit.
  constexpr std::size_t kMostChars = 24;
  std::array<char, kMostChars> digits;  // NOLINT(cppcoreguidelines-pro-type-member-init): written before read
  char* const first = digits.data();
  char* end = nullptr;
  if (!decimal) {
    end = std::to_chars(first, first + kMostChars, static_cast<std::uint64_t>(value + kHalf)).ptr;
  } else {
    const auto tenths = static_cast<std::uint64_t>(value * kTenths + kHalf);
    end = std::to_chars(first, first + kMostChars, tenths / 10).ptr;
    *end++ = '.';
    *end++ = static_cast<char>('0' + tenths % 10);
  }
  out.append(first, end);
}

std::string Fixed(double value, bool decimal) {
  std::string text;
  AppendFixed(text, value, decimal);
  return text;
}

// Appends "3.4" or "35" for a percentage: a decimal only where it tells
// something.
void AppendPercent(std::string& out, double percent) {
  constexpr double kWholeFrom = 10;
  AppendFixed(out, percent, percent < kWholeFrom && percent != std::floor(percent));
}

// "3.4 %", "35 %".
std::string PercentText(double percent) {
  std::string text;
  AppendPercent(text, percent);
  return text.append(" %");
}

// "12.9 GB", "650 MB".
std::string SizeText(double bytes) {
  std::size_t unit = 0;
  while (bytes >= kKibi && unit + 1 < kSizeUnits.size()) {
    bytes /= kKibi;
    ++unit;
  }
  constexpr double kWholeFrom = 100;
  return Fixed(bytes, bytes < kWholeFrom && bytes != std::floor(bytes)) + " " + std::string(kSizeUnits[unit]);
}

std::string Count(std::size_t n, std::string_view one, std::string_view many) {
  return std::to_string(n) + " " + std::string(n == 1 ? one : many);
}

// The share as a CSS width: "width:37.5%".
std::string Width(double share) { return "width:" + Fixed(share * kPercent, true) + "%"; }

class SectionWriter {
 public:
  SectionWriter(LineWriter& out, const Fleet& fleet)
      : out_(out), fleet_(fleet) {
    names_.reserve(fleet.computers().size());
    for (const FleetComputer& computer : fleet.computers()) {
      AppendUtf8Name(names_.emplace_back(), computer.name, computer.codepage);
    }
  }

  void Software() {
    const std::vector<const FleetProgram*> programs = fleet_.ProgramsByName();
    out_.Line("<section id=\"software\">");
    out_.Line("<h2>Software</h2>");
    out_.Raw("<p class=\"count\">")
        .Raw(Count(programs.size(), "program", "programs"))
        .Raw(" on ")
        .Raw(Count(fleet_.computers().size(), "computer", "computers"));
    if (fleet_.programs_dropped() > 0) {
      out_.Raw("; ").Raw(std::to_string(fleet_.programs_dropped())).Raw(" more beyond the reports' bound not counted");
    }
    out_.Raw("</p>").EndLine();
    out_.Line("<div class=\"scroll\"><table class=\"cols software\">");
    out_.Line("<thead><tr><th scope=\"col\">Program<th scope=\"col\">Computers<th scope=\"col\">Versions"
              "<th scope=\"col\">Versions by computers<th scope=\"col\">Which computers</thead>");
    out_.Line("<tbody>");
    // Each program's versions, the most used first, for its row and its data.
    std::vector<std::vector<const FleetVersion*>> versions(programs.size());
    for (std::size_t p = 0; p < programs.size(); ++p) versions[p] = fleet_.VersionsByShare(*programs[p]);
    for (std::size_t p = 0; p < programs.size(); ++p) {
      if (p + kRowsAhead < programs.size()) {
        for (const FleetVersion* version : versions[p + kRowsAhead]) PrefetchAddress(version);
      }
      ProgramRow(*programs[p], versions[p], p);
    }
    out_.Line("</tbody></table></div>");
    ComputerData(programs, versions);
    out_.Line("</section>");
  }

  void Attention() {
    const std::vector<std::uint32_t> order = fleet_.ComputersByAttention();
    const auto needing = static_cast<std::size_t>(std::count_if(
        fleet_.computers().begin(), fleet_.computers().end(), [](const FleetComputer& c) { return c.flags != 0; }));
    const AttentionRules& rules = fleet_.rules();
    out_.Line("<section id=\"attention\">");
    out_.Line("<h2>Computers that need attention</h2>");
    out_.Raw("<p class=\"count\">")
        .Raw(std::to_string(needing))
        .Raw(" of ")
        .Raw(Count(fleet_.computers().size(), "computer", "computers"))
        .Raw(needing == 1 ? " needs" : " need")
        .Raw(" attention, the most first</p>")
        .EndLine();
    out_.Line("<ul class=\"rules\">");
    out_.Raw("<li>Free space: a fixed drive with less than ").Raw(PercentText(rules.min_free_percent)).Raw(" free")
        .EndLine();
    out_.Raw("<li>Antivirus: none listed, or a virus database more than ")
        .Raw(Count(static_cast<std::size_t>(rules.max_antivirus_days), "day", "days"))
        .Raw(" older than the report")
        .EndLine();
    out_.Raw("<li>Event logs: more than ").Raw(Count(rules.max_error_events, "error event", "error events"))
        .EndLine();
    out_.Line("<li>SMART: an attribute whose status is not OK");
    out_.Line("</ul>");
    out_.Line("<div class=\"scroll\"><table class=\"cols attention\">");
    out_.Line("<thead><tr><th scope=\"col\">Computer<th scope=\"col\">Needs<th scope=\"col\">Lowest free space"
              "<th scope=\"col\">Antivirus database age<th scope=\"col\">Error events<th scope=\"col\">SMART</thead>");
    out_.Line("<tbody>");
    for (const std::uint32_t number : order) ComputerRow(number);
    out_.Line("</tbody></table></div>");
    out_.Line("</section>");
  }

 private:
  void ProgramRow(const FleetProgram& program, const std::vector<const FleetVersion*>& versions, std::size_t number) {
    std::size_t listings = 0;
    for (const FleetVersion* version : versions) listings += version->computers.size();
    out_.Raw("<tr><td class=\"w\">");
    Name(program.name, program.codepage);
    out_.Raw("<td class=\"r\">");
    Number(program.computers);
    out_.Raw("<td class=\"r\">");
    Number(versions.size());
    // The bar: one segment per version, the rest as one, drawn as hard
    // stops of one gradient; then the same numbers as text.
    stops_.clear();
    double end = 0;
    std::size_t shown = 0;
    for (; shown < versions.size() && shown < kBarVersions; ++shown) {
      end += static_cast<double>(versions[shown]->computers.size()) / static_cast<double>(listings);
      Stop(stops_, shown, end);
    }
    const std::size_t rest = listings - Listed(versions, shown);
    if (rest > 0) Stop(stops_, kBarVersions, 1);
    out_.Raw("<td class=\"w\"><span class=\"bar\" aria-hidden=\"true\" style=\"background:linear-gradient(90deg")
        .Raw(stops_)
        .Raw(")\"></span><span class=\"legend\">");
    for (std::size_t k = 0; k < shown; ++k) {
      LegendSwatch(k);
      if (versions[k]->text.empty()) {
        out_.Raw("no version");
      } else {
        Name(versions[k]->text, program.codepage);
      }
      LegendCount(versions[k]->computers.size(), program.computers);
    }
    if (rest > 0) {
      LegendSwatch(kBarVersions);
      Counted(versions.size() - shown, "other version", "other versions");
      LegendCount(rest, program.computers);
    }
    out_.Raw("</span>");
    // The computers of each version are in the page's data block; the
    // button opens them here (a button, lighter than a details element:
    // the table lays out and filters faster).
    out_.Raw("<td><button type=\"button\" class=\"list\" aria-expanded=\"false\" data-p=\"");
    Number(number);
    out_.Raw("\">");
    Counted(program.computers, "computer", "computers");
    out_.Raw("</button>").EndLine();
  }

  // See AppendUtf8Name.
  void Name(std::string_view raw, int codepage) {
    scratch_.clear();
    AppendUtf8Name(scratch_, raw, codepage);
    out_.Raw(scratch_);
  }

  // "1 computer", "3 computers".
  void Counted(std::size_t n, std::string_view one, std::string_view many) {
    Number(n);
    out_.Raw(" ").Raw(n == 1 ? one : many);
  }

  void Number(std::size_t n) {
    std::array<char, kMostNumberChars> digits;  // NOLINT(cppcoreguidelines-pro-type-member-init): written before read
    out_.Raw(std::string_view(digits.data(), std::to_chars(digits.data(), digits.data() + digits.size(), n).ptr));
  }

  // Per program in the table's order, its versions (the most used first),
  // each with its computers as the gaps between their numbers, the first
  // from 0: [["1.0",[0,3]],["2.0",[7,2]]] (1.0 on 0 and 3, 2.0 on 7 and 9).
  // Gaps take fewer digits than the numbers, and the fleet keeps them.
  void ComputerData(const std::vector<const FleetProgram*>& programs,
                    const std::vector<std::vector<const FleetVersion*>>& versions_by_program) {
    out_.Raw("<script type=\"application/json\" id=\"software-computers\">[").EndLine();
    std::string text;
    for (std::size_t p = 0; p < programs.size(); ++p) {
      if (p + kRowsAhead < programs.size()) {
        for (const FleetVersion* version : versions_by_program[p + kRowsAhead]) {
          PrefetchAddress(version->computers.gap_text().data());
        }
      }
      out_.Raw(p == 0 ? "[" : ",[");
      const std::vector<const FleetVersion*>& versions = versions_by_program[p];
      for (std::size_t v = 0; v < versions.size(); ++v) {
        out_.Raw(v > 0 ? ",[" : "[");
        text.clear();
        AppendUtf8(text, CodepageOrWestern(programs[p]->codepage), versions[v]->text);
        scratch_.clear();
        AppendScriptJsonString(scratch_, text);
        out_.Raw(scratch_).Raw(",[").Raw(versions[v]->computers.gap_text()).Raw("]]");
      }
      out_.Raw("]").EndLine();
    }
    out_.Line("]</script>");
  }

  // Appends ",var(--kN) 0 37.5%": a segment of color N up to `end` (a share).
  static void Stop(std::string& stops, std::size_t color, double end) {
    stops.append(",var(--k").append(1, static_cast<char>('0' + color)).append(") 0 ");
    AppendFixed(stops, end * kPercent, true);
    stops.push_back('%');
  }

  static std::size_t Listed(const std::vector<const FleetVersion*>& versions, std::size_t count) {
    std::size_t listed = 0;
    for (std::size_t k = 0; k < count; ++k) listed += versions[k]->computers.size();
    return listed;
  }

  // A legend item, "■1.0: 6 (50 %)", kept on one line (the square, a
  // letter-like character, keeps to the text after it); items are parted by
  // an em space, where lines may break. The swatch, then the label, then
  // its count.
  void LegendSwatch(std::size_t color) {
    if (color > 0) out_.Raw(kItemSpace);
    const char digit[] = {static_cast<char>('0' + color)};
    out_.Raw("<i class=\"k").Raw(std::string_view(digit, 1)).Raw("\" aria-hidden=\"true\">").Raw(kSwatch).Raw("</i>");
  }
  void LegendCount(std::size_t n, std::size_t of) {
    out_.Raw(":").Raw(kNoBreak);
    Number(n);
    out_.Raw(kNoBreak).Raw("(");
    scratch_.clear();
    AppendPercent(scratch_, kPercent * static_cast<double>(n) / static_cast<double>(of));
    out_.Raw(scratch_).Raw(kNoBreak).Raw("%)");
  }

  void ComputerRow(std::uint32_t number) {
    const FleetComputer& computer = fleet_.computers()[number];
    const ReportSummary::Facts& facts = computer.facts;
    out_.Raw("<tr id=\"c");
    Number(number);
    out_.Raw("\"><td>");
    if (computer.page_href.empty()) {
      out_.Raw(names_[number]);
    } else {
      out_.Raw("<a href=\"").Raw(computer.page_href).Raw("\">").Raw(names_[number]).Raw("</a>");
    }
    out_.Raw("<td class=\"r\">");
    Number(static_cast<std::size_t>(computer.FlagCount()));

    const bool low = (computer.flags & kLowSpace) != 0;
    OpenCell(low, false);
    if (facts.drive.empty()) {
      out_.Raw("no fixed drive");
    } else {
      const double percent = computer.FreePercent();
      out_.Raw("<span class=\"bar free").Raw(low ? " low" : "").Raw("\" aria-hidden=\"true\"><span style=\"")
          .Raw(Width(percent / kPercent))
          .Raw("\"></span></span>");
      Value(low, PercentText(percent));
      out_.Raw(" ");
      Name(facts.drive, computer.codepage);
      out_.Raw(" ")
          .Raw(SizeText(facts.drive_free))
          .Raw(" of ")
          .Raw(SizeText(facts.drive_total));
    }

    const bool no_antivirus = (computer.flags & kNoAntivirus) != 0;
    const bool old = (computer.flags & kOldAntivirus) != 0;
    OpenCell(no_antivirus || old, true);
    if (no_antivirus) {
      Value(true, "none");
    } else if (computer.antivirus_age_known) {
      Value(old, Count(static_cast<std::size_t>(std::max(computer.antivirus_age, 0)), "day", "days"));
    } else {
      out_.Raw("unknown");
    }

    const bool errors = (computer.flags & kErrorEvents) != 0;
    OpenCell(errors, true);
    Value(errors, std::to_string(facts.error_events));

    const bool smart = (computer.flags & kSmartWarnings) != 0;
    // The disk's name may be long: this cell wraps rather than widening the table.
    out_.Raw(smart ? "<td class=\"flag w\">" : "<td class=\"w\">");
    if (smart) {
      Value(true, Count(facts.smart_warnings, "attribute not OK", "attributes not OK"));
      if (!facts.smart_disk.empty()) {
        out_.Raw(" (");
        Name(facts.smart_disk, computer.codepage);
        out_.Raw(")");
      }
    } else {
      out_.Raw("OK");
    }
    out_.EndLine();
  }

  void OpenCell(bool flagged, bool number) {
    out_.Raw("<td");
    if (flagged || number) {
      out_.Raw(" class=\"").Raw(flagged ? "flag" : "").Raw(flagged && number ? " " : "").Raw(number ? "r" : "").Raw("\"");
    }
    out_.Raw(">");
  }

  // A value; flagged values are strong, so they stand out in print too.
  void Value(bool flagged, std::string_view text) {
    if (flagged) {
      out_.Raw("<strong>").Raw(text).Raw("</strong>");
    } else {
      out_.Raw(text);
    }
  }

  LineWriter& out_;
  const Fleet& fleet_;
  std::vector<std::string> names_;  // of the computers, UTF-8 and escaped
  std::string stops_;  // a bar's gradient stops, their room reused
  std::string scratch_;  // a converted name or a number, its room reused
};

}  // namespace

void WriteFleetSections(LineWriter& out, const Fleet& fleet) {
  SectionWriter writer(out, fleet);
  writer.Attention();
  writer.Software();
}

std::span<const std::string_view> FleetStyleSheet() { return kStyleSheet; }
std::span<const std::string_view> FleetScript() { return kScript; }

}  // namespace rptconv
