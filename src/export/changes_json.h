// What a comparison of two reports found, as one JSON document: the format
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

}  // namespace rptconv
