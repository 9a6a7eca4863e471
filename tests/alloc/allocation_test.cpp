// A conversion allocates per report and per new title, never per line: the
// number of heap allocations does not grow with the length of a report.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <iostream>
#include <new>
#include <string>

#include "doubles.h"
#include "rptconv/rptconv.h"

namespace {

std::atomic<long> g_allocations{0};

using rptconv::testing::MemorySink;
using rptconv::testing::MemorySource;

// A report with `blocks` repetitions of table pages, group tables, plain
// pages with groups and items, links and text that needs escaping. With
// `same_pages` each kind of page comes once and holds all blocks' rows.
std::string MakeReport(int blocks, bool same_pages = false) {
  std::string report = "header\r\nReport,Summary,,,Computer,PC<1>\r\n";
  const int rounds = same_pages ? 3 : 1;
  for (int round = 0; round < rounds; ++round) {
    for (int b = 0; b < blocks; ++b) {
      const std::string n = std::to_string(b % 1000);
      if (!same_pages || round == 0) {
        report += "Processes,proc" + n + ".exe,,,,C:\\bin\\proc" + n + ".exe\r\n,,,,,1024 KB\r\n,,,,,0 KB\r\n";
        report += "Processes,other" + n + ".exe,,,,C:\\bin\\other.exe\r\n,,,,,2048 KB\r\n,,,,,8 KB\r\n";
      }
      if (!same_pages || round == 1) {
        report += "SMART,Disk " + n + ",,,,Raw Read Error Rate\r\n,,,,,6\r\n,,,,,100\r\n,,,,,99\r\n,,,,,0\r\n,,,,,OK\r\n";
      }
      if (!same_pages || round == 2) {
        report += "Network,Adapter " + n + ",Item,,Home,http://example.org/" + n + "\r\n";
        report += "Network,Adapter " + n + ",Other item,,Note,a & b <c> \"d\";e\xE9\r\n";
      }
    }
  }
  return report;
}

long AllocationsToConvert(const std::string& report, const rptconv::ConvertOptions& options = {}) {
  MemorySource source(report);
  MemorySink sink;
  sink.keep = false;  // counts only, allocating nothing
  const long before = g_allocations.load();
  rptconv::Convert(source, sink, options);
  const long after = g_allocations.load();
  EXPECT_GT(sink.size, report.size());
  return after - before;
}

TEST(Allocations, DoNotGrowWithTheReport) {
  const std::string small = MakeReport(2000);
  const std::string large = MakeReport(20000);
  const long small_count = AllocationsToConvert(small);
  const long large_count = AllocationsToConvert(large);
  // Ten times the lines; the same buffers. Titles may need a longer string
  // now and then, so allow a handful more, not thousands.
  std::cout << "allocations: " << small_count << " for " << small.size() << " bytes, " << large_count
            << " for " << large.size() << " bytes\n";
  EXPECT_LE(large_count, small_count + 8) << "small: " << small_count << ", large: " << large_count;
  EXPECT_LT(small_count, 200);
}

// The modern page keeps the titles of the report's pages for its navigation
// and nothing else: with the same pages, ten times the rows cost no more,
// and each new page costs a few allocations at most.
TEST(Allocations, ModernPageGrowsOnlyWithPageTitles) {
  rptconv::ConvertOptions modern;
  modern.style = rptconv::PageStyle::kModern;
  const long small_count = AllocationsToConvert(MakeReport(2000, true), modern);
  const long large_count = AllocationsToConvert(MakeReport(20000, true), modern);
  std::cout << "modern allocations, same pages: " << small_count << ", ten times the rows: " << large_count << "\n";
  EXPECT_LE(large_count, small_count + 8);
  EXPECT_LT(small_count, 200);
  // MakeReport(2000) starts 6000 pages.
  const long paged = AllocationsToConvert(MakeReport(2000), modern);
  std::cout << "modern allocations, 6000 pages: " << paged << "\n";
  EXPECT_LT(paged, 6000 * 5);
}

}  // namespace

void* operator new(std::size_t size) {
  g_allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
