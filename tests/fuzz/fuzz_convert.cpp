// Fuzz target for the conversion core: arbitrary bytes go through
// Convert as a report, and the page that comes out is held against
// invariants that must hold for every input:
//
//  1. Line ends: every line ends with CR LF, and no other CR or LF occurs.
//  2. Frame: the page starts with the fixed head, the title line and the
//     body line, and ends with the six tail lines.
//  3. Body: a small model of the record loop, written here from the format
//     rules (its own line splitting, field cutting and state), gives every
//     body line. Report text is escaped, so everything between "<" and ">"
//     on a body line is the program's own markup: the sequence of these
//     tags, and the text outside them, must match the model line for line.
//     This pins the number and kind of rows (page, group and item headings,
//     spacers, property rows, header rows, table rows with their column
//     count, and so how many continuation lines each table row took) and
//     where each field went; the page holds exactly as many raw "<" as the
//     frame and the model's rows put there.
//  4. Escaping: the report is recoded so that "<", ">", "&", '"', ESC (and
//     the code byte itself) become two-byte codes that contain none of them.
//     The recoding keeps every comparison the converter makes, so the page
//     of the recoded report, with the codes turned into the entities, must
//     equal the page of the original byte for byte.
//  5. Reading: the page does not depend on how the source hands out its
//     bytes (one large read or many short ones).
//
// The conversion's own buffers are far larger than any fuzz input, so two
// more checks drive the reader and the writer alone with tiny sizes:
//
//  6. The reader, with blocks of a few bytes, hands out the model's lines:
//     the title line, then lines 2 to the end, then empty lines; its end
//     test is true exactly after the last line, also when reads without an
//     end test (continuation lines) come in between.
//  7. The writer, with a small buffer, passes markup as it is, escapes text,
//     ends lines with CR LF, and loses or reorders nothing when pieces
//     overflow its buffer.
//
// A broken invariant prints what was expected and aborts.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "rptconv/rptconv.h"
#include "html/line_writer.h"
#include "html/links.h"
#include "report/line_reader.h"
#include "report/sections.h"
#include "walk/page_events.h"

namespace {

using std::string;
using std::string_view;

// ---------------------------------------------------------------------------
// Running the converter.

class MemorySource : public rptconv::ByteSource {
 public:
  MemorySource(string_view data, std::size_t chunk) : data_(data), chunk_(chunk) {}
  std::size_t Read(char* buffer, std::size_t capacity) override {
    std::size_t n = capacity < chunk_ ? capacity : chunk_;
    if (n > data_.size()) n = data_.size();
    std::memcpy(buffer, data_.data(), n);
    data_.remove_prefix(n);
    return n;
  }

 private:
  string_view data_;
  std::size_t chunk_;
};

class MemorySink : public rptconv::ByteSink {
 public:
  void Write(string_view bytes) override { page.append(bytes); }
  string page;
};

string Convert(string_view report, std::size_t chunk) {
  MemorySource source(report, chunk);
  MemorySink sink;
  rptconv::Convert(source, sink);
  return std::move(sink.page);
}

// ---------------------------------------------------------------------------
// Reporting a broken invariant.

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
  std::fprintf(stderr, "broken invariant: %s (page line %zu)\n  expected: %s\n  actual:   %s\n", invariant,
               line + 1, Printable(expected).c_str(), Printable(actual).c_str());
  std::abort();
}

// ---------------------------------------------------------------------------
// The model: the report's lines and records, cut without the converter.

string Tags(string_view line);

constexpr char kCtrlZ = '\x1A';

// Everything before the first Ctrl-Z, cut at every LF, without CR bytes. A
// piece after the last LF is a line when it held any byte (even a lone CR).
std::vector<string> ModelLines(string_view data) {
  const std::size_t stop = data.find(kCtrlZ);
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

struct ModelRecord {
  string fields[6];  // page, group, item, field 4, label, value
};

// The first five fields end at a comma each; when the commas run out, the
// fields left up to the label are empty and the rest of the line is the value.
ModelRecord ModelSplit(const string& line) {
  ModelRecord record;
  std::size_t start = 0;
  int field = 0;
  while (field < 5) {
    const std::size_t comma = line.find(',', start);
    if (comma == string::npos) break;
    record.fields[field++] = line.substr(start, comma - start);
    start = comma + 1;
  }
  record.fields[5] = line.substr(start);
  return record;
}

string Escaped(string_view text) {
  string out;
  for (const char c : text) {
    switch (c) {
      case '&': out.append("&amp;"); break;
      case '<': out.append("&lt;"); break;
      case '>': out.append("&gt;"); break;
      case '"': out.append("&quot;"); break;
      case '\x1b': out.append("&#27;"); break;
      default: out.push_back(c);
    }
  }
  return out;
}

// One expected body line: its whole text where it holds no report text,
// else the tags it must carry (joined) and its text outside the tags.
struct ExpectedLine {
  string exact;
  string tags;
  string text;
  bool is_exact = false;
};

ExpectedLine Exact(string line) {
  ExpectedLine expected;
  expected.exact = std::move(line);
  expected.is_exact = true;
  return expected;
}

ExpectedLine Shaped(string tags, string text) {
  ExpectedLine expected;
  expected.tags = std::move(tags);
  expected.text = std::move(text);
  return expected;
}

// The opening tag of cell `column` (from 0), without its closing ">".
string CellTag(string_view align, std::size_t column) {
  const char code = column < align.size() ? align[column] : ' ';
  if (code == 'L') return "<TD";
  string tag = "<TD CLASS=c";
  tag.push_back(code >= 'A' && code <= 'Z' ? static_cast<char>(code + ('a' - 'A')) : code);
  return tag;
}

string HeaderRow(string_view headers, string_view align) {
  string row = "<TR><TD><TD>";
  std::size_t column = 0;
  while (true) {
    const std::size_t comma = headers.find(',');
    row.append(CellTag(align, column++)).append("><B>").append(headers.substr(0, comma)).append("</B>");
    if (comma == string_view::npos) break;
    row.append("&nbsp;&nbsp;");
    headers.remove_prefix(comma + 1);
  }
  return row;
}

// The tags a value adds when it becomes a link.
string LinkTags(const string& value) {
  const string target = "\" TARGET=\"blank\">";
  if (value.rfind("http://", 0) == 0) return "<A HREF=\"" + Escaped(value) + target + "</A>";
  if (value == rptconv::kContactAddress) return "<A HREF=\"mailto:" + Escaped(value) + target + "</A>";
  return {};
}

struct ModelPage {
  string title;
  std::vector<ExpectedLine> body;
};

ModelPage Model(string_view data) {
  const std::vector<string> lines = ModelLines(data);
  ModelPage page;
  if (lines.size() >= 6) {
    string_view title = lines[5];
    for (int i = 0; i < 5; ++i) {
      const std::size_t comma = title.find(',');
      if (comma == string_view::npos) break;
      title.remove_prefix(comma + 1);
    }
    page.title = string(title);
  }

  string last_page, last_group, last_item;
  int page_columns = 0, group_columns = 0;
  string align(10, ' ');
  bool skip_english = false;
  auto& body = page.body;
  const ExpectedLine spacer = Exact("<TR><TD>&nbsp;");

  auto lookup = [&](const string& key, int& columns) {
    if (const auto match = rptconv::FindSection(key, !skip_english); match.section) {
      columns = match.section->column_count;
      align = string(match.section->alignment);
      body.push_back(Exact(HeaderRow(match.headers, align)));
    }
  };

  std::size_t next = 1;  // the first line is never a record
  while (next < lines.size()) {
    ModelRecord record = ModelSplit(lines[next++]);
    const string& p = record.fields[0];
    const string& group = record.fields[1];
    const string& item = record.fields[2];
    const string& label = record.fields[4];
    string& value = record.fields[5];
    for (char& c : value) {
      if (c == ';') c = ',';
    }
    if (p == "PCI Dump") continue;

    if (!p.empty() && p != last_page) {
      const bool first = last_page.empty();
      if (!first) body.push_back(Exact("</TABLE><BR><BR>"));
      if (first) skip_english = p != "Report";
      last_page = p;
      last_group.clear();
      last_item.clear();
      page_columns = group_columns = 0;
      const string heading_start = "<TABLE WIDTH=100%><TD CLASS=pt>";
      const string heading_end =
          "<TR><TD><HR></TABLE><TABLE><TR><TD WIDTH=16>&nbsp;<TD WIDTH=16><TD WIDTH=16><TD WIDTH=16>"
          "<TD WIDTH=16>";
      if (first) {
        body.push_back(Exact(heading_start + string(rptconv::kBannerText) + heading_end));
      } else {
        body.push_back(Shaped(Tags(heading_start + heading_end), Escaped(p) + "&nbsp;"));
      }
      lookup(first ? string(rptconv::kBannerText) : p, page_columns);
    }
    if (!group.empty() && group != last_group) {
      if (!last_group.empty() && page_columns == 0) body.push_back(spacer);
      last_group = group;
      last_item.clear();
      if (page_columns == 0) {
        body.push_back(Shaped("<TR><TD><TD CLASS=dt COLSPAN=5>", "[ " + Escaped(group) + " ]"));
        body.push_back(spacer);
      }
      lookup("*" + p, group_columns);
    }
    if (!item.empty() && item != last_item) {
      if (group_columns == 0 && !last_item.empty()) body.push_back(spacer);
      last_item = item;
      if (group_columns == 0) {
        body.push_back(Shaped("<TR><TD><TD><TD COLSPAN=3><B></B>", Escaped(item) + ":"));
      }
    }

    const int columns = page_columns != 0 ? page_columns : group_columns;
    if (columns != 0) {
      // Column 1 is the group, column 2 the value; each further column is
      // the text after the fifth comma of the next line, whatever it holds.
      string tags = "<TR><TD><TD>" + CellTag(align, 0) + ">" + CellTag(align, 1) + ">" + LinkTags(value);
      string text = Escaped(group) + "&nbsp;&nbsp;" + Escaped(value);
      for (int k = 3; k <= columns; ++k) {
        const string cell = next < lines.size() ? ModelSplit(lines[next]).fields[5] : string();
        ++next;
        tags.append(CellTag(align, static_cast<std::size_t>(k - 1))).append(">");
        text.append("&nbsp;&nbsp;").append(Escaped(cell));
      }
      body.push_back(Shaped(tags, text));
    } else {
      const string start = last_item.empty() ? "<TR><TD><TD><TD>" : "<TR><TD><TD><TD><TD>";
      body.push_back(Shaped(start + "<TD>" + LinkTags(value), Escaped(label) + "&nbsp;&nbsp;" + Escaped(value)));
    }
  }
  return page;
}

// ---------------------------------------------------------------------------
// Checking a page.

std::vector<string_view> PageLines(string_view page) {
  // Invariant 1: CR LF ends every line; no CR or LF stands anywhere else.
  std::vector<string_view> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < page.size(); ++i) {
    if (page[i] == '\r') {
      if (i + 1 >= page.size() || page[i + 1] != '\n') Broken("CR without LF", lines.size(), "\\r\\n", page.substr(start, i + 2 - start));
      lines.push_back(page.substr(start, i - start));
      start = ++i + 1;
    } else if (page[i] == '\n') {
      Broken("LF without CR", lines.size(), "\\r\\n", page.substr(start, i + 1 - start));
    }
  }
  if (start != page.size()) Broken("last line without CR LF", lines.size(), "\\r\\n", page.substr(start));
  return lines;
}

// The tags of a body line: every "<" up to the next ">", joined.
string Tags(string_view line) {
  string tags;
  std::size_t at = 0;
  while ((at = line.find('<', at)) != string_view::npos) {
    const std::size_t close = line.find('>', at);
    if (close == string_view::npos) {
      tags.append(line.substr(at)).append("[unclosed]");
      break;
    }
    tags.append(line.substr(at, close + 1 - at));
    at = close + 1;
  }
  return tags;
}

// The text of a body line outside its tags.
string Text(string_view line) {
  string text;
  std::size_t at = 0;
  while (at < line.size()) {
    const std::size_t open = line.find('<', at);
    text.append(line.substr(at, open == string_view::npos ? string_view::npos : open - at));
    if (open == string_view::npos) break;
    const std::size_t close = line.find('>', open);
    if (close == string_view::npos) break;
    at = close + 1;
  }
  return text;
}

int Count(string_view text, string_view piece) {
  int n = 0;
  for (std::size_t at = text.find(piece); at != string_view::npos; at = text.find(piece, at + piece.size())) ++n;
  return n;
}

constexpr string_view kHead[] = {
    "<HTML>",
    "<HEAD>",
    "</HEAD>",
    "<STYLE>",
    "A { text-decoration: none }",
    "A:hover { text-decoration: underline }",
    "TD { font: 80% verdana, arial; color: #000000; vertical-align: text-center; text-align: left }",
    "TD.cr { font: 80% verdana, arial; color: #000000; vertical-align: text-center; text-align: right }",
    "TD.cc { font: 80% verdana, arial; color: #000000; vertical-align: text-center; text-align: center }",
    "TD.pt { font: bold 140% verdana, arial; color: #000080; vertical-align: text-center }",
    "TD.dt { font: bold 110% verdana, arial; color: #000080; vertical-align: text-center }",
    "</STYLE>",
};
constexpr string_view kTail[] = {"</TABLE><BR><BR>", "<HR>", "<BR>", "", "</BODY>", "</HTML>"};
constexpr std::size_t kHeadLines = std::size(kHead) + 2;  // and the title and body lines
constexpr std::size_t kTailLines = std::size(kTail);

void CheckPage(string_view page, const ModelPage& model) {
  const std::vector<string_view> lines = PageLines(page);
  const std::size_t expected_lines = kHeadLines + model.body.size() + kTailLines;
  if (lines.size() != expected_lines) {
    // Find the first line that differs for a useful message, then fail.
    for (std::size_t i = 0; i < model.body.size() && kHeadLines + i < lines.size(); ++i) {
      const ExpectedLine& want = model.body[i];
      const string_view got = lines[kHeadLines + i];
      if (want.is_exact ? got != want.exact : Tags(got) != want.tags) {
        Broken("line count; first differing body line", kHeadLines + i, want.is_exact ? want.exact : want.tags, got);
      }
    }
    Broken("line count", lines.size(), std::to_string(expected_lines), std::to_string(lines.size()));
  }

  // Invariant 2: the frame.
  for (std::size_t i = 0; i < std::size(kHead); ++i) {
    if (lines[i] != kHead[i]) Broken("head", i, kHead[i], lines[i]);
  }
  const string title = "<TITLE>Report of <" + Escaped(model.title) + "></TITLE>";
  if (lines[std::size(kHead)] != title) Broken("title line", std::size(kHead), title, lines[std::size(kHead)]);
  const string_view body_start = "<BODY BGCOLOR=\"#FFFFFF\">";
  if (lines[kHeadLines - 1] != body_start) Broken("body line", kHeadLines - 1, body_start, lines[kHeadLines - 1]);
  for (std::size_t i = 0; i < kTailLines; ++i) {
    const std::size_t at = lines.size() - kTailLines + i;
    if (lines[at] != kTail[i]) Broken("tail", at, kTail[i], lines[at]);
  }

  // Invariant 3: every body line carries the markup the model gives it.
  for (std::size_t i = 0; i < model.body.size(); ++i) {
    const ExpectedLine& want = model.body[i];
    const string_view got = lines[kHeadLines + i];
    if (want.is_exact) {
      if (got != want.exact) Broken("fixed body line", kHeadLines + i, want.exact, got);
      continue;
    }
    const string tags = Tags(got);
    if (tags != want.tags) Broken("markup of a body line", kHeadLines + i, want.tags, tags);
    const string text = Text(got);
    if (text != want.text) Broken("text of a body line", kHeadLines + i, want.text, text);
  }
}

// ---------------------------------------------------------------------------
// Invariant 4: the recoding that keeps every comparison of the converter.

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

void CheckSame(const char* invariant, const string& expected, const string& actual) {
  if (expected == actual) return;
  std::size_t at = 0;
  while (at < expected.size() && at < actual.size() && expected[at] == actual[at]) ++at;
  const std::size_t from = at > 40 ? at - 40 : 0;
  Broken(invariant, static_cast<std::size_t>(Count(string_view(expected).substr(0, at), "\n")),
         string_view(expected).substr(from, 120), string_view(actual).substr(from, 120));
}

// ---------------------------------------------------------------------------
// Invariant 6: the reader alone, in small blocks.

void CheckReader(string_view report, std::size_t block, std::size_t chunk) {
  const std::vector<string> lines = ModelLines(report);
  MemorySource source(report, chunk);
  rptconv::ReportReader reader(source, block);
  // Line k (from 0) is report line k + 1. Every third read goes without an
  // end test, as a continuation line does.
  for (std::size_t k = 0;; ++k) {
    const bool past_end = k >= lines.size();
    if (k % 3 != 2) {
      if (reader.AtEnd() != past_end) {
        Broken("reader: end test", k + 1, past_end ? "at end" : "not at end", past_end ? "not at end" : "at end");
      }
      if (past_end) break;
    }
    const string want = past_end ? string() : lines[k];
    const std::span<char> line = reader.ReadLine();
    const string got(line.data(), line.size());
    if (got != want) Broken("reader: line", k + 1, want, got);
  }
  for (int i = 0; i < 2; ++i) {
    if (!reader.ReadLine().empty() || !reader.AtEnd()) Broken("reader: after the end", lines.size(), "", "more");
  }
}

// ---------------------------------------------------------------------------
// Invariant 7: the writer alone, with a small buffer. The input, cut at every
// LF, gives the pieces: markup, text, and text that ends a line, in turn.

void CheckWriter(string_view data, std::size_t buffer) {
  MemorySink sink;
  rptconv::LineWriter out(sink, buffer);
  string want;
  std::size_t index = 0;
  while (true) {
    const std::size_t lf = data.find('\n');
    const string_view piece = data.substr(0, lf);
    switch (index++ % 3) {
      case 0:
        out.Raw(piece);
        want.append(piece);
        break;
      case 1:
        out.Text(piece);
        want.append(Escaped(piece));
        break;
      default:
        out.Text(piece).EndLine();
        want.append(Escaped(piece)).append("\r\n");
    }
    if (lf == string_view::npos) break;
    data.remove_prefix(lf + 1);
  }
  out.Flush();
  CheckSame("writer: bytes written", want, sink.page);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const string_view report(reinterpret_cast<const char*>(data), size);

  const string page = Convert(report, static_cast<std::size_t>(-1));
  CheckPage(page, Model(report));

  // Invariant 5: short reads, of a size the input picks, give the same page.
  const std::size_t chunk = 1 + size % 7;
  CheckSame("page read in short pieces", page, Convert(report, chunk));

  // Invariant 4.
  CheckSame("page of the recoded report", page, Decode(Convert(Recode(report), static_cast<std::size_t>(-1))));

  CheckReader(report, 1 + size % 61, chunk);
  CheckWriter(report, 1 + size % 53);
  return 0;
}
