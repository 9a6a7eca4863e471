// Tests of the directory part of a pattern and of the output-name rule, with
// POSIX paths and with Windows paths (single- and double-byte code pages).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/paths.h"

namespace rptconv {
namespace {

// Lead bytes of a Shift-JIS-like double-byte code page: their second byte may
// be 0x5C, the code of the backslash, which then is no delimiter.
bool DoubleByteLead(unsigned char byte) { return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC); }

enum class Syntax { kPosix, kWindows, kWindowsDoubleByte };

PathSyntax SyntaxOf(Syntax s) {
  switch (s) {
    case Syntax::kPosix: return kPosixPaths;
    case Syntax::kWindows: return WindowsPaths(NoLeadBytes);
    case Syntax::kWindowsDoubleByte: return WindowsPaths(DoubleByteLead);
  }
  return kPosixPaths;
}

const char* NameOf(Syntax s) {
  switch (s) {
    case Syntax::kPosix: return "posix";
    case Syntax::kWindows: return "windows";
    case Syntax::kWindowsDoubleByte: return "windows double-byte";
  }
  return "?";
}

// A case that holds for both Windows syntaxes when it has no byte from 0x80 up.
struct PathCase {
  std::vector<Syntax> syntaxes;
  std::string input;
  std::string expected;
};

const std::vector<Syntax> kWindowsBoth = {Syntax::kWindows, Syntax::kWindowsDoubleByte};
const std::vector<Syntax> kAll = {Syntax::kPosix, Syntax::kWindows, Syntax::kWindowsDoubleByte};

TEST(InputDirTest, DirectoryPartOfThePattern) {
  const std::vector<PathCase> table = {
      {kAll, "*.csv", ""},
      {kAll, "report.csv", ""},
      {kAll, "", ""},
      // POSIX: "/" is the only delimiter.
      {{Syntax::kPosix}, "sub/*.csv", "sub/"},
      {{Syntax::kPosix}, "a/b/c/r?.csv", "a/b/c/"},
      {{Syntax::kPosix}, "/*.csv", "/"},
      {{Syntax::kPosix}, "/tmp/x/*.csv", "/tmp/x/"},
      {{Syntax::kPosix}, "./*.csv", "./"},
      {{Syntax::kPosix}, "../up/*.csv", "../up/"},
      {{Syntax::kPosix}, "a//*.csv", "a//"},
      {{Syntax::kPosix}, "dir.x/*.csv", "dir.x/"},
      {{Syntax::kPosix}, "sub/", "sub/"},
      {{Syntax::kPosix}, "C:*.csv", ""},
      {{Syntax::kPosix}, "C:\\x\\*.csv", ""},
      {{Syntax::kPosix}, "a\\b/*.csv", "a\\b/"},
      // Windows: "\", "/" and ":".
      {kWindowsBoth, "C:\\x\\*.csv", "C:\\x\\"},
      {kWindowsBoth, "C:\\x\\y\\r.csv", "C:\\x\\y\\"},
      {kWindowsBoth, "C:\\*.csv", "C:\\"},
      {kWindowsBoth, "C:*.csv", "C:"},
      {kWindowsBoth, "C:r.csv", "C:"},
      {kWindowsBoth, "\\*.csv", "\\"},
      {kWindowsBoth, "\\x\\*.csv", "\\x\\"},
      {kWindowsBoth, "\\\\server\\share\\*.csv", "\\\\server\\share\\"},
      {kWindowsBoth, "\\\\server\\share\\dir\\*.csv", "\\\\server\\share\\dir\\"},
      {kWindowsBoth, "sub\\*.csv", "sub\\"},
      {kWindowsBoth, "sub/*.csv", "sub\\"},
      {kWindowsBoth, "C:/x/*.csv", "C:/x\\"},
      {kWindowsBoth, "C:\\x/*.csv", "C:\\x\\"},
      {kWindowsBoth, "/*.csv", "/"},
      {kWindowsBoth, "C:/*.csv", "C:/"},
      {kWindowsBoth, "a\\\\*.csv", "a\\\\"},
      {kWindowsBoth, "dir.x\\*.csv", "dir.x\\"},
      {kWindowsBoth, "sub\\", "sub\\"},
      // A 0x5C second byte of a double-byte character is no delimiter.
      {{Syntax::kWindowsDoubleByte}, "\x95\x5C*.csv", ""},
      {{Syntax::kWindows}, "\x95\x5C*.csv", "\x95\\"},
      {{Syntax::kWindowsDoubleByte}, "d\\\x95\x5C*.csv", "d\\"},
      {{Syntax::kWindowsDoubleByte}, "\x95\x5C\\*.csv", "\x95\x5C\\"},
      {{Syntax::kWindowsDoubleByte}, "\xE0\x5C" "d\\\xFC\x5C*.csv", "\xE0\x5C" "d\\"},
      {{Syntax::kWindowsDoubleByte}, "\x81\x5C:*.csv", "\x81\x5C:"},
      // 0xA0 to 0xDF are single bytes: their following backslash counts.
      {{Syntax::kWindowsDoubleByte}, "\xA5\\*.csv", "\xA5\\"},
      {{Syntax::kWindowsDoubleByte}, "\xA0\x5C*.csv", "\xA0\\"},
  };
  for (const PathCase& c : table) {
    for (Syntax s : c.syntaxes) {
      SCOPED_TRACE(std::string(NameOf(s)) + ": " + c.input);
      EXPECT_EQ(InputDir(c.input, SyntaxOf(s)), c.expected);
    }
  }
}

TEST(MakeOutputNameTest, ExtensionReplaced) {
  const std::vector<PathCase> table = {
      {kAll, "a.csv", "a.htm"},
      {kAll, "a", "a.htm"},
      {kAll, "a.b.c.csv", "a.b.c.htm"},
      {kAll, "a.", "a.htm"},
      {kAll, "a..", "a..htm"},
      {kAll, ".csv", ".htm"},
      {kAll, ".", ".htm"},
      {kAll, "", ".htm"},
      {kAll, "REPORT.CSV", "REPORT.htm"},
      {kAll, "Mixed.Csv", "Mixed.htm"},
      {kAll, "a.htm", "a.htm"},
      {kAll, "a.txt.htm", "a.txt.htm"},
      {kAll, "with blank.csv", "with blank.htm"},
      // POSIX: "/" ends the file name; "\" and ":" are ordinary.
      {{Syntax::kPosix}, "sub/a.csv", "sub/a.htm"},
      {{Syntax::kPosix}, "./report", "./report.htm"},
      {{Syntax::kPosix}, "../report", "../report.htm"},
      {{Syntax::kPosix}, "../.csv", "../.htm"},
      {{Syntax::kPosix}, "dir.x/a", "dir.x/a.htm"},
      {{Syntax::kPosix}, "dir.x/a.csv", "dir.x/a.htm"},
      {{Syntax::kPosix}, "sub/.csv", "sub/.htm"},
      {{Syntax::kPosix}, "sub/a.", "sub/a.htm"},
      {{Syntax::kPosix}, "/abs/d.e/f.g.csv", "/abs/d.e/f.g.htm"},
      {{Syntax::kPosix}, "x.y\\a", "x.htm"},
      {{Syntax::kPosix}, "C:a", "C:a.htm"},
      {{Syntax::kPosix}, "x.y:a", "x.htm"},
      // Windows.
      {kWindowsBoth, "C:\\x\\a.csv", "C:\\x\\a.htm"},
      {kWindowsBoth, "C:a.csv", "C:a.htm"},
      {kWindowsBoth, "C:a", "C:a.htm"},
      {kWindowsBoth, "x.y:a", "x.y:a.htm"},
      {kWindowsBoth, "C:.csv", "C:.htm"},
      {kWindowsBoth, "dir.x\\a", "dir.x\\a.htm"},
      {kWindowsBoth, "dir.x/a", "dir.x/a.htm"},
      {kWindowsBoth, "sub\\.csv", "sub\\.htm"},
      {kWindowsBoth, ".\\report", ".\\report.htm"},
      {kWindowsBoth, "..\\report", "..\\report.htm"},
      {kWindowsBoth, "C:..\\report", "C:..\\report.htm"},
      {kWindowsBoth, "\\\\srv\\sh.are\\a.b.csv", "\\\\srv\\sh.are\\a.b.htm"},
      {kWindowsBoth, "\\\\srv\\sh.are\\noext", "\\\\srv\\sh.are\\noext.htm"},
      // The second byte of a double-byte character is neither a delimiter
      // nor, for a dot of another code page, a dot.
      {{Syntax::kWindowsDoubleByte}, "dir.x\x95\x5Cname", "dir.htm"},
      {{Syntax::kWindows}, "dir.x\x95\x5Cname", "dir.x\x95\\name.htm"},
      {{Syntax::kWindowsDoubleByte}, "\x95\x5C.csv", "\x95\x5C.htm"},
      {{Syntax::kWindowsDoubleByte}, "d.e\\\x95\x5C", "d.e\\\x95\x5C.htm"},
  };
  for (const PathCase& c : table) {
    for (Syntax s : c.syntaxes) {
      SCOPED_TRACE(std::string(NameOf(s)) + ": " + c.input);
      EXPECT_EQ(MakeOutputName(c.input, ".htm", SyntaxOf(s)), c.expected);
    }
  }
}

TEST(MakeOutputNameTest, ExtensionIsAppendedAsGiven) {
  for (Syntax s : kAll) {
    SCOPED_TRACE(NameOf(s));
    EXPECT_EQ(MakeOutputName("r.CSV", ".hta", SyntaxOf(s)), "r.hta");
    EXPECT_EQ(MakeOutputName("r", ".hta", SyntaxOf(s)), "r.hta");
    EXPECT_EQ(MakeOutputName("r.htm", ".hta", SyntaxOf(s)), "r.hta");
  }
}

}  // namespace
}  // namespace rptconv
