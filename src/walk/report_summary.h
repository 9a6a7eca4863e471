// Listeners that are no page: the summary of a report for an overview of
// many, and the fan-out that tells several listeners the same walk.
#pragma once

#include <cstddef>
#include <span>
#include <string_view>
#include <tuple>
#include <utility>

#include "rptconv/rptconv.h"
#include "walk/page_events.h"

namespace rptconv {

// Keeps the title and the first group's own properties (those outside any
// item) of the report's first page.
class SummaryListener final : public PageEvents {
 public:
  // `codepage` 0: the report language's code page.
  SummaryListener(ReportSummary& summary, int codepage) : summary_(summary), codepage_(codepage) {}

  void BeginDocument(std::string_view title, Language language) override;
  // Inline: the walk tells every page, group and property, and all but
  // those of the first group pass by.
  void BeginPage(std::string_view, bool) override { ++pages_; }
  void BeginGroup(std::string_view, bool, bool) override { ++groups_; }
  void BeginItem(std::string_view, bool, bool) override {}
  void TableHeader(std::span<const std::string_view>, std::string_view) override {}
  void Property(std::string_view label, std::string_view value, bool in_item) override {
    if (pages_ == 1 && groups_ == 1 && !in_item) Keep(label, value);
  }
  void TableRow(std::span<const std::string_view>) override {}
  void EndDocument() override {}

 private:
  void Keep(std::string_view label, std::string_view value);

  ReportSummary& summary_;
  int codepage_;
  int pages_ = 0;
  int groups_ = 0;
};

// Tells every event to each listener in turn with direct calls: with final
// listener types the walk inlines them as it inlines one listener, where a
// fan-out through PageEvents would cost two virtual calls per event and
// listener.
template <class... Listeners>
class AllListeners {
 public:
  explicit AllListeners(Listeners&... listeners) : listeners_(listeners...) {}

  void BeginDocument(std::string_view title, Language language) {
    Each([&](auto& l) { l.BeginDocument(title, language); });
  }
  void BeginPage(std::string_view title, bool first) { Each([&](auto& l) { l.BeginPage(title, first); }); }
  void BeginGroup(std::string_view title, bool first, bool in_table) {
    Each([&](auto& l) { l.BeginGroup(title, first, in_table); });
  }
  void BeginItem(std::string_view title, bool first, bool in_table) {
    Each([&](auto& l) { l.BeginItem(title, first, in_table); });
  }
  void BeginTable(const Section& section) { Each([&](auto& l) { l.BeginTable(section); }); }
  void TableHeader(std::span<const std::string_view> names, std::string_view alignment) {
    Each([&](auto& l) { l.TableHeader(names, alignment); });
  }
  void Property(std::string_view label, std::string_view value, bool in_item) {
    Each([&](auto& l) { l.Property(label, value, in_item); });
  }
  // Inline into the walk as a lone listener's would be: rows are the most
  // frequent event, and a call per row costs more than what most of the
  // listeners do with one.
  [[gnu::always_inline]] void TableRow(std::span<const std::string_view> cells) {
    RowToEach(cells, std::index_sequence_for<Listeners...>());
  }
  void EndDocument() { Each([](auto& l) { l.EndDocument(); }); }

 private:
  template <class Call>
  void Each(Call call) {
    std::apply([&](auto&... listener) { (call(listener), ...); }, listeners_);
  }
  template <std::size_t... kListener>
  [[gnu::always_inline]] void RowToEach(std::span<const std::string_view> cells, std::index_sequence<kListener...>) {
    (std::get<kListener>(listeners_).TableRow(cells), ...);
  }
  std::tuple<Listeners&...> listeners_;
};

}  // namespace rptconv
