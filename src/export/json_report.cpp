#include "export/json_report.h"

#include <algorithm>
#include <stdexcept>

#include "export/title_key.h"
#include "report/codepage.h"

namespace rptconv {

namespace {

constexpr std::string_view kLabelMember = "\"label\":";
constexpr std::string_view kValueMember = "\"value\":";
constexpr std::string_view kItemMember = ",\"item\":";
// The names of the members every page, group and item has, written as JSON
// once here rather than escaped on each use.
constexpr std::string_view kTitleKey = "\"title\":";
constexpr std::string_view kKeyKey = "\"key\":";
constexpr std::string_view kGroupsKey = "\"groups\":";
constexpr std::string_view kItemsKey = "\"items\":";
constexpr std::string_view kPropertiesKey = "\"properties\":";
constexpr std::string_view kColumnsKey = "\"columns\":";
constexpr std::string_view kKindKey = "\"kind\":";
constexpr std::string_view kRowsKey = "\"rows\":";

}  // namespace

std::string_view LanguageCode(Language language) { return language == Language::kHungarian ? "hu" : "en"; }

JsonReport::JsonReport(JsonWriter& out, int codepage, std::string_view file, bool file_utf8)
    : out_(out), codepage_(codepage), file_(file), file_utf8_(file_utf8) {
  if (codepage != 0 && FindJsonCodepage(codepage) == nullptr) {
    throw std::invalid_argument("no table for code page " + std::to_string(codepage));
  }
}

void JsonReport::BeginDocument(std::string_view title, Language language) {
  language_ = language;
  if (codepage_ == 0) codepage_ = CodepageOf(language);
  out_.SetCodepage(*FindJsonCodepage(codepage_));
  out_.BeginObject().Key("format").Utf8String(kReportFormat).Key("version").Int(kReportFormatVersion);
  if (!file_.empty()) {
    out_.Key("file");
    file_utf8_ ? out_.Utf8String(file_) : out_.String(file_);
  }
  out_.Key("title").Text(title).Key("language").Utf8String(LanguageCode(language));
  out_.Key("codepage").Int(codepage_).Key("pages").BeginArray();
}

void JsonReport::EndDocument() {
  ClosePage();
  out_.EndArray().EndObject().EndRecord();
  out_.Flush();
}

void JsonReport::OpenPage(std::string_view title) {
  ClosePage();
  out_.NewLine().BeginObject().RawKey(kTitleKey).String(title);
  page_open_ = true;
  page_holds_ = Holds::kNothing;
  page_title_.assign(title);
}

void JsonReport::ClosePage() {
  CloseGroup();
  if (!page_open_) return;
  if (page_holds_ == Holds::kNothing) out_.RawKey(kKeyKey).Utf8String(KeyFromTitle(page_title_, codepage_));
  if (page_holds_ != Holds::kNothing) out_.NewLine().EndArray();
  out_.EndObject();
  page_open_ = false;
}

void JsonReport::OpenGroup(std::string_view title) {
  CloseGroup();
  if (!page_open_) OpenPage({});
  if (page_holds_ == Holds::kNothing) {
    out_.RawKey(kKeyKey).Utf8String(KeyFromTitle(page_title_, codepage_)).RawKey(kGroupsKey).BeginArray();
    page_holds_ = Holds::kGroups;
  }
  out_.NewLine().BeginObject().RawKey(kTitleKey).String(title);
  group_open_ = true;
  group_holds_ = Holds::kNothing;
}

void JsonReport::CloseGroup() {
  CloseItem();
  row_item_.clear();
  if (!group_open_) return;
  if (group_holds_ != Holds::kNothing) out_.NewLine().EndArray();
  out_.EndObject();
  group_open_ = false;
}

void JsonReport::CloseItem() {
  if (!item_open_) return;
  out_.NewLine().EndArray().EndObject();
  item_open_ = false;
}

void JsonReport::NeedGroup() {
  if (!group_open_) OpenGroup({});
}

void JsonReport::BeginPage(std::string_view title, bool) { OpenPage(title); }


void JsonReport::BeginItem(std::string_view title, bool, bool) {
  // In a table an item names the rows that follow it.
  if (page_holds_ == Holds::kRows || group_holds_ == Holds::kRows) {
    row_item_.assign(kItemMember);
    AppendJsonString(row_item_, title, out_.table(), false);
    return;
  }
  NeedGroup();
  CloseItem();
  if (group_holds_ == Holds::kProperties) out_.NewLine().EndArray();
  if (group_holds_ != Holds::kItems) {
    out_.RawKey(kItemsKey).BeginArray();
    group_holds_ = Holds::kItems;
  }
  out_.NewLine().BeginObject().RawKey(kTitleKey).Text(title).RawKey(kPropertiesKey).BeginArray();
  item_open_ = true;
}

void JsonReport::BeginTable(const Section& section) { columns_.Begin(section); }

// The table of the page just begun, or of the group just begun.
void JsonReport::TableHeader(std::span<const std::string_view> names, std::string_view) {
  header_count_ = std::min(names.size(), header_names_.size());
  for (std::size_t column = 0; column < header_count_; ++column) header_names_[column].assign(names[column]);
  const bool group_table = group_open_ && group_holds_ == Holds::kNothing;
  if (!group_table && (!page_open_ || page_holds_ != Holds::kNothing)) OpenPage(page_title_);
  OpenRows(group_table ? group_holds_ : page_holds_);
}

// The table's key, its columns and the start of its rows, in the page or
// group whose content is `holds`.
void JsonReport::OpenRows(Holds& holds) {
  out_.RawKey(kKeyKey).Utf8String(columns_.section()->key).RawKey(kColumnsKey).BeginArray();
  // The catalogue's headers are Windows-1250 text, whatever the report's code page.
  const JsonCodepageTable& headers = *FindJsonCodepage(kCodepageCentralEuropean);
  for (std::size_t column = 0; column < columns_.count(); ++column) {
    out_.BeginObject().RawKey(kKeyKey).Utf8String(columns_.key(column));
    if (column < header_count_) out_.RawKey(kTitleKey).String(header_names_[column], headers);
    out_.RawKey(kKindKey).Utf8String(KindName(columns_.kind(column))).EndObject();
  }
  out_.EndArray().RawKey(kRowsKey).BeginArray();
  holds = Holds::kRows;
}

// Rows with no header of their own, in a group that is no table (the walk
// sends them for a group whose record has no page title, in a page whose
// groups are tables): they go on with the last table's columns, in a group
// of their own.
void JsonReport::NeedRows() {
  if (!group_open_ || group_holds_ != Holds::kNothing) OpenGroup({});
  OpenRows(group_holds_);
}

void JsonReport::Property(std::string_view label, std::string_view value, bool) {
  NeedGroup();
  if (!item_open_ && group_holds_ != Holds::kProperties) {
    if (group_holds_ != Holds::kNothing) {
      // Properties after a table or after items of the same group go into
      // a new untitled group, keeping their order (the walk sends no such
      // thing today: a table's group holds only rows, and an item lasts
      // to the group's end).
      OpenGroup({});
    }
    out_.RawKey(kPropertiesKey).BeginArray();
    group_holds_ = Holds::kProperties;
  }
  out_.NewLine().BeginObject().TextMember(kLabelMember, label).TextMember(kValueMember, value).EndObject();
}

// A row longer than the writer's buffer, written piece by piece.
void JsonReport::LongRow(std::span<const std::string_view> cells) {
  out_.NewLine().BeginObject(std::string_view(row_item_).substr(row_item_.empty() ? 0 : 1));
  columns_.WriteMembers(out_, cells, language_);
  out_.EndObject();
}

template void WalkReportTo<JsonReport>(ReportReader& reader, JsonReport& events);

}  // namespace rptconv
