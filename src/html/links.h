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

// Appends a byte that may not stand as it is in an address: "%" and its two
// hexadecimal digits.
inline void AppendPercentEscape(std::string& out, unsigned char byte) {
  constexpr std::string_view kHexDigits = "0123456789ABCDEF";
  out.push_back('%');
  out.push_back(kHexDigits[byte >> 4]);
  out.push_back(kHexDigits[byte & 0x0F]);
}

}  // namespace rptconv
