// Keys for sections the catalogue does not know: made from the report's own
// title, so that data from reports of either language can still be picked
// by a plain ASCII name.
#pragma once

#include <string>
#include <string_view>

namespace rptconv {

// Lower-case snake_case ASCII from a title in `codepage` (1250 or 1252):
// letters and digits kept, accented Latin letters as their base letter
// ("Összesítés" gives "osszesites"), every run of anything else one "_",
// none at either end. "section" when nothing is left.
std::string KeyFromTitle(std::string_view title, int codepage);

}  // namespace rptconv
