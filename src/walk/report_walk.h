// The one walk over a report: it reads the lines, knows what each one means
// and tells a listener through PageEvents. Nothing below it writes markup.
//
// The walk is a template over the listener's type: given a page class that
// is final, every event is a direct call the compiler can inline into the
// loop over the lines. WalkReport on a PageEvents& serves any listener
// through virtual calls.
#pragma once

#include <array>
#include <cstddef>
#include <cstring>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "report/line_reader.h"
#include "report/record.h"
#include "report/sections.h"
#include "rptconv/rptconv.h"
#include "walk/page_events.h"

namespace rptconv {

// Reads the whole report from `source` and calls `events` from
// BeginDocument to EndDocument. I/O failures pass through as IoError.
void WalkReport(ByteSource& source, PageEvents& events, std::size_t block_size = kDefaultBlockSize);
// The same from a reader that may be shared, say with a writer that reads
// ahead in the reader's block.
void WalkReport(ReportReader& reader, PageEvents& events);

// Line 1 is the column header line; the title is the value of line 6.
inline constexpr std::size_t kTitleLine = 6;

// The title of a page, group or item last begun, kept across the reader's
// blocks. Titles are report texts, readable kTextPadding bytes past their
// end, and kept so: most are short, and are compared and copied 16 bytes
// at a time.
class HeldTitle {
 public:
  std::string_view view() const { return {bytes_.get(), size_}; }
  bool empty() const { return size_ == 0; }
  [[gnu::always_inline]] bool Holds(std::string_view title) const {
    const std::size_t size = title.size();
    if (size != size_) return false;
    if (size > kVectorBytes) return std::memcmp(title.data(), bytes_.get(), size) == 0;
    // The first byte that differs, of the 16 read: never none, since the
    // upper half of the complement is all ones.
    return LowestBit(~EqualBits16(title.data(), bytes_.get())) >= size;
  }
  void Hold(std::string_view title) {
    if (title.size() + kTextPadding > room_) {
      room_ = title.size() + kTextPadding;
      bytes_ = std::make_unique<char[]>(room_);
    }
    if (title.size() <= kVectorBytes) {
      std::memcpy(bytes_.get(), title.data(), kVectorBytes);
    } else {
      std::memcpy(bytes_.get(), title.data(), title.size());
    }
    size_ = title.size();
  }
  void Clear() { size_ = 0; }

 private:
  std::size_t room_ = 64;
  std::unique_ptr<char[]> bytes_ = std::make_unique<char[]>(room_);
  std::size_t size_ = 0;
};

// Lines of the reader are padded as the texts handed out must be.
static_assert(kTextPadding <= kVectorBytes);

template <class Events>
class ReportWalk {
 public:
  ReportWalk(ReportReader& reader, Events& events) : reader_(reader), events_(events) {}

  void Run() {
    ReadLookAhead();
    events_.BeginDocument(Title(), LanguageOfLookAhead());
    ReportRecord record;
    while (look_ahead_next_ < look_ahead_count_) {
      record = SplitRecord(NextLine());
      if (!IsDiscarded(record)) Record<kMayLookAhead>(record);
    }
    // Then every record comes from the reader, most of them cut where they lie.
    while (!reader_.AtEnd()) {
      if (!reader_.TryReadRecordInPlace(record)) record = SplitRecord(reader_.ReadLine());
      if (!IsDiscarded(record)) Record<kReaderOnly>(record);
    }
    events_.EndDocument();
  }

 private:
  static constexpr std::size_t kLookAheadLines = kTitleLine - 1;  // lines 2 to 6

  // Lines 2 to 6 are read before anything is written: the title comes from
  // line 6 and the language from the first page among them. They are
  // records too, handed out again by NextLine.
  void ReadLookAhead() {
    if (reader_.AtEnd()) return;
    reader_.ReadLine();
    while (look_ahead_count_ < kLookAheadLines && !reader_.AtEnd()) {
      const std::span<char> line = reader_.ReadLine();
      // Kept with padding, as every text handed out is.
      std::string& kept = look_ahead_[look_ahead_count_++];
      kept.assign(line.data(), line.size());
      kept.append(kTextPadding, '\0');
    }
  }

  // Empty when the report has fewer than six lines.
  std::string_view Title() const {
    static constexpr char kNoTitle[kTextPadding] = {};
    return look_ahead_count_ == kLookAheadLines ? AfterFifthField(LookAhead(kLookAheadLines - 1))
                                                : std::string_view(kNoTitle, 0);
  }

  // The first field of a line: its page title (empty without a comma).
  static std::string_view PageOf(std::string_view line) {
    const std::size_t comma = line.find(kFieldSeparator);
    return comma == std::string_view::npos ? std::string_view() : line.substr(0, comma);
  }

  // The language of the first page among the look-ahead lines; English when
  // none begins there.
  Language LanguageOfLookAhead() const {
    for (std::size_t i = 0; i < look_ahead_count_; ++i) {
      const std::string_view page = PageOf(LookAhead(i));
      if (!page.empty() && page != kPciDumpPage) return LanguageOf(page);
    }
    return Language::kEnglish;
  }
  static Language LanguageOf(std::string_view first_page) {
    return first_page == kEnglishFirstPage ? Language::kEnglish : Language::kHungarian;
  }

  // The next line, from the look-ahead first. At the end it is empty.
  std::span<char> NextLine() {
    if (look_ahead_next_ == look_ahead_count_) return reader_.ReadLine();
    std::string& line = look_ahead_[look_ahead_next_++];
    return {line.data(), line.size() - kTextPadding};
  }
  std::string_view LookAhead(std::size_t i) const {
    return std::string_view(look_ahead_[i]).substr(0, look_ahead_[i].size() - kTextPadding);
  }

  // Whether lines of a row may still come from the look-ahead.
  static constexpr bool kMayLookAhead = true;
  static constexpr bool kReaderOnly = false;

  template <bool kLookAhead>
  [[gnu::always_inline]] void Record(const ReportRecord& record) {
    if (!record.page.empty() && !last_page_.Holds(record.page)) BeginPage(record.page);
    if (!record.group.empty() && !last_group_.Holds(record.group)) BeginGroup(record);
    if (!record.item.empty() && !last_item_.Holds(record.item)) BeginItem(record.item);

    if (page_columns_ != 0) {
      TableRow<kLookAhead>(record, page_columns_);
    } else if (group_columns_ != 0) {
      TableRow<kLookAhead>(record, group_columns_);
    } else {
      events_.Property(record.label, record.value, !last_item_.empty());
    }
  }

  // The rarer events stay out of the loop's code.
  [[gnu::noinline]] void BeginPage(std::string_view page) {
    const bool first = last_page_.empty();
    if (first) english_titles_ = LanguageOf(page) == Language::kEnglish;
    last_page_.Hold(page);
    last_group_.Clear();
    last_item_.Clear();
    page_columns_ = 0;
    group_columns_ = 0;
    events_.BeginPage(page, first);

    // The first page shows the banner and is never a table.
    const SectionMatch match = first ? kNoSection : FindSection(page, english_titles_);
    if (match.section) page_columns_ = BeginTable(match);
    // Every group of a page is looked up under the same title.
    page_group_section_ = FindGroupSection(page, english_titles_);
  }

  void BeginGroup(const ReportRecord& record) {
    events_.BeginGroup(record.group, last_group_.empty(), page_columns_ != 0);
    last_group_.Hold(record.group);
    last_item_.Clear();
    // A record without a page title looks up "*" alone, which names no section.
    if (!record.page.empty() && page_group_section_.section) group_columns_ = BeginTable(page_group_section_);
  }

  void BeginItem(std::string_view item) {
    events_.BeginItem(item, last_item_.empty(), group_columns_ != 0);
    last_item_.Hold(item);
  }

  // Tells the header row of the table of `match`; gives its column count.
  [[gnu::noinline]] std::size_t BeginTable(const SectionMatch& match) {
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
    events_.BeginTable(*match.section);
    events_.TableHeader({names.data(), count}, match.section->alignment);
    return static_cast<std::size_t>(match.section->column_count);
  }

  // A row of `columns` cells: the record's group and value, then the text
  // after the fifth comma of each of the next `columns` - 2 lines, read
  // without an end test. The cells stay where they lie in the read block while the
  // lines after them can be read in place; before a line must be gathered,
  // which may move the earlier ones, they are copied aside.
  template <bool kLookAhead>
  [[gnu::always_inline]] void TableRow(const ReportRecord& record, std::size_t columns) {
    cells_[0] = record.group;
    cells_[1] = record.value;
    std::size_t k = 2;
    // Most rows: every line of the common kind, none from the look-ahead.
    if ((!kLookAhead || look_ahead_next_ == look_ahead_count_) && k < columns) {
      k += reader_.ReadCommonCells(&cells_[k], columns - k);
    }
    for (; k < columns; ++k) {
      if (kLookAhead && look_ahead_next_ < look_ahead_count_) {
        const std::span<char> line = NextLine();
        cells_[k] = AfterFifthField({line.data(), line.size()});
      } else if (!reader_.TryReadCellInPlace(cells_[k])) {
        KeepAside({cells_.data(), k});
        const std::span<char> line = reader_.ReadLine();
        cells_[k] = AfterFifthField({line.data(), line.size()});
      }
    }
    events_.TableRow({cells_.data(), columns});
  }

  // Copies `cells` into a buffer of their own and points them there.
  [[gnu::noinline]] void KeepAside(std::span<std::string_view> cells) {
    std::string& aside = aside_[next_aside_];
    next_aside_ = 1 - next_aside_;  // the other buffer may hold some of the cells
    aside.clear();
    for (const std::string_view cell : cells) aside.append(cell);
    aside.append(kTextPadding, '\0');  // readable past the end, as every text handed out is
    std::size_t start = 0;
    for (std::string_view& cell : cells) {
      cell = std::string_view(aside).substr(start, cell.size());
      start += cell.size();
    }
  }

  ReportReader& reader_;
  Events& events_;
  std::array<std::string, kLookAheadLines> look_ahead_;
  std::size_t look_ahead_count_ = 0;
  std::size_t look_ahead_next_ = 0;

  HeldTitle last_page_;
  HeldTitle last_group_;
  HeldTitle last_item_;
  bool english_titles_ = true;
  // The columns of the page's table (its groups are the rows) and of the
  // current group's; 0 for none.
  std::size_t page_columns_ = 0;
  std::size_t group_columns_ = 0;
  SectionMatch page_group_section_{};
  std::array<std::string_view, kMaxColumns> cells_;
  std::array<std::string, 2> aside_;
  std::size_t next_aside_ = 0;
};

// The walk for a listener of a known type.
template <class Events>
void WalkReportTo(ReportReader& reader, Events& events) {
  ReportWalk<Events>(reader, events).Run();
}

}  // namespace rptconv
