// Tests of the JSON writer: report text in each code page becomes valid,
// escaped UTF-8; commas and nesting; output that does not depend on the
// buffer size.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <string_view>

#include "export/json_writer.h"
#include "export/title_key.h"
#include "export/typed_values.h"

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

// Typed companions: only texts that parse exactly get one.
TEST(TypedValueTest, CompanionsOfExactTextsOnly) {
  const auto en = Language::kEnglish;
  const auto hu = Language::kHungarian;
  const struct {
    ValueKind kind;
    Language language;
    std::string text;
    std::string json;  // empty: no companion
  } cases[] = {
      {ValueKind::kSize, en, "236 KB", "241664"},
      {ValueKind::kSize, en, "37.2 GB", "39943195853"},
      {ValueKind::kSize, en, "1,024 MB", "1073741824"},
      {ValueKind::kSize, en, "0 KB", "0"},
      {ValueKind::kSize, en, "512 bytes", "512"},
      {ValueKind::kSize, en, "32256", "32256"},
      {ValueKind::kSize, en, "1.5 bytes", ""},
      {ValueKind::kSize, en, "12 x 24", ""},
      {ValueKind::kSize, en, "", ""},
      {ValueKind::kSize, en, "1,0240 KB", ""},
      {ValueKind::kSize, en, "9999999 TB", ""},
      {ValueKind::kSize, hu, "4 104 KB", "4202496"},
      {ValueKind::kSize, hu, "32 256", "32256"},
      {ValueKind::kSize, hu, "1,5 MB", "1572864"},
      {ValueKind::kSize, hu, "1.5 MB", ""},
      {ValueKind::kCount, en, "400", "400"},
      {ValueKind::kCount, en, "2,400", "2400"},
      {ValueKind::kCount, en, "007", "7"},
      {ValueKind::kCount, en, "-1", ""},
      {ValueKind::kCount, en, "3.5", ""},
      {ValueKind::kCount, en, "25x12", ""},
      {ValueKind::kCount, en, "9007199254740993", ""},
      {ValueKind::kCount, en, "0", "0"},
      {ValueKind::kCount, en, "123456789012345", "123456789012345"},
      {ValueKind::kCount, en, "12 ", ""},
      {ValueKind::kPercent, en, "35 %", "35"},
      {ValueKind::kPercent, en, "12.50%", "12.50"},
      {ValueKind::kPercent, hu, "26 %", "26"},
      {ValueKind::kPercent, hu, "0,5 %", "0.5"},
      {ValueKind::kPercent, en, "35", ""},
      {ValueKind::kDate, en, "2004-06-08", "\"2004-06-08\""},
      {ValueKind::kDate, en, "2004-06-08 09:41", "\"2004-06-08T09:41:00\""},
      {ValueKind::kDate, en, "2004-06-08 09:41:07", "\"2004-06-08T09:41:07\""},
      {ValueKind::kDate, hu, "2004.06.08. 09:41", "\"2004-06-08T09:41:00\""},
      {ValueKind::kDate, en, "2004-02-29", "\"2004-02-29\""},
      {ValueKind::kDate, en, "2005-02-29", ""},
      {ValueKind::kDate, en, "1900-02-29", ""},
      {ValueKind::kDate, en, "2000-02-29", "\"2000-02-29\""},
      {ValueKind::kDate, en, "2004-04-31", ""},
      {ValueKind::kDate, en, "2004-06-00", ""},
      {ValueKind::kDate, en, "2004-13-01", ""},
      {ValueKind::kDate, en, "2004-06-08 24:00", ""},
      {ValueKind::kDate, en, "2004-06-08 09:41 PM", ""},
      {ValueKind::kDate, en, "06/08/2004", ""},
      {ValueKind::kDate, en, "0042-06-08", "\"0042-06-08\""},
      {ValueKind::kDate, hu, "2004.06.08", "\"2004-06-08\""},
      {ValueKind::kDate, hu, "2004.06.08. 09:41:07", "\"2004-06-08T09:41:07\""},
      {ValueKind::kDate, hu, "2004.06-08.", ""},
      {ValueKind::kDate, en, "2004-06-08.", ""},
      {ValueKind::kDate, en, "2004-06-08 09:4", ""},
      {ValueKind::kDate, en, "2004-06-08 09:41:60", ""},
      {ValueKind::kDate, en, "2004-06-08T09:41", ""},
      {ValueKind::kDate, en, "2004-06-0\xE9", ""},
      {ValueKind::kSize, en, "8192 TB", "9007199254740992"},
      {ValueKind::kSize, en, "8193 TB", ""},
      {ValueKind::kText, en, "236 KB", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    TypedValue typed;
    const bool parsed = ParseTypedValue(c.kind, c.text, c.language, typed);
    EXPECT_EQ(parsed, !c.json.empty());
    if (parsed) {
      EXPECT_EQ(typed.View(), c.json);
    }
    // The same from report text, readable past its end whatever follows it.
    const std::string padded = c.text + std::string(kTextPadding, '9');
    TypedValue from_report;
    EXPECT_EQ(ParseTypedReportValue(c.kind, std::string_view(padded).substr(0, c.text.size()), c.language, from_report),
              parsed);
    if (parsed) {
      EXPECT_EQ(from_report.View(), c.json);
    }
  }
}

TEST(TitleKeyTest, SnakeCaseAsciiFromEitherCodePage) {
  const struct {
    std::string title;
    int codepage;
    std::string key;
  } cases[] = {
      {"Report", 1252, "report"},
      {"Physical Drives", 1252, "physical_drives"},
      {"\xD6sszes\xEDt\xE9s", 1250, "osszesites"},
      {"  PCI / AGP -- Video!! ", 1252, "pci_agp_video"},
      {"\x8A\x9A\xF5\xFB", 1250, "ssou"},
      {"Stra\xDF" "e \xC6ther", 1252, "strase_ather"},
      {"<>&\"", 1252, "section"},
      {"", 1252, "section"},
  };
  for (const auto& c : cases) EXPECT_EQ(KeyFromTitle(c.title, c.codepage), c.key) << c.title;
}

}  // namespace
}  // namespace rptconv
