// The bytes of one console line.
#pragma once

#include <string>
#include <string_view>

namespace rptconv {

// `line` followed by CR LF. Written to a terminal, the control bytes 0x00 to
// 0x1F and 0x7F show as "?", as `ls` shows them, so that a report's name
// cannot retitle or rewrite the terminal; to a file or a pipe every byte
// stays as it is.
std::string ConsoleLineBytes(std::string_view line, bool terminal);

}  // namespace rptconv
