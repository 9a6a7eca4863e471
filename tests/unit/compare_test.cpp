// Pairs of small reports and the changes a comparison finds between them:
// rows matched by key whatever their position, case and blanks, volatile
// columns left out unless asked for, duplicate keys matched to equal rows
// first, English and Hungarian tables through their shared keys.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "compare/report_comparer.h"
#include "doubles.h"
#include "walk/report_walk.h"

namespace rptconv {
namespace {

using testing::MemorySource;

// A report: the header line, then the lines given, "|" between them.
std::string Report(std::string_view lines) {
  std::string text = "Page,Group,Item,Icon,Field,Value\r\n";
  for (const char c : lines) text += c == '|' ? std::string("\r\n") : std::string(1, c);
  return text + "\r\n";
}

std::vector<std::string> Split(std::string_view text) {
  std::vector<std::string> parts;
  for (std::size_t comma; (comma = text.find(',')) != std::string_view::npos; text.remove_prefix(comma + 1)) {
    parts.emplace_back(text.substr(0, comma));
  }
  parts.emplace_back(text);
  return parts;
}

// One line per change: "+", "-" or "~", the section (a table's key, or
// "page:" and the page's title), the key cells joined by "/", and for a
// changed row each differing column as " name:old>new".
std::vector<std::string> Describe(const Comparison& comparison) {
  std::vector<std::string> lines;
  for (const ComparedSection& section : comparison.sections) {
    std::vector<std::string> columns{"group", "item", "label", "value"};
    if (section.table != nullptr) {
      columns = Split(section.table->column_keys);
      if (section.group_table) columns.insert(columns.begin(), "item");
    }
    const std::string name = section.table != nullptr ? std::string(section.table->key)
                                                      : "page:" + section.title[section.present[kNewSide] ? 1 : 0];
    for (const RowChange& change : section.changes) {
      const std::vector<std::string>& cells = change.kind == ChangeKind::kRemoved ? change.old_cells : change.new_cells;
      std::string line = change.kind == ChangeKind::kAdded ? "+" : change.kind == ChangeKind::kRemoved ? "-" : "~";
      line += name + " ";
      std::string separator;
      for (std::size_t i = 0; i < cells.size(); ++i) {
        if (section.roles[i] == kKeyColumn) line += std::exchange(separator, "/") + cells[i];
      }
      for (std::size_t i = 0; change.kind == ChangeKind::kChanged && i < cells.size(); ++i) {
        if (change.old_cells[i] != cells[i] && section.roles[i] != kKeyColumn) {
          line += " " + columns[i] + ":" + change.old_cells[i] + ">" + cells[i];
        }
      }
      lines.push_back(line);
    }
  }
  return lines;
}

struct CompareCase {
  const char* name;
  const char* old_report;
  const char* new_report;
  std::vector<std::string> changes;
  bool all_columns = false;
};

// An English report: its first page, then `body`.
std::string English(std::string_view body) {
  std::string text = "Report,Summary,,,Computer,PC-1|Report,Summary,OS,,Version,5.1";
  if (!body.empty()) text.append("|").append(body);
  return Report(text);
}

const std::vector<CompareCase>& Cases() {
  static const std::vector<CompareCase> cases = {
      {"same report", "Services,Spooler,,,Service Description,Print|Services,Spooler,,,Type,Own|"
                      "Services,Spooler,,,State,Running|Services,Spooler,,,Account,System",
       nullptr, {}},
      {"a service stopped", "Services,Spooler,,,Service Description,Print|Services,Spooler,,,Type,Own|"
                            "Services,Spooler,,,State,Running|Services,Spooler,,,Account,System",
       "Services,Spooler,,,Service Description,Print|Services,Spooler,,,Type,Own|"
       "Services,Spooler,,,State,Stopped|Services,Spooler,,,Account,System",
       {"~services Spooler state:Running>Stopped"}},
      {"programs added and removed, not by position",
       "Installed Programs,Alpha,,,Version,1|Installed Programs,Alpha,,,Inst. Size,1 KB|"
       "Installed Programs,Beta,,,Version,2|Installed Programs,Beta,,,Inst. Size,2 KB",
       "Installed Programs,Zeta,,,Version,9|Installed Programs,Zeta,,,Inst. Size,9 KB|"
       "Installed Programs,Alpha,,,Version,1|Installed Programs,Alpha,,,Inst. Size,1 KB",
       {"+installed_programs Zeta", "-installed_programs Beta"}},
      {"a name that differs only in case and blanks",
       "Installed Programs,Notepad++,,,Version,8|Installed Programs,Notepad++,,,Inst. Size,4 KB",
       "Installed Programs, NOTEPAD++ ,,,Version,8|Installed Programs, NOTEPAD++ ,,,Inst. Size,4 KB", {}},
      {"accented capitals of the code page", "Licenses,\xc1RV\xcdZ,,,Product Key,K",
       "Licenses,\xe1rv\xedz,,,Product Key,K", {}},
      {"volatile columns only", "Processes,a.exe,,,Process File Name,C:\\a.exe|Processes,a.exe,,,Used Memory,10 KB|"
                                "Processes,a.exe,,,Used Swap,0 KB",
       "Processes,a.exe,,,Process File Name,C:\\a.exe|Processes,a.exe,,,Used Memory,99 KB|"
       "Processes,a.exe,,,Used Swap,5 KB",
       {}},
      {"volatile columns with all columns",
       "Processes,a.exe,,,Process File Name,C:\\a.exe|Processes,a.exe,,,Used Memory,10 KB|"
       "Processes,a.exe,,,Used Swap,0 KB",
       "Processes,a.exe,,,Process File Name,C:\\a.exe|Processes,a.exe,,,Used Memory,99 KB|"
       "Processes,a.exe,,,Used Swap,0 KB",
       {"~processes a.exe used_memory:10 KB>99 KB"}, true},
      {"duplicate keys matched to equal rows first",
       "Processes,svchost.exe,,,Process File Name,A|Processes,svchost.exe,,,Used Memory,1|Processes,svchost.exe,,,Used Swap,1|"
       "Processes,x.exe,,,Process File Name,X|Processes,x.exe,,,Used Memory,1|Processes,x.exe,,,Used Swap,1|"
       "Processes,svchost.exe,,,Process File Name,B|Processes,svchost.exe,,,Used Memory,1|Processes,svchost.exe,,,Used Swap,1",
       "Processes,svchost.exe,,,Process File Name,C|Processes,svchost.exe,,,Used Memory,1|Processes,svchost.exe,,,Used Swap,1|"
       "Processes,svchost.exe,,,Process File Name,B|Processes,svchost.exe,,,Used Memory,1|Processes,svchost.exe,,,Used Swap,1|"
       "Processes,x.exe,,,Process File Name,X|Processes,x.exe,,,Used Memory,1|Processes,x.exe,,,Used Swap,1",
       {"~processes svchost.exe process_file_name:A>C"}},
      {"duplicate keys, one more", "Processes,s.exe,,,Process File Name,A|Processes,s.exe,,,Used Memory,1|Processes,s.exe,,,Used Swap,1",
       "Processes,s.exe,,,Process File Name,A|Processes,s.exe,,,Used Memory,1|Processes,s.exe,,,Used Swap,1|"
       "Processes,s.exe,,,Process File Name,A|Processes,s.exe,,,Used Memory,2|Processes,s.exe,,,Used Swap,1",
       {"+processes s.exe"}},
      {"a section only in the old report", "Logon,jdoe,,,Full Name,J Doe|Logon,jdoe,,,Logon Server,S|Logon,jdoe,,,Logon Domain,D",
       "", {"-logons jdoe"}},
      {"a property changed, one added", "Display,Adapter,Main,,Memory,64 MB",
       "Display,Adapter,Main,,Memory,128 MB|Display,Adapter,Main,,Driver,6.1",
       {"~page:Display Adapter/Main/Memory value:64 MB>128 MB", "+page:Display Adapter/Main/Driver"}},
      {"group table rows keyed by their item",
       "Physical Drives,Disk 0,Partition 1,,Partition Type,NTFS|Physical Drives,Disk 0,Partition 1,,Drive,C:|"
       "Physical Drives,Disk 0,Partition 1,,Start Offset,1|Physical Drives,Disk 0,Partition 1,,Partition Length,9 GB|"
       "Physical Drives,Disk 0,Partition 2,,Partition Type,FAT|Physical Drives,Disk 0,Partition 2,,Drive,D:|"
       "Physical Drives,Disk 0,Partition 2,,Start Offset,9|Physical Drives,Disk 0,Partition 2,,Partition Length,1 GB",
       "Physical Drives,Disk 0,Partition 2,,Partition Type,NTFS|Physical Drives,Disk 0,Partition 2,,Drive,D:|"
       "Physical Drives,Disk 0,Partition 2,,Start Offset,9|Physical Drives,Disk 0,Partition 2,,Partition Length,1 GB|"
       "Physical Drives,Disk 0,Partition 1,,Partition Type,NTFS|Physical Drives,Disk 0,Partition 1,,Drive,C:|"
       "Physical Drives,Disk 0,Partition 1,,Start Offset,1|Physical Drives,Disk 0,Partition 1,,Partition Length,9 GB",
       {"~physical_drives Partition 2/Disk 0 partition_type:FAT>NTFS"}},
  };
  return cases;
}

std::vector<std::string> Compare(const std::string& old_text, const std::string& new_text, bool all_columns) {
  ReportComparer comparer(0, all_columns);
  MemorySource old_source(old_text);
  MemorySource new_source(new_text);
  WalkReport(old_source, comparer.OldReport());
  WalkReport(new_source, comparer.NewReport());
  return Describe(comparer.Result());
}

TEST(CompareTest, TableOfReportPairs) {
  for (const CompareCase& c : Cases()) {
    const std::string old_text = English(c.old_report);
    const std::string new_text = English(c.new_report ? c.new_report : c.old_report);
    EXPECT_EQ(Compare(old_text, new_text, c.all_columns), c.changes) << c.name;
    // Each report compared with itself: nothing changed.
    EXPECT_EQ(Compare(new_text, new_text, c.all_columns), std::vector<std::string>()) << c.name;
  }
}

// Thousands of rows in the opposite order, one of them changed: matched by
// key all the same, once the old rows are indexed midway.
TEST(CompareTest, RowsInAnotherOrderThroughout) {
  constexpr int kPrograms = 6000;
  std::string old_body;
  std::string new_body;
  for (int i = 0; i < kPrograms; ++i) {
    const std::string version = i == 77 ? "2" : "1";
    const std::string name = std::to_string(i);
    old_body += "|Installed Programs,P" + name + ",,,Version,1|Installed Programs,P" + name + ",,,Inst. Size,1 KB";
    new_body = "|Installed Programs,p" + name + ",,,Version," + version + "|Installed Programs,p" + name +
               ",,,Inst. Size,1 KB" + new_body;
  }
  EXPECT_EQ(Compare(English(old_body.substr(1)), English(new_body.substr(1)), false),
            std::vector<std::string>{"~installed_programs p77 version:1>2"});
}

// The tables of an English and a Hungarian report share their keys; their
// property pages have titles of their own languages.
TEST(CompareTest, EnglishAgainstHungarian) {
  const std::string english = Report(
      "Report,Summary,,,Computer,PC-1|Processes,a.exe,,,Process File Name,C:\\a.exe|"
      "Processes,a.exe,,,Used Memory,1 KB|Processes,a.exe,,,Used Swap,0 KB|"
      "Licenses,Office,,,Product Key,AAA");
  const std::string hungarian = Report(
      "Jelent\xe9s,\xd6sszes\xedt\xe9s,,,Computer,PC-1|Folyamatok,A.EXE,,,Folyamat f\xe1jlneve,C:\\a.exe|"
      "Folyamatok,A.EXE,,,Felh. mem\xf3ria,7 KB|Folyamatok,A.EXE,,,Felh. lapoz\xf3\x66\xe1jl,0 KB|"
      "Licencek,Office,,,Term\xe9k kulcs,BBB");
  EXPECT_EQ(Compare(english, hungarian, false),
            (std::vector<std::string>{"-page:Report Summary//Computer", "~licenses Office product_key:AAA>BBB",
                                      "+page:Jelent\xe9s \xd6sszes\xedt\xe9s//Computer"}));
}

}  // namespace
}  // namespace rptconv
