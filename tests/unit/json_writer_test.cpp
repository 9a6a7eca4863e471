// Tests of the JSON writer: report text in each code page becomes valid,
// escaped UTF-8; commas and nesting; output that does not depend on the
// buffer size.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <string_view>

#include "export/json_writer.h"

namespace rptconv {
namespace {

using namespace std::string_literals;

class StringSink : public ByteSink {
 public:
  void Write(std::string_view bytes) override { data.append(bytes); }
  std::string data;
};

std::string Quote(std::string_view text, int codepage, bool utf8, std::size_t buffer_size = kJsonBufferSize) {
  StringSink sink;
  JsonWriter out(sink, *FindJsonCodepage(codepage), buffer_size);
  if (utf8) {
    out.Utf8String(text);
  } else {
    out.String(text);
  }
  out.Flush();
  return sink.data;
}

TEST(JsonWriterTest, StringsAreConvertedAndEscaped) {
  const struct {
    int codepage;
    bool utf8;
    std::string text;
    std::string json;
  } cases[] = {
      {1252, false, "", "\"\""},
      {1252, false, "plain text, 1.5 GB", "\"plain text, 1.5 GB\""},
      {1252, false, "say \"hi\"\\now", "\"say \\\"hi\\\"\\\\now\""},
      {1252, false, "\b\f\n\r\t", "\"\\b\\f\\n\\r\\t\""},
      {1252, false, "\0\x01\x1b\x1f\x7f"s, "\"\\u0000\\u0001\\u001b\\u001f\\u007f\""},
      {1252, false, "<script>&amp;</script>", "\"<script>&amp;</script>\""},
      {1252, false, "caf\xE9 \x80 \x81", "\"caf\xC3\xA9 \xE2\x82\xAC \xEF\xBF\xBD\""},
      {1250, false, "Telep\xEDtett programok \x8A\x9A\xF5", "\"Telep\xC3\xADtett programok \xC5\xA0\xC5\xA1\xC5\x91\""},
      {1250, false, "0123456789abcdef\"0123456789\xE9", "\"0123456789abcdef\\\"0123456789\xC3\xA9\""},
      {1252, true, "na\xC3\xAFve \xE2\x82\xAC \xF0\x9F\x98\x80", "\"na\xC3\xAFve \xE2\x82\xAC \xF0\x9F\x98\x80\""},
      {1252, true, "bad \xE9 \xC0\xAF \xED\xA0\x80 \xF4\x90\x80\x80 \xE2\x82",
       "\"bad \xEF\xBF\xBD \xEF\xBF\xBD\xEF\xBF\xBD \xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD "
       "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD \xEF\xBF\xBD\xEF\xBF\xBD\""},
      {1252, true, "tab\there \"q\"", "\"tab\\there \\\"q\\\"\""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(Quote(c.text, c.codepage, c.utf8), c.json);
    // The smallest buffer flushes inside the string; the bytes stay the same.
    EXPECT_EQ(Quote(c.text, c.codepage, c.utf8, 1), c.json);
  }
  EXPECT_EQ(FindJsonCodepage(437), nullptr);
}

TEST(JsonWriterTest, LongTextIsTheSameWithEveryBufferSize) {
  std::string text;
  for (int i = 0; i < 5000; ++i) text += "row \"" + std::to_string(i) + "\"\x01\xE9\xC3\xA9;";
  const std::string reference = Quote(text, 1250, false);
  const std::string utf8_reference = Quote(text, 1250, true);
  for (std::size_t size : {1, 17, 100, 4096}) {
    EXPECT_EQ(Quote(text, 1250, false, size), reference) << size;
    EXPECT_EQ(Quote(text, 1250, true, size), utf8_reference) << size;
  }
}

TEST(JsonWriterTest, StructureCommasAndLines) {
  StringSink sink;
  JsonWriter out(sink, *FindJsonCodepage(1252), 1);
  out.BeginObject().Key("version").Int(1).Key("neg").Int(-42).Key("pct").Number("12.5");
  out.Key("ok").Bool(true).Key("none").Null().Key("empty").BeginArray().EndArray();
  out.Key("rows").BeginArray();
  for (int i = 0; i < 2; ++i) out.NewLine().BeginObject().Key("k\xE9y").String("v").EndObject();
  out.NewLine().EndArray().Key("o").BeginObject().EndObject().EndObject().EndRecord();
  out.BeginArray().Int(0).Bool(false).EndArray().EndRecord();
  out.Flush();
  EXPECT_EQ(sink.data,
            "{\"version\":1,\"neg\":-42,\"pct\":12.5,\"ok\":true,\"none\":null,\"empty\":[],\"rows\":["
            "\n{\"k\xC3\xA9y\":\"v\"},\n{\"k\xC3\xA9y\":\"v\"}\n],\"o\":{}}\n[0,false]\n");
}

TEST(JsonWriterTest, MisuseIsRefused) {
  StringSink sink;
  JsonWriter out(sink, *FindJsonCodepage(1252));
  EXPECT_THROW(out.EndObject(), std::logic_error);
  out.BeginObject().Key("a");
  EXPECT_THROW(out.EndObject(), std::logic_error);
  out.Int(1);
  EXPECT_THROW(out.EndRecord(), std::logic_error);
  for (std::size_t i = 1; i < kJsonMaxDepth; ++i) out.BeginArray();
  EXPECT_THROW(out.BeginArray(), std::logic_error);
}

}  // namespace
}  // namespace rptconv
