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

void SummaryListener::Keep(std::string_view label, std::string_view value) {
  auto& properties = summary_.properties;
  if (properties.size() == kMostSummaryProperties) return;
  const bool seen = std::any_of(properties.begin(), properties.end(),
                                [label](const auto& property) { return property.first == label; });
  if (!seen) properties.emplace_back(label, value);
}

}  // namespace rptconv
