#include "cli/args.h"

#include <algorithm>
#include <charconv>
#include <optional>

#include "cli/paths.h"

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

enum class Option {
  kOutput, kOutputDir, kKeepGoing, kQuiet, kHta, kUsage, kHelp, kVersion, kStyle, kCodepage, kIndex, kFormat,
  kMinFree, kMaxAntivirusAge, kMaxErrors, kCompare, kAllColumns
};

struct OptionSpec {
  Option option;
  char short_name;  // '\0': none
  std::string_view long_name;  // empty: none
  bool takes_value;
  bool posix_only;
};

constexpr OptionSpec kOptions[] = {
    {Option::kOutput, 'o', "output", true, false},
    {Option::kOutputDir, 'd', "output-dir", true, false},
    {Option::kKeepGoing, 'k', "keep-going", false, false},
    {Option::kQuiet, 'q', "quiet", false, false},
    {Option::kHta, '\0', "hta", false, true},
    {Option::kUsage, 'h', "", false, true},
    {Option::kHelp, '\0', "help", false, false},
    {Option::kVersion, '\0', "version", false, false},
    {Option::kStyle, '\0', "style", true, false},
    {Option::kCodepage, '\0', "codepage", true, false},
    {Option::kIndex, '\0', "index", true, false},
    {Option::kFormat, '\0', "format", true, false},
    {Option::kMinFree, '\0', "min-free", true, false},
    {Option::kMaxAntivirusAge, '\0', "max-av-age", true, false},
    {Option::kMaxErrors, '\0', "max-errors", true, false},
    {Option::kCompare, '\0', "compare", false, false},
    {Option::kAllColumns, '\0', "all-columns", false, false},
};

// The index's thresholds: whole numbers from 0 to `most`.
constexpr int kMostPercent = 100;
constexpr int kMostCount = 1000000;
std::optional<int> ParseThreshold(std::string_view text, int most) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < 0 || value > most) return std::nullopt;
  return value;
}

struct FormatName {
  std::string_view name;
  OutputFormat format;
  std::string_view extension;  // of the outputs beside the reports
};
constexpr FormatName kFormats[] = {
    {"html", OutputFormat::kHtml, kHtmExtension},
    {"json", OutputFormat::kJson, kJsonExtension},
    {"ndjson", OutputFormat::kNdjson, kNdjsonExtension},
};

const FormatName* FindFormat(std::string_view name) {
  for (const FormatName& entry : kFormats) {
    if (entry.name == name) return &entry;
  }
  return nullptr;
}

// Only the code pages the modern page has a table for.
std::optional<int> ParseCodepage(std::string_view text) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || !IsSupportedCodepage(value)) {
    return std::nullopt;
  }
  return value;
}

// Collects what the arguments ask for. The first request for help, usage or
// the version wins over everything else, also over mistakes found before it;
// of several mistakes the first is reported.
class OptionReader {
 public:
  explicit OptionReader(bool posix) : posix_(posix) {}

  const OptionSpec* FindLong(std::string_view name) const {
    for (const OptionSpec& entry : kOptions) {
      if (!entry.long_name.empty() && entry.long_name == name && (posix_ || !entry.posix_only)) return &entry;
    }
    return nullptr;
  }
  const OptionSpec* FindShort(char name) const {
    for (const OptionSpec& entry : kOptions) {
      if (entry.short_name != '\0' && entry.short_name == name && posix_) return &entry;
    }
    return nullptr;
  }

  // `spelled` is the option as written ("-o", "--output"); `value` is given
  // for options that take one.
  void Apply(const OptionSpec& entry, std::string_view spelled, std::string_view value) {
    const auto needs = [&](bool valid) {
      if (value.empty()) {
        Mistake("option '" + std::string(spelled) + "' needs a value");
      } else if (!valid) {
        Mistake("invalid value '" + std::string(value) + "' for option '" + std::string(spelled) + "'");
      }
      return !value.empty() && valid;
    };
    switch (entry.option) {
      case Option::kOutput:
        if (needs(true)) inv_.output = std::string(value);
        break;
      case Option::kOutputDir:
        if (needs(true)) inv_.output_dir = std::string(value);
        break;
      case Option::kKeepGoing: inv_.keep_going = true; break;
      case Option::kQuiet: inv_.quiet = true; break;
      case Option::kHta: hta_ = true; break;
      case Option::kUsage: Ask(Invocation::Action::kUsage); break;
      case Option::kHelp: Ask(Invocation::Action::kHelp); break;
      case Option::kVersion: Ask(Invocation::Action::kVersion); break;
      case Option::kStyle:
        if (needs(value == "classic" || value == "modern")) {
          inv_.convert.style = value == "modern" ? PageStyle::kModern : PageStyle::kClassic;
        }
        break;
      case Option::kCodepage: {
        const std::optional<int> codepage = ParseCodepage(value);
        if (needs(codepage.has_value())) inv_.convert.codepage = *codepage;
        break;
      }
      case Option::kIndex:
        if (needs(true)) inv_.index = std::string(value);
        break;
      case Option::kMinFree:
      case Option::kMaxAntivirusAge:
      case Option::kMaxErrors: {
        const std::optional<int> threshold = ParseThreshold(value, entry.option == Option::kMinFree ? kMostPercent : kMostCount);
        if (!needs(threshold.has_value())) break;
        if (entry.option == Option::kMinFree) inv_.attention.min_free_percent = *threshold;
        if (entry.option == Option::kMaxAntivirusAge) inv_.attention.max_antivirus_days = *threshold;
        if (entry.option == Option::kMaxErrors) inv_.attention.max_error_events = static_cast<std::size_t>(*threshold);
        thresholds_ = std::string(spelled);
        break;
      }
      case Option::kFormat: {
        const FormatName* format = FindFormat(value);
        if (needs(format != nullptr)) format_ = format;
        break;
      }
      case Option::kCompare: inv_.compare = true; break;
      case Option::kAllColumns: inv_.all_columns = true; break;
    }
  }

  // "--name" or "--name=value". On POSIX a value may also be the next
  // argument; `next` is null when there is none (or it may not be taken).
  // Gives whether the next argument was taken.
  bool ReadLong(std::string_view arg, const std::string* next) {
    const std::size_t equals = arg.find('=');
    const std::string_view spelled = arg.substr(0, equals);
    const OptionSpec* entry = FindLong(spelled.substr(2));
    if (entry == nullptr) {
      Mistake("unknown option '" + std::string(spelled) + "'");
      return false;
    }
    if (equals != std::string_view::npos) {
      if (entry->takes_value) {
        Apply(*entry, spelled, arg.substr(equals + 1));
      } else {
        Mistake("option '" + std::string(spelled) + "' takes no value");
      }
      return false;
    }
    const bool take = entry->takes_value && next != nullptr;
    Apply(*entry, spelled, take ? std::string_view(*next) : std::string_view());
    return take;
  }

  // "-k", "-kq", "-o FILE", "-oFILE", "-ko FILE". Gives whether the next
  // argument was taken.
  bool ReadShort(std::string_view arg, const std::string* next) {
    for (std::size_t i = 1; i < arg.size(); ++i) {
      const OptionSpec* entry = FindShort(arg[i]);
      const std::string spelled{'-', arg[i]};
      if (entry == nullptr) {
        Mistake("unknown option '" + spelled + "'");
        return false;
      }
      if (!entry->takes_value) {
        Apply(*entry, spelled, {});
        continue;
      }
      if (i + 1 < arg.size()) {
        Apply(*entry, spelled, arg.substr(i + 1));
        return false;
      }
      Apply(*entry, spelled, next != nullptr ? std::string_view(*next) : std::string_view());
      return next != nullptr;
    }
    return false;
  }

  // Help, usage or version asked for by a word that may carry blanks.
  bool ReadRequest(std::string_view arg) {
    const std::string_view word = TrimControls(arg);
    if (word == "--help") {
      Ask(Invocation::Action::kHelp);
    } else if (word == "--version") {
      Ask(Invocation::Action::kVersion);
    } else if (word == "-h" && posix_) {
      Ask(Invocation::Action::kUsage);
    } else {
      return false;
    }
    return true;
  }

  void AddPattern(std::string pattern) { inv_.patterns.push_back(std::move(pattern)); }
  // Windows: a word after the pattern that is no option, ignored but as the
  // new report of a comparison.
  void AddLaterWord(std::string word) { later_words_.push_back(std::move(word)); }
  // POSIX: a pattern that names a file exactly is that file alone, so it
  // names one report for --output even when it holds wildcards.
  void NamesExist(const std::function<bool(const std::string&)>& path_exists) { path_exists_ = &path_exists; }
  void SelectHta() { hta_ = true; }
  void AskUsage() { Ask(Invocation::Action::kUsage); }
  void Mistake(std::string text) {
    if (error_.empty()) error_ = std::move(text);
  }

  Invocation Finish() {
    if (asked_) {
      inv_.action = *asked_;
      return std::move(inv_);
    }
    // Options alone name no report: a mistake, not a request for the usage text.
    if (inv_.patterns.empty()) Mistake("no report named");
    if (error_.empty()) CheckCombination();
    if (!error_.empty()) {
      inv_.action = Invocation::Action::kUsageError;
      inv_.error = std::move(error_);
      return std::move(inv_);
    }
    return std::move(inv_);
  }

 private:
  void Ask(Invocation::Action action) {
    if (!asked_) asked_ = action;
  }
  void CheckCombination() {
    if (posix_) {
      inv_.stdin_pattern = std::find(inv_.patterns.begin(), inv_.patterns.end(), kStandardStream) !=
                           inv_.patterns.end();
    }
    if (!thresholds_.empty() && !inv_.index) {
      Mistake("option '" + thresholds_ + "' needs '--index'");
    }
    inv_.convert.format = format_->format;
    inv_.extension = hta_ ? kHtaExtension : format_->extension;
    if (hta_ && format_->format != OutputFormat::kHtml) {
      Mistake("'--hta' names pages; it does not go with '--format=" + std::string(format_->name) + "'");
    } else if (inv_.output && inv_.output_dir) {
      Mistake("options '--output' and '--output-dir' exclude each other");
    } else if (inv_.compare) {
      for (std::string& word : later_words_) inv_.patterns.push_back(std::move(word));
      CheckComparison();
    } else if (inv_.all_columns) {
      Mistake("option '--all-columns' needs '--compare'");
    } else if (inv_.output && format_->format != OutputFormat::kNdjson &&
               (inv_.patterns.size() != 1 ||
                (HasWildcards(inv_.patterns[0], posix_ ? kPosixPaths : WindowsPaths(NoLeadBytes)) &&
                 !(path_exists_ && (*path_exists_)(inv_.patterns[0]))))) {
      Mistake("option '--output' takes one report, named without wildcards");
    }
  }

  // Two reports, the old and the new one, one output of what changed.
  void CheckComparison() {
    if (inv_.patterns.size() != 2) {
      Mistake("option '--compare' takes two reports, the old and the new one");
    } else if (inv_.patterns[0] == kStandardStream && inv_.patterns[1] == kStandardStream && posix_) {
      Mistake("option '--compare' can read only one report from standard input");
    } else if (inv_.index) {
      Mistake("options '--compare' and '--index' exclude each other");
    }
  }

  bool posix_;
  const std::function<bool(const std::string&)>* path_exists_ = nullptr;
  Invocation inv_;
  bool hta_ = false;
  const FormatName* format_ = &kFormats[0];
  std::vector<std::string> later_words_;
  std::optional<Invocation::Action> asked_;
  std::string error_;
  std::string thresholds_;  // the last threshold option given, as spelled
};

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
  OptionReader reader(false);
  // The first word that is no long option is the pattern, and the word right
  // after it may be "/HTA"; help and version are read in any position.
  std::optional<std::size_t> pattern;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (reader.ReadRequest(arg)) continue;
    if (arg.size() > 2 && arg.starts_with("--")) {
      reader.ReadLong(arg, nullptr);
    } else if (!pattern) {
      const std::string word = AsciiUpper(TrimControls(arg));
      if (word.find("/H") != std::string::npos || word.find("/?") != std::string::npos) {
        reader.AskUsage();
      }
      pattern = i;
      reader.AddPattern(arg);
    } else if (i == *pattern + 1 && IsHtaSwitch(arg)) {
      reader.SelectHta();
    } else if (arg.starts_with('-')) {
      reader.Mistake("unknown option '" + arg + "'");
    } else {
      reader.AddLaterWord(arg);
    }
  }
  return reader.Finish();
}

Invocation ParsePosixArguments(const std::vector<std::string>& args,
                               const std::function<bool(const std::string&)>& path_exists) {
  Invocation inv;
  if (args.empty()) {
    inv.action = Invocation::Action::kUsage;
    return inv;
  }
  const std::string_view first = TrimControls(args[0]);
  if (first == "/?" || (IsSlashHelpWord(first) && !path_exists(std::string(first)))) {
    inv.action = Invocation::Action::kUsage;
    return inv;
  }
  OptionReader reader(true);
  reader.NamesExist(path_exists);
  bool options = true;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const std::string* next = i + 1 < args.size() ? &args[i + 1] : nullptr;
    if (options && reader.ReadRequest(arg)) continue;
    if (!options) {
      reader.AddPattern(arg);
    } else if (arg == "--") {
      options = false;
    } else if (i > 0 && IsHtaSwitch(arg)) {
      reader.SelectHta();
    } else if (arg.size() > 2 && arg.starts_with("--")) {
      if (reader.ReadLong(arg, next)) ++i;
    } else if (arg.size() > 1 && arg[0] == '-') {
      if (reader.ReadShort(arg, next)) ++i;
    } else {
      reader.AddPattern(arg);
    }
  }
  return reader.Finish();
}

}  // namespace rptconv
