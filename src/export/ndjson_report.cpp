#include "export/ndjson_report.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "export/title_key.h"

namespace rptconv {

namespace {

constexpr std::string_view kLabelMember = "\"label\":";
constexpr std::string_view kValueMember = "\"value\":";
constexpr std::string_view kFieldsMember = ",\"fields\":";

// Appends `"name":` and the text, or null when there is none.
void AppendMember(std::string& out, std::string_view name, const std::string* text, const JsonCodepageTable& table,
                  bool utf8 = false) {
  out.append(",\"").append(name).append("\":");
  if (text) {
    AppendJsonString(out, *text, table, utf8);
  } else {
    out.append("null");
  }
}

}  // namespace

NdjsonReport::NdjsonReport(JsonWriter& out, int codepage, std::string_view file, bool file_utf8)
    : out_(out), codepage_(codepage), file_(file), file_utf8_(file_utf8) {
  if (codepage != 0 && FindJsonCodepage(codepage) == nullptr) {
    throw std::invalid_argument("no table for code page " + std::to_string(codepage));
  }
}

void NdjsonReport::BeginDocument(std::string_view, Language language) {
  language_ = language;
  if (codepage_ == 0) codepage_ = CodepageOf(language);
  out_.SetCodepage(*FindJsonCodepage(codepage_));
  // Records before the first page belong to no section the report names.
  page_key_ = KeyFromTitle({}, codepage_);
  section_ = page_key_;
}

void NdjsonReport::EndDocument() { out_.Flush(); }

void NdjsonReport::MakeMembers() {
  const JsonCodepageTable& table = *FindJsonCodepage(codepage_);
  if (stale_ & kPagePart) {
    page_members_.clear();
    AppendMember(page_members_, "file", &file_, table, file_utf8_);
    // The first member has no comma before it.
    page_members_.erase(0, 1);
    AppendMember(page_members_, "computer", computer_known_ ? &computer_ : nullptr, table);
    AppendMember(page_members_, "section", &section_, table, true);
    AppendMember(page_members_, "page", &page_, table);
  }
  if (stale_ & kGroupPart) {
    group_members_.clear();
    AppendMember(group_members_, "group", group_named_ ? &group_ : nullptr, table);
  }
  if (stale_ & kItemPart) {
    item_members_.clear();
    AppendMember(item_members_, "item", item_named_ ? &item_ : nullptr, table);
  }
  members_.assign(page_members_).append(group_members_).append(item_members_);
  row_start_.assign("{").append(members_).append(kFieldsMember);
  property_start_.assign("{").append(members_).append(",");
  stale_ = 0;
}

void NdjsonReport::BeginPage(std::string_view title, bool first) {
  first_page_ = first;
  first_group_ = false;
  page_.assign(title);
  page_key_ = KeyFromTitle(title, codepage_);
  section_ = page_key_;
  group_named_ = item_named_ = rows_named_ = false;
  Stale(kPagePart | kGroupPart | kItemPart);
}

void NdjsonReport::BeginPropertyGroup(std::string_view title) {
  if (item_named_) Stale(kItemPart);
  item_named_ = false;
  group_.assign(title);
  group_named_ = true;
  // Until the group turns out to be a table, its lines are the page's.
  SetSection(page_key_);
  rows_named_ = false;
  Stale(kGroupPart);
}

void NdjsonReport::BeginItem(std::string_view title, bool, bool) {
  item_.assign(title);
  item_named_ = true;
  Stale(kItemPart);
}

void NdjsonReport::BeginTable(const Section& section) {
  columns_.Begin(section);
  SetSection(section.key);
  rows_named_ = true;
}

void NdjsonReport::Property(std::string_view label, std::string_view value, bool in_item) {
  if (!computer_known_ && first_page_ && first_group_ && !in_item && IsComputerNameLabel(label)) {
    computer_.assign(value);
    computer_known_ = true;
    Stale(kPagePart);
  }
  // The line straight into the buffer, as a row's.
  const std::string& start = PropertyStart();
  const std::size_t room = start.size() + TextMemberRoom(kLabelMember, label) +
                           TextMemberRoom(kValueMember, value) + kNdjsonLineEnd;
  if (!out_.RawRoomFits(room)) {
    out_.BeginObject(Members()).TextMember(kLabelMember, label).TextMember(kValueMember, value).EndObject().EndRecord();
    return;
  }
  char* out = out_.RawValue(room);
  std::memcpy(out, start.data(), start.size());
  out = PutTextMember(out + start.size(), kLabelMember, label, out_.table());
  *out++ = ',';
  out = PutTextMember(out, kValueMember, value, out_.table());
  *out++ = '}';
  *out++ = '\n';
  out_.EndRawRecord(out);
}

void NdjsonReport::NameRows() {
  SetSection(columns_.section()->key);
  rows_named_ = true;
}

void NdjsonReport::LongRow(std::span<const std::string_view> cells) {
  out_.BeginObject(Members()).RawKey(kFieldsMember.substr(1)).BeginObject();
  columns_.WriteMembers(out_, cells, language_);
  out_.EndObject().EndObject().EndRecord();
}

template void WalkReportTo<NdjsonReport>(ReportReader& reader, NdjsonReport& events);

}  // namespace rptconv
