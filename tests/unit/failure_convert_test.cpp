// I/O failures during a conversion: whatever read, write, close or console
// line fails, the failure passes out of the conversion unchanged (error
// number and check site), is never taken for the end of the report, and the
// page is never committed.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "cli/convert_file.h"
#include "doubles.h"
#include "rptconv/rptconv.h"

namespace rptconv {
namespace {

using namespace testing;

// A report of `rows` property lines followed by rows of a four-column table,
// each of which reads two continuation lines.
std::string MakeReport(int rows) {
  std::string report = "Header\r\n";
  for (int i = 1; i <= rows; ++i) {
    report += "Report,Group " + std::to_string(i / 10) + ",Item,x,Label " + std::to_string(i) + ",Value " +
              std::to_string(i) + "\r\n";
  }
  for (int i = 1; i <= 3; ++i) report += "Processes,P,I,x,L,proc" + std::to_string(i) + "\r\n,,,,,file\r\n,,,,,42\r\n";
  return report;
}

// A report handed out in small pieces.
constexpr std::size_t kPiece = 7;

IoError ConvertExpectingFailure(ByteSource& source, ByteSink& sink) {
  try {
    Convert(source, sink);
  } catch (const IoError& error) {
    return error;
  }
  ADD_FAILURE() << "the conversion ended without an IoError";
  return IoError{0, IoSite::kReadReport};
}

// A read that fails at any point of the report, in the title's lines, inside
// a line, on a line end, or where the end of the report would be found,
// passes out; the page never gets its closing tail.
TEST(FailureConvertTest, ReadFailureAnywherePassesOut) {
  const std::string report = MakeReport(16);
  for (std::size_t fail_at = 0; fail_at <= report.size(); ++fail_at) {
    SCOPED_TRACE("read fails after byte " + std::to_string(fail_at));
    MemorySource source(report, kPiece, fail_at);
    MemorySink sink;
    const IoError error = ConvertExpectingFailure(source, sink);
    EXPECT_EQ(error.code, kEio);
    EXPECT_EQ(error.site, IoSite::kReadReport);
    EXPECT_EQ(sink.data.find("</HTML>"), std::string::npos);
  }
}

// A code page without a table is refused in every style before a byte is
// read or written; 0 takes the report's own.
TEST(FailureConvertTest, UnsupportedCodepageIsRefusedBeforeAnything) {
  for (const PageStyle style : {PageStyle::kClassic, PageStyle::kModern}) {
    for (const int codepage : {9999, -1, 1251}) {
      SCOPED_TRACE(std::to_string(codepage));
      MemorySource source(MakeReport(4));
      MemorySink sink;
      EXPECT_THROW(Convert(source, sink, {style, codepage}), std::invalid_argument);
      EXPECT_EQ(source.reads() + sink.writes, 0);
    }
    MemorySource source(MakeReport(4));
    MemorySink sink;
    Convert(source, sink, {style, 0});
    EXPECT_GT(sink.writes, 0);
  }
}

// A write of the page that fails, whichever block it is, passes out.
TEST(FailureConvertTest, WriteFailureOnAnyBlockPassesOut) {
  const std::string report = MakeReport(12000);  // a page of several blocks
  MemorySink whole;
  MemorySource complete(report, 1 << 20);
  Convert(complete, whole);
  ASSERT_GE(whole.writes, 3);
  ASSERT_NE(whole.data.find("</HTML>"), std::string::npos);

  for (int fail_on = 1; fail_on <= whole.writes; ++fail_on) {
    SCOPED_TRACE("write " + std::to_string(fail_on) + " fails");
    MemorySource source(report, 1 << 20);
    MemorySink sink(fail_on);
    const IoError error = ConvertExpectingFailure(source, sink);
    EXPECT_EQ(error.code, kNoSpace);
    EXPECT_EQ(error.site, IoSite::kWriteOutput);
    EXPECT_EQ(sink.writes, fail_on) << "the conversion wrote on after a failed write";
  }
}

// What the conversion did to its files and the console, in order.
struct Journal {
  std::vector<std::string> events;
  bool Has(const std::string& event) const {
    return std::find(events.begin(), events.end(), event) != events.end();
  }
};

class JournalOutput : public platform::OutputFile {
 public:
  JournalOutput(Journal& journal, bool fail_write, bool fail_commit)
      : journal_(journal), fail_write_(fail_write), fail_commit_(fail_commit) {}
  ~JournalOutput() override { journal_.events.push_back("output destroyed"); }
  void Write(std::string_view) override {
    if (fail_write_) throw IoError(kNoSpace, IoSite::kWriteOutput);
  }
  platform::FileIdentity Identity() const override { return platform::kUnknownFile; }
  void Commit() override {
    journal_.events.push_back("commit");
    if (fail_commit_) throw IoError{kNoSpace, IoSite::kCommitOutput};
  }

 private:
  Journal& journal_;
  bool fail_write_;
  bool fail_commit_;
};

// The ways one conversion can fail after its files are open.
struct Faults {
  std::size_t read_fails_at = SIZE_MAX;
  bool fail_write = false;
  bool fail_close = false;
  bool fail_commit = false;
  bool open_fails = false;
  int console_line_fails = 0;  // counted from 1; 0: none fails
};

class JournalFiles : public platform::ReportFiles, public Console {
 public:
  JournalFiles(Journal& journal, Faults faults, std::string report)
      : journal_(journal), faults_(faults), report_(std::move(report)) {}

  std::unique_ptr<platform::ReportSource> OpenReport(const std::string&, platform::ReportOrigin) override {
    if (faults_.open_fails) return nullptr;
    auto source = std::make_unique<MemoryReport>(report_, kPiece, faults_.read_fails_at);
    source->fail_close = faults_.fail_close;
    source_ = source.get();
    return source;
  }
  std::unique_ptr<platform::OutputFile> CreateOutput(const std::string&, const platform::ReplaceRule&,
                                                     std::uint32_t) override {
    journal_.events.push_back("create");
    return std::make_unique<JournalOutput>(journal_, faults_.fail_write, faults_.fail_commit);
  }
  bool CanCreateOutput(const std::string&, const platform::ReplaceRule&) override { return true; }
  bool DirectoryTakesFiles(const std::string&) override { return true; }
  void Line(std::string_view line) override {
    if (++console_lines_ == faults_.console_line_fails) throw IoError{kNoSpace, IoSite::kWriteConsole};
    journal_.events.emplace_back(line);
  }

  MemoryReport* source_ = nullptr;  // valid while the conversion runs

 private:
  Journal& journal_;
  Faults faults_;
  std::string report_;
  int console_lines_ = 0;
};

struct Outcome {
  Journal journal;
  bool threw = false;
  IoError error{0, IoSite::kReadReport};
  int reads = 0;
  int closes = 0;
};

Outcome RunConvertReport(const Faults& faults) {
  Outcome outcome;
  JournalFiles files(outcome.journal, faults, MakeReport(40));
  try {
    ReportJob job;
    job.input = "r.csv";
    job.output = "r.htm";
    ConvertReport(files, files, job);
  } catch (const IoError& error) {
    outcome.threw = true;
    outcome.error = error;
  }
  return outcome;
}

// Every failure after the page was created passes out of ConvertReport: the
// page is never committed (its file is destroyed, which removes it), and no
// console line follows the progress line.
TEST(FailureConvertTest, FailedConversionNeverCommitsThePage) {
  struct Case {
    const char* name;
    Faults faults;
    IoSite site;
  };
  Faults read_fails;
  read_fails.read_fails_at = 300;
  Faults write_fails;
  write_fails.fail_write = true;
  Faults close_fails;
  close_fails.fail_close = true;
  for (const Case& c : {Case{"read", read_fails, IoSite::kReadReport},
                        Case{"write", write_fails, IoSite::kWriteOutput},
                        Case{"report close", close_fails, IoSite::kCloseReport}}) {
    SCOPED_TRACE(c.name);
    const Outcome outcome = RunConvertReport(c.faults);
    ASSERT_TRUE(outcome.threw);
    EXPECT_EQ(outcome.error.site, c.site);
    EXPECT_FALSE(outcome.journal.Has("commit"));
    EXPECT_EQ(outcome.journal.events,
              (std::vector<std::string>{"create", "Converting: \"r.csv\"", "output destroyed"}));
  }

  Faults commit_fails;
  commit_fails.fail_commit = true;
  const Outcome outcome = RunConvertReport(commit_fails);
  ASSERT_TRUE(outcome.threw);
  EXPECT_EQ(outcome.error.site, IoSite::kCommitOutput);
  EXPECT_EQ(outcome.journal.events.back(), "output destroyed");
}

// A console line that cannot be written is an I/O failure like any other:
// the progress line stops the conversion before the report is read, and the
// open-failure line passes its failure out instead of the open failure.
TEST(FailureConvertTest, FailedConsoleLinePassesOut) {
  Faults progress_fails;
  progress_fails.console_line_fails = 1;
  const Outcome progress = RunConvertReport(progress_fails);
  ASSERT_TRUE(progress.threw);
  EXPECT_EQ(progress.error.site, IoSite::kWriteConsole);
  EXPECT_EQ(progress.journal.events, (std::vector<std::string>{"create", "output destroyed"}));

  Faults open_line_fails;
  open_line_fails.open_fails = true;
  open_line_fails.console_line_fails = 1;
  const Outcome open_line = RunConvertReport(open_line_fails);
  ASSERT_TRUE(open_line.threw);
  EXPECT_EQ(open_line.error.site, IoSite::kWriteConsole);
  EXPECT_TRUE(open_line.journal.events.empty());
}

}  // namespace
}  // namespace rptconv
