// Splitting a Windows command line, given as one text, into words.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace rptconv {

// The words of `text`, word 0 (the program's name as typed) first. Bytes 1 to
// 32 separate words; a double quote opens a stretch, up to the next double
// quote or the end, in which blanks belong to the word, and neither quote is
// kept; an empty pair of quotes at the start of a word is skipped; a backslash
// is an ordinary byte; the text ends at its first NUL. The second byte of a
// double-byte character (one whose first byte `is_lead_byte` accepts) is never
// taken for a blank or a quote.
//
// An empty word can only stand last (a lone quote at the end); it and
// everything after it are left out, so every word given is non-empty.
std::vector<std::string> SplitCommandLine(std::string_view text, bool (*is_lead_byte)(unsigned char));

// The arguments of a command line: its words after word 0.
std::vector<std::string> CommandLineArguments(std::string_view text, bool (*is_lead_byte)(unsigned char));

}  // namespace rptconv
