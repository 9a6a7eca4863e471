// The first line of a report, by which a file is known to hold one.
#pragma once

#include <string_view>

namespace rptconv {

// Whether `head`, the first bytes of a file, begins with a report's header
// line ("Page,Group,Item,Type,Property,Value", or its Hungarian words in
// Windows-1250) ended by CR, LF or the end of `head`.
bool StartsWithReportHeader(std::string_view head);

}  // namespace rptconv
