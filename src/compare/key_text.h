// Key cells as rows are matched by them: without regard to letter case and
// to blanks around them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace rptconv {

// Appends `text` trimmed and in lower case. Case is folded for the ASCII
// letters and for the accented letters that Windows-1250 and Windows-1252
// place alike (upper case 0xC0 to 0xDE, 0x8A, 0x8C to 0x8F; lower case 0x20
// or 0x10 above), so "Notepad++" matches "NOTEPAD++" and "ÁRVÍZ" "árvíz".
void AppendFoldedKey(std::string& out, std::string_view text);

// Whether two texts are the same key: equal once trimmed and folded.
bool SameKey(std::string_view a, std::string_view b);

// Mixes `text`, trimmed and folded, into the hash `hash`, eight bytes at a
// time, then its length, so that consecutive texts cannot run into each
// other.
std::uint64_t HashFoldedKey(std::uint64_t hash, std::string_view text);

}  // namespace rptconv
