#include "html/modern_page.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "html/escape.h"
#include "html/links.h"
#include "html/modern_assets.h"
#include "html/page_texts.h"
#include "html/usage_bar.h"

namespace rptconv {

namespace {

// Anchors are made from page titles, cut to about this many bytes.
constexpr std::size_t kLongestId = 48;

constexpr std::string_view kNoBreakSpace = "&nbsp;";

// The navigation lists this many pages, each title cut to this many bytes
// (then "…"); later pages are counted, "and 12,345 more pages".
constexpr std::size_t kMostNavEntries = 10000;
constexpr std::size_t kNavTitleBytes = 160;
constexpr std::string_view kEllipsis = "\xE2\x80\xA6";  // U+2026, in UTF-8

// Report pages are second-level headings, under the report's title.
constexpr int kPageLevel = 2;

constexpr std::string_view kLinkEnd = "\" target=\"_blank\" rel=\"noopener noreferrer\">";

bool IsBlank(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c == ' ' || c == '\t'; });
}

constexpr bool IsAsciiAlnum(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// The bytes of a host name, looked up in a table: every value that begins
// like a web address is checked.
constexpr std::array<bool, 256> kHostBytes = [] {
  std::array<bool, 256> host{};
  for (unsigned c = 0; c < 256; ++c) host[c] = IsAsciiAlnum(static_cast<char>(c)) || c == '.' || c == '-';
  return host;
}();

// A web address the page links: "http://" or "https://", then a host name
// of letters, digits, dots and hyphens with an optional port, then the end
// or "/", "?" or "#". Anything else ("http://" alone, a blank in the host)
// stays text, so that no link is ever broken.
bool IsWebAddress(std::string_view value) {
  std::string_view rest;
  if (value.starts_with(kWebPrefix)) {
    rest = value.substr(kWebPrefix.size());
  } else if (value.starts_with(kSecureWebPrefix)) {
    rest = value.substr(kSecureWebPrefix.size());
  } else {
    return false;
  }
  const auto host_end = std::find_if(rest.begin(), rest.end(), [](char c) { return c == '/' || c == '?' || c == '#'; });
  const std::string_view host(rest.begin(), host_end);
  const std::size_t colon = host.find(':');
  const std::string_view name = host.substr(0, colon);
  if (name.empty() || !std::all_of(name.begin(), name.end(), [](char c) { return kHostBytes[static_cast<unsigned char>(c)]; })) {
    return false;
  }
  if (colon == std::string_view::npos) return true;
  const std::string_view port = host.substr(colon + 1);
  return port.size() <= 5 && std::all_of(port.begin(), port.end(), [](char c) { return c >= '0' && c <= '9'; }) &&
         (port.size() < 5 || port <= "65535");
}

// 12345 as "12,345" (or with another separator between groups of three).
std::string GroupedNumber(std::size_t number, char separator) {
  std::string digits = std::to_string(number);
  for (std::size_t at = digits.size(); at > 3; at -= 3) digits.insert(at - 3, 1, separator);
  return digits;
}

}  // namespace

ModernPage::ModernPage(LineWriter& out, int codepage) : out_(out), codepage_(codepage) {
  if (codepage != 0 && FindCodepage(codepage) == nullptr) {
    throw std::invalid_argument("no table for code page " + std::to_string(codepage));
  }
  ids_.insert("contents");
  ChooseDataCells();
}

void ModernPage::BeginDocument(std::string_view title, Language language) {
  language_ = language;
  const bool hungarian = language == Language::kHungarian;
  table_ = FindCodepage(codepage_ != 0 ? codepage_ : CodepageOf(language));

  if (!IsBlank(title)) title_.assign(title);
  // The report's title as it stands (a tab or a window shows it), or the
  // banner when the report has none.
  std::string page_title(title_.empty() ? kBannerText : std::string_view());
  AppendUtf8Text(page_title, *table_, title_);
  WriteModernHead(out_, hungarian ? "hu" : "en", page_title);
}

// The banner and the report's title, then the report pages. The head comes
// where the classic page shows the banner, before the first page: records
// before any page come first in the document (the style sheet still shows
// the head first).
void ModernPage::WriteHead() {
  head_written_ = true;
  out_.Line("<header>");
  // The page's one first-level heading is the report's title, or the banner
  // when the report has none.
  if (title_.empty()) {
    out_.Raw("<h1>").Raw(kBannerText).Raw("</h1>").EndLine();
  } else {
    out_.Raw("<p class=\"banner\">").Raw(kBannerText).Raw("</p>").EndLine();
    out_.Raw("<h1>");
    WriteUtf8Text(out_, *table_, title_);  // a kept copy: not readable past its end
    out_.Raw("</h1>").EndLine();
  }
  out_.Line("</header>");
  out_.Line("<main>");
}

void ModernPage::EndDocument() {
  CloseTable();
  CloseSection();
  if (!head_written_) WriteHead();
  out_.Line("</main>");
  if (!nav_.empty()) {
    out_.Line("<nav id=\"contents\">");
    out_.Line(language_ == Language::kHungarian ? "<h2>Tartalom</h2>" : "<h2>Contents</h2>");
    out_.Line("<ol>");
    for (const NavEntry& entry : nav_) {
      out_.Raw("<li><a href=\"#").Raw(entry.id).Raw("\">");
      TitleText(entry.title);
      if (entry.cut) out_.Raw(kEllipsis);
      out_.Raw("</a>").EndLine();
    }
    out_.Line("</ol>");
    if (pages_ > nav_.size()) {
      const bool hungarian = language_ == Language::kHungarian;
      out_.Raw(hungarian ? "<p class=\"more\">és további " : "<p class=\"more\">and ")
          .Raw(GroupedNumber(pages_ - nav_.size(), hungarian ? ' ' : ','))
          .Raw(hungarian ? " oldal</p>" : " more pages</p>")
          .EndLine();
    }
    out_.Line("</nav>");
  }
  WriteModernTail(out_);
}

void ModernPage::Heading(int level, std::string_view class_name, std::string_view title) {
  const char digit = static_cast<char>('0' + level);
  out_.Raw("<h").Raw({&digit, 1});
  if (!class_name.empty()) out_.Raw(" class=\"").Raw(class_name).Raw("\"");
  out_.Raw(">");
  TitleText(title);
  out_.Raw("</h").Raw({&digit, 1}).Raw(">").EndLine();
}

// A title of blanks shows as blank as on the classic page, but in no-break
// spaces: a heading must not be empty (nor a link of the navigation). Titles
// come from the walk and from the page's own kept copies (the navigation,
// the head), which cannot be read past their end, so they take the
// converter that stays inside the text; there are few of them.
void ModernPage::TitleText(std::string_view title) {
  if (IsBlank(title)) {
    for (std::size_t i = 0; i < title.size(); ++i) out_.Raw(kNoBreakSpace);
  } else {
    WriteUtf8Text(out_, *table_, title);
  }
}

// An anchor made from the title: ASCII letters (lower case) and digits, the
// letters of the code page as UTF-8, a hyphen for every run of anything
// else; a number added when an earlier page has the same anchor. The same
// report always gives the same anchors.
std::string ModernPage::UniqueId(std::string_view title) {
  std::string id;
  for (const char c : title) {
    if (id.size() >= kLongestId) break;
    if (IsAsciiAlnum(c)) {
      id.push_back(c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c);
      continue;
    }
    // Letters from U+00C0 to U+024F, but not "×" and "÷".
    const std::string_view utf8 = (*table_)[static_cast<unsigned char>(c)].View();
    const auto lead = static_cast<unsigned char>(utf8.front());
    const bool letter = utf8.size() == 2 && lead >= 0xC3 && lead <= 0xC9 && utf8 != "\xC3\x97" && utf8 != "\xC3\xB7";
    if (letter) {
      id.append(utf8);
    } else if (!id.empty() && id.back() != '-') {
      id.push_back('-');
    }
  }
  while (!id.empty() && id.back() == '-') id.pop_back();
  if (id.empty()) id = "page";
  if (ids_.insert(id).second) return id;
  // A title that comes back: the next number not taken, counted on from the
  // last one given for it, so that a thousand pages of one title cost no
  // thousand tries each.
  int& n = next_number_[id];
  std::string unique;
  do {
    unique = id + "-" + std::to_string(n < 2 ? n = 2 : ++n);
  } while (!ids_.insert(unique).second);
  return unique;
}

void ModernPage::BeginPage(std::string_view title, bool first) {
  CloseTable();
  CloseSection();
  if (first) WriteHead();
  header_count_ = 0;
  bar_column_ = kNoColumn;
  ForgetMemory();
  ++pages_;
  if (nav_.size() < kMostNavEntries) {
    NavEntry entry{UniqueId(title), std::string(title.substr(0, kNavTitleBytes)), title.size() > kNavTitleBytes};
    out_.Raw("<section id=\"").Raw(entry.id).Raw("\">").EndLine();
    nav_.push_back(std::move(entry));
  } else {
    // An underscore, which no anchor made from a title holds, keeps these
    // anchors apart from those.
    out_.Raw("<section id=\"page_").Raw(std::to_string(pages_)).Raw("\">").EndLine();
  }
  section_open_ = true;
  group_heading_ = false;
  Heading(kPageLevel, "", title);
}

void ModernPage::GroupHeading(std::string_view title) {
  ForgetMemory();
  CloseTable();
  group_level_ = section_open_ ? kPageLevel + 1 : kPageLevel;
  Heading(group_level_, "group", title);
}

void ModernPage::ItemHeading(std::string_view title) {
  ForgetMemory();
  CloseTable();
  // One level below the heading it belongs to, whichever that is: no level is
  // skipped, also when a page or a group has no heading of its own.
  const int level = group_heading_ ? group_level_ + 1 : section_open_ ? kPageLevel + 1 : kPageLevel;
  Heading(level, "item", title);
}

// The catalogue's headers are Windows-1250 text, whatever the report's code page.
// A table of the section of the last one has its header made already.
void ModernPage::TableHeader(std::span<const std::string_view> names, std::string_view alignment) {
  CloseTable();
  const Section* const section = std::exchange(table_section_, nullptr);
  const char* const text = names.empty() ? nullptr : names.front().data();
  const bool made =
      section != nullptr && section == header_section_ && text == header_text_ && alignment == header_alignment_;
  header_count_ = std::min(names.size(), header_names_.size());
  if (!made) {
    for (std::size_t i = 0; i < header_count_; ++i) {
      header_names_[i].clear();
      AppendUtf8Text(header_names_[i], *FindCodepage(kCodepageCentralEuropean), names[i]);
    }
    header_alignment_.assign(alignment);
    ChooseDataCells();
    capacity_ = section != nullptr ? CapacityColumnsOf(*section) : CapacityColumnsOf(names);
  }
  header_section_ = section;
  header_text_ = text;
  bar_column_ = capacity_.percent_free != kNoColumn ? capacity_.percent_free
                : capacity_.Any()                  ? capacity_.free
                                                   : kNoColumn;
  OpenColumns(header_count_);
}

void ModernPage::Property(std::string_view label, std::string_view value, bool in_item) {
  if (open_ != OpenTable::kProperties) {
    CloseTable();
    out_.Line(in_item ? "<table class=\"props sub\">" : "<table class=\"props\">");
    open_ = OpenTable::kProperties;
  }
  ReservedWrite line = out_.Reserve();
  line.Raw("<tr><th scope=\"row\">");
  line = CellText(line, label, false);
  line.Raw("<td>");
  line = CellText(line, value, true);
  out_.Keep(line);
  MemoryBar(label, value);
  out_.EndLine();
}

// A bar of a logical drive's used share, from its free share, else from its
// total and free space.
void ModernPage::DriveBar(std::span<const std::string_view> cells) {
  const auto cell = [&](std::size_t column) {
    return column < cells.size() ? cells[column] : std::string_view();
  };
  if (const std::optional<int> used =
          UsedShare(cell(capacity_.percent_free), cell(capacity_.total), cell(capacity_.free), language_)) {
    WriteUsageBar(out_, *used, language_);
  }
}

// A bar of the physical memory's used share beside the second of its total
// and its free part.
void ModernPage::MemoryBar(std::string_view label, std::string_view value) {
  if (IsTotalMemoryLabel(label)) {
    memory_total_.assign(value);
  } else if (IsFreeMemoryLabel(label)) {
    memory_free_.assign(value);
  } else {
    return;
  }
  if (memory_total_.empty() || memory_free_.empty()) return;
  if (const std::optional<int> used = UsedShare({}, memory_total_, memory_free_, language_)) {
    WriteUsageBar(out_, *used, language_);
  }
  ForgetMemory();
}

ReservedWrite ModernPage::LongerCellText(ReservedWrite line, std::string_view text, bool value) {
  out_.Keep(line);
  if (value) {
    Value(text);
  } else {
    ConvertUtf8ReportText(out_, *table_, text);
  }
  return out_.Reserve();
}

// The bar after the cells before it, then the rest of the row; or the
// start of a row without cells.
ReservedWrite ModernPage::RowRest(ReservedWrite line, std::span<const std::string_view> cells) {
  if (cells.empty()) return line.Raw(kRowStart);
  out_.Keep(line);
  DriveBar(cells);
  return DataCells(out_.Reserve(), cells, bar_split_, cells.size());
}

// A column table in a box that scrolls sideways, with the page's last header
// when it has as many columns.
void ModernPage::OpenColumns(std::size_t columns) {
  out_.Line("<div class=\"scroll\"><table class=\"cols\">");
  if (header_count_ == columns && columns > 0) {
    out_.Raw("<thead><tr>");
    for (std::size_t column = 0; column < columns; ++column) {
      OpenHeaderCell(header_alignment_, column);
      out_.Raw(header_names_[column]);
    }
    out_.EndLine();
  }
  out_.Line("<tbody>");
  open_ = OpenTable::kColumns;
  open_columns_ = columns;
  // A drive's bar follows its cell in rows of the header's columns.
  const bool bar = columns == header_count_ && bar_column_ < columns;
  row_rest_ = bar || columns == 0;
  bar_split_ = bar ? bar_column_ + 1 : columns;
}

// Alignment codes "C" and "R" become the classes "c" and "r"; "w" marks a
// cell that may wrap.
namespace {
std::size_t AlignmentClass(std::string_view alignment, std::size_t column) {
  const char code = column < alignment.size() ? alignment[column] : ' ';
  return code == 'C' ? 1 : code == 'R' ? 2 : 0;
}
}  // namespace

void ModernPage::OpenHeaderCell(std::string_view alignment, std::size_t column) {
  static constexpr std::string_view kHeaderCells[3] = {
      "<th scope=\"col\">", "<th scope=\"col\" class=\"c\">", "<th scope=\"col\" class=\"r\">"};
  out_.Raw(kHeaderCells[AlignmentClass(alignment, column)]);
}

// The data cells' tags, made once: by whether the cell begins the row, its
// column's alignment and whether it is wide; stored to be copied whole, as
// a table row is the hot path.
namespace {
struct StoredTag {
  char store[kPieceStore];
  std::size_t size;
};
constexpr auto kDataCellTags = [] {
  constexpr std::string_view kTags[3][2] = {
      {"<td>", "<td class=\"w\">"},
      {"<td class=\"c\">", "<td class=\"c w\">"},
      {"<td class=\"r\">", "<td class=\"r w\">"},
  };
  static_assert(kRowStart.size() + kTags[2][1].size() <= kPieceStore);
  std::array<std::array<std::array<StoredTag, 2>, 3>, 2> tags{};
  for (std::size_t first = 0; first < 2; ++first) {
    for (std::size_t align = 0; align < 3; ++align) {
      for (std::size_t wide = 0; wide < 2; ++wide) {
        StoredTag& tag = tags[first][align][wide];
        const std::string_view row_start = first != 0 ? kRowStart : std::string_view();
        const std::string_view cell = kTags[align][wide];
        std::copy(row_start.begin(), row_start.end(), tag.store);
        std::copy(cell.begin(), cell.end(), tag.store + row_start.size());
        tag.size = row_start.size() + cell.size();
      }
    }
  }
  return tags;
}();
}  // namespace

void ModernPage::ChooseDataCells() {
  for (std::size_t column = 0; column < kMaxColumns; ++column) {
    const auto& tags = kDataCellTags[column == 0 ? 1 : 0][AlignmentClass(header_alignment_, column)];
    for (std::size_t wide = 0; wide < 2; ++wide) {
      std::copy(std::begin(tags[wide].store), std::end(tags[wide].store), data_cells_.store[2 * column + wide]);
      data_cells_.size[2 * column + wide] = tags[wide].size;
    }
  }
}

void ModernPage::CloseTable() {
  switch (open_) {
    case OpenTable::kNone: return;
    case OpenTable::kProperties: out_.Line("</table>"); break;
    case OpenTable::kColumns: out_.Line("</tbody></table></div>"); break;
  }
  open_ = OpenTable::kNone;
  open_columns_ = kNoColumn;
}

void ModernPage::CloseSection() {
  if (!section_open_) return;
  out_.Line("</section>");
  section_open_ = false;
}

// Web addresses and the contact address are links; the shown text is the
// value as it stands.
void ModernPage::Value(std::string_view value) {
  if (!MayLink(value)) {
    Text(value);
    return;
  }
  if (value == kContactAddress) {
    out_.Raw("<a href=\"").Raw(kMailScheme).Raw(kContactAddress).Raw("\" rel=\"noopener noreferrer\">");
  } else if (IsWebAddress(value)) {
    // An ASCII address is its own UTF-8, and mostly its own href.
    std::string_view href = value;
    if (!IsOwnHref(value)) {
      scratch_.clear();
      AppendUtf8(scratch_, *table_, value);
      href_.clear();
      AppendHref(href_, scratch_);
      href = href_;
    }
    out_.Raw("<a href=\"").Raw(href).Raw(kLinkEnd);
  } else {
    Text(value);
    return;
  }
  Text(value);
  out_.Raw("</a>");
}

template void WalkReportTo<ModernPage>(ReportReader& reader, ModernPage& events);

}  // namespace rptconv
