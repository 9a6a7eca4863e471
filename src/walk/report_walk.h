// The one walk over a report: it reads the lines, knows what each one means
// and tells a listener through PageEvents. Nothing below it writes markup.
#pragma once

#include <cstddef>

#include "report/line_reader.h"
#include "rptconv/rptconv.h"
#include "walk/page_events.h"

namespace rptconv {

// Reads the whole report from `source` and calls `events` from
// BeginDocument to EndDocument. I/O failures pass through as IoError.
void WalkReport(ByteSource& source, PageEvents& events, std::size_t block_size = kDefaultBlockSize);
// The same from a reader that may be shared, say with a writer that reads
// ahead in the reader's block.
void WalkReport(ReportReader& reader, PageEvents& events);

}  // namespace rptconv
