// Which report values become links: web addresses, and the maker's contact
// address as a mail link. The tests look at the raw bytes of the value.
#pragma once

#include <string>
#include <string_view>

namespace rptconv {

inline constexpr std::string_view kContactAddress = "rptconv@example.org";
inline constexpr std::string_view kWebPrefix = "http://";
// The modern page links secure addresses too.
inline constexpr std::string_view kSecureWebPrefix = "https://";
inline constexpr std::string_view kMailScheme = "mailto:";

}  // namespace rptconv
