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
     Hu<"Típus,Osztály,Számítógép név">(),
     "computer_names", "type,class,computer_name", "K--", "TTT"},
    {"Processes", "Folyamatok", 4, "LLRR    ",
     "Process Name,Process File Name,Used Memory,Used Swap",
     Hu<"Folyamat neve,Folyamat fájlneve,Felh. memória,Felh. lapozófájl">(),
     "processes", "process_name,process_file_name,used_memory,used_swap", "K-VV", "TTSS"},
    {"System Drivers", Hu<"Illesztőprogramok">(), 4, "LLLC    ",
     "Driver Name,Driver Description,Type,State",
     Hu<"Illesztőprogram neve,Illesztőprogram leírása,Típus,Állapot">(),
     "system_drivers", "driver_name,driver_description,type,state", "K---", "TTTT"},
    {"Services", Hu<"Szolgáltatások">(), 5, "LLLCL   ",
     "Service Name,Service Description,Type,State,Account",
     Hu<"Szolgáltatás neve,Szolgáltatás leírása,Típus,Állapot,Fiók">(),
     "services", "service_name,service_description,type,state,account", "K----", "TTTTT"},
    {"DLL", "DLL", 3, "LLL     ",
     "DLL File,Version,Description",
     Hu<"DLL fájl,Verzió,Leírás">(),
     "dlls", "dll_file,version,description", "K--", "TTT"},
    {"Share", Hu<"Megosztás">(), 4, "LLLL    ",
     "Share Name,Type,Remark,Local Path",
     Hu<"Megosztás neve,Típus,Megjegyzés,Helyi útvonal">(),
     "shares", "share_name,type,remark,local_path", "K---", "TTTT"},
    {"Logon", "Bejelentkezve", 4, "LLLL    ",
     "User,Full Name,Logon Server,Logon Domain",
     Hu<"Felhasználó,Teljes név,Beléptető kiszolgáló,Beléptető tartomány">(),
     "logons", "user,full_name,logon_server,logon_domain", "K---", "TTTT"},
    {"PCI / AGP Video", Hu<"PCI / AGP videó">(), 2, "LC      ",
     "Device Description,Device Type",
     Hu<"Eszköz leírása,Eszköz típusa">(),
     "pci_agp_video", "device_description,device_type", "K-", "TT"},
    {"Multi-Monitor", "Multi-Monitor", 4, "LCLL    ",
     "Device ID,Primary,Upper Left Corner,Bottom Right Corner",
     Hu<"Eszköz azonosítója,Elsődleges,Bal felső sarok,Jobb alsó sarok">(),
     "monitors", "device_id,primary,upper_left_corner,bottom_right_corner", "K---", "TTTT"},
    {"Fonts", Hu<"Betűkészletek">(), 6, "LLLLRR  ",
     "Font Family,Type,Style,Character Set,Char. Size,Char. Weight",
     Hu<"Betűkészlet család,Típus,Stílus,Karakterkészlet,Kar. méret,Kar. súly">(),
     "fonts", "font_family,type,style,character_set,char_size,char_weight", "K-KK--", "TTTTTN"},
    {"Windows Audio", Hu<"Windows audió">(), 3, "LCL     ",
     "Device,Identifier,Device Description",
     Hu<"Eszköz,Azonosító,Eszköz leírása">(),
     "windows_audio", "device,identifier,device_description", "K--", "TTT"},
    {"PCI / PnP Audio", Hu<"PCI / PnP audió">(), 2, "LC      ",
     "Device Description,Type",
     Hu<"Eszköz leírása,Típus">(),
     "pci_pnp_audio", "device_description,type", "K-", "TT"},
    {"VCM", "VCM", 3, "LLL     ",
     "Driver,Version,Description",
     Hu<"Illesztőprogram,Verzió,Leírás">(),
     "vcm_drivers", "driver,version,description", "K--", "TTT"},
    {"Logical Drives", Hu<"Logikai meghajtók">(), 7, "LLCCRRR ",
     "Drive,Drive Type,File System,Volume Serial,Total Size,Free Space,% Free",
     Hu<"Meghajtó,Meghajtó típusa,Fájlrendszer,Sorozatszám,Teljes méret,Szabad terület,% szabad">(),
     "logical_drives", "drive,drive_type,file_system,volume_serial,total_size,free_space,percent_free", "K------", "TTTTSSP"},
    {"Optical Drives", Hu<"Optikai meghajtók">(), 4, "LLLL    ",
     "Model ID,Manufacturer,Device Type,Speed",
     Hu<"Modell azonosító,Gyártó,Eszköz típusa,Sebesség">(),
     "optical_drives", "model_id,manufacturer,device_type,speed", "K---", "TTTT"},
    {"ASPI", "ASPI", 8, "LCCLLLLL",
     "Host,ID,LUN,Device Type,Vendor,Model,Rev,Extra Information",
     Hu<"Gazda,ID,LUN,Eszköz típusa,Gyártó,Modell,Rev,Extra információ">(),
     "aspi_devices", "host,id,lun,device_type,vendor,model,revision,extra_information", "KKK-----", "TTTTTTTT"},
    {"PCI / PnP Network", Hu<"PCI / PnP hálózat">(), 2, "LC      ",
     "Device Description,Type",
     Hu<"Eszköz leírása,Eszköz típusa">(),
     "pci_pnp_network", "device_description,type", "K-", "TT"},
    {"Routes", Hu<"Útvonalak">(), 6, "LRRRCL  ",
     "Type,Net Destination,Netmask,Gateway,Metric,Interface",
     Hu<"Típus,Hálózati cél,Hálózati maszk,Átjáró,Metrika,Csatoló">(),
     "routes", "type,net_destination,netmask,gateway,metric,interface", "-KKK-K", "TTTTNT"},
    {"IE Cookie", "IE cookie-k", 2, "LL      ",
     "Last Access,URL",
     Hu<"Utolsó hozzáférés,URL">(),
     "ie_cookies", "last_access,url", "VK", "DT"},
    {"IE History", Hu<"IE előzmények">(), 2, "LL      ",
     "Last Access,URL",
     Hu<"Utolsó hozzáférés,URL">(),
     "ie_history", "last_access,url", "VK", "DT"},
    {"Netscape History", Hu<"Netscape előzmények">(), 2, "LL      ",
     "Last Access,URL",
     Hu<"Utolsó hozzáférés,URL">(),
     "netscape_history", "last_access,url", "VK", "DT"},
    {"Opera History", Hu<"Opera előzmények">(), 2, "LL      ",
     "Last Access,URL",
     Hu<"Utolsó hozzáférés,URL">(),
     "opera_history", "last_access,url", "VK", "DT"},
    {"DirectX Files", Hu<"DirectX fájlok">(), 6, "LLLLRL  ",
     "Name,Version,Type,Language,Size,Date",
     Hu<"Név,Verzió,Típus,Nyelv,Méret,Dátum">(),
     "directx_files", "name,version,type,language,size,date", "K-----", "TTTTSD"},
    {"Device Resources", Hu<"Eszköz erőforrások">(), 3, "LLL     ",
     "Resource,Share,Device Description",
     Hu<"Erőforrás,Megosztás,Eszköz leírása">(),
     "device_resources", "resource,share,device_description", "K-K", "TTT"},
    {"Auto Start", Hu<"Automatikus indítás">(), 3, "LLL     ",
     "Application Description,Start From,Application Command",
     Hu<"Alkalmazás leírása,Indítási hely,Indítási parancs">(),
     "auto_start", "application_description,start_from,application_command", "KK-", "TTT"},
    {"Installed Programs", Hu<"Telepített programok">(), 3, "LRR     ",
     "Program,Version,Inst. Size",
     Hu<"Program,Verzió,Telep. méret">(),
     "installed_programs", "program,version,installed_size", "K--", "TTS"},
    {"Licenses", "Licencek", 2, "LL      ",
     "Software,Product Key",
     Hu<"Szoftver,Termék kulcs">(),
     "licenses", "software,product_key", "K-", "TT"},
    {"Windows Update", Hu<"Windows frissítés">(), 3, "LLR     ",
     "Update Description,Update Type,Inst. Date",
     Hu<"Frissítés leírása,Frissítés típusa,Telep. dátuma">(),
     "windows_updates", "update_description,update_type,installed_date", "K--", "TTD"},
    {"Anti-Virus", Hu<"Antivírus">(), 4, "LRRR    ",
     "Software Description,Software Version,Virus Database Date,Known Viruses",
     Hu<"Szoftver leírása,Szoftver verzió,Vírus adatbázis dátuma,Ismert vírusok">(),
     "antivirus", "software_description,software_version,virus_database_date,known_viruses", "K---", "TTDN"},
    {"File Types", Hu<"Fájltípusok">(), 3, "LLL     ",
     "Extension,File Type Description,Content Type",
     Hu<"Kiterjesztés,Fájltípus leírása,Tartalom típusa">(),
     "file_types", "extension,file_type_description,content_type", "K--", "TTT"},
    {"Environment", Hu<"Környezet">(), 2, "LL      ",
     "Variable,Value",
     Hu<"Változó,Érték">(),
     "environment", "variable,value", "K-", "TT"},
    {"Control Panel", Hu<"Vezérlőpult">(), 2, "LL      ",
     "Name,Comment",
     Hu<"Név,Megjegyzés">(),
     "control_panel", "name,comment", "K-", "TT"},
    {"Recycle Bin", Hu<"Lomtár">(), 5, "LRRRC   ",
     "Drive,Items Size,Items Count,Space %,Recycle Bin",
     Hu<"Meghajtó,Elemek mérete,Elemek száma,Terület %,Lomtár">(),
     "recycle_bin", "drive,items_size,items_count,space_percent,recycle_bin", "K----", "TSNPT"},
    {"System Folders", Hu<"Rendszer mappák">(), 2, "LL      ",
     "System Folder,Path",
     Hu<"Rendszer mappa,Útvonal">(),
     "system_folders", "system_folder,path", "K-", "TT"},
    {"Event Logs", Hu<"Eseménynaplók">(), 6, "LLLLLL  ",
     "Log Name,Event Type,Category,Generated On,User,Source",
     Hu<"Napló neve,Esemény típusa,Kategória,Esemény időpontja,Felhasználó,Forrás">(),
     "event_logs", "log_name,event_type,category,generated_on,user,source", "KKKKKK", "TTTDTT"},
    {"ODBC Drivers", Hu<"ODBC illesztőprogramok">(), 3, "LLL     ",
     "Driver Description,Driver File Name,File Extensions Supported",
     Hu<"Illesztőprogram leírása,Illesztőprogram fájlneve,Támogatott fájl kiterjesztések">(),
     "odbc_drivers", "driver_description,driver_file_name,file_extensions_supported", "K--", "TTT"},
    {"ODBC Data Sources", Hu<"ODBC adatforrások">(), 4, "LLLL    ",
     "Data Source Name,Data Source Description,Type,Driver File Name",
     Hu<"Adatforrás neve,Adatforrás leírása,Típus,Illesztőprogram fájlneve">(),
     "odbc_data_sources", "data_source_name,data_source_description,type,driver_file_name", "K---", "TTTT"},
    {"Memory Read", Hu<"Memória olvasás">(), 5, "LLLLR   ",
     "CPU,Motherboard,Chipset,Memory,Read Speed",
     Hu<"CPU,Alaplap,Lapkakészlet,Memória,Olvasási sebesség">(),
     "memory_read", "cpu,motherboard,chipset,memory,read_speed", "K---V", "TTTTT"},
    {"Memory Write", Hu<"Memória írás">(), 5, "LLLLR   ",
     "CPU,Motherboard,Chipset,Memory,Write Speed",
     Hu<"CPU,Alaplap,Lapkakészlet,Memória,Írási sebesség">(),
     "memory_write", "cpu,motherboard,chipset,memory,write_speed", "K---V", "TTTTT"},
    {"*Physical Drives", Hu<"*Fizikai meghajtók">(), 5, "LLLRR   ",
     "Partition,Partition Type,Drive,Start Offset,Partition Length",
     Hu<"Kötet,Kötet típusa,Meghajtó,Kezdő ofszet,Kötet hossza">(),
     "physical_drives", "partition,partition_type,drive,start_offset,partition_length", "K----", "TTTSS"},
    {"*SMART", "*SMART", 7, "LLCCCRL ",
     "ID,Attribute Description,Threshold,Value,Worst,Data,Status",
     Hu<"ID,Attribútum leírása,Küszöb,Érték,Legrosszabb,Adat,Állapot">(),
     "smart", "id,attribute_description,threshold,value,worst,data,status", "K----V-", "NTNNNNT"},
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

bool IsComputerNameLabel(std::string_view label) {
  return label == "Computer Name" || label == Hu<"Számítógép név">();
}

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
