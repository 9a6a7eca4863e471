#include "walk/report_walk.h"

#include <array>
#include <string>

#include "report/record.h"
#include "report/sections.h"

namespace rptconv {

namespace {

// Line 1 is the column header line; the title is the value of line 6.
constexpr std::size_t kTitleLine = 6;
constexpr std::size_t kLookAheadLines = kTitleLine - 1;  // lines 2 to 6

// The first field of a line: its page title (empty without a comma).
std::string_view PageOf(std::string_view line) {
  const std::size_t comma = line.find(kFieldSeparator);
  return comma == std::string_view::npos ? std::string_view() : line.substr(0, comma);
}

// Equal texts; most titles compared here are short and equal.
inline bool Same(std::string_view a, std::string_view b) {
  return a.size() == b.size() && (a.empty() || (a[0] == b[0] && a == b));
}

class Walk {
 public:
  Walk(ReportReader& reader, PageEvents& events) : reader_(reader), events_(events) {}

  void Run() {
    ReadLookAhead();
    events_.BeginDocument(Title(), LanguageOfLookAhead());
    while (!AtEnd()) {
      const ReportRecord record = NextRecord();
      if (!IsDiscarded(record)) Record(record);
    }
    events_.EndDocument();
  }

 private:
  // Lines 2 to 6 are read before anything is written: the title comes from
  // line 6 and the language from the first page among them. They are
  // records too, handed out again by NextLine.
  void ReadLookAhead() {
    if (reader_.AtEnd()) return;
    reader_.ReadLine();
    while (look_ahead_count_ < kLookAheadLines && !reader_.AtEnd()) {
      const std::span<char> line = reader_.ReadLine();
      look_ahead_[look_ahead_count_++].assign(line.data(), line.size());
    }
  }

  // Empty when the report has fewer than six lines.
  std::string_view Title() const {
    return look_ahead_count_ == kLookAheadLines ? AfterFifthField(look_ahead_.back()) : std::string_view();
  }

  // The language of the first page among the look-ahead lines; English when
  // none begins there.
  Language LanguageOfLookAhead() const {
    for (std::size_t i = 0; i < look_ahead_count_; ++i) {
      const std::string_view page = PageOf(look_ahead_[i]);
      if (!page.empty() && page != kPciDumpPage) return LanguageOf(page);
    }
    return Language::kEnglish;
  }
  static Language LanguageOf(std::string_view first_page) {
    return first_page == kEnglishFirstPage ? Language::kEnglish : Language::kHungarian;
  }

  bool AtEnd() { return next_look_ahead_ == look_ahead_count_ && reader_.AtEnd(); }

  // The next line, from the look-ahead first. At the end it is empty.
  std::span<char> NextLine() {
    if (next_look_ahead_ == look_ahead_count_) return reader_.ReadLine();
    std::string& line = look_ahead_[next_look_ahead_++];
    return {line.data(), line.size()};
  }

  // The next line split as a record: cut from the reader's masks where it
  // lies, else split after reading.
  ReportRecord NextRecord() {
    ReportRecord record;
    if (next_look_ahead_ < look_ahead_count_ || !reader_.TryReadRecordInPlace(record)) {
      record = SplitRecord(NextLine());
    }
    return record;
  }

  void Record(const ReportRecord& record) {
    if (!record.page.empty() && !Same(record.page, last_page_)) BeginPage(record.page);
    if (!record.group.empty() && !Same(record.group, last_group_)) BeginGroup(record);
    if (!record.item.empty() && !Same(record.item, last_item_)) BeginItem(record.item);

    if (page_columns_ != 0) {
      TableRow(record, page_columns_);
    } else if (group_columns_ != 0) {
      TableRow(record, group_columns_);
    } else {
      events_.Property(record.label, record.value, !last_item_.empty());
    }
  }

  void BeginPage(std::string_view page) {
    const bool first = last_page_.empty();
    if (first) english_titles_ = LanguageOf(page) == Language::kEnglish;
    last_page_.assign(page);
    last_group_.clear();
    last_item_.clear();
    page_columns_ = 0;
    group_columns_ = 0;
    events_.BeginPage(page, first);

    const SectionMatch match = FindSection(first ? kBannerText : page, english_titles_);
    if (match.section) {
      page_columns_ = match.section->column_count;
      column_align_ = match.section->alignment;
      TableHeader(match);
    }
    // Every group of a page is looked up under the same title.
    page_group_section_ = FindGroupSection(page, english_titles_);
  }

  void BeginGroup(const ReportRecord& record) {
    events_.BeginGroup(record.group, last_group_.empty(), page_columns_ != 0);
    last_group_.assign(record.group);
    last_item_.clear();
    // A record without a page title looks up "*" alone, which names no section.
    const SectionMatch match = record.page.empty() ? SectionMatch{} : page_group_section_;
    if (match.section) {
      group_columns_ = match.section->column_count;
      column_align_ = match.section->alignment;
      TableHeader(match);
    }
  }

  void BeginItem(std::string_view item) {
    events_.BeginItem(item, last_item_.empty(), group_columns_ != 0);
    last_item_.assign(item);
  }

  void TableHeader(const SectionMatch& match) {
    std::array<std::string_view, kMaxColumns> names;
    std::size_t count = 0;
    std::string_view rest = match.headers;
    while (count + 1 < names.size()) {
      const std::size_t comma = rest.find(kFieldSeparator);
      if (comma == std::string_view::npos) break;
      names[count++] = rest.substr(0, comma);
      rest.remove_prefix(comma + 1);
    }
    names[count++] = rest;
    events_.TableHeader({names.data(), count}, column_align_);
  }

  // A row of `columns` cells: the record's group and value, then the text
  // after the fifth comma of each of the next `columns` - 2 lines, read
  // without an end test. The cells stay where they lie in the read block
  // while the lines after them can be read in place; before a line must be
  // gathered, which may move the earlier ones, they are copied aside.
  void TableRow(const ReportRecord& record, int columns) {
    const auto count = static_cast<std::size_t>(columns);
    std::array<std::string_view, kMaxColumns> cells;
    cells[0] = record.group;
    cells[1] = record.value;
    for (std::size_t k = 2; k < count; ++k) {
      if (next_look_ahead_ < look_ahead_count_) {
        const std::span<char> line = NextLine();
        cells[k] = AfterFifthField({line.data(), line.size()});
      } else if (!reader_.TryReadCellInPlace(cells[k])) {
        KeepAside({cells.data(), k});
        const std::span<char> line = reader_.ReadLine();
        cells[k] = AfterFifthField({line.data(), line.size()});
      }
    }
    events_.TableRow({cells.data(), count}, column_align_);
  }

  // Copies `cells` into a buffer of their own and points them there.
  void KeepAside(std::span<std::string_view> cells) {
    std::string& aside = aside_[next_aside_];
    next_aside_ = 1 - next_aside_;  // the other buffer may hold some of the cells
    aside.clear();
    for (const std::string_view cell : cells) aside.append(cell);
    std::size_t start = 0;
    for (std::string_view& cell : cells) {
      cell = std::string_view(aside).substr(start, cell.size());
      start += cell.size();
    }
  }

  ReportReader& reader_;
  PageEvents& events_;
  std::array<std::string, kLookAheadLines> look_ahead_;
  std::size_t look_ahead_count_ = 0;
  std::size_t next_look_ahead_ = 0;

  std::string last_page_;
  std::string last_group_;
  std::string last_item_;
  bool english_titles_ = true;
  int page_columns_ = 0;
  int group_columns_ = 0;
  std::string_view column_align_;
  SectionMatch page_group_section_{};
  std::array<std::string, 2> aside_;
  std::size_t next_aside_ = 0;
};

}  // namespace

void WalkReport(ReportReader& reader, PageEvents& events) { Walk(reader, events).Run(); }

void WalkReport(ByteSource& source, PageEvents& events, std::size_t block_size) {
  ReportReader reader(source, block_size);
  WalkReport(reader, events);
}

}  // namespace rptconv
