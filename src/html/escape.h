// Escaping for the pages written in UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace rptconv {

// Appends `text`, which should be UTF-8, escaped for HTML, with U+FFFD for
// every byte that starts no valid sequence and for control bytes other than
// tab.
void AppendUtf8Checked(std::string& out, std::string_view text);

// Appends UTF-8 `text` as a JSON string, quotes included, fit to stand in a
// page's <script> block: "<" is written as \u003c, so no "</script" or
// "<!--" can end or bend the block.
void AppendScriptJsonString(std::string& out, std::string_view text);

// `path` with every byte that may not stand as it is in an address
// percent-encoded ("/" and ":" stay).
std::string PercentEncoded(std::string_view path);

}  // namespace rptconv
