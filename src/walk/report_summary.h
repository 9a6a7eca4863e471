// Listeners that are no page: the summary of a report for an overview of
// many, and the fan-out that tells two listeners the same walk.
#pragma once

#include <cstddef>

#include "rptconv/rptconv.h"
#include "walk/page_events.h"

namespace rptconv {

// Keeps the title and the first group's own properties (those outside any
// item) of the report's first page.
class SummaryListener : public PageEvents {
 public:
  // `codepage` 0: the report language's code page.
  SummaryListener(ReportSummary& summary, int codepage) : summary_(summary), codepage_(codepage) {}

  void BeginDocument(std::string_view title, Language language) override;
  void BeginPage(std::string_view title, bool first) override;
  void BeginGroup(std::string_view title, bool first, bool in_table) override;
  void BeginItem(std::string_view, bool, bool) override {}
  void TableHeader(std::span<const std::string_view>, std::string_view) override {}
  void Property(std::string_view label, std::string_view value, bool in_item) override;
  void TableRow(std::span<const std::string_view>) override {}
  void EndDocument() override {}

 private:
  ReportSummary& summary_;
  int codepage_;
  int pages_ = 0;
  int groups_ = 0;
};

// Tells every event to two listeners, the first first.
class BothListeners : public PageEvents {
 public:
  BothListeners(PageEvents& first, PageEvents& second) : first_(first), second_(second) {}

  void BeginDocument(std::string_view title, Language language) override;
  void BeginPage(std::string_view title, bool first) override;
  void BeginGroup(std::string_view title, bool first, bool in_table) override;
  void BeginItem(std::string_view title, bool first, bool in_table) override;
  void BeginTable(const Section& section) override;
  void TableHeader(std::span<const std::string_view> names, std::string_view alignment) override;
  void Property(std::string_view label, std::string_view value, bool in_item) override;
  void TableRow(std::span<const std::string_view> cells) override;
  void EndDocument() override;

 private:
  PageEvents& first_;
  PageEvents& second_;
};

}  // namespace rptconv
