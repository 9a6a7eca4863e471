#include "html/render.h"

#include "html/links.h"
#include "html/tables.h"
#include "report/utypes.h"

namespace rptconv {

namespace {

constexpr std::string_view kCloseBodyTable = "</TABLE><BR><BR>";
constexpr std::string_view kPageHeadingStart = "<TABLE WIDTH=100%><TD CLASS=pt>";
constexpr std::string_view kPageHeadingEnd =
    "<TR><TD><HR></TABLE><TABLE><TR><TD WIDTH=16>&nbsp;<TD WIDTH=16><TD WIDTH=16><TD WIDTH=16>"
    "<TD WIDTH=16>";
constexpr std::string_view kSpacerRow = "<TR><TD>&nbsp;";
constexpr std::string_view kGroupTableKeyPrefix = "*";

}  // namespace

void PageRenderer::SpacerRow() { out_.Line(kSpacerRow); }

void PageRenderer::StartPage(std::string_view page) {
  const bool first_page = state_.LastPage.empty();
  if (!first_page) out_.Line(kCloseBodyTable);
  if (first_page) state_.SkipEnglishTitles = page != kEnglishFirstPage;
  state_.LastPage.assign(page);
  state_.LastGroup.clear();
  state_.LastItem.clear();
  state_.PageColumns = 0;
  state_.GroupColumns = 0;

  out_.Raw(kPageHeadingStart);
  if (first_page) {
    out_.Raw(BannerText);
  } else {
    out_.Text(page);
  }
  out_.Raw(kPageHeadingEnd).EndLine();

  const std::string_view heading = first_page ? BannerText : page;
  if (const auto match = FindSection(heading, state_.SkipEnglishTitles)) {
    state_.PageColumns = match->Entry->ColumnCount;
    state_.ColumnAlign = match->Entry->Alignment;
    WriteHeaderRow(out_, match->Headers, state_.ColumnAlign);
  }
}

void PageRenderer::StartGroup(std::string_view page, std::string_view group) {
  if (!state_.LastGroup.empty() && state_.PageColumns == 0) SpacerRow();
  state_.LastGroup.assign(group);
  state_.LastItem.clear();
  if (state_.PageColumns == 0) {
    out_.Raw("<TR><TD><TD CLASS=dt COLSPAN=5>[ ").Text(group).Raw(" ]").EndLine();
    SpacerRow();
  }
  // Group tables are catalogued as "*" followed by the title of their page,
  // taken from this record line itself. The rows of a page table are groups
  // of one page each, so the last lookup is kept.
  if (!group_lookup_done_ || page != group_lookup_page_ ||
      state_.SkipEnglishTitles != group_lookup_skip_) {
    group_lookup_done_ = true;
    group_lookup_page_.assign(page);
    group_lookup_skip_ = state_.SkipEnglishTitles;
    std::string key;
    key.reserve(kGroupTableKeyPrefix.size() + page.size());
    key.append(kGroupTableKeyPrefix).append(page);
    group_lookup_ = FindSection(key, state_.SkipEnglishTitles);
  }
  if (group_lookup_) {
    state_.GroupColumns = group_lookup_->Entry->ColumnCount;
    state_.ColumnAlign = group_lookup_->Entry->Alignment;
    WriteHeaderRow(out_, group_lookup_->Headers, state_.ColumnAlign);
  }
}

void PageRenderer::StartItem(std::string_view item) {
  if (state_.GroupColumns == 0 && !state_.LastItem.empty()) SpacerRow();
  state_.LastItem.assign(item);
  if (state_.GroupColumns == 0) {
    out_.Raw("<TR><TD><TD><TD COLSPAN=3><B>").Text(item).Raw(":</B>").EndLine();
  }
}

void PageRenderer::WritePropertyRow(const ReportRecord& record) {
  out_.Raw(state_.LastItem.empty() ? "<TR><TD><TD><TD>" : "<TR><TD><TD><TD><TD>");
  out_.Text(record.Label).Raw("&nbsp;&nbsp;<TD>");
  DecorateValue(out_, record.Value);
  out_.EndLine();
}

void PageRenderer::RenderRecord(const ReportRecord& record) {
  if (!record.Page.empty() && record.Page != state_.LastPage) StartPage(record.Page);
  if (!record.Group.empty() && record.Group != state_.LastGroup) StartGroup(record.Page, record.Group);
  if (!record.Item.empty() && record.Item != state_.LastItem) StartItem(record.Item);

  if (state_.PageColumns != 0) {
    WriteTableRow(out_, reader_, state_.PageColumns, record, state_.ColumnAlign);
  } else if (state_.GroupColumns != 0) {
    WriteTableRow(out_, reader_, state_.GroupColumns, record, state_.ColumnAlign);
  } else {
    WritePropertyRow(record);
  }
}

}  // namespace rptconv
