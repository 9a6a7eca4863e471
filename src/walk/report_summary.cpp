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

}  // namespace rptconv
