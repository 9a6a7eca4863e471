// Reading the values of a report that an overview compares across reports:
// sizes, dates and names, as the report's text writes them in English and in
// Hungarian.
#pragma once

#include <cstdint>
#include <span>
#include <optional>
#include <string>
#include <string_view>

namespace rptconv {

// A size such as "37.2 GB", "12,9 GB", "1 630 MB", "236 KB" or "512 bytes",
// in bytes. A number without a unit counts as bytes.
std::optional<double> ParseSize(std::string_view text);

// A date that begins the text ("2004-06-08 09:41", "2004.06.08.",
// "2004/06/08", "06/08/2004" month first, "08.06.2004" day first), as days
// since 1970-01-01.
std::optional<std::int32_t> ParseDay(std::string_view text);

// Whether `c` is a blank: a byte from 1 to 32.
inline bool IsBlank(char c) { return static_cast<unsigned char>(c) - 1U < static_cast<unsigned char>(' '); }
// The text without blanks at either end.
std::string_view TrimBlankEnds(std::string_view text);
// The same, inline for the many texts without any.
inline std::string_view TrimBlanks(std::string_view text) {
  if (!text.empty() && !IsBlank(text.front()) && !IsBlank(text.back())) return text;
  return TrimBlankEnds(text);
}

// The key under which names compare: trimmed, letters in lower case (ASCII
// and the accented capitals 0xC0 to 0xDE that Windows-1250 and -1252 share).
std::string NameKey(std::string_view name);
// The same into `key`, whose room is reused.
void AssignNameKey(std::string& key, std::string_view name);

// Whether `text`, trimmed, equals one of `words` without regard to ASCII case.
bool IsOneOf(std::string_view text, std::span<const std::string_view> words);
// Whether `text` contains one of `words` without regard to ASCII case.
bool ContainsOneOf(std::string_view text, std::span<const std::string_view> words);

}  // namespace rptconv
