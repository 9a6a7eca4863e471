// rptconv --compare OLD NEW: the page (or the data) of what changed between
// two reports.
#pragma once

#include "cli/args.h"
#include "cli/console.h"
#include "platform/platform.h"

namespace rptconv {

// Writes the comparison's page beside the new report (its name with
// ".changes.htm"; with --format=json the data, ".changes.json"; with
// --format=ndjson one line per change, ".changes.ndjson"), into -d's
// directory or to -o's file, with the progress
// line "Comparing: "OLD" with "NEW"" on `console` and failure lines on
// `failures`. Gives 0 once the page is written,
// whatever it found; 1 when a report cannot be opened, 2 when the page
// cannot be created. I/O failures pass out as IoError.
int RunComparison(const Invocation& inv, platform::ReportFiles& files, Console& console, Console& failures);

// Whether the comparison's page goes to standard output: asked with -o, or
// for a new report read from standard input.
bool ComparisonToStdout(const Invocation& inv);

}  // namespace rptconv
