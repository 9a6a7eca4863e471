// The fixed lines around the body of every page.
#pragma once

#include <string_view>

#include "html/line_writer.h"

namespace rptconv {

// The head, style sheet, title and body start; `title_value` is report text.
void WriteDocumentHead(LineWriter& out, std::string_view title_value);
// Closes the last page's body table and the document.
void WriteDocumentTail(LineWriter& out);

}  // namespace rptconv
