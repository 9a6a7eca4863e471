// The bytes with a role in a report's text.
#pragma once

namespace rptconv {

inline constexpr char kLineFeed = '\n';
inline constexpr char kCarriageReturn = '\r';
inline constexpr char kCtrlZ = '\x1A';      // ends the input wherever it stands
inline constexpr char kFieldSeparator = ',';
inline constexpr char kValueComma = ';';  // stands for a comma inside a value

}  // namespace rptconv
