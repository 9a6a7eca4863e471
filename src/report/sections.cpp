// The section catalogue. Order matters: the lookup takes the first section
// that matches.
#include "report/sections.h"

#include "report/hungarian_text.h"

namespace rptconv {

namespace {

constexpr std::string_view kGroupSectionMark = "*";

}  // namespace

const std::array<Section, kSectionCount> kSections{{
    {"Computer Name", Hu<"Számítógép név">(), 3, "LCL     ",
     "Type,Class,Computer Name",
     Hu<"Típus,Osztály,Számítógép név">()},
    {"Processes", "Folyamatok", 4, "LLRR    ",
     "Process Name,Process File Name,Used Memory,Used Swap",
     Hu<"Folyamat neve,Folyamat fájlneve,Felh. memória,Felh. lapozófájl">()},
    {"System Drivers", Hu<"Illesztőprogramok">(), 4, "LLLC    ",
     "Driver Name,Driver Description,Type,State",
     Hu<"Illesztőprogram neve,Illesztőprogram leírása,Típus,Állapot">()},
    {"Services", Hu<"Szolgáltatások">(), 5, "LLLCL   ",
     "Service Name,Service Description,Type,State,Account",
     Hu<"Szolgáltatás neve,Szolgáltatás leírása,Típus,Állapot,Fiók">()},
    {"DLL", "DLL", 3, "LLL     ",
     "DLL File,Version,Description",
     Hu<"DLL fájl,Verzió,Leírás">()},
    {"Share", Hu<"Megosztás">(), 4, "LLLL    ",
     "Share Name,Type,Remark,Local Path",
     Hu<"Megosztás neve,Típus,Megjegyzés,Helyi útvonal">()},
    {"Logon", "Bejelentkezve", 4, "LLLL    ",
     "User,Full Name,Logon Server,Logon Domain",
     Hu<"Felhasználó,Teljes név,Beléptető kiszolgáló,Beléptető tartomány">()},
    {"PCI / AGP Video", Hu<"PCI / AGP videó">(), 2, "LC      ",
     "Device Description,Device Type",
     Hu<"Eszköz leírása,Eszköz típusa">()},
    {"Multi-Monitor", "Multi-Monitor", 4, "LCLL    ",
     "Device ID,Primary,Upper Left Corner,Bottom Right Corner",
     Hu<"Eszköz azonosítója,Elsődleges,Bal felső sarok,Jobb alsó sarok">()},
    {"Fonts", Hu<"Betűkészletek">(), 6, "LLLLRR  ",
     "Font Family,Type,Style,Character Set,Char. Size,Char. Weight",
     Hu<"Betűkészlet család,Típus,Stílus,Karakterkészlet,Kar. méret,Kar. súly">()},
    {"Windows Audio", Hu<"Windows audió">(), 3, "LCL     ",
     "Device,Identifier,Device Description",
     Hu<"Eszköz,Azonosító,Eszköz leírása">()},
    {"PCI / PnP Audio", Hu<"PCI / PnP audió">(), 2, "LC      ",
     "Device Description,Type",
     Hu<"Eszköz leírása,Típus">()},
    {"VCM", "VCM", 3, "LLL     ",
     "Driver,Version,Description",
     Hu<"Illesztőprogram,Verzió,Leírás">()},
    {"Logical Drives", Hu<"Logikai meghajtók">(), 7, "LLCCRRR ",
     "Drive,Drive Type,File System,Volume Serial,Total Size,Free Space,% Free",
     Hu<"Meghajtó,Meghajtó típusa,Fájlrendszer,Sorozatszám,Teljes méret,Szabad terület,% szabad">()},
    {"Optical Drives", Hu<"Optikai meghajtók">(), 4, "LLLL    ",
     "Model ID,Manufacturer,Device Type,Speed",
     Hu<"Modell azonosító,Gyártó,Eszköz típusa,Sebesség">()},
    {"ASPI", "ASPI", 8, "LCCLLLLL",
     "Host,ID,LUN,Device Type,Vendor,Model,Rev,Extra Information",
     Hu<"Gazda,ID,LUN,Eszköz típusa,Gyártó,Modell,Rev,Extra információ">()},
    {"PCI / PnP Network", Hu<"PCI / PnP hálózat">(), 2, "LC      ",
     "Device Description,Type",
     Hu<"Eszköz leírása,Eszköz típusa">()},
    {"Routes", Hu<"Útvonalak">(), 6, "LRRRCL  ",
     "Type,Net Destination,Netmask,Gateway,Metric,Interface",
     Hu<"Típus,Hálózati cél,Hálózati maszk,Átjáró,Metrika,Csatoló">()},
    {"IE Cookie", "IE cookie-k", 2, "LL      ",
     "Last Access,URL",
     Hu<"Utolsó hozzáférés,URL">()},
    {"IE History", Hu<"IE előzmények">(), 2, "LL      ",
     "Last Access,URL",
     Hu<"Utolsó hozzáférés,URL">()},
    {"Netscape History", Hu<"Netscape előzmények">(), 2, "LL      ",
     "Last Access,URL",
     Hu<"Utolsó hozzáférés,URL">()},
    {"Opera History", Hu<"Opera előzmények">(), 2, "LL      ",
     "Last Access,URL",
     Hu<"Utolsó hozzáférés,URL">()},
    {"DirectX Files", Hu<"DirectX fájlok">(), 6, "LLLLRL  ",
     "Name,Version,Type,Language,Size,Date",
     Hu<"Név,Verzió,Típus,Nyelv,Méret,Dátum">()},
    {"Device Resources", Hu<"Eszköz erőforrások">(), 3, "LLL     ",
     "Resource,Share,Device Description",
     Hu<"Erőforrás,Megosztás,Eszköz leírása">()},
    {"Auto Start", Hu<"Automatikus indítás">(), 3, "LLL     ",
     "Application Description,Start From,Application Command",
     Hu<"Alkalmazás leírása,Indítási hely,Indítási parancs">()},
    {"Installed Programs", Hu<"Telepített programok">(), 3, "LRR     ",
     "Program,Version,Inst. Size",
     Hu<"Program,Verzió,Telep. méret">()},
    {"Licenses", "Licencek", 2, "LL      ",
     "Software,Product Key",
     Hu<"Szoftver,Termék kulcs">()},
    {"Windows Update", Hu<"Windows frissítés">(), 3, "LLR     ",
     "Update Description,Update Type,Inst. Date",
     Hu<"Frissítés leírása,Frissítés típusa,Telep. dátuma">()},
    {"Anti-Virus", Hu<"Antivírus">(), 4, "LRRR    ",
     "Software Description,Software Version,Virus Database Date,Known Viruses",
     Hu<"Szoftver leírása,Szoftver verzió,Vírus adatbázis dátuma,Ismert vírusok">()},
    {"File Types", Hu<"Fájltípusok">(), 3, "LLL     ",
     "Extension,File Type Description,Content Type",
     Hu<"Kiterjesztés,Fájltípus leírása,Tartalom típusa">()},
    {"Environment", Hu<"Környezet">(), 2, "LL      ",
     "Variable,Value",
     Hu<"Változó,Érték">()},
    {"Control Panel", Hu<"Vezérlőpult">(), 2, "LL      ",
     "Name,Comment",
     Hu<"Név,Megjegyzés">()},
    {"Recycle Bin", Hu<"Lomtár">(), 5, "LRRRC   ",
     "Drive,Items Size,Items Count,Space %,Recycle Bin",
     Hu<"Meghajtó,Elemek mérete,Elemek száma,Terület %,Lomtár">()},
    {"System Folders", Hu<"Rendszer mappák">(), 2, "LL      ",
     "System Folder,Path",
     Hu<"Rendszer mappa,Útvonal">()},
    {"Event Logs", Hu<"Eseménynaplók">(), 6, "LLLLLL  ",
     "Log Name,Event Type,Category,Generated On,User,Source",
     Hu<"Napló neve,Esemény típusa,Kategória,Esemény időpontja,Felhasználó,Forrás">()},
    {"ODBC Drivers", Hu<"ODBC illesztőprogramok">(), 3, "LLL     ",
     "Driver Description,Driver File Name,File Extensions Supported",
     Hu<"Illesztőprogram leírása,Illesztőprogram fájlneve,Támogatott fájl kiterjesztések">()},
    {"ODBC Data Sources", Hu<"ODBC adatforrások">(), 4, "LLLL    ",
     "Data Source Name,Data Source Description,Type,Driver File Name",
     Hu<"Adatforrás neve,Adatforrás leírása,Típus,Illesztőprogram fájlneve">()},
    {"Memory Read", Hu<"Memória olvasás">(), 5, "LLLLR   ",
     "CPU,Motherboard,Chipset,Memory,Read Speed",
     Hu<"CPU,Alaplap,Lapkakészlet,Memória,Olvasási sebesség">()},
    {"Memory Write", Hu<"Memória írás">(), 5, "LLLLR   ",
     "CPU,Motherboard,Chipset,Memory,Write Speed",
     Hu<"CPU,Alaplap,Lapkakészlet,Memória,Írási sebesség">()},
    {"*Physical Drives", Hu<"*Fizikai meghajtók">(), 5, "LLLRR   ",
     "Partition,Partition Type,Drive,Start Offset,Partition Length",
     Hu<"Kötet,Kötet típusa,Meghajtó,Kezdő ofszet,Kötet hossza">()},
    {"*SMART", "*SMART", 7, "LLCCCRL ",
     "ID,Attribute Description,Threshold,Value,Worst,Data,Status",
     Hu<"ID,Attribútum leírása,Küszöb,Érték,Legrosszabb,Adat,Állapot">()},
}};

namespace {

// The first section one of whose titles `matches`: the English title only
// when `english_titles`, tried before the Hungarian one within a section.
template <typename Matches>
SectionMatch FindFirst(bool english_titles, Matches matches) {
  for (const Section& section : kSections) {
    if (english_titles && matches(section.title_en)) return {&section, section.headers_en};
    if (matches(section.title_hu)) return {&section, section.headers_hu};
  }
  return {nullptr, {}};
}

}  // namespace

SectionMatch FindSection(std::string_view title, bool english_titles) {
  return FindFirst(english_titles, [title](std::string_view candidate) { return candidate == title; });
}

SectionMatch FindGroupSection(std::string_view page, bool english_titles) {
  return FindFirst(english_titles, [page](std::string_view candidate) {
    return candidate.size() == kGroupSectionMark.size() + page.size() && candidate.starts_with(kGroupSectionMark) &&
           candidate.ends_with(page);
  });
}

}  // namespace rptconv
