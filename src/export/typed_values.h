// What a catalogued column's texts hold, and the typed companion written
// beside a text that parses exactly: "37.2 GB" gives 39943195853 bytes,
// "1,024" the number 1024, "35 %" the number 35, "2004.06.08. 09:41" the
// ISO date "2004-06-08T09:41:00". Numbers follow the report's language:
// English groups thousands with "," and writes the decimal point as ".";
// Hungarian groups them with blanks and writes a decimal comma.
#pragma once

#include <cstddef>
#include <string_view>

#include "walk/page_events.h"

namespace rptconv {

enum class ValueKind { kText, kSize, kCount, kPercent, kDate };

// The kind of a column from its code in the catalogue; kText for a code
// not known.
ValueKind KindOfColumn(char code);
// The kind's name in the data ("text", "size", ...).
std::string_view KindName(ValueKind kind);
// What the companion's key adds to the column's key ("_bytes", ...); empty
// for text, which has none.
std::string_view CompanionSuffix(ValueKind kind);

// The JSON text of a companion: a number, or a quoted ISO date.
struct TypedValue {
  static constexpr std::size_t kRoom = 32;
  char text[kRoom];
  std::size_t size = 0;
  std::string_view View() const { return {text, size}; }
};

// Fills `out` with the companion of `text` and gives true, or gives false
// when the text is no exact value of the kind (then no companion is
// written). Sizes and counts above 2^53 have none: readers that hold
// numbers as doubles would round them.
bool ParseTypedValue(ValueKind kind, std::string_view text, Language language, TypedValue& out);
// The same for report text as PageEvents hands it out, readable
// kTextPadding bytes past its end: the most common counts, a few digits,
// are looked at 16 bytes at once.
bool ParseTypedReportValue(ValueKind kind, std::string_view text, Language language, TypedValue& out);

}  // namespace rptconv
