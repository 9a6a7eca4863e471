// The classic page: the HTML of 2004, with tables for layout and a small
// style sheet, written byte for byte as it always was.
#pragma once

#include "html/line_writer.h"
#include "walk/page_events.h"

namespace rptconv {

class ClassicPage : public PageEvents {
 public:
  explicit ClassicPage(LineWriter& out) : out_(out) {}

  void BeginDocument(std::string_view title, Language language) override;
  void BeginPage(std::string_view title, bool first) override;
  void BeginGroup(std::string_view title, bool first, bool in_table) override;
  void BeginItem(std::string_view title, bool first, bool in_table) override;
  void TableHeader(std::span<const std::string_view> names, std::string_view alignment) override;
  void Property(std::string_view label, std::string_view value, bool in_item) override;
  void TableRow(std::span<const std::string_view> cells, std::string_view alignment) override;
  void EndDocument() override;

 private:
  void SpacerRow();
  void Value(std::string_view value);
  void OpenCell(std::string_view alignment, std::size_t column);

  LineWriter& out_;
};

}  // namespace rptconv
