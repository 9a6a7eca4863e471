#include "html/usage_bar.h"

#include <charconv>
#include <cmath>
#include <string>

namespace rptconv {

namespace {

constexpr char kNoBreakSpace = '\xA0';  // in both code pages of the reports
constexpr double kKilo = 1024;
// A drive or memory this full is drawn in the warning colour.
constexpr int kNearlyFull = 90;

struct Unit {
  std::string_view name;
  double factor;
};
constexpr Unit kUnits[] = {
    {"", 1}, {"B", 1}, {"KB", kKilo}, {"MB", kKilo * kKilo}, {"GB", kKilo * kKilo * kKilo},
    {"TB", kKilo * kKilo * kKilo * kKilo},
};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == kNoBreakSpace; }

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// A number as the language writes it, and the text after it: English "2,400.5",
// Hungarian "2 400,5" (a blank or a dot between groups of thousands).
std::optional<double> ReadNumber(std::string_view& text, Language language) {
  const char decimal = language == Language::kHungarian ? ',' : '.';
  std::string digits;
  std::size_t i = 0;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    const bool grouping = language == Language::kHungarian ? (IsBlank(c) || c == '.') : c == ',';
    if (IsDigit(c)) {
      digits.push_back(c);
    } else if (c == decimal && !digits.empty() && digits.find('.') == std::string::npos) {
      digits.push_back('.');
    } else if (!(grouping && !digits.empty() && i + 1 < text.size() && IsDigit(text[i + 1]))) {
      break;
    }
  }
  if (digits.empty() || digits.back() == '.') return std::nullopt;
  double value = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
  text.remove_prefix(i);
  return value;
}

std::optional<double> ReadPercent(std::string_view text, Language language) {
  text = Trimmed(text);
  const std::optional<double> number = ReadNumber(text, language);
  if (!number || Trimmed(text) != "%" || *number > 100) return std::nullopt;
  return number;
}

}  // namespace

std::optional<double> ReadSize(std::string_view text, Language language) {
  text = Trimmed(text);
  const std::optional<double> number = ReadNumber(text, language);
  if (!number) return std::nullopt;
  text = Trimmed(text);
  for (const Unit& unit : kUnits) {
    if (text == unit.name) return *number * unit.factor;
  }
  return std::nullopt;
}

std::optional<int> UsedShare(std::string_view percent_free, std::string_view total, std::string_view free,
                             Language language) {
  if (const std::optional<double> share = ReadPercent(percent_free, language)) {
    return static_cast<int>(std::lround(100 - *share));
  }
  const std::optional<double> whole = ReadSize(total, language);
  const std::optional<double> part = ReadSize(free, language);
  if (!whole || !part || *whole <= 0 || *part > *whole) return std::nullopt;
  return static_cast<int>(std::lround(100 * (*whole - *part) / *whole));
}

void WriteUsageBar(LineWriter& out, int used_percent, Language language) {
  const std::string used = std::to_string(used_percent);
  out.Raw(used_percent >= kNearlyFull ? "<svg class=\"bar full\"" : "<svg class=\"bar\"")
      .Raw(" viewBox=\"0 0 100 10\" role=\"img\" aria-label=\"")
      .Raw(used)
      .Raw(language == Language::kHungarian ? " % foglalt\">" : " % used\">")
      .Raw("<rect class=\"track\" width=\"100\" height=\"10\"/><rect class=\"fill\" width=\"")
      .Raw(used)
      .Raw("\" height=\"10\"/></svg>");
}

}  // namespace rptconv
