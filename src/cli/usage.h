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

// "--help" prints the full help: what the program does, every option and the
// exit codes, as the manual page rptconv(1) has them.
inline constexpr std::string_view kHelpLines[] = {
    "Usage: rptconv [OPTION]... [--] PATTERN... [/HTA]",
    "       rptconv [OPTION]... -",
    "Convert QUORVIX comma-separated reports into stand-alone HTML pages.",
    "",
    "Every report a PATTERN names (wildcards *, ? and [...] in its last part) becomes",
    "a page beside it with the extension .htm; a pattern without wildcards must name",
    "a report. A PATTERN of - reads the report from standard input and writes its",
    "page to standard output.",
    "",
    "Options:",
    "  -o, --output=FILE      write the page (or data) of the one report named to FILE",
    "                         (- for standard output)",
    "  -d, --output-dir=DIR   write every page into DIR, which must exist; a second",
    "                         page of the same name is refused, never replaced",
    "  -k, --keep-going       report a failed report and go on with the next",
    "  -q, --quiet            no progress lines; failure lines go to standard error",
    "      --hta              name the pages .hta (also /HTA after the first one)",
    "      --style=STYLE      classic (the default) or modern: HTML5 in UTF-8",
    "      --codepage=N       the reports' code page for modern pages: 1250 or 1252",
    "                         (default 1250, or 1252 when the first page is Report)",
    "      --index=FILE       after the batch, write an overview of its reports to",
    "                         FILE: links to the pages, titles, first properties;",
    "                         readable only by those who may read every report",
    "                         (with --format=json or ndjson: as JSON); a page",
    "                         also shows, across the reports, the software with",
    "                         its versions and the computers that need attention:",
    "      --min-free=PERCENT a fixed drive with less free space (default 10)",
    "      --max-av-age=DAYS  a virus database older at the report's date, or no",
    "                         antivirus (default 7)",
    "      --max-errors=N     more error events in the event logs (default 0);",
    "                         and any SMART attribute whose status is not OK",
    "      --format=FORMAT    html (the default): pages; json: each report's data as",
    "                         one JSON document (.json); ndjson: one JSON line per",
    "                         table row and property (.ndjson); with -o, every",
    "                         report named goes into the one stream",
    "      --compare OLD NEW  write what changed from report OLD to report NEW to a",
    "                         page beside NEW named NEW.changes.htm (or -o, -d);",
    "                         with --format=json, the changes as JSON in",
    "                         NEW.changes.json; ndjson: one line per change",
    "                         (NEW.changes.ndjson)",
    "      --all-columns      with --compare, also count and show volatile columns",
    "                         (memory in use, last access, ...)",
    "  -h                     print the classic usage text",
    "      --help             print this help",
    "      --version          print the name and version",
    "  --                     every later argument is a pattern",
    "Console lines go to standard error while a page goes to standard output.",
    "No output replaces a report named or found by the run, another output of the",
    "run, or a file holding a report; -o, -d and --index are checked before the",
    "first report. A device or FIFO as output is written into, never replaced.",
    "",
    "Windows: the long options are read as --name or --name=value in any position;",
    "the first other argument is the pattern (* and ?), and /HTA right after it",
    "selects .hta; there are no short options and no -: a later argument that",
    "begins with - and is no long option is an unknown option.",
    "",
    "Exit status:",
    "   0  every report found was converted (also when none was found), or the",
    "      comparison was written, whatever it found",
    "   1  a report could not be opened or found, or an I/O failure ended one",
    "   2  a page or the index could not be created, or may not replace what is there",
    "  64  unknown option, option without its value, options that do not fit, or",
    "      options without a pattern",
    "With --keep-going the exit status is that of the first failure.",
};

}  // namespace rptconv
