// Tests of cutting report lines into records and cells.
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "report/record.h"

namespace rptconv {
namespace {

using namespace std::string_literals;

struct SplitCase {
  const char* name;
  std::string line;
  std::vector<std::string> fields;  // page, group, item, the unread fourth field, label, value
  std::string line_after;           // the line once split in place
};

std::vector<std::string> FieldsOf(const ReportRecord& r) {
  return {std::string(r.page), std::string(r.group), std::string(r.item), std::string(r.label),
          std::string(r.value)};
}

TEST(SplitRecordTest, Fields) {
  const std::vector<SplitCase> cases = {
      {"empty line: six empty fields", "", {"", "", "", "", "", ""}, ""},
      {"no comma: the whole line is the value", "abc;def", {"", "", "", "", "", "abc,def"}, "abc,def"},
      {"two commas", "P,G,rest;x", {"P", "G", "", "", "", "rest,x"}, "P,G,rest,x"},
      {"four commas: the label stays empty", "P,G,I,F,L", {"P", "G", "I", "F", "", "L"}, "P,G,I,F,L"},
      {"five commas and nothing else", ",,,,,", {"", "", "", "", "", ""}, ",,,,,"},
      {"seven commas: the value holds two", ",,,,,,,", {"", "", "", "", "", ",,"}, ",,,,,,,"},
      {"five commas, empty value", "P,G,I,F,L,", {"P", "G", "I", "F", "L", ""}, "P,G,I,F,L,"},
      {"all six fields", "Page,Group,Item,F4,Label,Value", {"Page", "Group", "Item", "F4", "Label", "Value"},
       "Page,Group,Item,F4,Label,Value"},
      {"later commas and semicolons belong to the value", "P,G,I,F,L,v1,v2;v3;",
       {"P", "G", "I", "F", "L", "v1,v2,v3,"}, "P,G,I,F,L,v1,v2,v3,"},
      {"semicolons in the first five fields stay", "P;1,G;2,I;3,F;4,L;5,V;6",
       {"P;1", "G;2", "I;3", "F;4", "L;5", "V,6"}, "P;1,G;2,I;3,F;4,L;5,V,6"},
      {"value of semicolons only", ",,,,,;;", {"", "", "", "", "", ",,"}, ",,,,,,,"},
      {"no trimming, quotes are ordinary", " \"P\" ,\tG\t, I ,\"\", L ,\" v ; w \"",
       {" \"P\" ", "\tG\t", " I ", "\"\"", " L ", "\" v , w \""}, " \"P\" ,\tG\t, I ,\"\", L ,\" v , w \""},
      {"NUL and high bytes are ordinary", "P\0,\x80,\xFF;,,,\0;\xE9"s,
       {"P\0"s, "\x80", "\xFF;", "", "", "\0,\xE9"s}, "P\0,\x80,\xFF;,,,\0,\xE9"s},
  };
  for (const SplitCase& c : cases) {
    SCOPED_TRACE(c.name);
    std::string line = c.line;
    const ReportRecord record = SplitRecord(line);
    std::vector<std::string> kept = c.fields;
    kept.erase(kept.begin() + 3);
    EXPECT_EQ(FieldsOf(record), kept);
    EXPECT_EQ(line, c.line_after);
  }
}

TEST(SplitRecordTest, PciDumpRecordsAreDiscarded) {
  const struct {
    std::string line;
    bool discarded;
  } cases[] = {
      {"PCI Dump,Bus 0,Device 1,,Vendor,8086", true},
      {"PCI Dump,,,,,", true},
      {"PCI Dump,x", true},
      {"PCI Dump,", true},
      {"PCI Dump", false},  // no comma: the text is the value, the page is empty
      {"PCI dump,G,I,F,L,V", false},
      {"pci dump,G,I,F,L,V", false},
      {"PCI DUMP,G,I,F,L,V", false},
      {"PCI Dump ,G,I,F,L,V", false},
      {" PCI Dump,G,I,F,L,V", false},
      {"PCI Dump\t,G,I,F,L,V", false},
      {"PCI Dum,G,I,F,L,V", false},
      {"PCI  Dump,G,I,F,L,V", false},
      {"PCI Dump;,G,I,F,L,V", false},
      {"PCI Dumps,G,I,F,L,V", false},
      {",PCI Dump,I,F,L,V", false},
      {"Devices,G,I,F,L,PCI Dump", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    std::string line = c.line;
    EXPECT_EQ(IsDiscarded(SplitRecord(line)), c.discarded);
  }
}

// The title and the cells of continuation lines: the text after the fifth
// comma, semicolons untouched.
TEST(AfterFifthFieldTest, Cells) {
  const struct {
    std::string line;
    std::string cell;
  } cases[] = {
      {"", ""},
      {"whole;line", "whole;line"},
      {"a,b", "b"},
      {"a,b,c,d,", ""},
      {"a,b,c,d,e", "e"},
      {",,,,,", ""},
      {"a,b,c,d,e,cell", "cell"},
      {"a,b,c,d,e,c;e;ll", "c;e;ll"},
      {"a,b,c,d,e,f,g", "f,g"},
      {",,,,,,,", ",,"},
      {"PCI Dump,b,c,d,e,cell", "cell"},
      {"a,b,c,d,e, padded ", " padded "},
      {"a,b,c,d,e,\0\x80\xFF"s, "\0\x80\xFF"s},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(AfterFifthField(c.line), c.cell);
  }
}

}  // namespace
}  // namespace rptconv
