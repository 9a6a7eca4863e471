// Tests of writing page lines: escaping of report text, CR LF line ends, and
// output that does not depend on the buffer size.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "html/codepage.h"
#include "html/escape.h"
#include "html/index_page.h"
#include "doubles.h"
#include "html/line_writer.h"

namespace rptconv {
namespace {

using namespace std::string_literals;

using StringSink = testing::MemorySink;

TEST(LineWriterTest, TextIsEscapedRawIsNot) {
  const struct {
    std::string text;
    std::string escaped;
  } cases[] = {
      {"", ""},
      {"plain text", "plain text"},
      {"&", "&amp;"},
      {"<", "&lt;"},
      {">", "&gt;"},
      {"\"", "&quot;"},
      {"<none>", "&lt;none&gt;"},
      {"a&b<c>d\"e", "a&amp;b&lt;c&gt;d&quot;e"},
      {"&amp;", "&amp;amp;"},
      {"&&<<>>\"\"", "&amp;&amp;&lt;&lt;&gt;&gt;&quot;&quot;"},
      {"<script>alert(\"x\")</script>", "&lt;script&gt;alert(&quot;x&quot;)&lt;/script&gt;"},
      {"'single' quotes; commas, = signs", "'single' quotes; commas, = signs"},
      {"\0"s, "\0"s},
      {"a\0<\0b"s, "a\0&lt;\0b"s},
      {"\x80\x9F\xA0\xE9\xFF", "\x80\x9F\xA0\xE9\xFF"},
      {"\xE9<\xFF&", "\xE9&lt;\xFF&amp;"},
      {"\t\x01\x1F\x7F", "\t\x01\x1F\x7F"},
      {"\x1b", "&#27;"},
      {"\x1b[31mred text\x1b[0m", "&#27;[31mred text&#27;[0m"},
      {"0123456\x1b" "89abcdef\x1a\x1c;\x9b", "0123456&#27;89abcdef\x1a\x1c;\x9b"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    StringSink sink;
    {
      LineWriter out(sink);
      out.Text(c.text).EndLine();
      out.Raw(c.text).EndLine();
      out.Flush();
    }
    EXPECT_EQ(sink.data, c.escaped + "\r\n" + c.text + "\r\n");
  }
  // A line reserved for report texts (readable 16 bytes past their end)
  // escapes as Text does, at every length about the 16-byte steps and with
  // a byte to escape at every place or none.
  for (std::size_t size = 0; size <= 70; ++size) {
    for (std::size_t at = 0; at <= size; ++at) {
      std::string text = std::string(size, 'x') + std::string(kVectorBytes, '<');
      if (at < size) text[at] = '"';
      const std::string_view report_text = std::string_view(text).substr(0, size);
      StringSink reserved, plain;
      LineWriter a(reserved), b(plain);
      ReservedWrite line = a.Reserve();
      a.EndLine(line.Text(report_text));
      b.Text(report_text).EndLine();
      a.Flush();
      b.Flush();
      ASSERT_EQ(reserved.data, plain.data) << "size " << size << ", escape at " << at;
    }
  }
}

TEST(LineWriterTest, EveryByteButFivePassesUnchanged) {
  std::string all;
  std::string expected;
  for (int b = 0; b < 256; ++b) {
    const char c = static_cast<char>(b);
    all.push_back(c);
    switch (c) {
      case '&': expected += "&amp;"; break;
      case '<': expected += "&lt;"; break;
      case '>': expected += "&gt;"; break;
      case '"': expected += "&quot;"; break;
      case '\x1b': expected += "&#27;"; break;
      default: expected.push_back(c);
    }
  }
  StringSink sink;
  LineWriter out(sink);
  out.Text(all).EndLine();
  out.Flush();
  EXPECT_EQ(sink.data, expected + "\r\n");
}

// Report text on a modern page: UTF-8 from the report's code page, escaped,
// with U+FFFD for control bytes and for bytes the code page lacks. Long
// inputs cross the eight-byte steps of the plain-text scan.
TEST(Utf8TextTest, CodepageToEscapedUtf8) {
  const std::string r = "\xEF\xBF\xBD";  // U+FFFD
  const struct {
    int codepage;
    std::string text;
    std::string utf8;
  } cases[] = {
      {1250, "", ""},
      {1250, "plain ASCII, longer than eight bytes", "plain ASCII, longer than eight bytes"},
      {1250, "Sz\xE1m\xEDt\xF3g\xE9p n\xE9v", "Sz\u00E1m\u00EDt\u00F3g\u00E9p n\u00E9v"},
      {1250, "\xF5\xFB\xD5\xDB\xC1\xC9\xCD\xD3\xD6\xDA\xDC", "\u0151\u0171\u0150\u0170\u00C1\u00C9\u00CD\u00D3\u00D6\u00DA\u00DC"},
      {1252, "\xF5\xFB\xE9\x80\x9C", "\u00F5\u00FB\u00E9\u20AC\u0153"},
      {1250, "\x81\x83\x88\x90\x98", r + r + r + r + r},
      {1252, "\x81\x8D\x8F\x90\x9D", r + r + r + r + r},
      {1252, "a\0b\x01\x1B$B\x1F\x7F\tc"s, "a" + r + "b" + r + r + "$B" + r + r + "\tc"},
      {1252, "a&b<c>d\"e 'f'", "a&amp;b&lt;c&gt;d&quot;e 'f'"},
      {1250, "12345678<12345678\xE9" "12345678&", "12345678&lt;12345678\u00E912345678&amp;"},
      {1252, "\xA0\xAD\xFF", "\u00A0\u00AD\u00FF"},
      // Texts of 17 to 64 bytes are copied 16 at a time, the last 16 last:
      // a byte to convert in any block, or only in the last, is found.
      {1252, " ~plain printable ASCII, the first and the last ~", " ~plain printable ASCII, the first and the last ~"},
      {1252, "0123456789abcdef0123456789abcdef\x7F", "0123456789abcdef0123456789abcdef" + r},
      {1250, "0123456789abcdef\x80" "0123456789abcdef", "0123456789abcdef\u20AC0123456789abcdef"},
      {1252, "\xFF" "0123456789abcdef0123456789abcdef01234567", "\u00FF0123456789abcdef0123456789abcdef01234567"},
      {1252, "0123456789abcdef0123456789abcdef0123456789abcdef0123456789abc\"", "0123456789abcdef0123456789abcdef0123456789abcdef0123456789abc&quot;"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const CodepageTable* table = FindCodepage(c.codepage);
    ASSERT_NE(table, nullptr);
    StringSink sink;
    LineWriter out(sink);
    const std::string padded = c.text + std::string(kVectorBytes, '<');  // readable past its end, as report texts are
    WriteUtf8ReportText(out, *table, std::string_view(padded).substr(0, c.text.size()));
    WriteUtf8Text(out, *table, c.text);
    out.Flush();
    EXPECT_EQ(sink.data, c.utf8 + c.utf8);
    std::string appended = "x";
    AppendUtf8Text(appended, *table, c.text);
    EXPECT_EQ(appended, "x" + c.utf8);
  }
  // Unescaped, for addresses; only the code pages with a table are known.
  std::string address;
  AppendUtf8(address, *FindCodepage(1250), "a&b<c>\"\xE9\x01");
  EXPECT_EQ(address, "a&b<c>\"\u00E9" + r);
  EXPECT_TRUE(IsSupportedCodepage(1250) && IsSupportedCodepage(1252));
  EXPECT_FALSE(IsSupportedCodepage(0) || IsSupportedCodepage(1251) || IsSupportedCodepage(65001));
}

// The 16-byte test of plain bytes (printable ASCII without an entity)
// agrees with the byte-by-byte rule for every byte at every place, with the
// processor's vectors and with plain loops.
TEST(Utf8TextTest, PlainBytesFoundAtEveryPlace) {
  for (unsigned byte = 0; byte < 256; ++byte) {
    const char c = static_cast<char>(byte);
    const bool plain = byte >= 0x20 && byte < 0x7F && EntityOf(c).empty();
    for (std::size_t at = 0; at < kVectorBytes; ++at) {
      std::string block(kVectorBytes, 'a');
      block[at] = c;
      const std::uint32_t expected = plain ? 0 : std::uint32_t{1} << at;
      ASSERT_EQ(NotPlainBits16(block.data()), expected) << "byte " << byte << " at " << at;
      ASSERT_EQ(NotPlainBits16<ScalarBytes16>(block.data()), expected) << "byte " << byte << " at " << at;
    }
  }
}

// Web addresses as href values; an address is its own href exactly when
// nothing changes.
TEST(Utf8TextTest, AddressesAsHrefValues) {
  const struct {
    std::string utf8;
    std::string href;
  } cases[] = {
      {"http://www.example.com/a/b.htm?q=1;x=(2)*+,~!$'@:", "http://www.example.com/a/b.htm?q=1;x=(2)*+,~!$'@:"},
      {"http://h/a b\"<>\\^`{|}[]", "http://h/a%20b%22%3C%3E%5C%5E%60%7B%7C%7D%5B%5D"},
      {"http://h/?a=1&b=2", "http://h/?a=1&amp;b=2"},
      {"http://h/%41%4g%4", "http://h/%41%254g%254"},
      {"http://h/#top#more", "http://h/#top%23more"},
      {"http://h/\u00E1rv\u00EDz\t\x01", "http://h/%C3%A1rv%C3%ADz%09%01"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.utf8);
    std::string href = "x";
    AppendHref(href, c.utf8);
    EXPECT_EQ(href, "x" + c.href);
    EXPECT_EQ(IsOwnHref(c.utf8), c.href == c.utf8);
  }
}

// Names checked as UTF-8: invalid bytes, controls (C0 and C1),
// noncharacters and the controls of writing direction become U+FFFD; their
// neighbours pass.
TEST(Utf8TextTest, CheckedUtf8ReplacesWhatAPageMustNotShow) {
  const std::string r = "\xEF\xBF\xBD";  // U+FFFD
  const struct {
    std::string text;
    std::string shown;
  } cases[] = {
      {"a&b\"c", "a&amp;b&quot;c"},
      {"plain <run> & \x1B end\t", "plain &lt;run&gt; &amp; " + r + " end\t"},
      {"\x01\t\x7F\xC0\xAF\xED\xA0\x80", r + "\t" + r + r + r + r + r + r},
      {"\u0080\u009F\u00A0", r + r + "\u00A0"},
      {"\uFDCF\uFDD0\uFDEF\uFDF0", "\uFDCF" + r + r + "\uFDF0"},
      {"\uFFFD\xEF\xBF\xBE\xEF\xBF\xBF\U0001FFFE\U0010FFFF\U0001F600", r + r + r + r + r + "\U0001F600"},
      {"\u061C\u200D\u200E\u200F\u2029\u202A\u202E\u202F", r + "\u200D" + r + r + "\u2029" + r + r + "\u202F"},
      {"\u2065\u2066\u2069\u206A", "\u2065" + r + r + "\u206A"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    std::string shown;
    AppendUtf8Checked(shown, c.text);
    EXPECT_EQ(shown, c.shown);
  }
}

// Texts in the page's data block: quotes, backslashes, controls and "<"
// (which could end the script element) escaped, runs between them whole.
TEST(Utf8TextTest, ScriptJsonStrings) {
  for (const auto& [text, json] : std::vector<std::pair<std::string, std::string>>{
           {"4.5.6569", "\"4.5.6569\""},
           {"a\"b\\c</d\x01\x1F\xC3\xA9<", "\"a\\\"b\\\\c\\u003c/d\\u0001\\u001f\xC3\xA9\\u003c\""}}) {
    std::string out;
    AppendScriptJsonString(out, text);
    EXPECT_EQ(out, json) << text;
  }
}

// One page's worth of writes: short lines, empty lines, escaped text, and
// pieces larger than the smaller buffers, raw and escaped.
void WritePage(LineWriter& out) {
  const std::string big_raw(70000, 'r');
  std::string big_text;
  for (int i = 0; i < 9000; ++i) big_text += "ab<c&d\">\xE9";
  out.Line("<HTML>");
  out.Line("");
  out.Raw("<TD>").Text("x<y").Raw("</TD>").EndLine();
  out.Raw(big_raw).EndLine();
  out.Raw("<TD>").Text(big_text).Raw("</TD>").EndLine();
  for (int i = 0; i < 500; ++i) out.Raw("<TR>").Text(std::to_string(i) + "&").Raw("</TR>").EndLine();
  out.Text(big_text).Text(big_text).Raw(big_raw).EndLine();
  out.Line("</HTML>");
  out.Flush();
}

std::string ExpectedPage() {
  const std::string big_raw(70000, 'r');
  std::string big_escaped;
  for (int i = 0; i < 9000; ++i) big_escaped += "ab&lt;c&amp;d&quot;&gt;\xE9";
  std::string page = "<HTML>\r\n\r\n<TD>x&lt;y</TD>\r\n" + big_raw + "\r\n<TD>" + big_escaped + "</TD>\r\n";
  for (int i = 0; i < 500; ++i) page += "<TR>" + std::to_string(i) + "&amp;</TR>\r\n";
  page += big_escaped + big_escaped + big_raw + "\r\n</HTML>\r\n";
  return page;
}

TEST(LineWriterTest, SameOutputAtEveryBufferSize) {
  const std::string expected = ExpectedPage();
  for (std::size_t size : {std::size_t{1}, std::size_t{2}, std::size_t{7}, std::size_t{128}, std::size_t{1000},
                           std::size_t{64 * 1024}, kOutputBufferSize}) {
    SCOPED_TRACE("buffer size " + std::to_string(size));
    StringSink sink;
    LineWriter out(sink, size);
    WritePage(out);
    EXPECT_EQ(sink.data.size(), expected.size());
    EXPECT_TRUE(sink.data == expected);  // not printed: several hundred KiB
  }
}

// Lines are gathered: a page of short lines does not reach the sink line by
// line, and nothing stays behind after Flush.
TEST(LineWriterTest, ShortLinesAreGatheredAndFlushed) {
  StringSink sink;
  LineWriter out(sink, 4096);
  for (int i = 0; i < 100; ++i) out.Line("<TR><TD>short</TD></TR>");
  EXPECT_LT(sink.writes, 2);
  out.Flush();
  std::string expected;
  for (int i = 0; i < 100; ++i) expected += "<TR><TD>short</TD></TR>\r\n";
  EXPECT_EQ(sink.data, expected);
  const int writes = sink.writes;
  out.Flush();
  EXPECT_EQ(sink.writes, writes);
}

// The index's tables of reports: a column per label of the reports' first
// groups, whatever its place in each report; labels told apart by their text
// after conversion, not by their bytes alone; every long value cut.
TEST(IndexReportTableTest, ColumnsFollowLabelsWhateverTheirPlace) {
  FleetIndex index(FleetIndex::NameBytes::kUtf8);
  const auto add = [&index](std::string language, int codepage, std::string title,
                            std::vector<std::pair<std::string, std::string>> properties) {
    ReportSummary summary{std::move(title), codepage, std::move(language), std::move(properties), {}, nullptr};
    index.AddConverted("r", "", summary);
  };
  add("en", 1252, "T", {{"A", "1"}, {"B", "2"}, {"C", "3"}});
  add("en", 1252, "T", {{"B", "4"}, {"A", "5"}, {"D", "6"}});
  add("en", 1252, "T", {{"A", "7"}, {"B", "8"}, {"C", "9"}});
  add("en", 1250, "T", {{"A", "b"}, {"\xA5", "ogonek"}});
  add("en", 1252, "T", {{"A", "a"}, {"\xA5", "yen"}});
  // 16 labels kept, the first four repeating the title (no column), 12 shown.
  const std::string title(60, 'Z');
  std::vector<std::pair<std::string, std::string>> long_values;
  for (char label = 'E'; label <= 'T'; ++label) long_values.push_back({{label}, label <= 'H' ? title : std::string(60, label)});
  for (int r = 0; r < 3; ++r) add("hu", 1250, title, long_values);
  StringSink sink;
  index.Write(sink);
  const auto lines_of = [&page = sink.data](const std::string& language) {
    std::vector<std::string> lines;
    for (std::size_t at = page.find("<table class=\"cols index\" lang=\"" + language + "\">"), end = 0;
         at != std::string::npos && lines.size() < 8; at = end + 2) {
      end = page.find("\r\n", at);
      lines.push_back(page.substr(at, end - at));
    }
    return lines;
  };
  const std::string th = "<th scope=\"col\">";
  const std::vector<std::string> en = lines_of("en");
  ASSERT_EQ(en.size(), 8U);
  EXPECT_EQ(en[1], "<thead><tr>" + th + "Report" + th + "Title" + th + "A" + th + "B" + th + "C" + th + "D" + th +
                       "\xC4\x84" + th + "\xC2\xA5");
  const char* rows[] = {"1<td>2<td>3<td><td><td>", "5<td>4<td><td>6<td><td>", "7<td>8<td>9<td><td><td>",
                        "b<td><td><td><td>ogonek<td>", "a<td><td><td><td><td>yen"};
  for (int r = 0; r < 5; ++r) EXPECT_EQ(en[3 + r], std::string("<tr><td>r<td>T<td>") + rows[r]);
  const std::vector<std::string> hu = lines_of("hu");
  ASSERT_GE(hu.size(), 4U);
  std::string header = "<thead><tr>" + th + "Report" + th + "Title";
  std::string row = "<tr><td>r<td>" + title.substr(0, 48) + "\xE2\x80\xA6";
  for (char label = 'I'; label <= 'T'; ++label) {
    header += th + label;
    row += "<td>" + std::string(48, label) + "\xE2\x80\xA6";
  }
  EXPECT_EQ(hu[1], header);
  EXPECT_EQ(hu[3], row);
}

}  // namespace
}  // namespace rptconv

