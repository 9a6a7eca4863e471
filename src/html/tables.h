// Column tables of catalogued sections: a bold header row, and data rows
// that gather their cells from a record line and the continuation lines
// after it.
#pragma once

#include <string_view>

#include "html/line_writer.h"
#include "report/line_reader.h"
#include "report/record.h"

namespace rptconv {

// Writes the header row for a comma-separated header list; cell k takes
// alignment character k of `column_align`.
void WriteHeaderRow(LineWriter& out, std::string_view headers, std::string_view column_align);

// Writes one data row of `columns` columns: the record's Group, its Value (as
// a link where it is one), then the cells of `columns` - 2 continuation lines
// read from `reader` without any end test.
void WriteTableRow(LineWriter& out, ReportReader& reader, int columns, const ReportRecord& record,
                   std::string_view column_align);

}  // namespace rptconv
