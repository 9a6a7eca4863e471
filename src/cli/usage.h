// The usage text, printed on request or when no report is named.
#pragma once

#include <array>
#include <string_view>

namespace rptconv {

inline constexpr std::array<std::string_view, 11> kUsageLines = {
    "QUORVIX CSV->HTM Report Converter (c) 2026 The rptconv developers",
    "Version 1.04-0608  [ Go to https://rptconv.example.org for new versions ]",
    "",
    "Usage:  RPTCONV <csvfile> [/HTA]",
    "",
    "Output file will be named as <csvfile>, but the extension will become .HTM,",
    "or when /HTA switch specified extension will be .HTA instead",
    "",
    "Only English and Hungarian language CSV files are supported",
    "",
    "This version of RPTCONV supports QUORVIX v3.5x and later report files only",
};

// "--version" prints the first two lines.
inline constexpr std::size_t kVersionLines = 2;

}  // namespace rptconv
