// The catalogue of report sections that are shown as column tables, and its
// lookup. Texts are Windows-1250 bytes, compared byte for byte.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

namespace rptconv {

// One catalogue entry.
struct tablazatrec {
  std::string_view TitleEn;
  std::string_view TitleHu;
  int ColumnCount;
  std::string_view Alignment;  // eight characters: L, C or R per column, then blanks
  std::string_view HeadersEn;  // comma-separated column headers
  std::string_view HeadersHu;
};

inline constexpr std::size_t kCatalogSize = 41;

extern const std::array<tablazatrec, kCatalogSize> TableCatalog;

struct SectionMatch {
  const tablazatrec* Entry;
  std::string_view Headers;  // HeadersEn or HeadersHu, by the title that matched
};

// The first entry whose English title (unless skip_english_titles) or
// Hungarian title equals `key` exactly; English is tried first within an entry.
std::optional<SectionMatch> FindSection(std::string_view key, bool skip_english_titles);

}  // namespace rptconv
