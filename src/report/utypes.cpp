// The section catalogue and its lookup. Every Hungarian letter is a
// Windows-1250 byte written as a hex escape; where an escape is followed by a
// character that is a hex digit, the literal is split so that the escape ends
// after its two digits ("Sz\xE1" "m..." is not "Sz\xE1m...").
#include "report/utypes.h"

namespace rptconv {

// Order matters: the lookup takes the first entry that matches. Alignment
// codes are eight characters, trailing blanks included.
const std::array<tablazatrec, kCatalogSize> TableCatalog{{
    // 1
    {"Computer Name", "Sz\xE1m\xEDt\xF3g\xE9p n\xE9v", 3, "LCL     ",
     "Type,Class,Computer Name",
     "T\xEDpus,Oszt\xE1ly,Sz\xE1m\xEDt\xF3g\xE9p n\xE9v"},
    // 2
    {"Processes", "Folyamatok", 4, "LLRR    ",
     "Process Name,Process File Name,Used Memory,Used Swap",
     "Folyamat neve,Folyamat f\xE1jlneve,Felh. mem\xF3ria,Felh. lapoz\xF3" "f\xE1jl"},
    // 3
    {"System Drivers", "Illeszt\xF5programok", 4, "LLLC    ",
     "Driver Name,Driver Description,Type,State",
     "Illeszt\xF5program neve,Illeszt\xF5program le\xEDr\xE1sa,T\xEDpus,\xC1llapot"},
    // 4
    {"Services", "Szolg\xE1ltat\xE1sok", 5, "LLLCL   ",
     "Service Name,Service Description,Type,State,Account",
     "Szolg\xE1ltat\xE1s neve,Szolg\xE1ltat\xE1s le\xEDr\xE1sa,T\xEDpus,\xC1llapot,Fi\xF3k"},
    // 5
    {"DLL", "DLL", 3, "LLL     ",
     "DLL File,Version,Description",
     "DLL f\xE1jl,Verzi\xF3,Le\xEDr\xE1s"},
    // 6
    {"Share", "Megoszt\xE1s", 4, "LLLL    ",
     "Share Name,Type,Remark,Local Path",
     "Megoszt\xE1s neve,T\xEDpus,Megjegyz\xE9s,Helyi \xFAtvonal"},
    // 7
    {"Logon", "Bejelentkezve", 4, "LLLL    ",
     "User,Full Name,Logon Server,Logon Domain",
     "Felhaszn\xE1l\xF3,Teljes n\xE9v,"
     "Bel\xE9ptet\xF5 kiszolg\xE1l\xF3,Bel\xE9ptet\xF5 tartom\xE1ny"},
    // 8
    {"PCI / AGP Video", "PCI / AGP vide\xF3", 2, "LC      ",
     "Device Description,Device Type",
     "Eszk\xF6z le\xEDr\xE1sa,Eszk\xF6z t\xEDpusa"},
    // 9
    {"Multi-Monitor", "Multi-Monitor", 4, "LCLL    ",
     "Device ID,Primary,Upper Left Corner,Bottom Right Corner",
     "Eszk\xF6z azonos\xEDt\xF3ja,Els\xF5" "dleges,Bal fels\xF5 sarok,Jobb als\xF3 sarok"},
    // 10
    {"Fonts", "Bet\xFBk\xE9szletek", 6, "LLLLRR  ",
     "Font Family,Type,Style,Character Set,Char. Size,Char. Weight",
     "Bet\xFBk\xE9szlet csal\xE1" "d,T\xEDpus,St\xEDlus,"
     "Karakterk\xE9szlet,Kar. m\xE9ret,Kar. s\xFAly"},
    // 11
    {"Windows Audio", "Windows audi\xF3", 3, "LCL     ",
     "Device,Identifier,Device Description",
     "Eszk\xF6z,Azonos\xEDt\xF3,Eszk\xF6z le\xEDr\xE1sa"},
    // 12
    {"PCI / PnP Audio", "PCI / PnP audi\xF3", 2, "LC      ",
     "Device Description,Type",
     "Eszk\xF6z le\xEDr\xE1sa,T\xEDpus"},
    // 13
    {"VCM", "VCM", 3, "LLL     ",
     "Driver,Version,Description",
     "Illeszt\xF5program,Verzi\xF3,Le\xEDr\xE1s"},
    // 14
    {"Logical Drives", "Logikai meghajt\xF3k", 7, "LLCCRRR ",
     "Drive,Drive Type,File System,Volume Serial,Total Size,Free Space,% Free",
     "Meghajt\xF3,Meghajt\xF3 t\xEDpusa,F\xE1jlrendszer,"
     "Sorozatsz\xE1m,Teljes m\xE9ret,Szabad ter\xFClet,% szabad"},
    // 15
    {"Optical Drives", "Optikai meghajt\xF3k", 4, "LLLL    ",
     "Model ID,Manufacturer,Device Type,Speed",
     "Modell azonos\xEDt\xF3,Gy\xE1rt\xF3,Eszk\xF6z t\xEDpusa,Sebess\xE9g"},
    // 16
    {"ASPI", "ASPI", 8, "LCCLLLLL",
     "Host,ID,LUN,Device Type,Vendor,Model,Rev,Extra Information",
     "Gazda,ID,LUN,Eszk\xF6z t\xEDpusa,Gy\xE1rt\xF3,Modell,Rev,Extra inform\xE1" "ci\xF3"},
    // 17
    {"PCI / PnP Network", "PCI / PnP h\xE1l\xF3zat", 2, "LC      ",
     "Device Description,Type",
     "Eszk\xF6z le\xEDr\xE1sa,Eszk\xF6z t\xEDpusa"},
    // 18
    {"Routes", "\xDAtvonalak", 6, "LRRRCL  ",
     "Type,Net Destination,Netmask,Gateway,Metric,Interface",
     "T\xEDpus,H\xE1l\xF3zati c\xE9l,H\xE1l\xF3zati maszk,\xC1tj\xE1r\xF3,Metrika,Csatol\xF3"},
    // 19
    {"IE Cookie", "IE cookie-k", 2, "LL      ",
     "Last Access,URL",
     "Utols\xF3 hozz\xE1" "f\xE9r\xE9s,URL"},
    // 20
    {"IE History", "IE el\xF5zm\xE9nyek", 2, "LL      ",
     "Last Access,URL",
     "Utols\xF3 hozz\xE1" "f\xE9r\xE9s,URL"},
    // 21
    {"Netscape History", "Netscape el\xF5zm\xE9nyek", 2, "LL      ",
     "Last Access,URL",
     "Utols\xF3 hozz\xE1" "f\xE9r\xE9s,URL"},
    // 22
    {"Opera History", "Opera el\xF5zm\xE9nyek", 2, "LL      ",
     "Last Access,URL",
     "Utols\xF3 hozz\xE1" "f\xE9r\xE9s,URL"},
    // 23
    {"DirectX Files", "DirectX f\xE1jlok", 6, "LLLLRL  ",
     "Name,Version,Type,Language,Size,Date",
     "N\xE9v,Verzi\xF3,T\xEDpus,Nyelv,M\xE9ret,D\xE1tum"},
    // 24
    {"Device Resources", "Eszk\xF6z er\xF5" "forr\xE1sok", 3, "LLL     ",
     "Resource,Share,Device Description",
     "Er\xF5" "forr\xE1s,Megoszt\xE1s,Eszk\xF6z le\xEDr\xE1sa"},
    // 25
    {"Auto Start", "Automatikus ind\xEDt\xE1s", 3, "LLL     ",
     "Application Description,Start From,Application Command",
     "Alkalmaz\xE1s le\xEDr\xE1sa,Ind\xEDt\xE1si hely,Ind\xEDt\xE1si parancs"},
    // 26
    {"Installed Programs", "Telep\xEDtett programok", 3, "LRR     ",
     "Program,Version,Inst. Size",
     "Program,Verzi\xF3,Telep. m\xE9ret"},
    // 27
    {"Licenses", "Licencek", 2, "LL      ",
     "Software,Product Key",
     "Szoftver,Term\xE9k kulcs"},
    // 28
    {"Windows Update", "Windows friss\xEDt\xE9s", 3, "LLR     ",
     "Update Description,Update Type,Inst. Date",
     "Friss\xEDt\xE9s le\xEDr\xE1sa,Friss\xEDt\xE9s t\xEDpusa,Telep. d\xE1tuma"},
    // 29
    {"Anti-Virus", "Antiv\xEDrus", 4, "LRRR    ",
     "Software Description,Software Version,Virus Database Date,Known Viruses",
     "Szoftver le\xEDr\xE1sa,Szoftver verzi\xF3,V\xEDrus adatb\xE1zis d\xE1tuma,Ismert v\xEDrusok"},
    // 30
    {"File Types", "F\xE1jlt\xEDpusok", 3, "LLL     ",
     "Extension,File Type Description,Content Type",
     "Kiterjeszt\xE9s,F\xE1jlt\xEDpus le\xEDr\xE1sa,Tartalom t\xEDpusa"},
    // 31
    {"Environment", "K\xF6rnyezet", 2, "LL      ",
     "Variable,Value",
     "V\xE1ltoz\xF3,\xC9rt\xE9k"},
    // 32
    {"Control Panel", "Vez\xE9rl\xF5pult", 2, "LL      ",
     "Name,Comment",
     "N\xE9v,Megjegyz\xE9s"},
    // 33
    {"Recycle Bin", "Lomt\xE1r", 5, "LRRRC   ",
     "Drive,Items Size,Items Count,Space %,Recycle Bin",
     "Meghajt\xF3,Elemek m\xE9rete,Elemek sz\xE1ma,Ter\xFClet %,Lomt\xE1r"},
    // 34
    {"System Folders", "Rendszer mapp\xE1k", 2, "LL      ",
     "System Folder,Path",
     "Rendszer mappa,\xDAtvonal"},
    // 35
    {"Event Logs", "Esem\xE9nynapl\xF3k", 6, "LLLLLL  ",
     "Log Name,Event Type,Category,Generated On,User,Source",
     "Napl\xF3 neve,Esem\xE9ny t\xEDpusa,Kateg\xF3ria,"
     "Esem\xE9ny id\xF5pontja,Felhaszn\xE1l\xF3,Forr\xE1s"},
    // 36
    {"ODBC Drivers", "ODBC illeszt\xF5programok", 3, "LLL     ",
     "Driver Description,Driver File Name,File Extensions Supported",
     "Illeszt\xF5program le\xEDr\xE1sa,Illeszt\xF5program f\xE1jlneve,"
     "T\xE1mogatott f\xE1jl kiterjeszt\xE9sek"},
    // 37
    {"ODBC Data Sources", "ODBC adatforr\xE1sok", 4, "LLLL    ",
     "Data Source Name,Data Source Description,Type,Driver File Name",
     "Adatforr\xE1s neve,Adatforr\xE1s le\xEDr\xE1sa,T\xEDpus,Illeszt\xF5program f\xE1jlneve"},
    // 38
    {"Memory Read", "Mem\xF3ria olvas\xE1s", 5, "LLLLR   ",
     "CPU,Motherboard,Chipset,Memory,Read Speed",
     "CPU,Alaplap,Lapkak\xE9szlet,Mem\xF3ria,Olvas\xE1si sebess\xE9g"},
    // 39
    {"Memory Write", "Mem\xF3ria \xEDr\xE1s", 5, "LLLLR   ",
     "CPU,Motherboard,Chipset,Memory,Write Speed",
     "CPU,Alaplap,Lapkak\xE9szlet,Mem\xF3ria,\xCDr\xE1si sebess\xE9g"},
    // 40
    {"*Physical Drives", "*Fizikai meghajt\xF3k", 5, "LLLRR   ",
     "Partition,Partition Type,Drive,Start Offset,Partition Length",
     "K\xF6tet,K\xF6tet t\xEDpusa,Meghajt\xF3,Kezd\xF5 ofszet,K\xF6tet hossza"},
    // 41
    {"*SMART", "*SMART", 7, "LLCCCRL ",
     "ID,Attribute Description,Threshold,Value,Worst,Data,Status",
     "ID,Attrib\xFAtum le\xEDr\xE1sa,K\xFCsz\xF6" "b,\xC9rt\xE9k,Legrosszabb,Adat,\xC1llapot"},
}};

std::optional<SectionMatch> FindSection(std::string_view key, bool skip_english_titles) {
  for (const tablazatrec& entry : TableCatalog) {
    if (!skip_english_titles && key == entry.TitleEn) {
      return SectionMatch{&entry, entry.HeadersEn};
    }
    if (key == entry.TitleHu) {
      return SectionMatch{&entry, entry.HeadersHu};
    }
  }
  return std::nullopt;
}

}  // namespace rptconv
