#include "export/ndjson_report.h"

#include <stdexcept>

#include "export/title_key.h"

namespace rptconv {

namespace {

// Gathers a JsonWriter's bytes into a string.
class StringSink : public ByteSink {
 public:
  explicit StringSink(std::string& out) : out_(out) {}
  void Write(std::string_view bytes) override { out_.append(bytes); }

 private:
  std::string& out_;
};

constexpr std::size_t kMembersBuffer = 4096;

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
  section_ = KeyFromTitle({}, codepage_);
  MakeMembers();
}

void NdjsonReport::EndDocument() { out_.Flush(); }

void NdjsonReport::MakeMembers() {
  members_.clear();
  StringSink sink(members_);
  const JsonCodepageTable& table = *FindJsonCodepage(codepage_);
  JsonWriter members(sink, table, kMembersBuffer);
  // Written as the members of an object, then cut down to them alone.
  members.BeginObject().Key("file");
  file_utf8_ ? members.Utf8String(file_) : members.String(file_);
  members.Key("computer");
  if (computer_known_) {
    members.String(computer_);
  } else {
    members.Null();
  }
  members.Key("section").Utf8String(section_).Key("page").String(page_).Key("group");
  if (group_named_) {
    members.String(group_);
  } else {
    members.Null();
  }
  members.Key("item");
  if (item_named_) {
    members.String(item_);
  } else {
    members.Null();
  }
  members.EndObject().Flush();
  members_ = members_.substr(1, members_.size() - 2);
}

void NdjsonReport::BeginPage(std::string_view title, bool) {
  ++pages_;
  groups_ = 0;
  page_.assign(title);
  section_ = KeyFromTitle(title, codepage_);
  group_named_ = item_named_ = rows_named_ = false;
  MakeMembers();
}

void NdjsonReport::BeginGroup(std::string_view title, bool, bool in_table) {
  ++groups_;
  item_named_ = false;
  // The groups of a page that is a table are its rows, and the group's
  // title is the row's first cell.
  group_named_ = !in_table;
  if (!in_table) {
    group_.assign(title);
    // Until the group turns out to be a table, its lines are the page's.
    section_ = KeyFromTitle(page_, codepage_);
    rows_named_ = false;
  }
  MakeMembers();
}

void NdjsonReport::BeginItem(std::string_view title, bool, bool) {
  item_.assign(title);
  item_named_ = true;
  MakeMembers();
}

void NdjsonReport::BeginTable(const Section& section) {
  columns_.Begin(section);
  section_.assign(section.key);
  rows_named_ = true;
  MakeMembers();
}

void NdjsonReport::Property(std::string_view label, std::string_view value, bool in_item) {
  if (!computer_known_ && pages_ == 1 && groups_ == 1 && !in_item && IsComputerNameLabel(label)) {
    computer_.assign(value);
    computer_known_ = true;
    MakeMembers();
  }
  out_.BeginObject(members_).Key("label").String(label).Key("value").String(value).EndObject().EndRecord();
}

void NdjsonReport::TableRow(std::span<const std::string_view> cells, std::string_view) {
  // Rows of a group without a header of its own go on with the last table.
  if (!rows_named_) {
    section_.assign(columns_.section()->key);
    rows_named_ = true;
    MakeMembers();
  }
  out_.BeginObject(members_).Key("fields").BeginObject();
  columns_.WriteRow(out_, cells, language_);
  out_.EndObject().EndObject().EndRecord();
}

}  // namespace rptconv
