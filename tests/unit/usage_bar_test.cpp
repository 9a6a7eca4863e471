// The used share drawn beside a logical drive's or the memory's numbers: the
// sizes and shares as English and Hungarian reports write them, and the
// catalogue columns that hold them.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "html/usage_bar.h"
#include "report/capacity.h"

namespace rptconv {
namespace {

constexpr Language kEn = Language::kEnglish;
constexpr Language kHu = Language::kHungarian;

TEST(UsageBarTest, UsedShareTable) {
  const struct {
    Language language;
    std::string percent_free, total, free;
    std::optional<int> used;
  } cases[] = {
      {kEn, "35 %", "", "", 65},
      {kEn, "35%", "37.2 GB", "1 GB", 65},  // the share wins over the sizes
      {kEn, "0 %", "", "", 100},
      {kEn, "", "37.2 GB", "12.9 GB", 65},
      {kEn, "", "2,400 MB", "600 MB", 75},
      {kEn, "", "1 GB", "512 MB", 50},
      {kEn, "", "1GB", "1024KB", 100},
      {kEn, "", "512 MB", "201 MB", 61},
      {kHu, "", "37,5 GB", "7,5 GB", 80},
      {kHu, "", "2 400 MB", "600 MB", 75},
      {kHu, "26 %", "", "", 74},
      // Nothing to draw: blanks, other units, a free part above the total,
      // a share above 100, texts that are no numbers, a number out of range.
      {kEn, "", "", "", std::nullopt},
      {kEn, "", "40 GB", "", std::nullopt},
      {kEn, "", "0 GB", "0 GB", std::nullopt},
      {kEn, "", "10 GB", "12 GB", std::nullopt},
      {kEn, "", "10 GHz", "2 GHz", std::nullopt},
      {kEn, "120 %", "", "", std::nullopt},
      {kEn, "n/a", "unknown", "1 GB", std::nullopt},
      {kEn, "", "1.2.3 GB", "1 GB", std::nullopt},
      {kEn, "", std::string(400, '9') + " GB", "1 GB", std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.percent_free + "|" + c.total + "|" + c.free);
    EXPECT_EQ(UsedShare(c.percent_free, c.total, c.free, c.language), c.used);
  }
}

TEST(UsageBarTest, CapacityColumnsOfTheCatalogue) {
  const std::vector<std::string_view> drives = {"Drive", "Drive Type", "File System", "Volume Serial",
                                                "Total Size", "Free Space", "% Free"};
  const CapacityColumns columns = CapacityColumnsOf(drives);
  EXPECT_EQ(columns.total, 4u);
  EXPECT_EQ(columns.free, 5u);
  EXPECT_EQ(columns.percent_free, 6u);
  const std::vector<std::string_view> processes = {"Process Name", "Process File Name", "Used Memory", "Used Swap"};
  EXPECT_FALSE(CapacityColumnsOf(processes).Any());
  EXPECT_TRUE(IsTotalMemoryLabel("Total Physical"));
  EXPECT_TRUE(IsFreeMemoryLabel("Szabad fizikai"));
  EXPECT_FALSE(IsTotalMemoryLabel("Page File"));
}

}  // namespace
}  // namespace rptconv
