// The head, the style sheet and the script of the modern pages, kept apart
// from the page so that other pages of the program (a fleet index) look and
// behave the same. Style sheet and script are lists of lines, written with
// CR LF.
#pragma once

#include <span>
#include <string_view>

#include "html/line_writer.h"

namespace rptconv {

// The inline style sheet (without the <style> tags): light and dark scheme,
// phone and print layout, column tables that scroll sideways, short cells
// that never wrap.
std::span<const std::string_view> ModernStyleSheet();

// The inline script (without the <script> tags): every "table.cols" with a
// header row sorts by a click on a header, and one of five rows or more gets
// a filter box above it.
// Reads the page's lang attribute for its own words.
std::span<const std::string_view> ModernScript();

// Writes the head of an HTML5 page in UTF-8 that uses the style sheet, up to
// and with the opening <body> tag. `lang` is the page's language code,
// `title` its title, UTF-8 and escaped; `own_style`, style lines of the page
// alone, follow the shared sheet.
void WriteModernHead(LineWriter& out, std::string_view lang, std::string_view title,
                     std::span<const std::string_view> own_style = {});

// The last lines of a page in the modern look: its script, </body> and
// </html>; then the page is flushed.
void WriteModernTail(LineWriter& out);

// Writes the lines, each followed by CR LF.
void WriteLines(LineWriter& out, std::span<const std::string_view> lines);

}  // namespace rptconv
