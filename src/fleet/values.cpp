#include "fleet/values.h"

#include <array>
#include <cmath>

namespace rptconv {

namespace {

constexpr double kKibi = 1024.0;
// Units of sizes, each a power of 1024 above the one before.
constexpr std::array<std::string_view, 5> kSizeUnits = {"b", "kb", "mb", "gb", "tb"};
// The non-breaking space of Windows-1250 and -1252, a thousands separator.
constexpr char kNoBreakSpace = '\xA0';
constexpr std::size_t kThousandsGroup = 3;
constexpr int kFourDigitYear = 1000;
constexpr int kMonths = 12;
constexpr int kLongestMonth = 31;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

// Days since 1970-01-01 of a date of the proleptic Gregorian calendar.
std::int32_t DaysFromCivil(int year, int month, int day) {
  year -= month <= 2 ? 1 : 0;
  const int era = (year >= 0 ? year : year - 399) / 400;
  const int year_of_era = year - era * 400;
  const int day_of_year = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const int day_of_era = year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
  return era * 146097 + day_of_era - 719468;
}

}  // namespace

std::string_view TrimBlankEnds(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

std::optional<double> ParseSize(std::string_view text) {
  text = TrimBlanks(text);
  double value = 0;
  double fraction_scale = 0;  // 0 until the decimal separator
  std::size_t i = 0;
  bool digits = false;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (IsDigit(c)) {
      digits = true;
      if (fraction_scale == 0) {
        value = value * 10 + (c - '0');
      } else {
        fraction_scale /= 10;
        value += (c - '0') * fraction_scale;
      }
      continue;
    }
    // A blank between digit groups ("1 630 MB") separates thousands.
    const bool next_digit = i + 1 < text.size() && IsDigit(text[i + 1]);
    if ((c == ' ' || c == kNoBreakSpace) && digits && next_digit && fraction_scale == 0) continue;
    if ((c == '.' || c == ',') && digits && next_digit && fraction_scale == 0) {
      // "1,234 MB" groups thousands; "12,9 GB" and "37.2 GB" have a fraction.
      std::size_t run = 0;
      while (i + 1 + run < text.size() && IsDigit(text[i + 1 + run])) ++run;
      if (c == ',' && run == kThousandsGroup) continue;
      fraction_scale = 1;
      continue;
    }
    break;
  }
  if (!digits) return std::nullopt;
  // A size too large for a double is no size: its share of free space
  // would be no number.
  const auto finite = [](double size) { return std::isfinite(size) ? std::optional<double>(size) : std::nullopt; };
  const std::string_view unit = TrimBlanks(text.substr(i));
  if (unit.empty() || EqualIgnoringCase(unit, "bytes") || EqualIgnoringCase(unit, "byte") ||
      EqualIgnoringCase(unit, "b\xE1jt")) {  // "bájt"
    return finite(value);
  }
  double scale = 1;
  for (const std::string_view known : kSizeUnits) {
    if (EqualIgnoringCase(unit, known)) return finite(value * scale);
    scale *= kKibi;
  }
  return std::nullopt;
}

std::optional<std::int32_t> ParseDay(std::string_view text) {
  text = TrimBlanks(text);
  std::array<int, 3> numbers{};
  std::array<std::size_t, 3> widths{};
  char separator = '\0';
  std::size_t i = 0;
  for (std::size_t n = 0; n < numbers.size(); ++n) {
    if (n > 0) {
      if (i >= text.size() || (text[i] != '-' && text[i] != '.' && text[i] != '/')) return std::nullopt;
      if (n == 1) separator = text[i];
      if (text[i] != separator) return std::nullopt;
      ++i;
    }
    const std::size_t start = i;
    while (i < text.size() && IsDigit(text[i]) && i - start < 4) numbers[n] = numbers[n] * 10 + (text[i++] - '0');
    widths[n] = i - start;
    if (widths[n] == 0) return std::nullopt;
  }
  if (i < text.size() && IsDigit(text[i])) return std::nullopt;
  int year = 0;
  int month = 0;
  int day = 0;
  if (widths[0] == 4) {
    year = numbers[0];
    month = numbers[1];
    day = numbers[2];
  } else if (widths[2] == 4) {
    year = numbers[2];
    // Slashes put the month first, as American dates do; dots the day.
    month = separator == '/' ? numbers[0] : numbers[1];
    day = separator == '/' ? numbers[1] : numbers[0];
  } else {
    return std::nullopt;
  }
  if (year < kFourDigitYear || month < 1 || month > kMonths || day < 1 || day > kLongestMonth) return std::nullopt;
  return DaysFromCivil(year, month, day);
}

std::string NameKey(std::string_view name) {
  std::string key;
  AssignNameKey(key, name);
  return key;
}

// Each byte's lower-case form: ASCII capitals and the accented capitals
// 0xC0 to 0xDE but 0xD7 ("×", no letter) move up by 0x20.
constexpr std::array<char, 256> kLowerCase = [] {
  constexpr int kFirstCapital = 0xC0;
  constexpr int kLastCapital = 0xDE;
  constexpr int kMultiplication = 0xD7;
  constexpr int kToLower = 0x20;
  std::array<char, 256> lower{};
  for (int byte = 0; byte < 256; ++byte) {
    const bool capital = (byte >= 'A' && byte <= 'Z') ||
                         (byte >= kFirstCapital && byte <= kLastCapital && byte != kMultiplication);
    lower[static_cast<std::size_t>(byte)] = static_cast<char>(capital ? byte + kToLower : byte);
  }
  return lower;
}();

void AssignNameKey(std::string& key, std::string_view name) {
  key.assign(TrimBlanks(name));
  for (char& c : key) c = kLowerCase[static_cast<unsigned char>(c)];
}

bool IsOneOf(std::string_view text, std::span<const std::string_view> words) {
  text = TrimBlanks(text);
  for (const std::string_view word : words) {
    if (EqualIgnoringCase(text, word)) return true;
  }
  return false;
}

bool ContainsOneOf(std::string_view text, std::span<const std::string_view> words) {
  for (const std::string_view word : words) {
    if (word.empty()) return true;
    const char first = AsciiLower(word.front());
    for (std::size_t at = 0; at + word.size() <= text.size(); ++at) {
      // Most places differ in their first byte.
      if (AsciiLower(text[at]) == first && EqualIgnoringCase(text.substr(at, word.size()), word)) return true;
    }
  }
  return false;
}

}  // namespace rptconv
