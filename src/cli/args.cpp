#include "cli/args.h"

#include <algorithm>

namespace rptconv {

namespace {

constexpr std::string_view kHtaSwitch = "/HTA";

bool IsControlOrBlank(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte >= 1 && byte <= 32;
}

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

bool IsHtaSwitch(std::string_view arg) { return AsciiUpper(TrimControls(arg)) == kHtaSwitch; }

// "/h" or "/H" followed by ASCII letters only: "/H", "/help", "/HTA".
bool IsSlashHelpWord(std::string_view word) {
  return word.size() >= 2 && word[0] == '/' && (word[1] == 'h' || word[1] == 'H') &&
         std::all_of(word.begin() + 2, word.end(), IsAsciiLetter);
}

}  // namespace

std::vector<std::string> CountedArguments(std::vector<std::string> words) {
  const auto first_empty = std::find_if(words.begin(), words.end(), [](const std::string& w) { return w.empty(); });
  words.erase(first_empty, words.end());
  return words;
}

std::string_view TrimControls(std::string_view text) {
  while (!text.empty() && IsControlOrBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsControlOrBlank(text.back())) text.remove_suffix(1);
  return text;
}

std::string AsciiUpper(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return upper;
}

Invocation ParseWindowsArguments(const std::vector<std::string>& args) {
  Invocation inv;
  if (args.empty()) {
    inv.action = Invocation::Action::kUsage;
    return inv;
  }
  const std::string first = AsciiUpper(TrimControls(args[0]));
  if (first.find("/H") != std::string::npos || first.find("/?") != std::string::npos) {
    inv.action = Invocation::Action::kUsage;
    return inv;
  }
  if (args.size() >= 2 && IsHtaSwitch(args[1])) inv.extension = kHtaExtension;
  inv.patterns.push_back(args[0]);
  return inv;
}

Invocation ParsePosixArguments(const std::vector<std::string>& args,
                               const std::function<bool(const std::string&)>& path_exists) {
  Invocation inv;
  if (args.empty()) {
    inv.action = Invocation::Action::kUsage;
    return inv;
  }
  const std::string_view first = TrimControls(args[0]);
  if (first == "-h" || first == "--help" || first == "/?" ||
      (IsSlashHelpWord(first) && !path_exists(std::string(first)))) {
    inv.action = Invocation::Action::kUsage;
    return inv;
  }
  if (first == "--version") {
    inv.action = Invocation::Action::kVersion;
    return inv;
  }
  bool options = true;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (options && arg == "--") {
      options = false;
    } else if (options && (arg == "--hta" || (i > 0 && IsHtaSwitch(arg)))) {
      inv.extension = kHtaExtension;
    } else {
      inv.patterns.push_back(arg);
    }
  }
  // Options alone name no report: show how to name one.
  if (inv.patterns.empty()) inv.action = Invocation::Action::kUsage;
  return inv;
}

}  // namespace rptconv
