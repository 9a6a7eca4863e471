// Tests of the Windows command-line splitter, run on every platform: the text
// goes in as the process would see it, the words come out.
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "cli/args.h"
#include "cli/cmdline_split.h"

namespace rptconv {
namespace {

using Words = std::vector<std::string>;

bool NoDoubleBytes(unsigned char) { return false; }
// The lead bytes of code page 932: 0x81-0x9F and 0xE0-0xFC.
bool ShiftJisLead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

Words Split(std::string_view text) { return SplitCommandLine(text, NoDoubleBytes); }
Words Args(std::string_view text) { return CommandLineArguments(text, NoDoubleBytes); }

TEST(WinCmdlineSplit, SeparatorsAreAllControlBytesAndBlank) {
  EXPECT_EQ(Split("rptconv a.csv /HTA"), (Words{"rptconv", "a.csv", "/HTA"}));
  EXPECT_EQ(Split("  rptconv\t\ta.csv \r\n /hta  "), (Words{"rptconv", "a.csv", "/hta"}));
  EXPECT_EQ(Split("p\x01" "a\x1f" "b\x7f" "c"), (Words{"p", "a", "b\x7f" "c"}));
  EXPECT_EQ(Split("rptconv \xA0x"), (Words{"rptconv", "\xA0x"}));  // 160 is no blank
}

TEST(WinCmdlineSplit, NothingAfterTheProgramGivesNoArguments) {
  EXPECT_EQ(Args("rptconv"), Words{});
  EXPECT_EQ(Args("rptconv   \t "), Words{});
  EXPECT_EQ(Args(""), Words{});
  EXPECT_EQ(Split(""), Words{});
  EXPECT_EQ(Split(" \t"), Words{});
}

TEST(WinCmdlineSplit, QuotedStretchesKeepBlanksAndJoinPieces) {
  EXPECT_EQ(Args("rptconv \"my reports\\a b.csv\" /HTA"), (Words{"my reports\\a b.csv", "/HTA"}));
  EXPECT_EQ(Args("rptconv my\" \"dir\\\"*\".csv"), (Words{"my dir\\*.csv"}));
  EXPECT_EQ(Args("rptconv a\"\"b"), (Words{"ab"}));
  EXPECT_EQ(Args("rptconv \"a\"\"b\""), (Words{"ab"}));
  EXPECT_EQ(Args("rptconv x \" /hta \""), (Words{"x", " /hta "}));
  // A quote left open runs to the end of the text.
  EXPECT_EQ(Args("rptconv \"a b\tc"), (Words{"a b\tc"}));
  EXPECT_EQ(Args("\"C:\\Program Files\\rptconv.exe\" a.csv"), (Words{"a.csv"}));
}

TEST(WinCmdlineSplit, EmptyQuotePairsAtAWordStartAreSkipped) {
  EXPECT_EQ(Args("rptconv \"\" a.csv /hta"), (Words{"a.csv", "/hta"}));
  EXPECT_EQ(Args("rptconv \"\"\"\" \"\"  a.csv"), (Words{"a.csv"}));
  EXPECT_EQ(Args("rptconv \"\"a.csv"), (Words{"a.csv"}));
  EXPECT_EQ(Args("rptconv a.csv \"\""), (Words{"a.csv"}));
  EXPECT_EQ(Split("\"\" rptconv x"), (Words{"rptconv", "x"}));
}

TEST(WinCmdlineSplit, ALoneQuoteAtTheEndEndsTheArguments) {
  EXPECT_EQ(Args("rptconv \""), Words{});
  EXPECT_EQ(Args("rptconv a.csv \""), (Words{"a.csv"}));
  // Three quotes: the pair is skipped, the third opens an empty stretch.
  EXPECT_EQ(Args("rptconv \"\"\""), Words{});
}

TEST(WinCmdlineSplit, BackslashIsAnOrdinaryByte) {
  EXPECT_EQ(Args("rptconv \"sub dir\\\" x"), (Words{"sub dir\\", "x"}));
  EXPECT_EQ(Args("rptconv a\\\"b c\""), (Words{"a\\b c"}));
  EXPECT_EQ(Args("rptconv \\\\server\\share\\*.csv"), (Words{"\\\\server\\share\\*.csv"}));
  EXPECT_EQ(Args("rptconv \"a\\\\\" b"), (Words{"a\\\\", "b"}));
}

TEST(WinCmdlineSplit, TheTextEndsAtItsFirstNul) {
  const std::string text("rptconv a.csv\0b.csv /HTA", 24);
  EXPECT_EQ(Args(text), (Words{"a.csv"}));
  EXPECT_EQ(Args(std::string("rptconv \"a\0 b\"", 15)), (Words{"a"}));
}

TEST(WinCmdlineSplit, SecondBytesOfDoubleByteCharactersAreNeverBlanksOrQuotes) {
  // 0x81 0x20 and 0x83 0x22 are whole characters in code page 932.
  EXPECT_EQ(CommandLineArguments("rptconv a\x81 b.csv", ShiftJisLead), (Words{"a\x81 b.csv"}));
  EXPECT_EQ(CommandLineArguments("rptconv \"a\x83\" b\" c", ShiftJisLead), (Words{"a\x83\" b", "c"}));
  EXPECT_EQ(CommandLineArguments("rptconv \x83\"\" x", ShiftJisLead), (Words{"\x83\" x"}));
  // Read a byte at a time, the same texts split elsewhere.
  EXPECT_EQ(Args("rptconv a\x81 b.csv"), (Words{"a\x81", "b.csv"}));
  EXPECT_EQ(Args("rptconv \"a\x83\" b\" c"), (Words{"a\x83", "b c"}));
  // A lead byte at the very end stands alone.
  EXPECT_EQ(CommandLineArguments("rptconv ab\x81", ShiftJisLead), (Words{"ab\x81"}));
  // A lead byte whose second byte would be the NUL that ends the text.
  EXPECT_EQ(CommandLineArguments(std::string("rptconv a\x81\0 b", 13), ShiftJisLead), (Words{"a\x81"}));
}

// The whole way from the text to what the program does.
TEST(WinCmdlineSplit, TextToInvocation) {
  auto invocation = [](std::string_view text) { return ParseWindowsArguments(Args(text)); };
  using Action = Invocation::Action;

  EXPECT_EQ(invocation("rptconv").action, Action::kUsage);
  EXPECT_EQ(invocation("rptconv \"\"").action, Action::kUsage);
  EXPECT_EQ(invocation("rptconv \"").action, Action::kUsage);
  EXPECT_EQ(invocation("rptconv x/hy.csv").action, Action::kUsage);
  EXPECT_EQ(invocation("rptconv \" /? \"").action, Action::kUsage);
  EXPECT_EQ(invocation("rptconv /HTA a.csv").action, Action::kUsage);

  const Invocation minus_h = invocation("rptconv -h");
  EXPECT_EQ(minus_h.action, Action::kConvert);
  EXPECT_EQ(minus_h.patterns, (Words{"-h"}));

  const Invocation quoted = invocation("rptconv \"\" \" my dir\\*.csv\" \" /hTa\t\" more");
  EXPECT_EQ(quoted.action, Action::kConvert);
  EXPECT_EQ(quoted.patterns, (Words{" my dir\\*.csv"}));  // the pattern is not trimmed
  EXPECT_EQ(quoted.extension, ".hta");

  // An empty word ends the arguments before "/HTA" is reached.
  const Invocation cut = invocation("rptconv a.csv \"");
  EXPECT_EQ(cut.patterns, (Words{"a.csv"}));
  EXPECT_EQ(cut.extension, ".htm");
}

}  // namespace
}  // namespace rptconv
