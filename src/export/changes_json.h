// What a comparison of two reports found, as one JSON document (or as NDJSON): the format
// and its version, both reports (file, title, language, code page, computer),
// the counts, then every section of either report with its added, removed and
// changed rows. A changed row holds its key columns and, for each column that
// differs, the old and the new text. Texts are converted from each report's
// own code page. doc/schema/changes.schema.json describes it.
#pragma once

#include <string_view>

#include "compare/changes.h"
#include "export/json_writer.h"

namespace rptconv {

inline constexpr std::string_view kChangesFormat = "rptconv-changes";
inline constexpr int kChangesFormatVersion = 1;

void WriteChangesJson(JsonWriter& out, const Comparison& comparison, const ReportNames& names);

// The same changes as NDJSON, one line per change (none when nothing
// changed): both reports' names, the computer, the section's key and page,
// the kind of change, then the row's columns (added, removed) or its key
// columns and the columns that differ (changed).
// doc/schema/change_line.schema.json describes a line.
void WriteChangeLines(JsonWriter& out, const Comparison& comparison, const ReportNames& names);

}  // namespace rptconv
