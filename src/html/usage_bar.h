// A used share drawn beside the numbers it comes from: a logical drive's
// "% Free", or a total and its free part. An inline SVG bar, described for
// screen readers, in the page's colours (also dark and printed); the numbers
// stay as text.
#pragma once

#include <optional>
#include <string_view>

#include "html/line_writer.h"
#include "walk/page_events.h"

namespace rptconv {

// A size such as "37.2 GB", "650 MB" or "2,400 KB" (Hungarian "37,2 GB",
// "2 400 KB") in bytes; nothing for any other text.
std::optional<double> ReadSize(std::string_view text, Language language);

// The used share in whole percent: 100 less a free share such as "35 %";
// else from a total and its free part. Nothing when the texts give none.
std::optional<int> UsedShare(std::string_view percent_free, std::string_view total, std::string_view free,
                             Language language);

void WriteUsageBar(LineWriter& out, int used_percent, Language language);

}  // namespace rptconv
