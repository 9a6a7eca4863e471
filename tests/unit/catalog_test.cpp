// Tests of the section catalogue and its lookup: the shape every entry must
// have, and the lookup of known titles. What the tables look like on a page
// is pinned by the golden pages.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "html/codepage.h"
#include "report/hungarian_text.h"
#include "report/sections.h"

namespace rptconv {
namespace {


int Number(const Section& entry) { return static_cast<int>(&entry - std::data(kSections)) + 1; }

std::vector<std::string_view> SplitHeaders(std::string_view headers) {
  std::vector<std::string_view> names;
  for (;;) {
    const std::size_t comma = headers.find(',');
    names.push_back(headers.substr(0, comma));
    if (comma == std::string_view::npos) return names;
    headers.remove_prefix(comma + 1);
  }
}

TEST(CatalogTest, EveryEntryHasOneCodeAndOneHeaderPerColumn) {
  for (const Section& entry : kSections) {
    SCOPED_TRACE("entry " + std::to_string(Number(entry)));
    ASSERT_GE(entry.column_count, 2);
    ASSERT_LE(entry.column_count, 8);
    const auto columns = static_cast<std::size_t>(entry.column_count);
    ASSERT_GE(entry.alignment.size(), columns);
    for (std::size_t i = 0; i < entry.alignment.size(); ++i) {
      const char c = entry.alignment[i];
      if (i < columns) {
        EXPECT_TRUE(c == 'L' || c == 'C' || c == 'R') << "position " << i + 1;
      } else {
        EXPECT_EQ(c, ' ') << "position " << i + 1;
      }
    }
    for (std::string_view headers : {entry.headers_en, entry.headers_hu}) {
      const std::vector<std::string_view> names = SplitHeaders(headers);
      EXPECT_EQ(names.size(), columns) << headers;
      for (std::string_view name : names) {
        EXPECT_FALSE(name.empty() || name.starts_with(' ') || name.ends_with(' ')) << headers;
      }
    }
    // Keys are what data files and scripts rely on: snake_case, one per
    // column, a role and a kind per column, at least one key column.
    const auto is_key = [](std::string_view key) {
      return !key.empty() && key.front() != '_' && key.back() != '_' &&
             std::all_of(key.begin(), key.end(), [](char c) { return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_'; });
    };
    EXPECT_TRUE(is_key(entry.key)) << entry.key;
    std::set<std::string_view> column_keys;
    for (std::string_view key : SplitHeaders(entry.column_keys)) {
      EXPECT_TRUE(is_key(key)) << key;
      EXPECT_TRUE(column_keys.insert(key).second) << key;
    }
    EXPECT_EQ(column_keys.size(), columns) << entry.column_keys;
    ASSERT_EQ(entry.column_roles.size(), columns);
    ASSERT_EQ(entry.column_kinds.size(), columns);
    EXPECT_NE(entry.column_roles.find(kKeyColumn), std::string_view::npos);
    EXPECT_EQ(entry.column_roles.find_first_not_of("K-V"), std::string_view::npos) << entry.column_roles;
    EXPECT_EQ(entry.column_kinds.find_first_not_of("TSNPD"), std::string_view::npos) << entry.column_kinds;
  }
}

TEST(CatalogTest, TitlesAreUniqueAndOnlyTheLastTwoAreStarred) {
  // Unique titles make the order of the entries matter only for the group
  // tables, whose starred titles come last.
  std::set<std::string_view> seen;
  std::set<std::string_view> keys;
  for (const Section& entry : kSections) {
    SCOPED_TRACE("entry " + std::to_string(Number(entry)));
    EXPECT_TRUE(keys.insert(entry.key).second) << entry.key;
    EXPECT_FALSE(entry.title_en.empty());
    EXPECT_TRUE(seen.insert(entry.title_en).second) << entry.title_en;
    if (entry.title_hu != entry.title_en) {
      EXPECT_TRUE(seen.insert(entry.title_hu).second) << entry.title_hu;
    }
    const bool starred = Number(entry) >= 40;
    EXPECT_EQ(entry.title_en.starts_with('*'), starred);
    EXPECT_EQ(entry.title_hu.starts_with('*'), starred);
  }
}

TEST(CatalogTest, EnglishIsAsciiAndHungarianUsesOnlyItsThirteenLetters) {
  // Windows-1250 bytes of the letters the Hungarian texts use; a mistyped
  // escape gives some other byte.
  const std::set<unsigned char> letters = {0xC1, 0xC9, 0xCD, 0xDA, 0xE1, 0xE9, 0xED,
                                           0xF3, 0xF6, 0xF5, 0xFA, 0xFC, 0xFB};
  for (const Section& entry : kSections) {
    SCOPED_TRACE("entry " + std::to_string(Number(entry)));
    for (const bool hungarian : {false, true}) {
      for (std::string_view text : {hungarian ? entry.title_hu : entry.title_en,
                                    hungarian ? entry.headers_hu : entry.headers_en}) {
        for (const char c : text) {
          const auto byte = static_cast<unsigned char>(c);
          EXPECT_TRUE(byte >= 0x20 && (byte < 0x7F || (hungarian && letters.count(byte) == 1))) << text;
        }
      }
    }
  }
}

// The catalogue's Hungarian texts are written in UTF-8 and stored as
// Windows-1250 bytes: every letter's byte turns back into the same letter
// through the code page table made from iconv.
TEST(CatalogTest, HungarianLettersAreTheirWindows1250Bytes) {
  static_assert(Hu<"Számítógép név">() == "Sz\xE1m\xEDt\xF3g\xE9p n\xE9v");
  const CodepageTable& cp1250 = *FindCodepage(kCodepageCentralEuropean);
  for (const HungarianLetter& letter : kHungarianLetters) {
    const char32_t c = letter.code_point;
    const std::string utf8 = {static_cast<char>(0xC0 | (c >> 6)), static_cast<char>(0x80 | (c & 0x3F))};
    EXPECT_EQ(cp1250[letter.cp1250].View(), utf8) << "U+" << std::hex << static_cast<unsigned>(c);
  }
}

enum class Lang { kNone, kEn, kHu };

struct LookupCase {
  std::string_view key;
  bool skip_english;
  std::string_view entry;  // the English title of the entry found
  Lang lang;
};

constexpr LookupCase kLookups[] = {
    // English titles count only while English titles are not skipped;
    // Hungarian titles always.
    {"Processes", false, "Processes", Lang::kEn},
    {"Processes", true, "", Lang::kNone},
    {"Folyamatok", false, "Processes", Lang::kHu},
    {"Folyamatok", true, "Processes", Lang::kHu},
    {"Sz\xE1m\xEDt\xF3g\xE9p n\xE9v", true, "Computer Name", Lang::kHu},
    // One title for both languages: English wins unless it is skipped.
    {"DLL", false, "DLL", Lang::kEn},
    {"DLL", true, "DLL", Lang::kHu},
    {"*SMART", false, "*SMART", Lang::kEn},
    {"*SMART", true, "*SMART", Lang::kHu},
    // Group tables: the key carries the star; a bare page title is no key.
    {"*Physical Drives", false, "*Physical Drives", Lang::kEn},
    {"*Physical Drives", true, "", Lang::kNone},
    {"*Fizikai meghajt\xF3k", true, "*Physical Drives", Lang::kHu},
    {"Physical Drives", false, "", Lang::kNone},
    {"SMART", false, "", Lang::kNone},
    {"*", false, "", Lang::kNone},
    {"**SMART", false, "", Lang::kNone},
    // Near misses: case, blanks, another code page, trailing bytes.
    {"processes", false, "", Lang::kNone},
    {"Processes ", false, "", Lang::kNone},
    {" Processes", false, "", Lang::kNone},
    {"dll", true, "", Lang::kNone},
    {"*Fizikai meghajt\xC3\xB3k", true, "", Lang::kNone},  // UTF-8 "ó"
    {std::string_view("DLL\0", 4), false, "", Lang::kNone},
    {"Proces", false, "", Lang::kNone},
    {"", false, "", Lang::kNone},
};

TEST(FindSectionTest, KnownTitles) {
  for (const LookupCase& c : kLookups) {
    SCOPED_TRACE(std::string(c.key) + (c.skip_english ? " (English skipped)" : ""));
    const SectionMatch match = FindSection(c.key, !c.skip_english);
    if (c.lang == Lang::kNone) {
      EXPECT_EQ(match.section, nullptr);
      continue;
    }
    ASSERT_NE(match.section, nullptr);
    EXPECT_EQ(match.section->title_en, c.entry);
    EXPECT_EQ(match.headers, c.lang == Lang::kEn ? match.section->headers_en : match.section->headers_hu);
  }
}

TEST(FindSectionTest, EveryTitleFindsItsOwnEntry) {
  // A starred title is found by its page title as a group table's section.
  const auto find = [](std::string_view title, bool english) {
    return title.starts_with('*') ? FindGroupSection(title.substr(1), english) : FindSection(title, english);
  };
  for (const Section& entry : kSections) {
    SCOPED_TRACE("entry " + std::to_string(Number(entry)));
    const bool shared_title = entry.title_en == entry.title_hu;
    for (bool skip : {false, true}) {
      const SectionMatch en = find(entry.title_en, !skip);
      if (skip && !shared_title) {
        EXPECT_EQ(en.section, nullptr);
      } else {
        ASSERT_EQ(en.section, &entry);
        EXPECT_EQ(en.headers, skip ? entry.headers_hu : entry.headers_en);
      }
      const SectionMatch hu = find(entry.title_hu, !skip);
      ASSERT_EQ(hu.section, &entry);
      EXPECT_EQ(hu.headers, shared_title && !skip ? entry.headers_en : entry.headers_hu);
    }
  }
}

TEST(FindSectionTest, PageTableTitlesAreNoGroupTables) {
  // No page-table entry answers the groups of its page, nor does a group
  // table answer a starred page title.
  for (const Section& entry : kSections) {
    SCOPED_TRACE("entry " + std::to_string(Number(entry)));
    for (std::string_view title : {entry.title_en, entry.title_hu}) {
      for (bool english : {false, true}) {
        EXPECT_EQ(FindGroupSection(title, english).section, nullptr) << title;
        EXPECT_EQ(FindSection("*" + std::string(title), english).section, nullptr) << title;
      }
    }
  }
}

}  // namespace
}  // namespace rptconv
