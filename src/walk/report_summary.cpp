#include "walk/report_summary.h"

#include <algorithm>

namespace rptconv {

namespace {

// A group of hundreds of properties still gives an overview a bounded row.
constexpr std::size_t kMostSummaryProperties = 64;

}  // namespace

void SummaryListener::BeginDocument(std::string_view title, Language language) {
  summary_.title.assign(title);
  summary_.codepage = codepage_ != 0 ? codepage_ : CodepageOf(language);
  summary_.language = language == Language::kHungarian ? "hu" : "en";
  summary_.properties.clear();
}

void SummaryListener::BeginPage(std::string_view, bool) { ++pages_; }

void SummaryListener::BeginGroup(std::string_view, bool, bool) { ++groups_; }

void SummaryListener::Property(std::string_view label, std::string_view value, bool in_item) {
  if (pages_ != 1 || groups_ != 1 || in_item) return;
  auto& properties = summary_.properties;
  if (properties.size() == kMostSummaryProperties) return;
  const bool seen = std::any_of(properties.begin(), properties.end(),
                                [label](const auto& property) { return property.first == label; });
  if (!seen) properties.emplace_back(label, value);
}

void BothListeners::BeginDocument(std::string_view title, Language language) {
  first_.BeginDocument(title, language);
  second_.BeginDocument(title, language);
}
void BothListeners::BeginPage(std::string_view title, bool first) {
  first_.BeginPage(title, first);
  second_.BeginPage(title, first);
}
void BothListeners::BeginGroup(std::string_view title, bool first, bool in_table) {
  first_.BeginGroup(title, first, in_table);
  second_.BeginGroup(title, first, in_table);
}
void BothListeners::BeginItem(std::string_view title, bool first, bool in_table) {
  first_.BeginItem(title, first, in_table);
  second_.BeginItem(title, first, in_table);
}
void BothListeners::BeginTable(const Section& section) {
  first_.BeginTable(section);
  second_.BeginTable(section);
}
void BothListeners::TableHeader(std::span<const std::string_view> names, std::string_view alignment) {
  first_.TableHeader(names, alignment);
  second_.TableHeader(names, alignment);
}
void BothListeners::Property(std::string_view label, std::string_view value, bool in_item) {
  first_.Property(label, value, in_item);
  second_.Property(label, value, in_item);
}
void BothListeners::TableRow(std::span<const std::string_view> cells) {
  first_.TableRow(cells);
  second_.TableRow(cells);
}
void BothListeners::EndDocument() {
  first_.EndDocument();
  second_.EndDocument();
}

}  // namespace rptconv
