// Tests of reading the command line: which arguments count, the help and
// version requests, the ".hta" switch and the patterns, on both platforms.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "cli/args.h"

namespace rptconv {
namespace {

using namespace std::string_literals;
using Args = std::vector<std::string>;
using Action = Invocation::Action;

constexpr Action kUsage = Action::kUsage;
constexpr Action kVersion = Action::kVersion;
constexpr Action kConvert = Action::kConvert;
constexpr Action kHelp = Action::kHelp;
constexpr Action kError = Action::kUsageError;

struct ArgsCase {
  Args args;
  Action action;
  std::string extension;  // checked for kConvert only
  Args patterns;          // checked for kConvert only
};

std::string Show(const Args& args) {
  std::string shown;
  for (const std::string& a : args) shown += "[" + a + "]";
  return shown;
}

void ExpectInvocation(const Invocation& got, const ArgsCase& c) {
  EXPECT_EQ(got.action, c.action);
  if (c.action != kConvert) return;
  EXPECT_EQ(got.extension, c.extension);
  EXPECT_EQ(got.patterns, c.patterns);
}

TEST(WindowsArgumentsTest, Table) {
  const std::vector<ArgsCase> cases = {
      {{}, kUsage, "", {}},
      // "/H" in any case or "/?" anywhere in the first argument asks for help.
      {{"/H"}, kUsage, "", {}},
      {{"/h"}, kUsage, "", {}},
      {{"/help"}, kUsage, "", {}},
      {{" \t/?\r "}, kUsage, "", {}},
      {{"/?"}, kUsage, "", {}},
      {{"a/?b.csv"}, kUsage, "", {}},
      {{"C:/home/r.csv"}, kUsage, "", {}},
      {{"x/Hy"}, kUsage, "", {}},
      {{"*.csv/h", "/HTA"}, kUsage, "", {}},
      {{"/HTA", "*.csv"}, kUsage, "", {}},
      {{"/hta"}, kUsage, "", {}},
      // Anything else first is a pattern, kept exactly as given; help and
      // version are read in any position.
      {{"-h"}, kConvert, ".htm", {"-h"}},
      {{"-?"}, kConvert, ".htm", {"-?"}},
      {{"--help"}, kHelp, "", {}},
      {{"--version", "a.csv"}, kVersion, "", {}},
      {{"a.csv", "--help", "/?"}, kHelp, "", {}},
      {{"/ h"}, kConvert, ".htm", {"/ h"}},
      {{"\\h.csv"}, kConvert, ".htm", {"\\h.csv"}},
      {{"\\?.csv"}, kConvert, ".htm", {"\\?.csv"}},
      {{" *.csv\t"}, kConvert, ".htm", {" *.csv\t"}},
      {{"C:\\x\\*.csv"}, kConvert, ".htm", {"C:\\x\\*.csv"}},
      // Argument 2: "/HTA" after trimming, in any case.
      {{"*.csv", "/HTA"}, kConvert, ".hta", {"*.csv"}},
      {{"*.csv", "/hta"}, kConvert, ".hta", {"*.csv"}},
      {{"*.csv", "/hTa"}, kConvert, ".hta", {"*.csv"}},
      {{"*.csv", " \t/Hta\r\n "}, kConvert, ".hta", {"*.csv"}},
      {{"*.csv", "\x01/HTA\x1F"}, kConvert, ".hta", {"*.csv"}},
      {{"*.csv", "/HTAX"}, kConvert, ".htm", {"*.csv"}},
      {{"*.csv", "/HT"}, kConvert, ".htm", {"*.csv"}},
      {{"*.csv", "/HT A"}, kConvert, ".htm", {"*.csv"}},
      {{"*.csv", "-hta"}, kError, "", {}},
      {{"*.csv", "--hta"}, kError, "", {}},
      {{"*.csv", "HTA"}, kConvert, ".htm", {"*.csv"}},
      {{"*.csv", "/HTA\x7F"}, kConvert, ".htm", {"*.csv"}},
      {{"*.csv", "\0/HTA"s}, kConvert, ".htm", {"*.csv"}},
      // Long options before the pattern: the first other word is the
      // pattern, the one after it may be "/HTA", and "/H" or "/?" in the
      // pattern still asks for the usage text.
      {{"--keep-going", "*.csv", "/HTA"}, kConvert, ".hta", {"*.csv"}},
      {{"--style=modern", "--quiet", "a.csv"}, kConvert, ".htm", {"a.csv"}},
      {{"--keep-going", "/?"}, kUsage, "", {}},
      {{"--output-dir=C:/Help", "a.csv"}, kConvert, ".htm", {"a.csv"}},
      {{"--keep-going"}, kError, "", {}},
      {{"--keep-going", "/HTA"}, kUsage, "", {}},
      // A later word that begins with "-" and is no long option is a mistake.
      {{"a.csv", "-k"}, kError, "", {}},
      {{"a.csv", "-"}, kError, "", {}},
      {{"a.csv", "--"}, kError, "", {}},
      // Other words after the pattern change nothing.
      {{"*.csv", "x", "/HTA"}, kConvert, ".htm", {"*.csv"}},
      {{"*.csv", "/HTA", "junk"}, kConvert, ".hta", {"*.csv"}},
      {{"a.csv", "b.csv", "c.csv"}, kConvert, ".htm", {"a.csv"}},
      // A comparison: the option before or after the old and the new report.
      {{"--compare", "a.csv", "b.csv"}, kConvert, ".htm", {"a.csv", "b.csv"}},
      {{"a.csv", "b.csv", "--compare"}, kConvert, ".htm", {"a.csv", "b.csv"}},
      {{"--compare", "--all-columns", "a.csv", "b.csv"}, kConvert, ".htm", {"a.csv", "b.csv"}},
      {{"--compare", "a.csv"}, kError, "", {}},
      {{"--compare", "a.csv", "b.csv", "c.csv"}, kError, "", {}},
      {{"--compare", "--format=json", "a.csv", "b.csv"}, kConvert, ".json", {"a.csv", "b.csv"}},
      {{"--compare", "--format=ndjson", "a.csv", "b.csv"}, kConvert, ".ndjson", {"a.csv", "b.csv"}},
      {{"a.csv", "--all-columns"}, kError, "", {}},
  };
  for (const ArgsCase& c : cases) {
    SCOPED_TRACE(Show(c.args));
    ExpectInvocation(ParseWindowsArguments(c.args), c);
  }
}

TEST(PosixArgumentsTest, Table) {
  struct PosixCase {
    std::set<std::string> existing;  // what the file system holds
    ArgsCase expected;
  };
  const std::vector<PosixCase> cases = {
      {{}, {{}, kUsage, "", {}}},
      // Help words first.
      {{}, {{"-h"}, kUsage, "", {}}},
      {{}, {{"--help"}, kHelp, "", {}}},
      {{}, {{"/?"}, kUsage, "", {}}},
      {{}, {{" \t-h\r"}, kUsage, "", {}}},
      {{}, {{"\x01--help\x20"}, kHelp, "", {}}},
      {{}, {{"/?", "*.csv"}, kUsage, "", {}}},
      {{}, {{"-h", "a.csv", "--hta"}, kUsage, "", {}}},
      // "/h" or "/H" and letters only: help while nothing of that name exists.
      {{}, {{"/h"}, kUsage, "", {}}},
      {{}, {{"/H"}, kUsage, "", {}}},
      {{}, {{"/help"}, kUsage, "", {}}},
      {{}, {{"/HTA"}, kUsage, "", {}}},
      {{}, {{" /Help "}, kUsage, "", {}}},
      {{}, {{"/HTA", "*.csv"}, kUsage, "", {}}},
      {{"/hx"}, {{"/help"}, kUsage, "", {}}},
      {{"/help"}, {{"/help"}, kConvert, ".htm", {"/help"}}},
      {{"/h"}, {{"/h"}, kConvert, ".htm", {"/h"}}},
      {{"/HTA"}, {{"/HTA", "x.csv"}, kConvert, ".htm", {"/HTA", "x.csv"}}},
      // Everything else first is a pattern.
      {{}, {{"/home/me/r.csv"}, kConvert, ".htm", {"/home/me/r.csv"}}},
      {{}, {{"/h/r.csv"}, kConvert, ".htm", {"/h/r.csv"}}},
      {{}, {{"/h1"}, kConvert, ".htm", {"/h1"}}},
      {{}, {{"/h.csv"}, kConvert, ".htm", {"/h.csv"}}},
      {{}, {{"/h*"}, kConvert, ".htm", {"/h*"}}},
      {{}, {{"/"}, kConvert, ".htm", {"/"}}},
      {{}, {{"/x"}, kConvert, ".htm", {"/x"}}},
      {{}, {{"/?x"}, kConvert, ".htm", {"/?x"}}},
      {{}, {{"dir/?.csv"}, kConvert, ".htm", {"dir/?.csv"}}},
      {{}, {{"-H"}, kError, "", {}}},
      {{}, {{"--HELP"}, kError, "", {}}},
      {{}, {{"h"}, kConvert, ".htm", {"h"}}},
      {{}, {{" a.csv "}, kConvert, ".htm", {" a.csv "}}},
      // The version.
      {{}, {{"--version"}, kVersion, "", {}}},
      {{}, {{"\t--version "}, kVersion, "", {}}},
      {{}, {{"--version", "a.csv"}, kVersion, "", {}}},
      // The ".hta" switch: "--hta" anywhere, "/HTA" trimmed in any case after the first.
      {{}, {{"*.csv", "--hta"}, kConvert, ".hta", {"*.csv"}}},
      {{}, {{"--hta", "*.csv"}, kConvert, ".hta", {"*.csv"}}},
      {{}, {{"*.csv", "/HTA"}, kConvert, ".hta", {"*.csv"}}},
      {{}, {{"*.csv", " /hta\t"}, kConvert, ".hta", {"*.csv"}}},
      {{}, {{"a", "b", "/hTa"}, kConvert, ".hta", {"a", "b"}}},
      {{}, {{"a", "/HTA", "b"}, kConvert, ".hta", {"a", "b"}}},
      {{}, {{"*.csv", "/HTAX"}, kConvert, ".htm", {"*.csv", "/HTAX"}}},
      {{}, {{"*.csv", "--HTA"}, kError, "", {}}},
      {{}, {{"*.csv", " --hta"}, kConvert, ".htm", {"*.csv", " --hta"}}},
      // Several patterns, in the order given; "-h" asks for help anywhere, the
      // slash words only first.
      {{}, {{"c.csv", "a.csv", "b.csv"}, kConvert, ".htm", {"c.csv", "a.csv", "b.csv"}}},
      {{}, {{"a.csv", "-h"}, kUsage, "", {}}},
      {{}, {{"a.csv", "/?"}, kConvert, ".htm", {"a.csv", "/?"}}},
      // "--" ends the options.
      {{}, {{"*.csv", "--", "--hta"}, kConvert, ".htm", {"*.csv", "--hta"}}},
      {{}, {{"--", "-h"}, kConvert, ".htm", {"-h"}}},
      {{}, {{"--", "--version"}, kConvert, ".htm", {"--version"}}},
      {{}, {{"--hta", "--", "/HTA"}, kConvert, ".hta", {"/HTA"}}},
      {{}, {{"a", "--", "--"}, kConvert, ".htm", {"a", "--"}}},
      // Options alone name no report: a mistake.
      {{}, {{"--hta"}, kError, "", {}}},
      {{}, {{"--"}, kError, "", {}}},
  };
  for (const PosixCase& c : cases) {
    SCOPED_TRACE(Show(c.expected.args));
    std::vector<std::string> asked;
    const auto exists = [&](const std::string& path) {
      asked.push_back(path);
      return c.existing.count(path) != 0;
    };
    ExpectInvocation(ParsePosixArguments(c.expected.args, exists), c.expected);
    // Only a "/h..." word first is ever looked up, trimmed.
    for (const std::string& path : asked) {
      EXPECT_TRUE(path.size() >= 2 && path[0] == '/' && (path[1] == 'h' || path[1] == 'H')) << path;
    }
  }
}

// The whole invocation in one line, so that a table row states all of it.
std::string Describe(const Invocation& inv) {
  if (inv.action == kError) return "error: " + inv.error;
  if (inv.action != kConvert) return inv.action == kHelp ? "help" : inv.action == kUsage ? "usage" : "version";
  std::string d = "convert" + Show(inv.patterns) + (inv.extension == kHtaExtension ? " hta" : "");
  if (inv.stdin_pattern) d += " stdin";
  if (inv.output) d += " -o " + *inv.output;
  if (inv.output_dir) d += " -d " + *inv.output_dir;
  if (inv.keep_going) d += " -k";
  if (inv.quiet) d += " -q";
  if (inv.convert.style == PageStyle::kModern) d += " modern";
  if (inv.convert.codepage != 0) d += " cp" + std::to_string(inv.convert.codepage);
  if (inv.index) d += " index " + *inv.index;
  const AttentionRules defaults;
  if (inv.attention.min_free_percent != defaults.min_free_percent ||
      inv.attention.max_antivirus_days != defaults.max_antivirus_days ||
      inv.attention.max_error_events != defaults.max_error_events) {
    d += " attention " + std::to_string(static_cast<int>(inv.attention.min_free_percent)) + "/" +
         std::to_string(inv.attention.max_antivirus_days) + "/" + std::to_string(inv.attention.max_error_events);
  }
  if (inv.convert.format != OutputFormat::kHtml) d += " " + inv.extension;
  return d;
}

TEST(OptionsTest, Table) {
  constexpr bool kPosix = true, kWindows = false;
  const struct {
    bool posix;
    Args args;
    std::string expected;
  } cases[] = {
      {kPosix, {"-o", "x.htm", "a.csv"}, "convert[a.csv] -o x.htm"},
      {kPosix, {"a.csv", "-ox.htm"}, "convert[a.csv] -o x.htm"},
      {kPosix, {"a.csv", "--output", "-x"}, "convert[a.csv] -o -x"},
      {kPosix, {"-o", "-", "-"}, "convert[-] stdin -o -"},
      {kPosix, {"a", "-", "--", "-"}, "convert[a][-][-] stdin"},
      {kPosix, {"-kqd", "o", "*.csv", "b"}, "convert[*.csv][b] -d o -k -q"},
      {kPosix, {"a", "--keep-going", "--quiet", "--output-dir=o"}, "convert[a] -d o -k -q"},
      {kPosix, {"a", "--style=modern", "--codepage", "1252", "--index=i"}, "convert[a] modern cp1252 index i"},
      {kPosix, {"a", "--", "-o", "x"}, "convert[a][-o][x]"},
      {kPosix, {"a", "--index=i", "--min-free", "0", "--max-av-age=30", "--max-errors=5"},
       "convert[a] index i attention 0/30/5"},
      {kWindows, {"a", "--index=i", "--min-free=100"}, "convert[a] index i attention 100/7/0"},
      {kPosix, {"a", "--format=json", "--index=i.json"}, "convert[a] index i.json .json"},
      {kPosix, {"a", "--format", "html"}, "convert[a]"},
      {kPosix, {"-o", "f", "--format=ndjson", "a", "b*"}, "convert[a][b*] -o f .ndjson"},
      // Mistakes: nothing is converted; the first one is told.
      {kPosix, {"-kx", "-V", "a"}, "error: unknown option '-x'"},
      {kPosix, {"a", "--outpt=x"}, "error: unknown option '--outpt'"},
      {kPosix, {"a", "-o"}, "error: option '-o' needs a value"},
      {kPosix, {"a", "--output="}, "error: option '--output' needs a value"},
      {kPosix, {"a", "--quiet=yes"}, "error: option '--quiet' takes no value"},
      {kPosix, {"a", "--style=bold"}, "error: invalid value 'bold' for option '--style'"},
      {kPosix, {"a", "--codepage=65536"}, "error: invalid value '65536' for option '--codepage'"},
      {kPosix, {"a", "--codepage=-5"}, "error: invalid value '-5' for option '--codepage'"},
      {kPosix, {"a", "--codepage=1251"}, "error: invalid value '1251' for option '--codepage'"},
      {kPosix, {"a", "--index=i", "--min-free=101"}, "error: invalid value '101' for option '--min-free'"},
      {kPosix, {"a", "--index=i", "--max-av-age=-1"}, "error: invalid value '-1' for option '--max-av-age'"},
      {kPosix, {"a", "--index=i", "--max-errors=2x"}, "error: invalid value '2x' for option '--max-errors'"},
      {kPosix, {"a", "--max-errors=2"}, "error: option '--max-errors' needs '--index'"},
      {kPosix, {"a", "--format=xml"}, "error: invalid value 'xml' for option '--format'"},
      {kPosix, {"a", "--hta", "--format=json"}, "error: '--hta' names pages; it does not go with '--format=json'"},
      {kPosix, {"-o", "x", "a", "b", "--format=json"}, "error: option '--output' takes one report, named without wildcards"},
      {kPosix, {"--output=x.htm"}, "error: no report named"},
      {kPosix, {"-k", "--style=modern"}, "error: no report named"},
      {kPosix, {"-o", "x", "a", "b"}, "error: option '--output' takes one report, named without wildcards"},
      {kPosix, {"-o", "x", "r[1].csv"}, "error: option '--output' takes one report, named without wildcards"},
      {kPosix, {"-o", "x", "-d", "y", "a"}, "error: options '--output' and '--output-dir' exclude each other"},
      // Help and version win over everything, the first of them over the others.
      {kPosix, {"-x", "--help"}, "help"},
      {kPosix, {"a", "--version", "--help", "-h"}, "version"},
      {kPosix, {"a", "-kh"}, "usage"},
      {kPosix, {"a", "--", "--help"}, "convert[a][--help]"},
      // Windows: long options after the first argument, values after "=".
      {kWindows, {"a.csv", "/HTA", "--output=-"}, "convert[a.csv] hta -o -"},
      {kWindows, {"*.csv", "--output-dir=C:\\o", "--keep-going", "--quiet"}, "convert[*.csv] -d C:\\o -k -q"},
      {kWindows, {"a.csv", "-o", "x.htm", "-k", "-"}, "error: unknown option '-o'"},
      {kWindows, {"--index=i.htm", "--style=modern", "a.csv", "b.csv"}, "convert[a.csv] modern index i.htm"},
      {kWindows, {"--index=i.htm"}, "error: no report named"},
      {kWindows, {"a.csv", "--output", "x.htm"}, "error: option '--output' needs a value"},
      {kWindows, {"a[1].csv", "--output=x"}, "convert[a[1].csv] -o x"},
      {kWindows, {"*.csv", "--format=ndjson", "--output=f"}, "convert[*.csv] -o f .ndjson"},
      {kWindows, {"a.csv", "/HTA", "--format=json"}, "error: '--hta' names pages; it does not go with '--format=json'"},
      {kWindows, {"a?.csv", "--output=x"}, "error: option '--output' takes one report, named without wildcards"},
      {kWindows, {"a.csv", "--bogus", " --help"}, "help"},
      {kWindows, {"--version"}, "version"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Show(c.args));
    const Invocation inv =
        c.posix ? ParsePosixArguments(c.args, [](const std::string&) { return false; }) : ParseWindowsArguments(c.args);
    EXPECT_EQ(Describe(inv), c.expected);
  }
}

TEST(CountedArgumentsTest, UpToTheFirstEmptyOne) {
  const struct {
    Args words;
    Args counted;
  } cases[] = {
      {{}, {}},
      {{"a"}, {"a"}},
      {{"a", "b", "c"}, {"a", "b", "c"}},
      {{""}, {}},
      {{"", "a"}, {}},
      {{"a", "", "b"}, {"a"}},
      {{"a", "b", ""}, {"a", "b"}},
      {{" ", "", "x"}, {" "}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Show(c.words));
    EXPECT_EQ(CountedArguments(c.words), c.counted);
  }
}

TEST(TrimControlsTest, BytesOneToThirtyTwoAtBothEnds) {
  const struct {
    std::string text;
    std::string trimmed;
  } cases[] = {
      {"", ""},
      {"   ", ""},
      {"a", "a"},
      {" \t a \r\n", "a"},
      {"\x01\x1F" "a\x20", "a"},
      {"a b\tc", "a b\tc"},
      {"\x21" "a\x21", "\x21" "a\x21"},
      {"\0a\0"s, "\0a\0"s},
      {"\0 a \0"s, "\0 a \0"s},
      {" \0 "s, "\0"s},
      {"\x7F" "a\x7F", "\x7F" "a\x7F"},
      {"\xA0" "a\xFF", "\xA0" "a\xFF"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(TrimControls(c.text), c.trimmed);
  }
}

TEST(AsciiUpperTest, OnlyAsciiLetters) {
  EXPECT_EQ(AsciiUpper("azAZ"), "AZAZ");
  EXPECT_EQ(AsciiUpper("`{@[/hta?"), "`{@[/HTA?");
  EXPECT_EQ(AsciiUpper("\xE1\xF6\xFF\x80"), "\xE1\xF6\xFF\x80");
  EXPECT_EQ(AsciiUpper("\0h"s), "\0H"s);
}

}  // namespace
}  // namespace rptconv
