// Tests of the section catalogue and its lookup.
//
// The catalogue is checked against a second copy of it typed here, with the
// Hungarian texts written as UTF-8 and turned into Windows-1250 bytes by a
// small letter table: a wrong escape, a letter from the wrong code page or a
// literal that swallowed the following hex digit shows up as a mismatch.
#include <gtest/gtest.h>

#include <cstddef>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "report/sections.h"

namespace rptconv {
namespace {

struct TypedEntry {
  std::string_view title_en;
  std::string_view title_hu;  // UTF-8
  int columns;
  std::string_view alignment;
  std::string_view headers_en;
  std::string_view headers_hu;  // UTF-8
};

constexpr TypedEntry kTyped[] = {
    {"Computer Name", "Számítógép név", 3, "LCL     ",
     "Type,Class,Computer Name",
     "Típus,Osztály,Számítógép név"},
    {"Processes", "Folyamatok", 4, "LLRR    ",
     "Process Name,Process File Name,Used Memory,Used Swap",
     "Folyamat neve,Folyamat fájlneve,Felh. memória,Felh. lapozófájl"},
    {"System Drivers", "Illesztőprogramok", 4, "LLLC    ",
     "Driver Name,Driver Description,Type,State",
     "Illesztőprogram neve,Illesztőprogram leírása,Típus,Állapot"},
    {"Services", "Szolgáltatások", 5, "LLLCL   ",
     "Service Name,Service Description,Type,State,Account",
     "Szolgáltatás neve,Szolgáltatás leírása,Típus,Állapot,Fiók"},
    {"DLL", "DLL", 3, "LLL     ",
     "DLL File,Version,Description",
     "DLL fájl,Verzió,Leírás"},
    {"Share", "Megosztás", 4, "LLLL    ",
     "Share Name,Type,Remark,Local Path",
     "Megosztás neve,Típus,Megjegyzés,Helyi útvonal"},
    {"Logon", "Bejelentkezve", 4, "LLLL    ",
     "User,Full Name,Logon Server,Logon Domain",
     "Felhasználó,Teljes név,Beléptető kiszolgáló,Beléptető tartomány"},
    {"PCI / AGP Video", "PCI / AGP videó", 2, "LC      ",
     "Device Description,Device Type",
     "Eszköz leírása,Eszköz típusa"},
    {"Multi-Monitor", "Multi-Monitor", 4, "LCLL    ",
     "Device ID,Primary,Upper Left Corner,Bottom Right Corner",
     "Eszköz azonosítója,Elsődleges,Bal felső sarok,Jobb alsó sarok"},
    {"Fonts", "Betűkészletek", 6, "LLLLRR  ",
     "Font Family,Type,Style,Character Set,Char. Size,Char. Weight",
     "Betűkészlet család,Típus,Stílus,Karakterkészlet,Kar. méret,Kar. súly"},
    {"Windows Audio", "Windows audió", 3, "LCL     ",
     "Device,Identifier,Device Description",
     "Eszköz,Azonosító,Eszköz leírása"},
    {"PCI / PnP Audio", "PCI / PnP audió", 2, "LC      ",
     "Device Description,Type",
     "Eszköz leírása,Típus"},
    {"VCM", "VCM", 3, "LLL     ",
     "Driver,Version,Description",
     "Illesztőprogram,Verzió,Leírás"},
    {"Logical Drives", "Logikai meghajtók", 7, "LLCCRRR ",
     "Drive,Drive Type,File System,Volume Serial,Total Size,Free Space,% Free",
     "Meghajtó,Meghajtó típusa,Fájlrendszer,Sorozatszám,Teljes méret,Szabad terület,% szabad"},
    {"Optical Drives", "Optikai meghajtók", 4, "LLLL    ",
     "Model ID,Manufacturer,Device Type,Speed",
     "Modell azonosító,Gyártó,Eszköz típusa,Sebesség"},
    {"ASPI", "ASPI", 8, "LCCLLLLL",
     "Host,ID,LUN,Device Type,Vendor,Model,Rev,Extra Information",
     "Gazda,ID,LUN,Eszköz típusa,Gyártó,Modell,Rev,Extra információ"},
    {"PCI / PnP Network", "PCI / PnP hálózat", 2, "LC      ",
     "Device Description,Type",
     "Eszköz leírása,Eszköz típusa"},
    {"Routes", "Útvonalak", 6, "LRRRCL  ",
     "Type,Net Destination,Netmask,Gateway,Metric,Interface",
     "Típus,Hálózati cél,Hálózati maszk,Átjáró,Metrika,Csatoló"},
    {"IE Cookie", "IE cookie-k", 2, "LL      ",
     "Last Access,URL",
     "Utolsó hozzáférés,URL"},
    {"IE History", "IE előzmények", 2, "LL      ",
     "Last Access,URL",
     "Utolsó hozzáférés,URL"},
    {"Netscape History", "Netscape előzmények", 2, "LL      ",
     "Last Access,URL",
     "Utolsó hozzáférés,URL"},
    {"Opera History", "Opera előzmények", 2, "LL      ",
     "Last Access,URL",
     "Utolsó hozzáférés,URL"},
    {"DirectX Files", "DirectX fájlok", 6, "LLLLRL  ",
     "Name,Version,Type,Language,Size,Date",
     "Név,Verzió,Típus,Nyelv,Méret,Dátum"},
    {"Device Resources", "Eszköz erőforrások", 3, "LLL     ",
     "Resource,Share,Device Description",
     "Erőforrás,Megosztás,Eszköz leírása"},
    {"Auto Start", "Automatikus indítás", 3, "LLL     ",
     "Application Description,Start From,Application Command",
     "Alkalmazás leírása,Indítási hely,Indítási parancs"},
    {"Installed Programs", "Telepített programok", 3, "LRR     ",
     "Program,Version,Inst. Size",
     "Program,Verzió,Telep. méret"},
    {"Licenses", "Licencek", 2, "LL      ",
     "Software,Product Key",
     "Szoftver,Termék kulcs"},
    {"Windows Update", "Windows frissítés", 3, "LLR     ",
     "Update Description,Update Type,Inst. Date",
     "Frissítés leírása,Frissítés típusa,Telep. dátuma"},
    {"Anti-Virus", "Antivírus", 4, "LRRR    ",
     "Software Description,Software Version,Virus Database Date,Known Viruses",
     "Szoftver leírása,Szoftver verzió,Vírus adatbázis dátuma,Ismert vírusok"},
    {"File Types", "Fájltípusok", 3, "LLL     ",
     "Extension,File Type Description,Content Type",
     "Kiterjesztés,Fájltípus leírása,Tartalom típusa"},
    {"Environment", "Környezet", 2, "LL      ",
     "Variable,Value",
     "Változó,Érték"},
    {"Control Panel", "Vezérlőpult", 2, "LL      ",
     "Name,Comment",
     "Név,Megjegyzés"},
    {"Recycle Bin", "Lomtár", 5, "LRRRC   ",
     "Drive,Items Size,Items Count,Space %,Recycle Bin",
     "Meghajtó,Elemek mérete,Elemek száma,Terület %,Lomtár"},
    {"System Folders", "Rendszer mappák", 2, "LL      ",
     "System Folder,Path",
     "Rendszer mappa,Útvonal"},
    {"Event Logs", "Eseménynaplók", 6, "LLLLLL  ",
     "Log Name,Event Type,Category,Generated On,User,Source",
     "Napló neve,Esemény típusa,Kategória,Esemény időpontja,Felhasználó,Forrás"},
    {"ODBC Drivers", "ODBC illesztőprogramok", 3, "LLL     ",
     "Driver Description,Driver File Name,File Extensions Supported",
     "Illesztőprogram leírása,Illesztőprogram fájlneve,Támogatott fájl kiterjesztések"},
    {"ODBC Data Sources", "ODBC adatforrások", 4, "LLLL    ",
     "Data Source Name,Data Source Description,Type,Driver File Name",
     "Adatforrás neve,Adatforrás leírása,Típus,Illesztőprogram fájlneve"},
    {"Memory Read", "Memória olvasás", 5, "LLLLR   ",
     "CPU,Motherboard,Chipset,Memory,Read Speed",
     "CPU,Alaplap,Lapkakészlet,Memória,Olvasási sebesség"},
    {"Memory Write", "Memória írás", 5, "LLLLR   ",
     "CPU,Motherboard,Chipset,Memory,Write Speed",
     "CPU,Alaplap,Lapkakészlet,Memória,Írási sebesség"},
    {"*Physical Drives", "*Fizikai meghajtók", 5, "LLLRR   ",
     "Partition,Partition Type,Drive,Start Offset,Partition Length",
     "Kötet,Kötet típusa,Meghajtó,Kezdő ofszet,Kötet hossza"},
    {"*SMART", "*SMART", 7, "LLCCCRL ",
     "ID,Attribute Description,Threshold,Value,Worst,Data,Status",
     "ID,Attribútum leírása,Küszöb,Érték,Legrosszabb,Adat,Állapot"},
};
static_assert(std::size(kTyped) == kSectionCount);

// The thirteen letters the catalogue uses, in UTF-8 and in Windows-1250.
struct Letter {
  std::string_view utf8;
  char cp1250;
};
constexpr Letter kLetters[] = {
    {"Á", '\xC1'}, {"É", '\xC9'}, {"Í", '\xCD'}, {"Ú", '\xDA'}, {"á", '\xE1'},
    {"é", '\xE9'}, {"í", '\xED'}, {"ó", '\xF3'}, {"ö", '\xF6'}, {"ő", '\xF5'},
    {"ú", '\xFA'}, {"ü", '\xFC'}, {"ű", '\xFB'},
};

bool IsAscii(char c) { return static_cast<unsigned char>(c) < 0x80; }

// UTF-8 text made of ASCII and the thirteen letters, as Windows-1250 bytes;
// nothing when it holds any other non-ASCII sequence.
std::optional<std::string> ToWindows1250(std::string_view utf8) {
  std::string out;
  while (!utf8.empty()) {
    if (IsAscii(utf8.front())) {
      out += utf8.front();
      utf8.remove_prefix(1);
      continue;
    }
    bool known = false;
    for (const Letter& letter : kLetters) {
      if (utf8.starts_with(letter.utf8)) {
        out += letter.cp1250;
        utf8.remove_prefix(letter.utf8.size());
        known = true;
        break;
      }
    }
    if (!known) return std::nullopt;
  }
  return out;
}

std::string Cp1250(std::string_view utf8) {
  std::optional<std::string> converted = ToWindows1250(utf8);
  EXPECT_TRUE(converted.has_value()) << "unexpected letter in: " << utf8;
  return converted.value_or("");
}

std::vector<std::string_view> SplitHeaders(std::string_view headers) {
  std::vector<std::string_view> names;
  for (;;) {
    std::size_t comma = headers.find(',');
    names.push_back(headers.substr(0, comma));
    if (comma == std::string_view::npos) return names;
    headers.remove_prefix(comma + 1);
  }
}

int Number(const Section& entry) {
  return static_cast<int>(&entry - kSections.data()) + 1;
}

TEST(CatalogTest, AgreesByteForByteWithTheSecondTranscription) {
  for (std::size_t i = 0; i < kSectionCount; ++i) {
    const Section& entry = kSections[i];
    const TypedEntry& typed = kTyped[i];
    SCOPED_TRACE("entry " + std::to_string(i + 1));
    EXPECT_EQ(entry.title_en, typed.title_en);
    EXPECT_EQ(entry.title_hu, Cp1250(typed.title_hu));
    EXPECT_EQ(entry.column_count, typed.columns);
    EXPECT_EQ(entry.alignment, typed.alignment);
    EXPECT_EQ(entry.headers_en, typed.headers_en);
    EXPECT_EQ(entry.headers_hu, Cp1250(typed.headers_hu));
  }
}

TEST(CatalogTest, LetterTableRejectsLookAlikes) {
  // A typo such as "ô" or "õ" for "ő" in the typed copy must not pass
  // unnoticed through the conversion.
  EXPECT_EQ(ToWindows1250("Illesztőprogram"), std::optional<std::string>("Illeszt\xF5program"));
  EXPECT_EQ(ToWindows1250("Illesztôprogram"), std::nullopt);
  EXPECT_EQ(ToWindows1250("Illesztõprogram"), std::nullopt);
  EXPECT_EQ(ToWindows1250("Betûkészletek"), std::nullopt);
}

TEST(CatalogTest, EveryEntryHasAnEightCharacterCodeAndOneHeaderPerColumn) {
  for (const Section& entry : kSections) {
    SCOPED_TRACE("entry " + std::to_string(Number(entry)));
    ASSERT_GE(entry.column_count, 2);
    ASSERT_LE(entry.column_count, 8);
    const auto columns = static_cast<std::size_t>(entry.column_count);

    ASSERT_EQ(entry.alignment.size(), 8u);
    for (std::size_t i = 0; i < 8; ++i) {
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
        EXPECT_FALSE(name.empty()) << headers;
        EXPECT_FALSE(name.starts_with(' ') || name.ends_with(' ')) << headers;
      }
    }
  }
}

TEST(CatalogTest, TitlesAreUniqueAndOnlyTheLastTwoAreStarred) {
  std::set<std::string_view> seen;
  std::vector<int> same_in_both_languages;
  for (const Section& entry : kSections) {
    const int n = Number(entry);
    SCOPED_TRACE("entry " + std::to_string(n));
    EXPECT_FALSE(entry.title_en.empty());
    EXPECT_FALSE(entry.title_hu.empty());
    EXPECT_TRUE(seen.insert(entry.title_en).second) << entry.title_en;
    if (entry.title_hu == entry.title_en) {
      same_in_both_languages.push_back(n);
    } else {
      EXPECT_TRUE(seen.insert(entry.title_hu).second) << entry.title_hu;
    }
    const bool starred = n >= 40;
    EXPECT_EQ(entry.title_en.starts_with('*'), starred);
    EXPECT_EQ(entry.title_hu.starts_with('*'), starred);
  }
  EXPECT_EQ(same_in_both_languages, (std::vector<int>{5, 9, 13, 16, 41}));
}

TEST(CatalogTest, EnglishIsAsciiAndHungarianUsesOnlyTheThirteenLetters) {
  std::set<char> letters;
  for (const Letter& letter : kLetters) letters.insert(letter.cp1250);
  for (const Section& entry : kSections) {
    SCOPED_TRACE("entry " + std::to_string(Number(entry)));
    for (std::string_view text : {entry.title_en, entry.alignment, entry.headers_en}) {
      for (char c : text) EXPECT_TRUE(IsAscii(c)) << text;
    }
    for (std::string_view text : {entry.title_hu, entry.headers_hu}) {
      for (char c : text) {
        EXPECT_TRUE(IsAscii(c) || letters.count(c) == 1) << text;
        EXPECT_NE(c, '\0') << text;
      }
    }
  }
}

enum class Lang { kNone, kEn, kHu };

struct LookupCase {
  std::string_view key;
  bool skip_english;
  int entry;  // 1-based; 0 with Lang::kNone
  Lang lang;
};

constexpr LookupCase kLookups[] = {
    // English titles count only while English titles are not skipped.
    {"Processes", false, 2, Lang::kEn},
    {"Processes", true, 0, Lang::kNone},
    // Hungarian titles are always tried.
    {"Folyamatok", false, 2, Lang::kHu},
    {"Folyamatok", true, 2, Lang::kHu},
    {"Sz\xE1m\xEDt\xF3g\xE9p n\xE9v", true, 1, Lang::kHu},
    {"Mem\xF3ria \xEDr\xE1s", false, 39, Lang::kHu},
    {"Memory Write", false, 39, Lang::kEn},
    // The five entries with one title for both languages: English wins
    // unless it is skipped.
    {"DLL", false, 5, Lang::kEn},
    {"DLL", true, 5, Lang::kHu},
    {"Multi-Monitor", false, 9, Lang::kEn},
    {"Multi-Monitor", true, 9, Lang::kHu},
    {"VCM", false, 13, Lang::kEn},
    {"VCM", true, 13, Lang::kHu},
    {"ASPI", false, 16, Lang::kEn},
    {"ASPI", true, 16, Lang::kHu},
    {"*SMART", false, 41, Lang::kEn},
    {"*SMART", true, 41, Lang::kHu},
    // Group tables: the key carries the star; a bare page title is no key.
    {"*Physical Drives", false, 40, Lang::kEn},
    {"*Physical Drives", true, 0, Lang::kNone},
    {"*Fizikai meghajt\xF3k", false, 40, Lang::kHu},
    {"*Fizikai meghajt\xF3k", true, 40, Lang::kHu},
    {"Physical Drives", false, 0, Lang::kNone},
    {"Fizikai meghajt\xF3k", true, 0, Lang::kNone},
    {"SMART", false, 0, Lang::kNone},
    {"*", false, 0, Lang::kNone},
    {"*", true, 0, Lang::kNone},
    {"**SMART", false, 0, Lang::kNone},
    {"*Processes", false, 0, Lang::kNone},
    {"*Folyamatok", true, 0, Lang::kNone},
    // Near misses: case, blanks, other code pages, trailing bytes.
    {"processes", false, 0, Lang::kNone},
    {"PROCESSES", false, 0, Lang::kNone},
    {"Processes ", false, 0, Lang::kNone},
    {" Processes", false, 0, Lang::kNone},
    {"folyamatok", true, 0, Lang::kNone},
    {"Folyamatok ", true, 0, Lang::kNone},
    {"dll", true, 0, Lang::kNone},
    {"*smart", false, 0, Lang::kNone},
    {"* SMART", false, 0, Lang::kNone},
    {"*Fizikai meghajt\xC3\xB3k", true, 0, Lang::kNone},  // UTF-8 "ó"
    {"*Fizikai meghajtok", true, 0, Lang::kNone},
    {std::string_view("DLL\0", 4), false, 0, Lang::kNone},
    {"Proces", false, 0, Lang::kNone},
    {"", false, 0, Lang::kNone},
    {"", true, 0, Lang::kNone},
};

TEST(FindSectionTest, LookupTable) {
  for (const LookupCase& c : kLookups) {
    SCOPED_TRACE(std::string(c.key) + (c.skip_english ? " (English skipped)" : ""));
    const SectionMatch match = FindSection(c.key, !c.skip_english);
    if (c.lang == Lang::kNone) {
      EXPECT_FALSE(match.section != nullptr);
      continue;
    }
    ASSERT_TRUE(match.section != nullptr);
    const Section& expected = kSections[static_cast<std::size_t>(c.entry - 1)];
    ASSERT_EQ(match.section, &expected) << "got entry " << Number(*match.section);
    // The language is visible in the headers only where they differ.
    ASSERT_NE(expected.headers_en, expected.headers_hu);
    EXPECT_EQ(match.headers, c.lang == Lang::kEn ? expected.headers_en : expected.headers_hu);
  }
}

TEST(FindSectionTest, EveryTitleFindsItsOwnEntry) {
  for (const Section& entry : kSections) {
    SCOPED_TRACE("entry " + std::to_string(Number(entry)));
    const bool shared_title = entry.title_en == entry.title_hu;
    for (bool skip : {false, true}) {
      const SectionMatch en = FindSection(entry.title_en, !skip);
      if (skip && !shared_title) {
        EXPECT_EQ(en.section, nullptr);
      } else {
        ASSERT_NE(en.section, nullptr);
        EXPECT_EQ(en.section, &entry);
        EXPECT_EQ(en.headers, skip ? entry.headers_hu : entry.headers_en);
      }

      const SectionMatch hu = FindSection(entry.title_hu, !skip);
      ASSERT_NE(hu.section, nullptr);
      EXPECT_EQ(hu.section, &entry);
      EXPECT_EQ(hu.headers, shared_title && !skip ? entry.headers_en : entry.headers_hu);
    }
  }
}

TEST(FindSectionTest, StarredPageTableTitlesMatchNothing) {
  // Group-level keys are "*" followed by the page title; of the page-table
  // entries none may answer such a key, nor may a doubly starred title.
  for (const Section& entry : kSections) {
    SCOPED_TRACE("entry " + std::to_string(Number(entry)));
    for (std::string_view title : {entry.title_en, entry.title_hu}) {
      const std::string key = "*" + std::string(title);
      EXPECT_EQ(FindSection(key, true).section, nullptr) << key;
      EXPECT_EQ(FindSection(key, false).section, nullptr) << key;
    }
  }
}

}  // namespace
}  // namespace rptconv
