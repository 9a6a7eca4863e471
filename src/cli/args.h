// What the command line asks for.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fleet/fleet.h"
#include "rptconv/rptconv.h"

namespace rptconv {

inline constexpr std::string_view kHtmExtension = ".htm";
inline constexpr std::string_view kHtaExtension = ".hta";
inline constexpr std::string_view kJsonExtension = ".json";
inline constexpr std::string_view kNdjsonExtension = ".ndjson";
// A comparison's page, and its data, are named after the new report with
// these extensions.
inline constexpr std::string_view kChangesExtension = ".changes.htm";
inline constexpr std::string_view kChangesJsonExtension = ".changes.json";
inline constexpr std::string_view kChangesNdjsonExtension = ".changes.ndjson";
// As a pattern: the report on standard input; as the output: standard output.
inline constexpr std::string_view kStandardStream = "-";

struct Invocation {
  // kUsage: the classic usage text; kHelp: the full help; kUsageError: `error`
  // and a pointer to the help on standard error, exit code 64.
  enum class Action { kConvert, kUsage, kHelp, kVersion, kUsageError } action = Action::kConvert;
  std::string error;
  std::string extension{kHtmExtension};
  std::vector<std::string> patterns;
  bool stdin_pattern = false;          // "-" among the patterns is standard input
  std::optional<std::string> output;   // -o: the one page's path, or "-"; with ndjson, the one stream of every report
  std::optional<std::string> output_dir;  // -d: where every page goes
  bool keep_going = false;
  bool quiet = false;
  ConvertOptions convert;              // --style, --codepage, --format
  std::optional<std::string> index;    // --index: read, not yet written
  AttentionRules attention;            // --min-free, --max-av-age, --max-errors: the index's thresholds
  // --compare: the two patterns are the old and the new report, named
  // without search; --all-columns: volatile columns count as changes.
  bool compare = false;
  bool all_columns = false;
};

// The arguments that count: those before the first empty one.
std::vector<std::string> CountedArguments(std::vector<std::string> words);

// The text without its leading and trailing bytes 1 to 32.
std::string_view TrimControls(std::string_view text);
std::string AsciiUpper(std::string_view text);

// Windows: long options ("--name", "--name=value") in any position; the
// first other word is the pattern, and asks for the usage text when it holds
// "/H" (any case) or "/?"; the word right after it selects ".hta" when it is
// "/HTA" in any case; a later word that begins with "-" is a usage error;
// any other later word is ignored, but with --compare: the new report.
Invocation ParseWindowsArguments(const std::vector<std::string>& args);

// POSIX: "/?" or "/h..." (letters only, naming nothing that exists) first ask
// for the usage text; "-h", "--help" and "--version" do so anywhere before
// "--"; "--hta" or a later "/HTA" select ".hta"; the options (short, bundled
// or long) are read anywhere before "--"; every other argument is a pattern.
Invocation ParsePosixArguments(const std::vector<std::string>& args,
                               const std::function<bool(const std::string&)>& path_exists);

}  // namespace rptconv
