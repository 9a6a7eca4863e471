// Texts of the program's own that its pages show.
#pragma once

#include <string_view>

namespace rptconv {

// The heading of the first page of every report, shown instead of its title.
inline constexpr std::string_view kBannerText = "QUORVIX System Information Report";

}  // namespace rptconv
