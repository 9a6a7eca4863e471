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
      // Anything else first is a pattern, kept exactly as given.
      {{"-h"}, kConvert, ".htm", {"-h"}},
      {{"-?"}, kConvert, ".htm", {"-?"}},
      {{"--help"}, kConvert, ".htm", {"--help"}},
      {{"--version"}, kConvert, ".htm", {"--version"}},
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
      {{"*.csv", "-hta"}, kConvert, ".htm", {"*.csv"}},
      {{"*.csv", "--hta"}, kError, "", {}},
      {{"*.csv", "HTA"}, kConvert, ".htm", {"*.csv"}},
      {{"*.csv", "/HTA\x7F"}, kConvert, ".htm", {"*.csv"}},
      {{"*.csv", "\0/HTA"s}, kConvert, ".htm", {"*.csv"}},
      // Argument 3 and later change nothing.
      {{"*.csv", "x", "/HTA"}, kConvert, ".htm", {"*.csv"}},
      {{"*.csv", "/HTA", "junk"}, kConvert, ".hta", {"*.csv"}},
      {{"a.csv", "b.csv", "c.csv"}, kConvert, ".htm", {"a.csv"}},
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
      // Options alone name no report.
      {{}, {{"--hta"}, kUsage, "", {}}},
      {{}, {{"--"}, kUsage, "", {}}},
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
  switch (inv.action) {
    case kUsage: return "usage";
    case kHelp: return "help";
    case kVersion: return "version";
    case kError: return "error: " + inv.error;
    case kConvert: break;
  }
  std::string d = "convert" + Show(inv.patterns);
  if (inv.extension == kHtaExtension) d += " hta";
  if (inv.stdin_pattern) d += " stdin";
  if (inv.output) d += " -o " + *inv.output;
  if (inv.output_dir) d += " -d " + *inv.output_dir;
  if (inv.keep_going) d += " -k";
  if (inv.quiet) d += " -q";
  if (inv.convert.style == PageStyle::kModern) d += " modern";
  if (inv.convert.codepage != 0) d += " cp" + std::to_string(inv.convert.codepage);
  if (inv.index) d += " index " + *inv.index;
  return d;
}

struct OptionCase {
  Args args;
  std::string expected;
};

TEST(PosixOptionsTest, Table) {
  const std::vector<OptionCase> cases = {
      {{"-o", "x.htm", "a.csv"}, "convert[a.csv] -o x.htm"},
      {{"a.csv", "-ox.htm"}, "convert[a.csv] -o x.htm"},
      {{"a.csv", "--output", "x.htm"}, "convert[a.csv] -o x.htm"},
      {{"a.csv", "--output=x.htm"}, "convert[a.csv] -o x.htm"},
      {{"a.csv", "-o", "-x"}, "convert[a.csv] -o -x"},
      {{"a.csv", "-o", "-"}, "convert[a.csv] -o -"},
      {{"-"}, "convert[-] stdin"},
      {{"-o", "p.htm", "-"}, "convert[-] stdin -o p.htm"},
      {{"a", "-", "b"}, "convert[a][-][b] stdin"},
      {{"--", "-"}, "convert[-] stdin"},
      {{"-d", "out", "*.csv", "b"}, "convert[*.csv][b] -d out"},
      {{"--output-dir=out", "a"}, "convert[a] -d out"},
      {{"-kq", "a"}, "convert[a] -k -q"},
      {{"a", "--keep-going", "--quiet"}, "convert[a] -k -q"},
      {{"-kqd", "o", "a"}, "convert[a] -d o -k -q"},
      {{"-kdo", "a"}, "convert[a] -d o -k"},
      {{"a", "--style=modern", "--codepage=1252", "--index=i.htm"}, "convert[a] modern cp1252 index i.htm"},
      {{"a", "--style", "classic", "--codepage", "65535"}, "convert[a] cp65535"},
      {{"a", "--", "-o", "x"}, "convert[a][-o][x]"},
      // Mistakes: nothing is converted.
      {{"-x"}, "error: unknown option '-x'"},
      {{"a.csv", "-V"}, "error: unknown option '-V'"},
      {{"-kx", "a"}, "error: unknown option '-x'"},
      {{"a", "--outpt=x"}, "error: unknown option '--outpt'"},
      {{"a", "-o"}, "error: option '-o' needs a value"},
      {{"-o"}, "error: option '-o' needs a value"},
      {{"a", "--output"}, "error: option '--output' needs a value"},
      {{"a", "--output="}, "error: option '--output' needs a value"},
      {{"a", "-d"}, "error: option '-d' needs a value"},
      {{"a", "--quiet=yes"}, "error: option '--quiet' takes no value"},
      {{"a", "--style=bold"}, "error: invalid value 'bold' for option '--style'"},
      {{"a", "--codepage=0"}, "error: invalid value '0' for option '--codepage'"},
      {{"a", "--codepage=65536"}, "error: invalid value '65536' for option '--codepage'"},
      {{"a", "--codepage=12x"}, "error: invalid value '12x' for option '--codepage'"},
      {{"a", "--codepage=-5"}, "error: invalid value '-5' for option '--codepage'"},
      {{"a", "--index="}, "error: option '--index' needs a value"},
      {{"--output=x.htm"}, "error: option '--output' takes one report, named without wildcards"},
      {{"-o", "x", "a", "b"}, "error: option '--output' takes one report, named without wildcards"},
      {{"-o", "x", "*.csv"}, "error: option '--output' takes one report, named without wildcards"},
      {{"-o", "x", "r[1].csv"}, "error: option '--output' takes one report, named without wildcards"},
      {{"-o", "x", "-d", "y", "a"}, "error: options '--output' and '--output-dir' exclude each other"},
      {{"-x", "--bad", "a"}, "error: unknown option '-x'"},
      // Help and version win over everything, in the order given.
      {{"-x", "--help"}, "help"},
      {{"--bad", "-h"}, "usage"},
      {{"a", "--version", "-x"}, "version"},
      {{"a", "--version", "--help"}, "version"},
      {{"a", "-kh"}, "usage"},
      {{"a", "-o", "--help"}, "convert[a] -o --help"},
      {{"a", "--", "--help"}, "convert[a][--help]"},
  };
  for (const OptionCase& c : cases) {
    SCOPED_TRACE(Show(c.args));
    EXPECT_EQ(Describe(ParsePosixArguments(c.args, [](const std::string&) { return false; })), c.expected);
  }
}

TEST(WindowsOptionsTest, Table) {
  const std::vector<OptionCase> cases = {
      {{"a.csv", "--output=x.htm"}, "convert[a.csv] -o x.htm"},
      {{"a.csv", "/HTA", "--output=-"}, "convert[a.csv] hta -o -"},
      {{"*.csv", "--output-dir=C:\\out", "--keep-going", "--quiet"}, "convert[*.csv] -d C:\\out -k -q"},
      {{"a.csv", "--style=modern", "--codepage=1250", "--index=i.htm"}, "convert[a.csv] modern cp1250 index i.htm"},
      // No short options, no "-" for standard input, values only after "=".
      {{"a.csv", "-o", "x.htm", "-k"}, "convert[a.csv]"},
      {{"-"}, "convert[-]"},
      {{"a.csv", "--output", "x.htm"}, "error: option '--output' needs a value"},
      {{"a.csv", "--bogus"}, "error: unknown option '--bogus'"},
      {{"a[1].csv", "--output=x"}, "convert[a[1].csv] -o x"},
      {{"a?.csv", "--output=x"}, "error: option '--output' takes one report, named without wildcards"},
      {{"a.csv", "--codepage=x"}, "error: invalid value 'x' for option '--codepage'"},
      // Help and version after the first argument; the first stays the pattern.
      {{"a.csv", "--bogus", "--help"}, "help"},
      {{"a.csv", " --version "}, "version"},
      {{"--help"}, "convert[--help]"},
      {{"a.csv", "-h"}, "convert[a.csv]"},
  };
  for (const OptionCase& c : cases) {
    SCOPED_TRACE(Show(c.args));
    EXPECT_EQ(Describe(ParseWindowsArguments(c.args)), c.expected);
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
