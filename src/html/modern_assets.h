// The style sheet and the script of the modern pages, kept apart from the
// page so that other pages of the program (a fleet index) look and behave
// the same. Each is a list of lines, written with CR LF.
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

// The first lines of a page in the modern look, up to its <title>: the
// doctype, <html lang="`lang`">, <head>, the character set (UTF-8) and the
// viewport.
void WriteModernHeadStart(LineWriter& out, std::string_view lang);

// The last lines of a page in the modern look: its script, </body> and
// </html>; then the page is flushed.
void WriteModernTail(LineWriter& out);

// Writes the lines, each followed by CR LF.
void WriteLines(LineWriter& out, std::span<const std::string_view> lines);

}  // namespace rptconv
