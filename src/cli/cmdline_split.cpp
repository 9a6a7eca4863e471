#include "cli/cmdline_split.h"

namespace rptconv {

namespace {

constexpr char kQuote = '"';

bool IsSeparator(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte >= 1 && byte <= 32;
}

class Cursor {
 public:
  Cursor(std::string_view text, bool (*is_lead_byte)(unsigned char))
      : text_(text.substr(0, text.find('\0'))), is_lead_byte_(is_lead_byte) {}

  bool AtEnd() const { return pos_ >= text_.size(); }
  char Peek(std::size_t ahead = 0) const { return pos_ + ahead < text_.size() ? text_[pos_ + ahead] : '\0'; }

  // The bytes of the character at the cursor: two for a double-byte
  // character that has its second byte, one otherwise.
  std::size_t Width() const {
    return is_lead_byte_(static_cast<unsigned char>(text_[pos_])) && pos_ + 1 < text_.size() ? 2 : 1;
  }
  // Is the character at the cursor the single byte `c`?
  bool At(char c) const { return !AtEnd() && Width() == 1 && text_[pos_] == c; }

  void Skip(std::size_t bytes) { pos_ += bytes; }
  void TakeInto(std::string& word) {
    const std::size_t width = Width();
    word.append(text_.substr(pos_, width));
    pos_ += width;
  }

 private:
  std::string_view text_;
  bool (*is_lead_byte_)(unsigned char);
  std::size_t pos_ = 0;
};

// Skips separators and empty pairs of quotes before a word.
void SkipToWord(Cursor& cursor) {
  while (true) {
    while (!cursor.AtEnd() && IsSeparator(cursor.Peek())) cursor.Skip(1);
    if (cursor.Peek() == kQuote && cursor.Peek(1) == kQuote) {
      cursor.Skip(2);
      continue;
    }
    return;
  }
}

std::string ReadWord(Cursor& cursor) {
  std::string word;
  while (!cursor.AtEnd() && !IsSeparator(cursor.Peek())) {
    if (cursor.At(kQuote)) {
      cursor.Skip(1);
      while (!cursor.AtEnd() && !cursor.At(kQuote)) cursor.TakeInto(word);
      if (!cursor.AtEnd()) cursor.Skip(1);
    } else {
      cursor.TakeInto(word);
    }
  }
  return word;
}

}  // namespace

std::vector<std::string> SplitCommandLine(std::string_view text, bool (*is_lead_byte)(unsigned char)) {
  std::vector<std::string> words;
  Cursor cursor(text, is_lead_byte);
  while (true) {
    SkipToWord(cursor);
    std::string word = ReadWord(cursor);
    if (word.empty()) return words;
    words.push_back(std::move(word));
  }
}

std::vector<std::string> CommandLineArguments(std::string_view text, bool (*is_lead_byte)(unsigned char)) {
  std::vector<std::string> words = SplitCommandLine(text, is_lead_byte);
  if (!words.empty()) words.erase(words.begin());
  return words;
}

}  // namespace rptconv
