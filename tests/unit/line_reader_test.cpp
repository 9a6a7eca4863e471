// Tests of reading a report line by line, as the conversion reads it: the
// title from line 6, then the record loop over lines 2 to the end with an end
// test before every record line.
//
// Every case is run at every block size from 1 to 200 bytes, so each line
// end, each CR LF pair and each Ctrl-Z also falls across a block boundary.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "doubles.h"
#include "rptconv/rptconv.h"
#include "export/json_writer.h"
#include "report/byte_classes.h"
#include "report/line_reader.h"
#include "report/record.h"
#include "html/classic_page.h"
#include "html/line_writer.h"
#include "walk/report_walk.h"

namespace rptconv {
namespace {

using namespace std::string_literals;

using testing::MemorySink;
using testing::MemorySource;

std::string Str(std::span<char> line) { return {line.data(), line.size()}; }

// A listener that keeps the title and counts the source's reads up to it.
class TitleRecorder : public PageEvents {
 public:
  explicit TitleRecorder(const MemorySource* source = nullptr) : source_(source) {}
  void BeginDocument(std::string_view title, Language) override {
    title_ = title;
    reads_before_title_ = source_ ? source_->reads() : 0;
  }
  void BeginPage(std::string_view, bool) override {}
  void BeginGroup(std::string_view, bool, bool) override {}
  void BeginItem(std::string_view, bool, bool) override {}
  void TableHeader(std::span<const std::string_view>, std::string_view) override {}
  void Property(std::string_view, std::string_view, bool) override {}
  void TableRow(std::span<const std::string_view>) override {}
  void EndDocument() override {}
  std::string title_;
  int reads_before_title_ = 0;

 private:
  const MemorySource* source_;
};

// What one conversion sees of a report: the title the walk finds, and the
// lines after line 1 as the reader hands them out.
struct Seen {
  std::string title;                 // line 6 after its fifth comma
  std::vector<std::string> records;  // the record lines, 2 to the end
  std::vector<std::string> after;    // three reads past the end (continuation cells)
  bool at_end_after = false;         // the end test after those reads
};

Seen ReadLikeConversion(const std::string& input, std::size_t block, std::size_t max_read) {
  Seen seen;
  {
    MemorySource source(input, max_read);
    TitleRecorder recorder;
    WalkReport(source, recorder, block);
    seen.title = recorder.title_;
  }
  MemorySource source(input, max_read);
  ReportReader reader(source, block);
  if (!reader.AtEnd()) reader.ReadLine();
  while (!reader.AtEnd()) seen.records.emplace_back(Str(reader.ReadLine()));
  for (int i = 0; i < 3; ++i) seen.after.emplace_back(Str(reader.ReadLine()));
  seen.at_end_after = reader.AtEnd();
  return seen;
}

// All lines of a report, line 1 included, read with an end test before each.
std::vector<std::string> AllLines(ReportReader& reader) {
  std::vector<std::string> lines;
  while (!reader.AtEnd()) lines.emplace_back(Str(reader.ReadLine()));
  return lines;
}

std::string LongLine(std::size_t length, char seed) {
  std::string line;
  for (std::size_t i = 0; i < length; ++i) {
    // Every byte but the three with a role: LF, CR, Ctrl-Z.
    char c = static_cast<char>(static_cast<unsigned char>(seed) + i * 7);
    if (c == '\n' || c == '\r' || c == '\x1A') c = 'x';
    line.push_back(c);
  }
  return line;
}

struct LineCase {
  const char* name;
  std::string input;
  std::vector<std::string> lines;  // every line of the report, line 1 first
  std::string title;
};

std::vector<LineCase> LineCases() {
  const std::string long_a = LongLine(3000, 'a');
  const std::string long_b = LongLine(4500, 'B');
  const std::string six = "H\n2\n3\n4\n5\n";
  return {
      {"empty file", "", {}, ""},
      {"one line with LF", "H\n", {"H"}, ""},
      {"one line without line end", "H", {"H"}, ""},
      {"one empty line", "\n", {""}, ""},
      {"LF lines", "H\nA\nB\n", {"H", "A", "B"}, ""},
      {"CR LF lines", "H\r\nA\r\nB\r\n", {"H", "A", "B"}, ""},
      {"LF and CR LF mixed", "H\r\nA\nB\r\nC\n", {"H", "A", "B", "C"}, ""},
      {"last line without line end", "H\nA\nB", {"H", "A", "B"}, ""},
      {"last line after CR LF without line end", "H\r\nA\r\nB", {"H", "A", "B"}, ""},
      {"two line ends at the end give one empty line", "H\nA\n\n", {"H", "A", ""}, ""},
      {"two CR LF at the end give one empty line", "H\r\nA\r\n\r\n", {"H", "A", ""}, ""},
      {"empty lines inside are lines", "H\n\n\nA\n", {"H", "", "", "A"}, ""},
      {"lone CR inside a line is dropped", "H\na\rb\n", {"H", "ab"}, ""},
      {"several lone CRs are dropped", "H\n\ra\r\rb\r\n", {"H", "ab"}, ""},
      {"CR CR LF ends the line once", "H\na\r\r\nb\n", {"H", "a", "b"}, ""},
      {"LF CR: the CR starts the next line and vanishes", "H\n\rA\n", {"H", "A"}, ""},
      {"CR at the end of the file is dropped", "H\nab\r", {"H", "ab"}, ""},
      {"CR alone after the last line end is an empty line", "H\nA\n\r", {"H", "A", ""}, ""},
      {"CR before Ctrl-Z is dropped", "H\nab\r\x1A" "cd\n", {"H", "ab"}, ""},
      {"CR after the last line end, then Ctrl-Z", "H\nA\n\r\x1A", {"H", "A", ""}, ""},
      {"Ctrl-Z first in the file", "\x1A" "H\nA\n", {}, ""},
      {"Ctrl-Z at the start of a line", "H\nA\n\x1A" "B\nC\n", {"H", "A"}, ""},
      {"Ctrl-Z inside a line cuts it and ends the input", "H\nab\x1A" "cd\nE\n", {"H", "ab"}, ""},
      {"Ctrl-Z inside line 1", "H\x1A\nA\n", {"H"}, ""},
      {"Ctrl-Z after the last line end", "H\nA\n\x1A", {"H", "A"}, ""},
      {"Ctrl-Z after a last line without line end", "H\nA\x1A", {"H", "A"}, ""},
      {"bytes after Ctrl-Z are never lines", "H\n\x1A\n\n\x1A\n", {"H"}, ""},
      {"NUL bytes are kept", "H\n"s + "a\0b\0"s + "\n\0\n"s, {"H", "a\0b\0"s, "\0"s}, ""},
      {"bytes from 0x80 up are kept", "H\n\x80\xFF\xFE\xE9\x81\\\n", {"H", "\x80\xFF\xFE\xE9\x81\\"}, ""},
      {"quotes, tabs and blanks are kept", "H\n \"a\"\t, b \n", {"H", " \"a\"\t, b "}, ""},
      {"five lines: no title", six, {"H", "2", "3", "4", "5"}, ""},
      {"five lines, the last without line end", "H\n2\n3\n4\n5", {"H", "2", "3", "4", "5"}, ""},
      {"exactly six lines", six + "p,g,i,f,l,Title\n", {"H", "2", "3", "4", "5", "p,g,i,f,l,Title"}, "Title"},
      {"six lines, the last without line end", six + "p,g,i,f,l,T", {"H", "2", "3", "4", "5", "p,g,i,f,l,T"}, "T"},
      {"six lines in CR LF", "H\r\n2\r\n3\r\n4\r\n5\r\n,,,,,T\r\n", {"H", "2", "3", "4", "5", ",,,,,T"}, "T"},
      {"title keeps semicolons and later commas", six + "p,g,i,f,l,a;b,c\n7\n",
       {"H", "2", "3", "4", "5", "p,g,i,f,l,a;b,c", "7"}, "a;b,c"},
      {"title after the last of fewer than five commas", six + "x,y,z\n", {"H", "2", "3", "4", "5", "x,y,z"}, "z"},
      {"title is the whole line 6 without comma", six + "Whole;line\n", {"H", "2", "3", "4", "5", "Whole;line"},
       "Whole;line"},
      {"title from a PCI Dump line", six + "PCI Dump,g,i,f,l,T\n", {"H", "2", "3", "4", "5", "PCI Dump,g,i,f,l,T"},
       "T"},
      {"empty line 6 gives an empty title", six + "\n7\n", {"H", "2", "3", "4", "5", "", "7"}, ""},
      {"title cut by Ctrl-Z in line 6", six + ",,,,,Ti\x1Atle\n7\n", {"H", "2", "3", "4", "5", ",,,,,Ti"}, "Ti"},
      {"Ctrl-Z before line 6: no title", "H\n2\n3\n\x1A" "4\n5\n,,,,,T\n", {"H", "2", "3"}, ""},
      {"title with CR inside line 6", six + ",,,,,T\ri\r\n", {"H", "2", "3", "4", "5", ",,,,,Ti"}, "Ti"},
      {"long lines are read whole", "H\n" + long_a + "\r\n" + long_b, {"H", long_a, long_b}, ""},
      {"long title line", "H\n2\n3\n4\n5\n,,,,," + long_a + "\n" + long_b + "\n",
       {"H", "2", "3", "4", "5", ",,,,," + long_a, long_b}, long_a},
      {"long line 1 is dropped whole", long_a + "\nA\n", {long_a, "A"}, ""},
  };
}

std::vector<std::string> RecordLinesOf(const std::vector<std::string>& lines) {
  if (lines.empty()) return {};
  return {lines.begin() + 1, lines.end()};
}

TEST(ReportReaderTest, LinesAndTitleAtEveryBlockSize) {
  for (const LineCase& c : LineCases()) {
    const std::vector<std::string> records = RecordLinesOf(c.lines);
    for (std::size_t block = 1; block <= 200; ++block) {
      SCOPED_TRACE(std::string(c.name) + ", block size " + std::to_string(block));
      {
        MemorySource source(c.input);
        ReportReader reader(source, block);
        EXPECT_EQ(AllLines(reader), c.lines);
      }
      const Seen seen = ReadLikeConversion(c.input, block, c.input.size() + 1);
      EXPECT_EQ(seen.title, c.title);
      EXPECT_EQ(seen.records, records);
      EXPECT_EQ(seen.after, std::vector<std::string>(3, ""));
      EXPECT_TRUE(seen.at_end_after);
      if (HasFailure()) return;  // one failing case at one size is enough to read
    }
  }
}

// Records and cells as the conversion reads them: cut from the masks where a
// line lies in the block, else gathered and split by SplitRecord and
// AfterFifthField, the reference.
struct Cuts {
  std::vector<std::vector<std::string>> records;
  std::vector<std::string> cells;
};
Cuts CutLikeConversion(const std::string& input, std::size_t block, bool in_place) {
  Cuts cuts;
  for (bool as_cells : {false, true}) {
    MemorySource source(input);
    ReportReader reader(source, block);
    while (!reader.AtEnd()) {
      if (as_cells) {
        // Up to three at once, as a table row reads them.
        std::string_view row[3];
        const std::size_t common = in_place ? reader.ReadCommonCells(row, std::size(row)) : 0;
        cuts.cells.insert(cuts.cells.end(), row, row + common);
        if (common != 0) continue;
        std::string_view cell;
        if (!in_place || !reader.TryReadCellInPlace(cell)) {
          const std::span<char> line = reader.ReadLine();
          cell = AfterFifthField({line.data(), line.size()});
        }
        cuts.cells.emplace_back(cell);
        continue;
      }
      ReportRecord r;
      if (!in_place || !reader.TryReadRecordInPlace(r)) r = SplitRecord(reader.ReadLine());
      cuts.records.push_back(
          {std::string(r.page), std::string(r.group), std::string(r.item), std::string(r.label), std::string(r.value)});
    }
  }
  return cuts;
}

// Lines of every field count, values with semicolons, commas and bytes to
// escape, lines of 63 to 65 bytes (a mask window is 64 bits) and longer.
std::string FieldLines() {
  std::string lines = "P,G,I,F,L,V\r\n,,,,,\n;,;,;,;,;,;\r\nno comma\nP,G\r\nP,G,I,F,L,v,w;x\n\n\r\n";
  for (std::size_t length : {62, 63, 64, 65, 127, 128, 300}) {
    std::string line = "Page,Group,Item,4,Label,";
    while (line.size() < length) line += (line.size() % 7 == 0) ? ';' : (line.size() % 11 == 0 ? ',' : 'v');
    lines += line + (length % 2 ? "\n" : "\r\n");
  }
  // Long lines with fewer than five commas, or with the fifth far in.
  for (std::size_t gap : {50, 55, 58, 62, 70}) {
    lines += "Page,Group" + std::string(gap + 20, 'x') + "\r\n";
    lines += "P," + std::string(gap, 'x') + ",G,I,L,V;w\r\n";
  }
  return lines + "a<b,\"c\"&d,\x1B,e>f,g;h,i;j<k&l\r\nlast,line,without,line,end,x;y";
}

// The masks and cutters give what the byte-by-byte path gives, at every
// block size, and the classifier at every alignment and length.
TEST(ReportReaderTest, MaskCutsMatchTheScalarPath) {
  std::vector<std::string> inputs = {FieldLines()};
  for (const LineCase& c : LineCases()) inputs.push_back(c.input);
  for (const std::string& input : inputs) {
    for (std::size_t block = 1; block <= 200; ++block) {
      SCOPED_TRACE("block size " + std::to_string(block) + ", input " + input.substr(0, 40));
      const Cuts masked = CutLikeConversion(input, block, true);
      const Cuts scalar = CutLikeConversion(input, block, false);
      EXPECT_EQ(masked.records, scalar.records);
      EXPECT_EQ(masked.cells, scalar.cells);
      if (HasFailure()) return;
    }
    // The classifier at every alignment of the data and every length.
    std::string padded(16, 'x');
    padded += input + std::string(kVectorBytes + 64, '\0');
    for (std::size_t align = 0; align < 16; ++align) {
      for (std::size_t size = 0; size <= std::min<std::size_t>(input.size(), 300); ++size) {
        const char* data = padded.data() + align;
        std::vector<std::uint64_t> a(MaskWords(size) * 2 + 2), b(a.size()), c(a.size());
        const std::size_t words = MaskWords(size);
        const std::size_t data_end = ClassifyBlockScalar(data, size, {b.data(), b.data() + words});
        ASSERT_EQ(ClassifyBlockVector(data, size, {a.data(), a.data() + words}), data_end) << "size " << size;
        ASSERT_EQ(a, b) << "align " << align << ", size " << size;
        if (HasWideClassifier()) {
          ASSERT_EQ(ClassifyBlockWide(data, size, {c.data(), c.data() + words}), data_end) << "size " << size;
          ASSERT_EQ(c, b) << "wide, align " << align << ", size " << size;
        }
      }
      for (std::size_t at = 0; at < input.size(); ++at) {
        const char* p = padded.data() + align + at;
        ASSERT_EQ(EscapedBits16(p), EscapedBits16<ScalarBytes16>(p)) << "at " << at;
        ASSERT_EQ(JsonBits16(p), JsonBits16<ScalarBytes16>(p)) << "at " << at;
        ASSERT_EQ(ByteBits16(p, kValueComma), ByteBits16<ScalarBytes16>(p, kValueComma)) << "at " << at;
        ASSERT_EQ(EqualBits16(p, padded.data() + at), EqualBits16<ScalarBytes16>(p, padded.data() + at)) << "at " << at;
      }
    }
  }
}

TEST(ReportReaderTest, ShortReadsOfTheSourceChangeNothing) {
  for (const LineCase& c : LineCases()) {
    for (std::size_t max_read : {std::size_t{1}, std::size_t{2}, std::size_t{3}, std::size_t{5}}) {
      SCOPED_TRACE(std::string(c.name) + ", reads of at most " + std::to_string(max_read));
      const Seen seen = ReadLikeConversion(c.input, 64, max_read);
      EXPECT_EQ(seen.title, c.title);
      EXPECT_EQ(seen.records, RecordLinesOf(c.lines));
    }
  }
}

// A table row reads its continuation lines without an end test: the lines
// still come in file order, and past the end they are empty.
TEST(ReportReaderTest, ReadsWithoutEndTest) {
  struct Step {
    bool end_test;         // true: AtEnd, false: ReadLine
    std::string expected;  // the line, or "1"/"0" for the end test
  };
  struct ScriptCase {
    const char* name;
    std::string input;
    std::vector<Step> steps;  // after line 1
  };
  const std::vector<ScriptCase> cases = {
      {"continuation lines through and beyond line 6",
       "H\n2\n3\n4\n5\n6\n7\n",
       {{true, "0"}, {false, "2"}, {false, "3"}, {false, "4"}, {true, "0"}, {false, "5"},
        {false, "6"}, {false, "7"}, {true, "1"}, {false, ""}, {true, "1"}}},
      {"continuation lines of a short report read empty",
       "H\n2\n3",
       {{true, "0"}, {false, "2"}, {false, "3"}, {false, ""}, {false, ""}, {true, "1"}}},
      {"continuation line across the Ctrl-Z",
       "H\n2\n3\n4\n5\n6\n7\x1A" "8\n",
       {{false, "2"}, {false, "3"}, {false, "4"}, {false, "5"}, {false, "6"}, {true, "0"},
        {false, "7"}, {true, "1"}, {false, ""}}},
      {"report of line 1 only", "H\n", {{true, "1"}, {false, ""}, {true, "1"}}},
  };
  for (const ScriptCase& c : cases) {
    for (std::size_t block = 1; block <= 16; ++block) {
      SCOPED_TRACE(std::string(c.name) + ", block size " + std::to_string(block));
      MemorySource source(c.input);
      ReportReader reader(source, block);
      reader.ReadLine();
      for (std::size_t i = 0; i < c.steps.size(); ++i) {
        const Step& step = c.steps[i];
        const std::string got = step.end_test ? (reader.AtEnd() ? "1" : "0") : Str(reader.ReadLine());
        EXPECT_EQ(got, step.expected) << "step " << i;
      }
    }
  }
}

// The record loop splits lines in place; the next read must not be
// disturbed by that.
TEST(ReportReaderTest, LinesMayBeChangedBetweenReads) {
  MemorySource source("H\n2;a\n3;b\n4\n5\n,,,,,6;c\n7;d\n");
  ReportReader reader(source, 3);
  EXPECT_EQ(Str(reader.ReadLine()), "H");
  std::vector<std::string> values;
  while (!reader.AtEnd()) values.emplace_back(SplitRecord(reader.ReadLine()).value);
  EXPECT_EQ(values, (std::vector<std::string>{"2,a", "3,b", "4", "5", "6,c", "7,d"}));
}

// The page's head is written once line 6 is read: a long report is not read
// through first.
TEST(ReportReaderTest, TitleNeedsNoFurtherReading) {
  std::string input = "H\n2\n3\n4\n5\n,,,,,T\n";
  for (int i = 0; i < 1000; ++i) input += "more,lines,of,the,report,x\n";
  MemorySource source(input, 16);
  TitleRecorder recorder(&source);
  WalkReport(source, recorder, 16);
  EXPECT_EQ(recorder.title_, "T");
  EXPECT_LE(recorder.reads_before_title_, 3);
}

// A table row's cells stay where they were read until a line must be
// gathered: at every block size, with lines split by lone CRs and block
// ends, the page is the page of one large block.
TEST(ReportReaderTest, TableRowsAtEveryBlockSize) {
  const std::string report =
      "H\r\nReport,S,,,Computer Name,PC\r\nASPI,h1,,,,i1\r\n,,,,,l\run1\n,,,,,t1\r\n,,,,,v1\n"
      ",,,,,m\r1\n,,,,,r1\n,,,,,x1\nASPI,h2,,,,i2\n,,,,,lun2\n,,,,,t2\r\n,,,,,v2\n,,,,,m2\n"
      ",,,,,r2\n,,,,,x2\nLogon,u,,,,n\r\n,,,,,s\n,,,,,d";
  const auto page_at = [&report](std::size_t block) {
    MemorySource source(report);
    MemorySink sink;
    LineWriter out(sink);
    ClassicPage listener(out);
    WalkReport(source, listener, block);
    return sink.data;
  };
  const std::string whole = page_at(kDefaultBlockSize);
  ASSERT_NE(whole.find("<TD>m1"), std::string::npos);
  for (std::size_t block = 1; block <= 120; ++block) {
    ASSERT_EQ(page_at(block), whole) << "block size " << block;
  }
}

// A read failure is never taken for the end of the report.
TEST(ReportReaderTest, ReadFailuresPassOut) {
  {
    MemorySource source("H\nA", testing::kNever, 3, 5);
    ReportReader reader(source, 4);
    EXPECT_EQ(Str(reader.ReadLine()), "H");
    try {
      reader.ReadLine();
      ADD_FAILURE() << "no IoError from ReadLine";
    } catch (const IoError& error) {
      EXPECT_EQ(error.code, 5);
      EXPECT_EQ(error.site, IoSite::kReadReport);
    }
  }
  {
    MemorySource source("H\n", testing::kNever, 2, 7);
    ReportReader reader(source, 2);
    EXPECT_EQ(Str(reader.ReadLine()), "H");
    EXPECT_THROW(reader.AtEnd(), IoError);
  }
}

}  // namespace
}  // namespace rptconv
