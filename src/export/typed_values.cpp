#include "export/typed_values.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <cstring>

#include "report/byte_classes.h"
#include "report/sections.h"
#include "report/simd.h"

namespace rptconv {

namespace {

// The largest integer every JSON reader holds exactly.
constexpr std::uint64_t kLargestExactInteger = std::uint64_t{1} << 53;
// Digits a number may have in all, so that it fits 64 bits.
constexpr int kMostDigits = 18;
constexpr char kNoBreakSpace = '\xA0';  // in both code pages
// The most days of each month; February has 29 in a leap year.
constexpr unsigned char kDaysInMonth[12] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

struct Decimal {
  std::uint64_t digits = 0;  // all digits, the point left out
  int fraction_digits = 0;
};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Bit i is set when byte i of the 16 at `p` is no ASCII digit. Adding 0x50
// moves "0" to "9" to 0x80 to 0x89, the lowest signed bytes; every other
// byte lands above.
std::uint32_t NotDigitBits16(const char* p) {
  constexpr char kShift = 0x50;
  constexpr char kNineMoved = static_cast<char>('9' + kShift);
  return Bytes16::Load(p).Add(kShift).GreaterSigned(kNineMoved).Bits();
}

// Reads a number from the front of `text` and removes it: digits, thousands
// in groups of three after the language's separator, and a fraction after
// its decimal mark.
bool ReadDecimal(std::string_view& text, Language language, Decimal& out) {
  const bool english = language == Language::kEnglish;
  const char decimal_mark = english ? '.' : ',';
  const auto is_group_separator = [english](char c) {
    return english ? c == ',' : c == ' ' || c == kNoBreakSpace;
  };
  const char* p = text.data();
  const char* const end = p + text.size();
  std::uint64_t digits = 0;
  while (p < end && IsDigit(*p)) digits = digits * 10 + static_cast<std::uint64_t>(*p++ - '0');
  const auto leading = p - text.data();
  if (leading == 0 || leading > kMostDigits) return false;
  int count = static_cast<int>(leading);
  // Groups of three, each exactly three digits, after at most three leading ones.
  while (leading <= 3 && end - p >= 4 && is_group_separator(p[0]) && IsDigit(p[1]) && IsDigit(p[2]) &&
         IsDigit(p[3]) && (end - p == 4 || !IsDigit(p[4]))) {
    count += 3;
    if (count > kMostDigits) return false;
    digits = digits * 1000 + static_cast<std::uint64_t>((p[1] - '0') * 100 + (p[2] - '0') * 10 + (p[3] - '0'));
    p += 4;
  }
  int fraction = 0;
  if (end - p >= 2 && p[0] == decimal_mark && IsDigit(p[1])) {
    ++p;
    while (p < end && IsDigit(*p)) {
      if (++count > kMostDigits) return false;
      digits = digits * 10 + static_cast<std::uint64_t>(*p++ - '0');
      ++fraction;
    }
  }
  out.digits = digits;
  out.fraction_digits = fraction;
  text.remove_prefix(static_cast<std::size_t>(p - text.data()));
  return true;
}

// Removes one blank (or no-break space) from the front of `text`.
void SkipBlank(std::string_view& text) {
  if (!text.empty() && (text.front() == ' ' || text.front() == kNoBreakSpace)) text.remove_prefix(1);
}

// "00" to "99", each pair of digits at twice its value.
constexpr std::array<char, 200> kDigitPairs = [] {
  std::array<char, 200> pairs{};
  for (std::size_t i = 0; i < 100; ++i) {
    pairs[2 * i] = static_cast<char>('0' + i / 10);
    pairs[2 * i + 1] = static_cast<char>('0' + i % 10);
  }
  return pairs;
}();

// The decimal digits of `value` at `out`, which has room for TypedValue::kRoom
// bytes: written two at a time from the last one back, then copied whole.
std::size_t WriteInteger(char* out, std::uint64_t value) {
  constexpr std::size_t kLongest = 20;  // digits of a 64-bit number
  static_assert(TypedValue::kRoom >= kLongest);
  char digits[2 * kLongest];
  char* const end = digits + kLongest;
  char* p = end;
  for (; value >= 100; value /= 100) {
    p -= 2;
    std::memcpy(p, &kDigitPairs[2 * (value % 100)], 2);
  }
  if (value >= 10) {
    p -= 2;
    std::memcpy(p, &kDigitPairs[2 * value], 2);
  } else {
    *--p = static_cast<char>('0' + value);
  }
  std::memcpy(out, p, kLongest);
  return static_cast<std::size_t>(end - p);
}

// The decimal as a JSON number: "35", "35.5", "0.25".
std::size_t WriteDecimal(char* out, const Decimal& value) {
  char digits[TypedValue::kRoom];
  std::size_t size = WriteInteger(digits, value.digits);
  const auto fraction = static_cast<std::size_t>(value.fraction_digits);
  std::size_t at = 0;
  if (size <= fraction) {
    out[at++] = '0';
    out[at++] = '.';
    for (std::size_t k = size; k < fraction; ++k) out[at++] = '0';
    for (std::size_t k = 0; k < size; ++k) out[at++] = digits[k];
    return at;
  }
  for (std::size_t k = 0; k < size; ++k) {
    if (fraction != 0 && k == size - fraction) out[at++] = '.';
    out[at++] = digits[k];
  }
  return at;
}

struct Unit {
  std::string_view name;
  unsigned shift;  // the unit is 2^shift bytes
};
constexpr std::array<Unit, 8> kUnits{{
    {"bytes", 0}, {"byte", 0}, {"b\xE1jt", 0}, {"B", 0}, {"KB", 10}, {"MB", 20}, {"GB", 30}, {"TB", 40},
}};

// The most common sizes, "236 KB", "12 MB": up to nine digits without a
// leading zero, one blank, a unit of two letters. The digits of a `kPadded`
// text, readable 16 bytes past its start, are checked all at once.
template <bool kPadded>
bool ParseCommonSize(std::string_view text, TypedValue& out) {
  constexpr std::size_t kMostCommonDigits = 9;
  const std::size_t digits = text.size() - 3;
  if (text.size() < 4 || digits > kMostCommonDigits || text[0] == '0' || text[digits] != ' ' ||
      text[digits + 2] != 'B') {
    return false;
  }
  unsigned shift;
  switch (text[digits + 1]) {
    case 'K': shift = 10; break;
    case 'M': shift = 20; break;
    case 'G': shift = 30; break;
    case 'T': shift = 40; break;
    default: return false;
  }
  if (kPadded && (NotDigitBits16(text.data()) & ((std::uint32_t{1} << digits) - 1)) != 0) return false;
  std::uint64_t value = 0;
  for (std::size_t i = 0; i < digits; ++i) {
    if (!kPadded && !IsDigit(text[i])) return false;
    value = value * 10 + static_cast<std::uint64_t>(text[i] - '0');
  }
  // Nine digits of terabytes are more than 2^53 bytes.
  if ((value << shift) > kLargestExactInteger) return false;
  out.size = WriteInteger(out.text, value << shift);
  return true;
}

[[gnu::noinline]] bool ParseSize(std::string_view text, Language language, TypedValue& out) {
  if (ParseCommonSize<false>(text, out)) return true;
  Decimal value;
  if (!ReadDecimal(text, language, value)) return false;
  unsigned shift = 0;
  bool unit_named = false;
  if (!text.empty()) {
    SkipBlank(text);
    for (const Unit& unit : kUnits) {
      if (text == unit.name) {
        shift = unit.shift;
        unit_named = true;
        break;
      }
    }
    if (!unit_named) return false;
  }
  // Bytes are whole.
  if (shift == 0 && value.fraction_digits != 0) return false;
  if (value.digits > (UINT64_MAX >> shift)) return false;
  std::uint64_t bytes = value.digits << shift;
  std::uint64_t divisor = 1;
  for (int k = 0; k < value.fraction_digits; ++k) divisor *= 10;
  bytes = bytes / divisor + (bytes % divisor >= divisor - divisor / 2 ? 1 : 0);  // rounded to the nearest byte
  if (bytes > kLargestExactInteger) return false;
  out.size = WriteInteger(out.text, bytes);
  return true;
}

[[gnu::noinline]] bool ParseCount(std::string_view text, Language language, TypedValue& out) {
  // Most counts are a few digits without a leading zero: copied as they are.
  constexpr std::size_t kMostCopied = 15;
  if (text.size() <= kMostCopied && (text[0] != '0' || text.size() == 1)) {
    std::size_t i = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i) out.text[i] = text[i];
    if (i == text.size()) {
      out.size = i;
      return true;
    }
  }
  Decimal value;
  if (!ReadDecimal(text, language, value) || !text.empty() || value.fraction_digits != 0) return false;
  if (value.digits > kLargestExactInteger) return false;
  out.size = WriteInteger(out.text, value.digits);
  return true;
}

[[gnu::noinline]] bool ParsePercent(std::string_view text, Language language, TypedValue& out) {
  Decimal value;
  if (!ReadDecimal(text, language, value)) return false;
  SkipBlank(text);
  if (text != "%") return false;
  out.size = WriteDecimal(out.text, value);
  return true;
}

// The value of the two digits at `p`, which are digits.
unsigned TwoDigits(const char* p) {
  return static_cast<unsigned>(p[0] - '0') * 10 + static_cast<unsigned>(p[1] - '0');
}

bool IsLeapYear(unsigned year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

// "2004-06-08", "2004.06.08." or "2004.06.08" (Hungarian), either followed
// by " 09:41" or " 09:41:07". The ISO form takes the text's own digits, so
// a year below 1000 keeps its four. Where the digits must stand is one
// mask, checked against the bytes that are no digit all at once.
[[gnu::noinline]] bool ParseDate(std::string_view text, TypedValue& out) {
  constexpr std::size_t kDateSize = 10;      // "2004-06-08"
  constexpr std::size_t kShortTimeSize = 6;  // " 09:41"
  constexpr std::size_t kLongTimeSize = 9;   // " 09:41:07"
  constexpr std::size_t kLongest = kDateSize + 1 + kLongTimeSize;
  constexpr std::uint32_t kDateDigits = 0b11'0110'1111;   // YYYY-MM-DD
  constexpr std::uint32_t kTimeDigits = 0b11'0110;        // " HH:MM" from its blank
  constexpr std::uint32_t kSecondDigits = 0b1'1000'0000;  // ":SS" after it
  if (text.size() < kDateSize || text.size() > kLongest) return false;
  // Bytes past the text are zero, which is no digit and no separator; the
  // block is long enough to be looked at 16 bytes at a time.
  char c[kLongest + kVectorBytes] = {};
  std::memcpy(c, text.data(), text.size());
  const char separator = c[4];
  if ((separator != '-' && separator != '.') || c[7] != separator) return false;
  const std::size_t at = separator == '.' && c[kDateSize] == '.' ? kDateSize + 1 : kDateSize;
  const std::size_t time = text.size() - at;
  const char* const t = c + at;
  std::uint32_t digits = kDateDigits;
  if (time == kShortTimeSize || time == kLongTimeSize) {
    if (t[0] != ' ' || t[3] != ':' || (time == kLongTimeSize && t[6] != ':')) return false;
    digits |= (time == kLongTimeSize ? kTimeDigits | kSecondDigits : kTimeDigits) << at;
  } else if (time != 0) {
    return false;
  }
  const std::uint32_t not_digits = NotDigitBits16(c) | NotDigitBits16(c + kVectorBytes) << kVectorBytes;
  if ((not_digits & digits) != 0) return false;
  const unsigned month = TwoDigits(c + 5), day = TwoDigits(c + 8);
  if (month < 1 || month > 12 || day < 1 || day > kDaysInMonth[month - 1]) return false;
  if (month == 2 && day == 29 && !IsLeapYear(TwoDigits(c) * 100 + TwoDigits(c + 2))) return false;
  // "YYYY-MM-DD" or "YYYY-MM-DDTHH:MM:SS", quoted.
  char* p = out.text;
  *p++ = '"';
  std::memcpy(p, c, kDateSize);
  p[4] = p[7] = '-';
  p += kDateSize;
  if (time != 0) {
    if (TwoDigits(t + 1) > 23 || TwoDigits(t + 4) > 59 || (time == kLongTimeSize && TwoDigits(t + 7) > 59)) {
      return false;
    }
    *p++ = 'T';
    std::memcpy(p, t + 1, 5);
    std::memcpy(p + 5, time == kLongTimeSize ? t + 6 : ":00", 3);
    p += 8;
  }
  *p++ = '"';
  out.size = static_cast<std::size_t>(p - out.text);
  return true;
}

}  // namespace

ValueKind KindOfColumn(char code) {
  switch (code) {
    case kSizeColumn: return ValueKind::kSize;
    case kCountColumn: return ValueKind::kCount;
    case kPercentColumn: return ValueKind::kPercent;
    case kDateColumn: return ValueKind::kDate;
    default: return ValueKind::kText;
  }
}

std::string_view KindName(ValueKind kind) {
  switch (kind) {
    case ValueKind::kSize: return "size";
    case ValueKind::kCount: return "count";
    case ValueKind::kPercent: return "percent";
    case ValueKind::kDate: return "date";
    case ValueKind::kText: break;
  }
  return "text";
}

std::string_view CompanionSuffix(ValueKind kind) {
  switch (kind) {
    case ValueKind::kSize: return "_bytes";
    case ValueKind::kCount:
    case ValueKind::kPercent: return "_number";
    case ValueKind::kDate: return "_iso";
    case ValueKind::kText: break;
  }
  return {};
}

bool ParseTypedValue(ValueKind kind, std::string_view text, Language language, TypedValue& out) {
  switch (kind) {
    case ValueKind::kSize: return ParseSize(text, language, out);
    case ValueKind::kCount: return ParseCount(text, language, out);
    case ValueKind::kPercent: return ParsePercent(text, language, out);
    case ValueKind::kDate: return ParseDate(text, out);
    case ValueKind::kText: break;
  }
  return false;
}

bool ParseTypedReportValue(ValueKind kind, std::string_view text, Language language, TypedValue& out) {
  static_assert(kTextPadding >= kVectorBytes && TypedValue::kRoom >= kVectorBytes);
  if (kind == ValueKind::kSize && ParseCommonSize<true>(text, out)) return true;
  if (kind == ValueKind::kCount && !text.empty() && text.size() < kVectorBytes && (text[0] != '0' || text.size() == 1) &&
      (NotDigitBits16(text.data()) & ((std::uint32_t{1} << text.size()) - 1)) == 0) {
    std::memcpy(out.text, text.data(), kVectorBytes);
    out.size = text.size();
    return true;
  }
  return ParseTypedValue(kind, text, language, out);
}

}  // namespace rptconv
