// Values that are web addresses, or the maker's contact address, are written
// as links that open in the browser window named "blank".
#pragma once

#include <string_view>

#include "html/line_writer.h"

namespace rptconv {

inline constexpr std::string_view ContactAddress = "rptconv@example.org";
inline constexpr std::string_view kWebPrefix = "http://";

// Writes `value` (raw report text) as plain escaped text or as a link. The
// tests look at the raw bytes; address and link text are escaped.
void DecorateValue(LineWriter& out, std::string_view value);

}  // namespace rptconv
