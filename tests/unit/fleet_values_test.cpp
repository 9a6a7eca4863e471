// How the index reads sizes, dates and program names of English and
// Hungarian reports: one table per rule.
#include <gtest/gtest.h>

#include "fleet/background_fleet.h"
#include "fleet/name_table.h"
#include "doubles.h"
#include "fleet/values.h"

namespace rptconv {
namespace {

TEST(FleetValuesTest, Sizes) {
  constexpr double kNone = -1;
  const std::string too_large = std::string(400, '9') + " GB";  // beyond a double
  const struct {
    std::string_view text;
    double bytes;
  } cases[] = {
      {"37.2 GB", 37.2 * 1024 * 1024 * 1024}, {"12,9 GB", 12.9 * 1024 * 1024 * 1024},
      {"1 630 MB", 1630.0 * 1024 * 1024},     {"1\xA0" "630 MB", 1630.0 * 1024 * 1024},
      {"1,234 MB", 1234.0 * 1024 * 1024},     {" 650 mb ", 650.0 * 1024 * 1024},
      {"236 KB", 236.0 * 1024},               {"512 bytes", 512},
      {"512 b\xE1jt", 512},                   {"4096", 4096},
      {"0 MB", 0},                            {"", kNone},
      {"N/A", kNone},                         {"12 parsecs", kNone},
      {too_large, kNone},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const std::optional<double> bytes = ParseSize(c.text);
    if (c.bytes == kNone) {
      EXPECT_FALSE(bytes.has_value());
    } else {
      ASSERT_TRUE(bytes.has_value());
      EXPECT_NEAR(*bytes, c.bytes, c.bytes * 1e-9);
    }
  }
}

TEST(FleetValuesTest, Days) {
  constexpr std::int32_t kNone = -1;
  constexpr std::int32_t k20040608 = 12577;  // days since 1970-01-01
  const struct {
    std::string_view text;
    std::int32_t day;
  } cases[] = {
      {"2004-06-08 09:41", k20040608}, {"2004.06.08. 09:41", k20040608}, {"2004/06/08", k20040608},
      {"06/08/2004", k20040608},       {"08.06.2004", k20040608},        {"2004-03-01", k20040608 - 99},
      {"1970-01-01", 0},               {"2004-13-01", kNone},            {"2004-06", kNone},
      {"20040608", kNone},             {"Yesterday", kNone},             {"2004-06.08", kNone},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const std::optional<std::int32_t> day = ParseDay(c.text);
    EXPECT_EQ(day.value_or(kNone), c.day);
  }
}

TEST(FleetValuesTest, NameKeys) {
  EXPECT_EQ(NameKey("  Archive TOOL \t"), "archive tool");
  EXPECT_EQ(NameKey("M\xC9" "DIALEJ\xC1TSZ\xD3"), "m\xE9" "dialej\xE1tsz\xF3");  // Windows-1250 capitals
  EXPECT_EQ(NameKey("2\xD7" "DVD"), "2\xD7" "dvd");  // "×" is no letter
  // Words found in a text without regard to ASCII case, at its ends too.
  const std::string_view words[] = {"CD", "Removable"};
  for (const std::string_view text : {"DVD/cd-rom", "cd", "USB REMOVABLE"}) EXPECT_TRUE(ContainsOneOf(text, words));
  for (const std::string_view text : {"Local Disk", "C"}) EXPECT_FALSE(ContainsOneOf(text, words)) << text;
  EXPECT_TRUE(IsOneOf(" cd ", words) && !IsOneOf("cdrom", words));
}

// Names of every length up to five words: equal bytes compare equal, and a
// byte changed anywhere (the overlapping last word, the short tails) is seen;
// copied inline, every byte arrives and none after them is written.
TEST(FleetValuesTest, SameBytes) {
  constexpr std::size_t kLongest = 40;
  const std::string name = "Archive Tool 3.30 (x64) Setup for Windows";
  for (std::size_t size = 0; size <= kLongest; ++size) {
    const std::string copy = name.substr(0, size);
    std::string copied(kLongest + 1, '#');
    CopyBytes(copied.data(), name.data(), size);
    EXPECT_EQ(copied, copy + std::string(kLongest + 1 - size, '#')) << size;
    EXPECT_TRUE(SameBytes(name.data(), copy.data(), size)) << size;
    for (std::size_t at = 0; at < size; ++at) {
      std::string changed = copy;
      changed[at] = static_cast<char>(changed[at] ^ '\x80');
      EXPECT_FALSE(SameBytes(name.data(), changed.data(), size)) << size << " at " << at;
    }
  }
}

// Names of two parts split at different places are different names, and
// every name is found again once the table has grown many times over.
TEST(FleetValuesTest, NameTableParts) {
  NameTable table;
  const NameParts split[] = {{"ab", "c"}, {"a", "bc"}, {"abc", ""}, {"", "abc"}};
  std::uint32_t number = 0;
  for (const NameParts parts : split) ASSERT_TRUE(table.Add(parts, number++));
  std::vector<std::string> names;
  for (int i = 0; i < 5000; ++i) names.push_back("Program " + std::to_string(i * 7919));
  for (const std::string& name : names) ASSERT_TRUE(table.Add(NameParts{name, "1.0"}, number++));
  number = 0;
  for (const NameParts parts : split) EXPECT_EQ(table.Find(parts), number++);
  for (const std::string& name : names) EXPECT_EQ(table.Find(NameParts{name, "1.0"}), number++) << name;
  EXPECT_EQ(table.Find(NameParts{"Program 7919", "1.1"}), NameTable::kMissing);
  EXPECT_EQ(table.Find("abc"), 2U);
}

// Computer numbers kept as gaps come back as added, whatever the number of
// digits of each gap, and the gaps read as the index page lists them.
TEST(FleetValuesTest, ComputerListGaps) {
  const std::vector<std::uint32_t> numbers = {0, 1, 10, 19, 119, 1119, 11119, 111119, 1111119, 4011111119, UINT32_MAX};
  ComputerList list;
  for (const std::uint32_t n : numbers) list.Add(n);
  EXPECT_EQ(list.gap_text(), "0,1,9,9,100,1000,10000,100000,1000000,4010000000,283856176");
  EXPECT_EQ(std::vector<std::uint32_t>(list.begin(), list.end()), numbers);
  EXPECT_EQ(list.size(), numbers.size());
  EXPECT_TRUE(list.Has(UINT32_MAX));
  EXPECT_FALSE(list.Has(0));
}

// A report's programs reach a sink of the library's user as they reach the
// index's batch: trimmed, in order, one without version.
TEST(FleetValuesTest, ProgramsReachEverySink) {
  const std::string report =
      "Page,Group,Item,Type,Property,Value\r\n"
      "Report,Summary,,,Computer Name,WS-A\r\n"
      "Installed Programs,Archive Tool,,,Version,3.30\r\n"
      "Installed Programs,Archive Tool,,,Inst. Size,1 MB\r\n"
      "Installed Programs, Runtime ,,,Version,2.0 \r\n"
      "Installed Programs, Runtime ,,,Inst. Size,1 MB\r\n"
      "Installed Programs,Viewer,,,Version,\r\n"
      "Installed Programs,Viewer,,,Inst. Size,1 MB\r\n";
  struct Recorder final : ProgramSink {
    void BeginReport(int) override {}
    void Program(std::string_view name, std::string_view version) override { told.emplace_back(name, version); }
    std::vector<std::pair<std::string, std::string>> told;
  } recorder;
  ProgramBatch batch;
  for (ProgramSink* sink : {static_cast<ProgramSink*>(&recorder), static_cast<ProgramSink*>(&batch)}) {
    testing::MemorySource source(report);
    testing::MemorySink page;
    ReportSummary summary;
    summary.program_sink = sink;
    ConvertOptions options;
    options.style = PageStyle::kModern;
    Convert(source, page, options, &summary);
  }
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"Archive Tool", "3.30"}, {"Runtime", "2.0"}, {"Viewer", ""}};
  EXPECT_EQ(recorder.told, expected);
  std::vector<std::pair<std::string, std::string>> batched;
  batch.ForEach([&batched](NameParts parts) { batched.emplace_back(parts.first, parts.second); });
  EXPECT_EQ(batched, expected);
}

// Gathered on its thread, many hand-overs long, the fleet is the one
// gathered report by report in order; names and versions too long for a
// batch's short sizes come through whole.
TEST(FleetValuesTest, BackgroundFleetCountsInOrder) {
  Fleet direct({});
  BackgroundFleet background({});
  ProgramBatch batch;
  ReportSummary summary;
  for (std::uint32_t report = 0; report < 50; ++report) {
    summary.title = "PC" + std::to_string(report);
    summary.program_sink = &background.program_sink();
    for (ProgramSink* sink : {static_cast<ProgramSink*>(&batch), summary.program_sink}) {
      sink->BeginReport(1252);
      for (std::uint32_t p = report % 3; p < 40; p += 3) {
        sink->Program("App " + std::to_string(p), std::to_string(report % (p + 1)));
      }
      if (report % 5 == 0) sink->Program(std::string(70000, 'L'), std::string(65535, '9'));
      if (report % 5 == 1) sink->Program(std::string(65535, 'M'), "1");
      // Keys alike in their first eight bytes, and bytes above 0x7F.
      for (const char* name : {"Viewer \xC9" "dition 2", "viewer \xE9" "dition 10", "Zeta", "\xC9let"}) {
        if (report % 7 == 0) sink->Program(name, "1");
      }
    }
    direct.Add(direct.ComputerOf(summary, {}, {}, 0), batch);
    background.Add(summary, {}, {}, 0);
  }
  const Fleet& fleet = background.Finish();
  ASSERT_EQ(fleet.computers().size(), direct.computers().size());
  ASSERT_EQ(fleet.programs().size(), direct.programs().size());
  for (std::size_t p = 0; p < fleet.programs().size(); ++p) {
    const auto versions = fleet.VersionsByShare(fleet.programs()[p]);
    const auto expected = direct.VersionsByShare(direct.programs()[p]);
    ASSERT_EQ(versions.size(), expected.size());
    for (std::size_t v = 0; v < versions.size(); ++v) {
      EXPECT_EQ(versions[v]->text, expected[v]->text);
      EXPECT_EQ(versions[v]->computers, expected[v]->computers);
    }
  }
  // Ordered on the thread as the one gathered directly orders on demand.
  const auto by_name = fleet.ProgramsByName();
  const auto expected_by_name = direct.ProgramsByName();
  ASSERT_EQ(by_name.size(), expected_by_name.size());
  for (std::size_t p = 0; p < by_name.size(); ++p) EXPECT_EQ(by_name[p]->name, expected_by_name[p]->name);
  for (std::size_t p = 1; p < by_name.size(); ++p) EXPECT_LT(NameKey(by_name[p - 1]->name), NameKey(by_name[p]->name));
  std::size_t long_names = 0;
  for (const FleetProgram& program : fleet.programs()) {
    if (program.name.size() < 65535) continue;
    ++long_names;
    const auto versions = fleet.VersionsByShare(program);
    ASSERT_EQ(versions.size(), 1U);
    EXPECT_EQ(versions[0]->text.size(), program.name.size() == 70000 ? 65535U : 1U);
    EXPECT_EQ(program.computers, 10U);
  }
  EXPECT_EQ(long_names, 2U);
}

}  // namespace
}  // namespace rptconv
