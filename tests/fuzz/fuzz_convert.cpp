// Fuzz target for the conversion: arbitrary bytes go through Convert as a
// report, and the page that comes out is held against invariants that must
// hold for every input. What each record becomes is pinned by the golden
// pages; here only what needs no second renderer is checked:
//
//  1. Line ends: every line ends with CR LF, and no other CR or LF occurs.
//  2. Frame: the page starts with the head of an empty report's page, a
//     title line without raw "<" or ">" in the title, and the body line, and
//     ends with that page's tail; every line between is markup (starts "<").
//  3. Escaping: the report is recoded so that "<", ">", "&", '"', ESC (and
//     the code byte itself) become two-byte codes that contain none of them.
//     The recoding keeps every comparison the converter makes, so the page
//     of the recoded report, with the codes turned into the entities, must
//     equal the page of the original byte for byte.
//  4. Reading: the page does not depend on how the source hands out its
//     bytes (one large read or many short ones), on a CR put before every LF,
//     nor on a Ctrl-Z and any bytes after the report.
//  5. The reader alone, with blocks of a few bytes, hands out the report's
//     lines and then empty lines; its end test is true exactly after the last
//     line, also when reads without an end test come in between.
//  6. Comparison: a report compared with itself (read in other pieces)
//     shows no change; compared with an empty report, every row of it is
//     removed (as data: valid UTF-8, JSON and NDJSON), and against it
//     every row is added.
//
// The first byte of the input also chooses the options (the report's first
// line is its header, which shows nowhere): the style, the code page and
// whether a summary is gathered; from 0x80 up, data instead of a page. A
// modern page is held to invariants 1 and 4, and must be valid UTF-8; a
// summary must change no page. Data is held to invariant 4, and must be
// valid UTF-8 and valid JSON: one document ended by LF (json), or one
// object per LF-ended line (ndjson).
//
// A broken invariant prints what was expected and aborts.
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "compare/report_comparer.h"
#include "doubles.h"
#include "report/line_reader.h"
#include "walk/report_walk.h"
#include "rptconv/rptconv.h"

namespace {

using std::string;
using std::string_view;

using rptconv::testing::MemorySink;
using rptconv::testing::MemorySource;

constexpr std::size_t kWhole = static_cast<std::size_t>(-1);

string Convert(string_view report, std::size_t chunk = kWhole, const rptconv::ConvertOptions& options = {},
               rptconv::ReportSummary* summary = nullptr) {
  MemorySource source(report, chunk);
  MemorySink sink;
  rptconv::Convert(source, sink, options, summary);
  return std::move(sink.data);
}

// The options the input's first byte chooses: bit 0 the style, bits 1 and 2
// the code page, bit 3 a summary; bit 7 data, as JSON or (bit 4) NDJSON.
struct Setup {
  rptconv::ConvertOptions options;
  bool summary = false;
};
Setup SetupOf(string_view input) {
  constexpr int kCodepages[] = {0, 1250, 1252, 0};
  const auto first = input.empty() ? 0u : static_cast<unsigned char>(input.front());
  Setup setup;
  setup.options.style = (first & 1) != 0 ? rptconv::PageStyle::kModern : rptconv::PageStyle::kClassic;
  setup.options.codepage = kCodepages[(first >> 1) & 3];
  setup.summary = (first & 8) != 0;
  if ((first & 0x80) != 0) {
    setup.options.format = (first & 0x10) != 0 ? rptconv::OutputFormat::kNdjson : rptconv::OutputFormat::kJson;
  }
  return setup;
}


string Printable(string_view text) {
  string out;
  for (const char c : text.substr(0, 300)) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte < 0x7F && c != '\\') {
      out.push_back(c);
    } else {
      char hex[5];
      std::snprintf(hex, sizeof hex, "\\x%02X", byte);
      out.append(hex);
    }
  }
  if (text.size() > 300) out.append("...");
  return out;
}

[[noreturn]] void Broken(const char* invariant, std::size_t line, string_view expected, string_view actual) {
  std::fprintf(stderr, "broken invariant: %s (line %zu)\n  expected: %s\n  actual:   %s\n", invariant, line + 1,
               Printable(expected).c_str(), Printable(actual).c_str());
  std::abort();
}

void CheckSame(const char* invariant, string_view expected, string_view actual) {
  if (expected == actual) return;
  std::size_t at = 0;
  std::size_t line = 0;
  while (at < expected.size() && at < actual.size() && expected[at] == actual[at]) line += expected[at++] == '\n';
  const std::size_t from = at > 40 ? at - 40 : 0;
  Broken(invariant, line, expected.substr(from, 120), actual.substr(from, 120));
}

// ---------------------------------------------------------------------------
// Invariants 1 and 2.

std::vector<string_view> PageLines(string_view page) {
  std::vector<string_view> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < page.size(); ++i) {
    if (page[i] == '\r') {
      if (i + 1 >= page.size() || page[i + 1] != '\n') {
        Broken("CR without LF", lines.size(), "\\r\\n", page.substr(start, i + 2 - start));
      }
      lines.push_back(page.substr(start, i - start));
      start = ++i + 1;
    } else if (page[i] == '\n') {
      Broken("LF without CR", lines.size(), "\\r\\n", page.substr(start, i + 1 - start));
    }
  }
  if (start != page.size()) Broken("last line without CR LF", lines.size(), "\\r\\n", page.substr(start));
  return lines;
}

// The page of an empty report: the frame alone, with an empty title.
struct Frame {
  string page;
  std::vector<string_view> head, tail;
  string_view body_start;
};

const Frame& EmptyPageFrame() {
  static const Frame frame = [] {
    Frame f;
    f.page = Convert("");
    const std::vector<string_view> lines = PageLines(f.page);
    std::size_t title = 0;
    while (title < lines.size() && !lines[title].starts_with("<TITLE>")) ++title;
    if (title + 2 > lines.size()) Broken("empty report: title and body lines", title, "<TITLE>", f.page);
    f.head.assign(lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(title));
    f.body_start = lines[title + 1];
    f.tail.assign(lines.begin() + static_cast<std::ptrdiff_t>(title + 2), lines.end());
    return f;
  }();
  return frame;
}

void CheckPage(string_view page) {
  const Frame& frame = EmptyPageFrame();
  const std::vector<string_view> lines = PageLines(page);
  const std::size_t head = frame.head.size();
  if (lines.size() < head + 2 + frame.tail.size()) Broken("frame: too few lines", lines.size(), frame.page, page);
  for (std::size_t i = 0; i < head; ++i) {
    if (lines[i] != frame.head[i]) Broken("frame: head", i, frame.head[i], lines[i]);
  }
  const string_view open = "<TITLE>Report of <", close = "></TITLE>";
  const string_view title_line = lines[head];
  if (!title_line.starts_with(open) || !title_line.ends_with(close) ||
      title_line.substr(open.size(), title_line.size() - open.size() - close.size()).find_first_of("<>") !=
          string_view::npos) {
    Broken("frame: title line", head, "<TITLE>Report of <escaped title></TITLE>", title_line);
  }
  if (lines[head + 1] != frame.body_start) Broken("frame: body line", head + 1, frame.body_start, lines[head + 1]);
  const std::size_t tail_start = lines.size() - frame.tail.size();
  for (std::size_t i = 0; i < frame.tail.size(); ++i) {
    if (lines[tail_start + i] != frame.tail[i]) Broken("frame: tail", tail_start + i, frame.tail[i], lines[tail_start + i]);
  }
  for (std::size_t i = head + 2; i < tail_start; ++i) {
    if (!lines[i].starts_with('<')) Broken("body line that is not markup", i, "<...", lines[i]);
  }
}

// The modern page is UTF-8 throughout: every lead byte is followed by its
// continuation bytes, no overlong form, surrogate or code point past U+10FFFF.
void CheckUtf8(string_view page) {
  for (std::size_t i = 0; i < page.size();) {
    const auto lead = static_cast<unsigned char>(page[i]);
    const std::size_t length = lead < 0x80 ? 1 : lead >= 0xC2 && lead < 0xE0 ? 2 : lead >= 0xE0 && lead < 0xF0 ? 3
                             : lead >= 0xF0 && lead < 0xF5 ? 4 : 0;
    bool valid = length != 0 && i + length <= page.size();
    for (std::size_t k = 1; valid && k < length; ++k) valid = (static_cast<unsigned char>(page[i + k]) & 0xC0) == 0x80;
    if (valid && length == 3) {
      const auto second = static_cast<unsigned char>(page[i + 1]);
      valid = !(lead == 0xE0 && second < 0xA0) && !(lead == 0xED && second >= 0xA0);
    }
    if (valid && length == 4) {
      const auto second = static_cast<unsigned char>(page[i + 1]);
      valid = !(lead == 0xF0 && second < 0x90) && !(lead == 0xF4 && second >= 0x90);
    }
    if (!valid) Broken("modern page: invalid UTF-8", 0, "UTF-8", page.substr(i, 8));
    i += length;
  }
}

// Data: a small validating JSON reader (RFC 8259), enough to say whether
// the text is one JSON value; strings are checked as UTF-8 by CheckUtf8.
class JsonCheck {
 public:
  explicit JsonCheck(string_view text) : text_(text) {}
  // True when the text from `at_` on begins with one whole value.
  bool Value(int depth = 0) {
    if (depth > kDeepest || at_ >= text_.size()) return false;
    switch (text_[at_]) {
      case '{': return Members(depth);
      case '[': return Elements(depth);
      case '"': return String();
      case 't': return Word("true");
      case 'f': return Word("false");
      case 'n': return Word("null");
      default: return Number();
    }
  }
  void SkipSpace() {
    while (at_ < text_.size() && (text_[at_] == ' ' || text_[at_] == '\n' || text_[at_] == '\r' || text_[at_] == '\t')) ++at_;
  }
  std::size_t at() const { return at_; }

 private:
  static constexpr int kDeepest = 64;
  bool Take(char c) {
    SkipSpace();
    if (at_ < text_.size() && text_[at_] == c) return ++at_, true;
    return false;
  }
  bool Word(string_view word) {
    if (text_.substr(at_, word.size()) != word) return false;
    at_ += word.size();
    return true;
  }
  bool Digits() {
    const std::size_t start = at_;
    while (at_ < text_.size() && text_[at_] >= '0' && text_[at_] <= '9') ++at_;
    return at_ > start;
  }
  bool Number() {
    if (at_ < text_.size() && text_[at_] == '-') ++at_;
    if (at_ < text_.size() && text_[at_] == '0') {
      ++at_;
    } else if (!Digits()) {
      return false;
    }
    if (at_ < text_.size() && text_[at_] == '.' && (++at_, !Digits())) return false;
    if (at_ < text_.size() && (text_[at_] == 'e' || text_[at_] == 'E')) {
      ++at_;
      if (at_ < text_.size() && (text_[at_] == '+' || text_[at_] == '-')) ++at_;
      if (!Digits()) return false;
    }
    return true;
  }
  bool String() {
    ++at_;
    while (at_ < text_.size()) {
      const auto c = static_cast<unsigned char>(text_[at_++]);
      if (c == '"') return true;
      if (c < 0x20) return false;
      if (c != '\\') continue;
      if (at_ >= text_.size()) return false;
      const char escaped = text_[at_++];
      if (escaped == 'u') {
        for (int i = 0; i < 4; ++i, ++at_) {
          if (at_ >= text_.size() || !std::isxdigit(static_cast<unsigned char>(text_[at_]))) return false;
        }
      } else if (string_view("\"\\/bfnrt").find(escaped) == string_view::npos) {
        return false;
      }
    }
    return false;
  }
  bool Members(int depth) {
    ++at_;
    if (Take('}')) return true;
    do {
      SkipSpace();
      if (at_ >= text_.size() || text_[at_] != '"' || !String() || !Take(':')) return false;
      SkipSpace();
      if (!Value(depth + 1)) return false;
    } while (Take(','));
    return Take('}');
  }
  bool Elements(int depth) {
    ++at_;
    if (Take(']')) return true;
    do {
      SkipSpace();
      if (!Value(depth + 1)) return false;
    } while (Take(','));
    return Take(']');
  }

  string_view text_;
  std::size_t at_ = 0;
};

// One JSON value ended by LF (json), or one object per LF-ended line (ndjson).
void CheckData(string_view data, bool lines) {
  CheckUtf8(data);
  std::size_t line = 0;
  while (!data.empty()) {
    const std::size_t end = lines ? data.find('\n') : data.size() - 1;
    if (end == string_view::npos || data[end] != '\n') Broken("data: not ended by LF", line, "\\n", data.substr(0, 80));
    const string_view value = data.substr(0, end);
    JsonCheck check(value);
    const bool valid = (!lines || value.starts_with('{')) && check.Value();
    check.SkipSpace();
    if (!valid || check.at() != value.size()) Broken("data: not one JSON value", line, "JSON", value);
    data.remove_prefix(end + 1);
    ++line;
  }
}

// ---------------------------------------------------------------------------
// Invariant 3: the recoding that keeps every comparison of the converter.

constexpr char kCode = '\x01';

string Recode(string_view data) {
  string out;
  out.reserve(data.size() + data.size() / 8);
  for (const char c : data) {
    switch (c) {
      case kCode: out.append("\x01" "a"); break;
      case '<': out.append("\x01" "b"); break;
      case '>': out.append("\x01" "c"); break;
      case '&': out.append("\x01" "d"); break;
      case '"': out.append("\x01" "e"); break;
      case '\x1b': out.append("\x01" "f"); break;
      default: out.push_back(c);
    }
  }
  return out;
}

// Turns the codes in the page of a recoded report into what the page of the
// original must hold in their place.
string Decode(string_view page) {
  string out;
  out.reserve(page.size());
  for (std::size_t i = 0; i < page.size(); ++i) {
    if (page[i] != kCode) {
      out.push_back(page[i]);
      continue;
    }
    const char code = i + 1 < page.size() ? page[++i] : '\0';
    switch (code) {
      case 'a': out.push_back(kCode); break;
      case 'b': out.append("&lt;"); break;
      case 'c': out.append("&gt;"); break;
      case 'd': out.append("&amp;"); break;
      case 'e': out.append("&quot;"); break;
      case 'f': out.append("&#27;"); break;
      default: Broken("recoded page holds a stray code byte", 0, "\\x01 and a to f", page.substr(i - 1, 2));
    }
  }
  return out;
}

// ---------------------------------------------------------------------------
// Invariant 4: the report's line ends and end.

string CrBeforeEveryLf(string_view data) {
  string out;
  for (const char c : data) {
    if (c == '\n') out.push_back('\r');
    out.push_back(c);
  }
  return out;
}

// ---------------------------------------------------------------------------
// Invariant 5: the reader alone, in small blocks.

// The line rules: everything before the first Ctrl-Z, cut at every LF,
// without CR bytes. A piece after the last LF is a line when it held any
// byte (even a lone CR).
std::vector<string> Lines(string_view data) {
  const std::size_t stop = data.find('\x1A');
  if (stop != string_view::npos) data = data.substr(0, stop);
  std::vector<string> lines;
  string current;
  bool pending = false;
  for (const char c : data) {
    if (c == '\n') {
      lines.push_back(current);
      current.clear();
      pending = false;
    } else {
      pending = true;
      if (c != '\r') current.push_back(c);
    }
  }
  if (pending) lines.push_back(current);
  return lines;
}

void CheckReader(string_view report, std::size_t block, std::size_t chunk) {
  const std::vector<string> lines = Lines(report);
  MemorySource source(report, chunk);
  rptconv::ReportReader reader(source, block);
  // Every third read goes without an end test, as a continuation line does.
  for (std::size_t k = 0;; ++k) {
    const bool past_end = k >= lines.size();
    if (k % 3 != 2) {
      if (reader.AtEnd() != past_end) {
        Broken("reader: end test", k, past_end ? "at end" : "not at end", past_end ? "not at end" : "at end");
      }
      if (past_end) break;
    }
    const string want = past_end ? string() : lines[k];
    const std::span<char> line = reader.ReadLine();
    const string got(line.data(), line.size());
    if (got != want) Broken("reader: line", k, want, got);
  }
  for (int i = 0; i < 2; ++i) {
    if (!reader.ReadLine().empty() || !reader.AtEnd()) Broken("reader: after the end", lines.size(), "", "more");
  }
}

}  // namespace

// The number of changes, and of rows of the old and of the new report.
struct Counted {
  std::size_t changes, old_rows, new_rows;
};
Counted Compare(string_view old_report, string_view new_report, std::size_t chunk) {
  rptconv::ReportComparer comparer(0, false);
  MemorySource old_source(old_report, kWhole);
  MemorySource new_source(new_report, chunk);
  rptconv::WalkReport(old_source, comparer.OldReport());
  rptconv::WalkReport(new_source, comparer.NewReport());
  Counted counted{comparer.Result().Total(), 0, 0};
  for (const rptconv::ComparedSection& section : comparer.Result().sections) {
    counted.old_rows += section.rows[rptconv::kOldSide];
    counted.new_rows += section.rows[rptconv::kNewSide];
  }
  return counted;
}

void CheckComparison(string_view report, std::size_t chunk) {
  const Counted self = Compare(report, report, chunk);
  if (self.changes != 0 || self.old_rows != self.new_rows) {
    std::fprintf(stderr, "a report compared with itself: %zu changes, %zu and %zu rows\n", self.changes,
                 self.old_rows, self.new_rows);
    std::abort();
  }
  const Counted removed = Compare(report, "", kWhole);
  const Counted added = Compare("", report, kWhole);
  if (removed.changes != self.old_rows || added.changes != self.old_rows) {
    std::fprintf(stderr, "against an empty report: %zu removed, %zu added of %zu rows\n", removed.changes,
                 added.changes, self.old_rows);
    std::abort();
  }
  // As data, every removed row is written: valid UTF-8 and JSON.
  for (const rptconv::OutputFormat format : {rptconv::OutputFormat::kJson, rptconv::OutputFormat::kNdjson}) {
    MemorySource old_source(report, kWhole);
    MemorySource empty_source("", kWhole);
    MemorySink sink;
    rptconv::CompareOptions options;
    options.format = format;
    rptconv::CompareReports(old_source, empty_source, sink, options);
    CheckData(sink.data, format == rptconv::OutputFormat::kNdjson);
  }
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const string_view report(reinterpret_cast<const char*>(data), size);
  const Setup setup = SetupOf(report);
  const rptconv::ConvertOptions& options = setup.options;

  rptconv::ReportSummary summary;
  const string page = Convert(report, kWhole, options, setup.summary ? &summary : nullptr);
  if (options.format != rptconv::OutputFormat::kHtml) {
    CheckData(page, options.format == rptconv::OutputFormat::kNdjson);
  } else if (options.style == rptconv::PageStyle::kClassic) {
    CheckPage(page);
    CheckSame("page of the recoded report", page, Decode(Convert(Recode(report))));
  } else {
    PageLines(page);
    CheckUtf8(page);
  }
  if (setup.summary) CheckSame("page without the summary", page, Convert(report, kWhole, options));

  const std::size_t chunk = 1 + size % 7;
  CheckSame("page read in short pieces", page, Convert(report, chunk, options));
  CheckSame("page with a CR before every LF", page, Convert(CrBeforeEveryLf(report), kWhole, options));
  CheckSame("page with a Ctrl-Z and more after the report", page,
            Convert(string(report) + '\x1A' + string(report), kWhole, options));

  CheckReader(report, 1 + size % 61, chunk);
  CheckComparison(report, chunk);
  return 0;
}
