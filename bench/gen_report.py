#!/usr/bin/env python3
"""Write a large, realistic English report for benchmarking rptconv.

    gen_report.py SIZE_MB OUT [PROFILE]

SIZE_MB is in MiB (2**20 bytes); the file ends up a little larger than that,
since only whole blocks are written. The output is deterministic: the same
SIZE_MB always gives the same bytes, and a smaller report is a prefix of a
larger one from line 1 to the end of its last block.

Layout: line 1 is the header line, then one "Report" page with the summary
properties (line 6 holds the computer name, which becomes the page title),
then blocks of one machine snapshot each, repeated until the size is reached:
property pages with groups and items, catalogued sections written as column
tables (one record line per table row, then one continuation line per further
column), a "Physical Drives" and a "SMART" page with group tables, and a short
"PCI Dump" page. Every line ends with CR LF and is shorter than 200 bytes.

PROFILE "short" (the default is "long") writes short lines instead, like the
DLL, process and font lists of a busy machine: catalogued tables with short
cells take most of each block, the average line is under 40 bytes, and the
property pages are few.

PROFILE "cells" writes cells of 16 to 64 bytes, as in a report of a
workstation with many programs: file paths, descriptions and version numbers
in catalogued tables (DLL, Services, System Drivers, Processes) on most
lines, and 1% of the cells with a byte to escape.

    gen_report.py --fleet COUNT DIR [PROGRAMS [HUNGARIAN_PERCENT]]

writes a fleet instead: COUNT small reports fleet-00001.csv ... into DIR, one
computer each, with realistic installed programs (PROGRAMS each, default 300,
drawn by popularity from a catalogue of about 2,000, each with a few versions
of uneven shares, now and then spelled in another case or with blanks
around), logical drives, antivirus databases of various ages (a few machines
have none), event logs with some errors and SMART attributes, a few not OK.
HUNGARIAN_PERCENT of them (default 20) are Hungarian reports in Windows-1250.
The same arguments always give the same bytes.

    gen_report.py --edits N SRC DST

writes DST, a copy of the report SRC with N scattered edits, and prints the
changes a comparison of SRC with DST must list, one per line: "changed",
"removed" or "added", the section, and the row's key. A quarter of the edits
change the value of a property; the rest, in turn, change the version of an
installed program, remove one, or add a new one after it. The edits are
spread evenly over the report, and each makes exactly one change.

Only a pool of distinct blocks is generated (up to POOL_BYTES); a larger
report repeats the pool's blocks in turn, so writing 1 GiB costs little more
than the disk's time.
"""

import datetime
import os
import sys

MIB = 1 << 20
POOL_BYTES = 24 * MIB
EOL = "\r\n"


class Rng:
    """64-bit linear congruential generator; pure arithmetic, same on every Python."""

    def __init__(self, seed):
        self.state = (seed * 0x9E3779B97F4A7C15 + 0x632BE59BD9B4E019) & 0xFFFFFFFFFFFFFFFF

    def next(self):
        self.state = (self.state * 6364136223846793005 + 1442695040888963407) & 0xFFFFFFFFFFFFFFFF
        return self.state >> 33

    def int(self, lo, hi):
        """An integer from lo to hi, both included."""
        return lo + self.next() % (hi - lo + 1)

    def pick(self, seq):
        return seq[self.next() % len(seq)]

    def chance(self, percent):
        return self.next() % 100 < percent


# --------------------------------------------------------------------------
# Vocabulary

VENDORS = ["Microsoft", "Intel", "Realtek", "NVIDIA", "ATI Technologies", "Creative Labs",
           "Logitech", "Adobe Systems", "Symantec", "Hewlett-Packard", "Western Digital",
           "Seagate", "Maxtor", "3Com", "Broadcom", "VIA Technologies", "Silicon Integrated",
           "Macromedia", "Sun Microsystems", "Apple Computer", "Nero AG", "WinZip Computing"]
DOMAINS = ["www.microsoft.com", "www.intel.com", "www.realtek.com.tw", "www.nvidia.com",
           "www.ati.com", "www.creative.com", "www.logitech.com", "www.adobe.com",
           "www.symantec.com", "www.hp.com", "www.wdc.com", "www.seagate.com",
           "www.maxtor.com", "www.3com.com", "www.broadcom.com", "www.via.com.tw",
           "www.sis.com", "www.macromedia.com", "www.java.com", "www.apple.com",
           "www.nero.com", "www.winzip.com", "www.example.org", "news.example.net",
           "intranet.example.local", "mail.example.com"]
URL_PATHS = ["", "support/", "downloads/drivers/", "index.html", "products/default.aspx",
             "search?q=driver+update", "en/us/home.htm", "news/2004/", "forum/viewtopic.php?t=",
             "kb/article.aspx?id=", "update/v5/", "catalog/item.jsp?sku="]
WORDS = ["Advanced", "Audio", "Background", "Broadcast", "Client", "Communication", "Configuration",
         "Control", "Data", "Desktop", "Device", "Discovery", "Display", "Event", "Extension",
         "Helper", "Host", "Input", "Interface", "Launcher", "Management", "Manager", "Media",
         "Monitor", "Network", "Notification", "Plug and Play", "Policy", "Print", "Protected",
         "Remote", "Scheduler", "Security", "Server", "Service", "Session", "Storage", "System",
         "Task", "Telephony", "Terminal", "Transfer", "Update", "Utility", "Volume", "Wireless",
         "Workstation"]
EXE_STEMS = ["svchost", "explorer", "winlogon", "csrss", "lsass", "services", "spoolsv", "smss",
             "iexplore", "outlook", "winword", "excel", "msmsgs", "ctfmon", "rundll32", "alg",
             "wuauclt", "hpztsb04", "nvsvc32", "ati2evxx", "ccapp", "rtvscan", "jusched",
             "qttask", "realsched", "acrotray", "igfxtray", "hkcmd", "soundman", "wmiprvse",
             "taskmgr", "notepad", "mspaint", "cmd", "firefox", "thunderbird", "winamp",
             "skype", "msnmsgr", "defwatch", "nero", "imapi", "mdm", "dllhost"]
DIRS = ["C:\\WINDOWS\\system32", "C:\\WINDOWS", "C:\\Program Files\\Common Files",
        "C:\\Program Files\\Internet Explorer", "C:\\Program Files\\Microsoft Office\\OFFICE11",
        "C:\\Program Files\\Java\\j2re1.4.2\\bin", "C:\\WINDOWS\\system32\\drivers",
        "C:\\Program Files\\Symantec AntiVirus", "C:\\Program Files\\Mozilla Firefox",
        "D:\\Apps\\Tools", "C:\\Program Files\\NVIDIA Corporation\\nView"]
USERS = ["SYSTEM", "LocalSystem", "NT AUTHORITY\\LocalService", "NT AUTHORITY\\NetworkService",
         "Administrator", "jsmith", "kovacs.p", "mbrown", "guest"]
STATES = ["Running", "Stopped", "Paused"]
SERVICE_TYPES = ["Win32 Own Process", "Win32 Shared Process", "Kernel Driver",
                 "File System Driver", "Interactive Process"]
EVENT_LOGS = ["Application", "System", "Security", "Internet Explorer", "DNS Server"]
EVENT_TYPES = ["Information", "Warning", "Error", "Audit Success", "Audit Failure"]
EVENT_SOURCES = ["Service Control Manager", "EventLog", "Tcpip", "W32Time", "Userenv", "Dhcp",
                 "Application Popup", "MsiInstaller", "SceCli", "Netlogon", "Srv", "Disk",
                 "atapi", "Print", "LoadPerf", "Winlogon", "ESENT", "Perflib", "WinMgmt"]
EVENT_CATEGORIES = ["None", "Logon/Logoff", "System Event", "Policy Change", "Disk",
                    "Account Management", "Object Access", "Privilege Use", "(1)", "(2)"]
FONT_FAMILIES = ["Arial", "Arial Black", "Arial Narrow", "Book Antiqua", "Bookman Old Style",
                 "Century Gothic", "Comic Sans MS", "Courier", "Courier New", "Estrangelo Edessa",
                 "Franklin Gothic Medium", "Garamond", "Georgia", "Impact", "Lucida Console",
                 "Lucida Sans Unicode", "Marlett", "Microsoft Sans Serif", "Modern",
                 "MS Sans Serif", "MS Serif", "Palatino Linotype", "Roman", "Script",
                 "Small Fonts", "Symbol", "System", "Tahoma", "Terminal", "Times New Roman",
                 "Trebuchet MS", "Verdana", "Webdings", "Wingdings", "Wingdings 2"]
FONT_TYPES = ["TrueType", "Raster", "Vector", "OpenType"]
FONT_STYLES = ["Regular", "Bold", "Italic", "Bold Italic", "Narrow", "Light"]
CHARSETS = ["Western", "Central European", "Cyrillic", "Greek", "Turkish", "Baltic", "Symbol",
            "OEM/DOS"]
PROGRAMS = ["Adobe Reader 6.0.1", "Microsoft Office Professional Edition 2003",
            "Java 2 Runtime Environment; SE v1.4.2_05", "Mozilla Firefox (1.0)",
            "Nero Burning ROM", "WinZip", "Windows Media Player 10", "QuickTime",
            "RealPlayer", "Macromedia Flash Player 7", "Symantec AntiVirus Client",
            "NVIDIA Drivers", "Realtek AC'97 Audio", "HP Deskjet 3500 Series",
            "Microsoft .NET Framework 1.1", "DirectX 9.0c Runtime", "7-Zip 4.10",
            "Mozilla Thunderbird (0.9)", "Winamp (remove only)", "Skype 1.0",
            "Security Update for Windows XP (KB873339)", "Hotfix for Windows XP (KB885626)",
            "MSN Messenger 6.2", "Intel(R) PRO Network Connections Drivers",
            "Microsoft\xae Windows\xae Journal Viewer", "OpenOffice.org 1.1.3", "GIMP 2.2",
            "PuTTY version 0.56", "TortoiseCVS 1.8.3", "Python 2.4"]
UPDATES = ["Security Update for Windows XP", "Update for Windows XP", "Hotfix for Windows XP",
           "Windows XP Service Pack 2", "Security Update for Windows Media Player",
           "Cumulative Security Update for Internet Explorer", "Windows Installer 3.1"]
ENV_VARS = [("ComSpec", "C:\\WINDOWS\\system32\\cmd.exe"), ("NUMBER_OF_PROCESSORS", "2"),
            ("OS", "Windows_NT"), ("PATHEXT", ".COM;.EXE;.BAT;.CMD;.VBS;.VBE;.JS;.JSE;.WSF;.WSH"),
            ("PROCESSOR_ARCHITECTURE", "x86"), ("PROCESSOR_LEVEL", "15"),
            ("PROCESSOR_REVISION", "0209"), ("TEMP", "C:\\WINDOWS\\TEMP"),
            ("TMP", "C:\\WINDOWS\\TEMP"), ("windir", "C:\\WINDOWS"),
            ("Path", "C:\\WINDOWS\\system32;C:\\WINDOWS;C:\\WINDOWS\\System32\\Wbem"),
            ("CLASSPATH", ".;C:\\Program Files\\Java\\j2re1.4.2\\lib\\ext\\QTJava.zip"),
            ("QTJAVA", "C:\\Program Files\\Java\\j2re1.4.2\\lib\\ext\\QTJava.zip"),
            ("HOMEDRIVE", "C:"), ("LOGONSERVER", "\\\\DC01"), ("USERDOMAIN", "EXAMPLE"),
            ("PROMPT", "$P$G"), ("SystemRoot", "C:\\WINDOWS"), ("SystemDrive", "C:"),
            ("ALLUSERSPROFILE", "C:\\Documents and Settings\\All Users"),
            ("APPDATA", "C:\\Documents and Settings\\jsmith\\Application Data"),
            ("CommonProgramFiles", "C:\\Program Files\\Common Files"),
            ("ProgramFiles", "C:\\Program Files"), ("USERNAME", "jsmith")]
FILE_EXTS = [".txt", ".doc", ".xls", ".ppt", ".pdf", ".htm", ".html", ".jpg", ".gif", ".png",
             ".bmp", ".zip", ".rar", ".mp3", ".wav", ".avi", ".mpg", ".exe", ".dll", ".ini",
             ".log", ".xml", ".css", ".js", ".vbs", ".bat", ".cmd", ".reg", ".msi", ".chm"]
CONTENT_TYPES = ["text/plain", "application/msword", "application/vnd.ms-excel",
                 "application/pdf", "text/html", "image/jpeg", "image/gif", "image/png",
                 "application/x-zip-compressed", "audio/mpeg", "audio/wav", "video/avi",
                 "application/x-msdownload", "text/xml", "", ""]
SMART_ATTRS = [(1, "Raw Read Error Rate", 51), (3, "Spin Up Time", 21), (4, "Start/Stop Count", 0),
               (5, "Reallocated Sector Count", 140), (7, "Seek Error Rate", 51),
               (9, "Power-On Time Count", 0), (10, "Spin Retry Count", 51),
               (11, "Calibration Retry Count", 51), (12, "Power Cycle Count", 0),
               (194, "Disk Temperature", 0), (196, "Reallocation Event Count", 0),
               (197, "Current Pending Sector Count", 0), (198, "Off-Line Uncorrectable Sector Count", 0),
               (199, "Ultra ATA CRC Error Count", 0), (200, "Write Error Rate", 51)]
DISK_MODELS = ["WDC WD800JB-00JJC0", "ST3120026A", "Maxtor 6Y080L0", "IC35L060AVV207-0",
               "SAMSUNG SP0802N", "HDS722516VLAT80", "ST380011A", "WDC WD1200JB-00EVA0"]


def url(r):
    path = r.pick(URL_PATHS)
    if path.endswith("="):
        path += str(r.int(100, 99999))
    return "http://" + r.pick(DOMAINS) + "/" + path


def kb(r, lo, hi):
    return "%d KB" % r.int(lo, hi)


def version(r):
    return "%d.%d.%d.%d" % (r.int(1, 12), r.int(0, 99), r.int(0, 3790), r.int(0, 2600))


def date(r):
    return "%04d-%02d-%02d %02d:%02d:%02d" % (r.int(2002, 2005), r.int(1, 12), r.int(1, 28),
                                              r.int(0, 23), r.int(0, 59), r.int(0, 59))


def words(r, lo, hi):
    return " ".join(r.pick(WORDS) for _ in range(r.int(lo, hi)))


# --------------------------------------------------------------------------
# Writers of one section each. `out` is a list of lines without line ends.

def table(out, page, icon, rows):
    """A catalogued section: rows are (Group, Label, Value, [(label, cell), ...])."""
    for group, label, value, cells in rows:
        out.append("%s,%s,,%d,%s,%s" % (page, group, icon, label, value))
        for clabel, cell in cells:
            out.append("%s,%s,,%d,%s,%s" % (page, group, icon, clabel, cell))


def processes(r, out, n):
    rows = []
    for i in range(n):
        stem = r.pick(EXE_STEMS)
        name = stem + ".exe"
        rows.append((name, "Process File Name", r.pick(DIRS) + "\\" + name,
                     [("Used Memory", kb(r, 120, 98000)), ("Used Swap", kb(r, 0, 64000))]))
    table(out, "Processes", 31, rows)


def services(r, out, n):
    rows = []
    for i in range(n):
        name = words(r, 1, 3).replace(" ", "") + ("%d" % i if r.chance(20) else "")
        rows.append((name, "Service Description", words(r, 2, 6),
                     [("Type", r.pick(SERVICE_TYPES)), ("State", r.pick(STATES)),
                      ("Account", r.pick(USERS))]))
    table(out, "Services", 32, rows)


def system_drivers(r, out, n):
    rows = []
    for i in range(n):
        name = r.pick(EXE_STEMS)[:6] + r.pick(["", "32", "nt", "x", "mp"])
        rows.append((name, "Driver Description", r.pick(VENDORS) + " " + words(r, 1, 4) + " Driver",
                     [("Type", r.pick(["Kernel Driver", "File System Driver"])),
                      ("State", r.pick(STATES))]))
    table(out, "System Drivers", 33, rows)


def logical_drives(r, out):
    rows = []
    letters = "CDEFGHIJ"[:r.int(2, 8)]
    for letter in letters:
        total = r.int(650, 250000)
        free = r.int(0, total)
        rows.append(("%s:\\" % letter, "Drive Type",
                     r.pick(["Local Disk", "Local Disk", "Optical Drive", "Network Drive",
                             "Removable Disk"]),
                     [("File System", r.pick(["NTFS", "FAT32", "CDFS", "FAT"])),
                      ("Volume Serial", "%04X-%04X" % (r.int(0, 0xFFFF), r.int(0, 0xFFFF))),
                      ("Total Size", "%d MB" % total), ("Free Space", "%d MB" % free),
                      ("% Free", "%d %%" % (100 * free // total))]))
    table(out, "Logical Drives", 44, rows)


def installed_programs(r, out, n):
    rows = []
    for i in range(n):
        rows.append((r.pick(PROGRAMS) + ("" if i < len(PROGRAMS) else " (%d)" % i), "Version",
                     version(r), [("Inst. Size", "%d KB" % r.int(10, 480000) if r.chance(80) else "")]))
    table(out, "Installed Programs", 61, rows)


def event_logs(r, out, n):
    rows = []
    for i in range(n):
        rows.append((r.pick(EVENT_LOGS), "Event Type", r.pick(EVENT_TYPES),
                     [("Category", r.pick(EVENT_CATEGORIES)), ("Generated On", date(r)),
                      ("User", r.pick(USERS) if r.chance(40) else "N/A"),
                      ("Source", r.pick(EVENT_SOURCES))]))
    table(out, "Event Logs", 77, rows)


def routes(r, out, n):
    rows = []
    for i in range(n):
        a = r.int(0, 223)
        rows.append((r.pick(["Direct", "Indirect", "Local", "Default"]), "Net Destination",
                     "%d.%d.%d.0" % (a, r.int(0, 255), r.int(0, 255)),
                     [("Netmask", r.pick(["255.255.255.0", "255.0.0.0", "255.255.0.0",
                                          "255.255.255.255", "0.0.0.0"])),
                      ("Gateway", "192.168.%d.%d" % (r.int(0, 3), r.int(1, 254))),
                      ("Metric", str(r.int(1, 30))),
                      ("Interface", r.pick(["Realtek RTL8139 Family PCI Fast Ethernet NIC",
                                            "MS TCP Loopback interface",
                                            "Intel(R) PRO/100 VE Network Connection"]))]))
    table(out, "Routes", 52, rows)


def fonts(r, out, n):
    rows = []
    for i in range(n):
        rows.append((r.pick(FONT_FAMILIES), "Type", r.pick(FONT_TYPES),
                     [("Style", r.pick(FONT_STYLES)), ("Character Set", r.pick(CHARSETS)),
                      ("Char. Size", "%d x %d" % (r.int(4, 32), r.int(8, 48))),
                      ("Char. Weight", str(r.pick([400, 400, 700, 300, 900])))]))
    table(out, "Fonts", 23, rows)


def environment(r, out):
    rows = [(k, "Value", v, []) for k, v in ENV_VARS if r.chance(85)]
    table(out, "Environment", 71, rows)


def dlls(r, out, n):
    rows = []
    for i in range(n):
        rows.append((r.pick(EXE_STEMS) + r.pick(["32", "", "ui", "lib", "ext"]) + ".dll", "Version",
                     version(r), [("Description", r.pick(VENDORS) + " " + words(r, 1, 3) + " Library")]))
    table(out, "DLL", 62, rows)


def file_types(r, out):
    rows = []
    for ext in FILE_EXTS:
        rows.append((ext, "File Type Description", words(r, 1, 3) + " File",
                     [("Content Type", r.pick(CONTENT_TYPES))]))
    table(out, "File Types", 72, rows)


def auto_start(r, out, n):
    rows = []
    for i in range(n):
        stem = r.pick(EXE_STEMS)
        rows.append((stem.capitalize() + " " + r.pick(["Tray", "Agent", "Helper", "Scheduler"]),
                     "Start From", r.pick(["Registry\\Run", "Registry\\RunServices",
                                           "Common Startup", "User Startup"]),
                     [("Application Command", r.pick(DIRS) + "\\" + stem + ".exe"
                       + r.pick(["", " /background", " -silent", " /autorun"]))]))
    table(out, "Auto Start", 63, rows)


def windows_update(r, out, n):
    rows = []
    for i in range(n):
        rows.append((r.pick(UPDATES) + " (KB%d)" % r.int(810000, 890000), "Update Type",
                     r.pick(["Security Update", "Hotfix", "Update", "Service Pack"]),
                     [("Inst. Date", "%04d-%02d-%02d" % (r.int(2003, 2005), r.int(1, 12), r.int(1, 28)))]))
    table(out, "Windows Update", 64, rows)


def ie_history(r, out, n):
    rows = []
    for i in range(n):
        rows.append((date(r), "URL", url(r), []))
    table(out, "IE History", 81, rows)


def directx_files(r, out, n):
    rows = []
    for i in range(n):
        rows.append(("d3d" + r.pick(["8", "9", "x9_24", "im700", "ramp"]) + ".dll", "Version",
                     version(r), [("Type", r.pick(["Final Retail", "Debug"])),
                                  ("Language", "English"), ("Size", "%d bytes" % r.int(4000, 2000000)),
                                  ("Date", "%04d-%02d-%02d" % (r.int(2001, 2005), r.int(1, 12), r.int(1, 28)))]))
    table(out, "DirectX Files", 41, rows)


def property_page(r, out, page, icon, groups):
    """A plain page: groups of items of label/value properties."""
    for g in range(groups):
        group = page + " " + r.pick(["Properties", "Information", "Features", "Settings",
                                     "Manufacturer", "Status"])
        if r.chance(40):
            # properties straight under the group
            for p in range(r.int(2, 5)):
                out.append("%s,%s,,%d,%s,%s" % (page, group, icon, words(r, 1, 2), prop_value(r)))
        for i in range(r.int(1, 4)):
            item = r.pick(VENDORS) + " " + words(r, 1, 2) + " #%d" % (i + 1)
            for p in range(r.int(3, 9)):
                out.append("%s,%s,%s,%d,%s,%s" % (page, group, item, icon, words(r, 1, 3),
                                                  prop_value(r)))


def prop_value(r):
    k = r.int(0, 11)
    if k == 0:
        return url(r)
    if k == 1:
        return "%d MHz" % r.int(66, 3600)
    if k == 2:
        return "%d MB" % r.int(1, 4096)
    if k == 3:
        return r.pick(["Yes", "No", "Enabled", "Disabled", "Supported", "Not Supported"])
    if k == 4:
        return version(r)
    if k == 5:
        return "<none>" if r.chance(50) else "Read & Write"
    if k == 6:
        return "%s; %s" % (words(r, 1, 2), words(r, 1, 2))
    if k == 7:
        return "%d.%d.%d.%d" % (192, 168, r.int(0, 3), r.int(1, 254))
    if k == 8:
        return "%02X-%02X-%02X-%02X-%02X-%02X" % tuple(r.int(0, 255) for _ in range(6))
    return words(r, 1, 5)


def physical_drives(r, out):
    """Group tables: one group per disk, one row per partition."""
    for d in range(r.int(1, 2)):
        group = "%s (%d GB; IDE)" % (r.pick(DISK_MODELS), r.pick([40, 80, 120, 160]))
        for p in range(r.int(1, 4)):
            out.append("Physical Drives,%s,Partition %d,45,Partition Type,%s"
                       % (group, p + 1, r.pick(["NTFS", "FAT32", "Extended", "Linux"])))
            out.append("Physical Drives,%s,Partition %d,45,Drive,%s:" % (group, p + 1, "CDEFG"[p]))
            out.append("Physical Drives,%s,Partition %d,45,Start Offset,%d MB"
                       % (group, p + 1, r.int(0, 80000)))
            out.append("Physical Drives,%s,Partition %d,45,Partition Length,%d MB"
                       % (group, p + 1, r.int(100, 80000)))


def smart(r, out):
    """Group tables: one group per disk, one row per attribute."""
    for d in range(r.int(1, 2)):
        group = "%s [%d GB]" % (r.pick(DISK_MODELS), r.pick([40, 80, 120, 160]))
        for ident, desc, thr in SMART_ATTRS:
            value = r.int(90, 253)
            item = "%02X" % ident
            out.append("SMART,%s,%s,46,Attribute Description,%s" % (group, item, desc))
            out.append("SMART,%s,%s,46,Threshold,%d" % (group, item, thr))
            out.append("SMART,%s,%s,46,Value,%d" % (group, item, value))
            out.append("SMART,%s,%s,46,Worst,%d" % (group, item, r.int(min(thr, value), value)))
            out.append("SMART,%s,%s,46,Data,%d" % (group, item, r.int(0, 60000)))
            out.append("SMART,%s,%s,46,Status,%s" % (group, item, "OK" if r.chance(97) else "Failed"))


def pci_dump(r, out):
    for dev in range(r.int(2, 5)):
        group = "Bus 0 Device %d Function 0" % dev
        for row in range(4):
            out.append("PCI Dump,%s,,0,%02X,%s" % (group, row * 16,
                       " ".join("%02X" % r.int(0, 255) for _ in range(16))))


def block(seed):
    """One machine snapshot: about 200 to 400 KiB of report lines."""
    r = Rng(seed)
    out = []
    property_page(r, out, "Motherboard", 11, r.int(2, 4))
    property_page(r, out, "Display", 12, r.int(1, 3))
    processes(r, out, r.int(30, 90))
    services(r, out, r.int(60, 160))
    system_drivers(r, out, r.int(40, 140))
    property_page(r, out, "Storage", 13, r.int(1, 3))
    logical_drives(r, out)
    physical_drives(r, out)
    smart(r, out)
    property_page(r, out, "Network", 14, r.int(2, 4))
    routes(r, out, r.int(6, 24))
    ie_history(r, out, r.int(20, 120))
    directx_files(r, out, r.int(10, 40))
    dlls(r, out, r.int(40, 160))
    fonts(r, out, r.int(40, 160))
    installed_programs(r, out, r.int(30, 120))
    windows_update(r, out, r.int(10, 60))
    auto_start(r, out, r.int(5, 25))
    file_types(r, out)
    environment(r, out)
    property_page(r, out, "Security", 15, r.int(1, 2))
    event_logs(r, out, r.int(300, 900))
    pci_dump(r, out)
    out.append("")
    return EOL.join(out).encode("latin-1")


def short_block(seed):
    """One snapshot of short lines: mostly catalogued tables with short cells."""
    r = Rng(seed)
    out = []
    property_page(r, out, "Display", 12, 1)
    rows = []
    for i in range(r.int(300, 700)):
        rows.append((r.pick(EXE_STEMS)[:8] + ".dll", "Ver", "%d.%d.%d" % (r.int(1, 9), r.int(0, 9), r.int(0, 2600)),
                     [("Desc", r.pick(VENDORS)[:10])]))
    table(out, "DLL", 62, rows)
    rows = []
    for i in range(r.int(40, 120)):
        stem = r.pick(EXE_STEMS)[:8]
        rows.append((stem + ".exe", "Path", "C:\\bin\\" + stem, [("Mem", kb(r, 120, 9800)), ("Swap", kb(r, 0, 900))]))
    table(out, "Processes", 31, rows)
    rows = []
    for i in range(r.int(100, 300)):
        rows.append((r.pick(FONT_FAMILIES)[:12], "Type", r.pick(FONT_TYPES),
                     [("Style", r.pick(FONT_STYLES)), ("Set", r.pick(CHARSETS)[:8]),
                      ("Size", "%dx%d" % (r.int(4, 32), r.int(8, 48))), ("Wt", str(r.pick([400, 700, 300])))]))
    table(out, "Fonts", 23, rows)
    rows = []
    for i in range(r.int(50, 150)):
        rows.append(("vcm%d" % i, "Type", r.pick(["Audio", "Video", "<none>", "A & V"]), [("Name", r.pick(WORDS)[:10])]))
    table(out, "VCM", 65, rows)
    out.append("")
    return EOL.join(out).encode("latin-1")


def cell(r, text):
    """`text` made 16 to 64 bytes long; one cell in a hundred gets a byte to escape."""
    while len(text) < 16:
        text += " " + r.pick(WORDS)
    text = text[:r.int(max(16, min(len(text), 40)), 64)]
    if r.chance(1):
        at = r.int(0, len(text) - 1)
        # (No quote: the CSV peers would take a cell that begins with one for a quoted field.)
        text = text[:at] + r.pick(["&", "<", ">"]) + text[at + 1:]
    return text


def cells_block(seed):
    """One snapshot of cells of 16 to 64 bytes: paths, descriptions, versions."""
    r = Rng(seed)
    out = []
    property_page(r, out, "Display", 12, 1)
    rows = []
    for i in range(r.int(200, 500)):
        name = r.pick(EXE_STEMS) + r.pick(["32", "", "ui", "lib", "ext"]) + ".dll"
        rows.append((cell(r, r.pick(DIRS) + "\\" + name), "Version", cell(r, "%s (%s)" % (version(r), r.pick(VENDORS))),
                     [("Description", cell(r, r.pick(VENDORS) + " " + words(r, 1, 4) + " Library"))]))
    table(out, "DLL", 62, rows)
    rows = []
    for i in range(r.int(60, 160)):
        rows.append((cell(r, words(r, 2, 4)), "Service Description", cell(r, words(r, 2, 8)),
                     [("Type", cell(r, r.pick(SERVICE_TYPES))), ("State", cell(r, r.pick(STATES) + " since " + date(r))),
                      ("Account", cell(r, r.pick(USERS) + "@" + r.pick(DOMAINS)))]))
    table(out, "Services", 32, rows)
    rows = []
    for i in range(r.int(60, 160)):
        stem = r.pick(EXE_STEMS)
        rows.append((cell(r, r.pick(DIRS) + "\\drivers\\" + stem + ".sys"), "Driver Description",
                     cell(r, r.pick(VENDORS) + " " + words(r, 1, 5)),
                     [("Type", cell(r, r.pick(SERVICE_TYPES))), ("State", cell(r, r.pick(STATES) + " " + version(r)))]))
    table(out, "System Drivers", 33, rows)
    rows = []
    for i in range(r.int(40, 120)):
        stem = r.pick(EXE_STEMS)
        rows.append((cell(r, stem + ".exe " + version(r)), "Process File Name", cell(r, r.pick(DIRS) + "\\" + stem + ".exe"),
                     [("Used Memory", cell(r, kb(r, 120, 98000) + " of " + kb(r, 100000, 900000))),
                      ("Used Swap", cell(r, kb(r, 0, 64000) + " of " + kb(r, 100000, 900000)))]))
    table(out, "Processes", 31, rows)
    out.append("")
    return EOL.join(out).encode("latin-1")


def head():
    lines = [
        "Page,Group,Item,Icon,Field,Value",
        "Report,Report,,1,Program Version,3.80.1234",
        "Report,Report,,1,Report Type,Full Report",
        "Report,Report,,1,Home Page,http://www.example.com/sysinfo/",
        "Report,Report,,1,Generated By,jsmith",
        "Report,Report,,1,Computer,WORKSTATION-07",
        "Report,Report,,1,Operating System,Microsoft Windows XP Professional 5.1.2600 (WinXP Retail)",
        "Report,Report,,1,Date,2005-01-14",
        "Report,Report,,1,Time,09:41",
        "Report,Computer Summary,Computer,2,Computer Type,ACPI Uniprocessor PC",
        "Report,Computer Summary,Computer,2,Operating System,Microsoft Windows XP Professional",
        "Report,Computer Summary,Computer,2,OS Service Pack,Service Pack 2",
        "Report,Computer Summary,Computer,2,DirectX,4.09.00.0904 (DirectX 9.0c)",
        "Report,Computer Summary,Motherboard,3,CPU Type,Intel Pentium 4; 2400 MHz (18 x 133)",
        "Report,Computer Summary,Motherboard,3,Motherboard Name,Asus P4PE  (5 PCI; 1 AGP; 3 DDR DIMM)",
        "Report,Computer Summary,Motherboard,3,System Memory,512 MB  (PC2700 DDR SDRAM)",
        "Report,Computer Summary,Display,4,Video Adapter,NVIDIA GeForce FX 5200  (128 MB)",
        "Report,Computer Summary,Display,4,Monitor,Samsung SyncMaster 757DF  [17\" CRT]",
        "Report,Computer Summary,Network,5,Primary IP Address,192.168.1.17",
        "Report,Computer Summary,Network,5,Primary MAC Address,00-0C-6E-12-34-56",
        "Report,Computer Summary,Network,5,Contact,sysinfo@example.com",
        "",
    ]
    return EOL.join(lines).encode("latin-1")


# --------------------------------------------------------------------------
# Fleets: many small reports of computers that share their software.

FLEET_PROGRAMS = [
    "Mozilla Firefox", "Google Chrome", "Microsoft Edge", "7-Zip", "Adobe Acrobat Reader DC",
    "Notepad++", "VLC media player", "Zoom", "Microsoft Teams", "Microsoft Office Professional Plus 2016",
    "WinRAR", "PuTTY", "Git", "Python 3", "TeamViewer", "Java 8 Update", "Mozilla Thunderbird",
    "Microsoft Visual C++ 2015-2019 Redistributable (x64)", "Microsoft Visual C++ 2013 Redistributable (x86)",
    "Microsoft .NET Framework 4.8", "Intel(R) Management Engine Components", "Realtek High Definition Audio Driver",
    "NVIDIA Graphics Driver", "Dell Command | Update", "HP Support Assistant", "Cisco AnyConnect Secure Mobility Client",
    "FileZilla Client", "KeePass Password Safe", "LibreOffice", "GIMP", "Paint.NET", "Skype", "Slack",
    "Dropbox", "Google Drive", "OneDrive", "Citrix Workspace", "VMware Tools", "Wireshark", "WinSCP",
    "Virus Guard", "QUORVIX", "Foxit PDF Reader", "IrfanView", "Audacity", "OBS Studio", "Spotify",
]
FLEET_SUFFIXES = ["Client", "Agent", "Tools", "Driver", "Runtime", "Suite", "Viewer", "Update Service",
                  "Toolkit", "Connector", "Plug-in", "SDK", "Helper", "Manager"]
FLEET_DATE = (2004, 6, 8)


class FleetCatalogue:
    """About 2,000 programs with a popularity each and a few versions of uneven shares."""

    def __init__(self, r, count=2000):
        names = list(FLEET_PROGRAMS)
        seen = set(names)
        while len(names) < count:
            name = "%s %s %s" % (r.pick(VENDORS), r.pick(WORDS), r.pick(FLEET_SUFFIXES))
            if name not in seen:
                seen.add(name)
                names.append(name)
        self.programs = []
        for rank, name in enumerate(names):
            major = r.int(1, 12)
            versions = ["%d.%d.%d" % (major, r.int(0, 9), r.int(0, 9999)) for _ in range(r.int(1, 6))]
            weights = [r.int(1, 100) * (3 if k == 0 else 1) for k in range(len(versions))]
            # Popularity falls with the rank: a few programs are everywhere.
            self.programs.append((name, versions, weights, 1000000 // (rank + 8)))
        self.total = sum(p[3] for p in self.programs)

    def choose(self, r, n):
        """n distinct programs, the popular ones more often."""
        chosen = set()
        while len(chosen) < min(n, len(self.programs)):
            x = r.int(0, self.total - 1)
            for k, program in enumerate(self.programs):
                x -= program[3]
                if x < 0:
                    chosen.add(k)
                    break
        return sorted(chosen)


def fleet_version(r, versions, weights):
    x = r.int(0, sum(weights) - 1)
    for version, weight in zip(versions, weights):
        x -= weight
        if x < 0:
            return version
    return versions[-1]


def fleet_day(days_before):
    return datetime.date(*FLEET_DATE) - datetime.timedelta(days=days_before)


def fleet_report(r, number, catalogue, programs, hungarian):
    """One computer's report, as bytes."""
    name = ("IRODA-%04d" if hungarian else "WS-%04d") % number
    report_day = fleet_day(r.int(0, 6))
    if hungarian:
        fmt_date = lambda d: "%04d.%02d.%02d." % (d.year, d.month, d.day)
        fmt_size = lambda mb: ("%.1f GB" % (mb / 1024.0)).replace(".", ",") if mb >= 1024 else "%d MB" % mb
        words = dict(header="Oldal,Csoport,Elem,T\xedpus,Tulajdons\xe1g,\xc9rt\xe9k", first="\xd6sszes\xedt\xe9s",
                     group="Sz\xe1m\xedt\xf3g\xe9p", computer="Sz\xe1m\xedt\xf3g\xe9p n\xe9v", user="Felhaszn\xe1l\xf3",
                     domain="Tartom\xe1ny", date="Jelent\xe9s d\xe1tuma", title="Jelent\xe9s c\xedme",
                     title_text="heti lelt\xe1r", drives="Logikai meghajt\xf3k",
                     drive_cols=["Meghajt\xf3 t\xedpusa", "F\xe1jlrendszer", "Sorozatsz\xe1m", "Teljes m\xe9ret",
                                 "Szabad ter\xfclet", "% szabad"],
                     fixed="Helyi lemez", optical="CD-ROM lemez", av="Antiv\xedrus",
                     av_cols=["Szoftver verzi\xf3", "V\xedrus adatb\xe1zis d\xe1tuma", "Ismert v\xedrusok"],
                     programs="Telep\xedtett programok", program_cols=["Verzi\xf3", "Telep. m\xe9ret"],
                     events="Esem\xe9nynapl\xf3k",
                     event_cols=["Esem\xe9ny t\xedpusa", "Kateg\xf3ria", "Esem\xe9ny id\xf5pontja", "Felhaszn\xe1l\xf3",
                                 "Forr\xe1s"],
                     event_types=["Inform\xe1ci\xf3", "Figyelmeztet\xe9s", "Hiba"],
                     logs=["Alkalmaz\xe1s", "Rendszer", "Biztons\xe1g"],
                     smart_cols=["Attrib\xfatum le\xedr\xe1sa", "K\xfcsz\xf6b", "\xc9rt\xe9k", "Legrosszabb", "Adat",
                                 "\xc1llapot"],
                     smart_ok="Rendben", smart_bad="Figyelmeztet\xe9s", encoding="cp1250")
    else:
        fmt_date = lambda d: "%04d-%02d-%02d" % (d.year, d.month, d.day)
        fmt_size = lambda mb: "%.1f GB" % (mb / 1024.0) if mb >= 1024 else "%d MB" % mb
        words = dict(header="Page,Group,Item,Type,Property,Value", first="Report", group="Summary",
                     computer="Computer Name", user="User Name", domain="Domain", date="Report Date",
                     title="Report Title", title_text="weekly inventory", drives="Logical Drives",
                     drive_cols=["Drive Type", "File System", "Volume Serial", "Total Size", "Free Space", "% Free"],
                     fixed="Local Disk", optical="CD-ROM Disc", av="Anti-Virus",
                     av_cols=["Software Version", "Virus Database Date", "Known Viruses"],
                     programs="Installed Programs", program_cols=["Version", "Inst. Size"], events="Event Logs",
                     event_cols=["Event Type", "Category", "Generated On", "User", "Source"],
                     event_types=["Information", "Warning", "Error"], logs=["Application", "System", "Security"],
                     smart_cols=["Attribute Description", "Threshold", "Value", "Worst", "Data", "Status"],
                     smart_ok="OK", smart_bad="Failed", encoding="cp1252")
    w = words
    out = [w["header"]]
    first, group = w["first"], w["group"]
    for label, value in ((w["computer"], name), (w["user"], r.pick(USERS[4:])), (w["domain"], "CORP"),
                         (w["date"], fmt_date(report_day) + " %02d:%02d" % (r.int(7, 18), r.int(0, 59))),
                         (w["title"], "%s %s" % (name, w["title_text"]))):
        out.append("%s,%s,,,%s,%s" % (first, group, label, value))
    rows = []
    for k, letter in enumerate("CDEF"[:r.int(1, 4)]):
        optical = k > 0 and r.chance(30)
        total = 650 if optical else r.int(20, 500) * 1024
        free = 0 if optical else (r.int(0, total // 10) if r.chance(8) else r.int(total // 10, total))
        rows.append(("%s:" % letter, w["drive_cols"][0], w["optical"] if optical else w["fixed"],
                     [(w["drive_cols"][1], "CDFS" if optical else "NTFS"),
                      (w["drive_cols"][2], "%04X-%04X" % (r.int(0, 0xFFFF), r.int(0, 0xFFFF))),
                      (w["drive_cols"][3], fmt_size(total)), (w["drive_cols"][4], fmt_size(free)),
                      (w["drive_cols"][5], "%d %%" % (100 * free // total))]))
    table(out, w["drives"], 0, rows)
    if r.chance(95):
        age = r.int(0, 3) if r.chance(80) else r.int(4, 60)
        db = report_day - datetime.timedelta(days=age)
        table(out, w["av"], 0, [("Virus Guard", w["av_cols"][0], "8.0.0.%d" % r.int(300, 400),
                                 [(w["av_cols"][1], fmt_date(db)), (w["av_cols"][2], str(r.int(60000, 90000)))])])
    rows = []
    for k in catalogue.choose(r, programs):
        pname, versions, weights, _ = catalogue.programs[k]
        if r.chance(3):
            pname = pname.upper() if r.chance(50) else " " + pname + " "
        rows.append((pname, w["program_cols"][0], fleet_version(r, versions, weights),
                     [(w["program_cols"][1], "%d KB" % r.int(100, 400000))]))
    table(out, w["programs"], 0, rows)
    rows = []
    errors_likely = r.chance(30)
    for k in range(r.int(10, 60)):
        kind = w["event_types"][2] if errors_likely and r.chance(10) else w["event_types"][r.int(0, 1)]
        rows.append((r.pick(w["logs"]), w["event_cols"][0], kind,
                     [(w["event_cols"][1], "None"), (w["event_cols"][2], fmt_date(report_day) + " 08:00"),
                      (w["event_cols"][3], "N/A"), (w["event_cols"][4], r.pick(EVENT_SOURCES))]))
    table(out, w["events"], 0, rows)
    disk = "%s [%d GB]" % (r.pick(DISK_MODELS), r.pick([80, 160, 250, 500]))
    failing = r.chance(4)
    for ident, desc, thr in SMART_ATTRS[:6]:
        item = "%02X" % ident
        status = w["smart_bad"] if failing and ident == 5 else w["smart_ok"]
        for label, value in zip(w["smart_cols"], [desc, thr, r.int(90, 253), r.int(90, 253), r.int(0, 900), status]):
            out.append("SMART,%s,%s,0,%s,%s" % (disk, item, label, value))
    out.append("")
    return EOL.join(out).encode(w["encoding"], "replace")


def fleet_main(argv):
    if len(argv) not in (4, 5, 6):
        sys.stderr.write("usage: gen_report.py --fleet COUNT DIR [PROGRAMS [HUNGARIAN_PERCENT]]\n")
        return 2
    count, folder = int(argv[2]), argv[3]
    programs = int(argv[4]) if len(argv) > 4 else 300
    hungarian_percent = int(argv[5]) if len(argv) > 5 else 20
    catalogue = FleetCatalogue(Rng(20040608))
    os.makedirs(folder, exist_ok=True)
    for number in range(1, count + 1):
        r = Rng(number)
        hungarian = r.int(0, 99) < hungarian_percent
        with open(os.path.join(folder, "fleet-%05d.csv" % number), "wb") as f:
            f.write(fleet_report(r, number, catalogue, programs, hungarian))
    return 0


PROPERTY_PAGES = ("Motherboard", "Display", "Storage", "Network", "Security")


def edited_copy(n, src, dst):
    """Writes a copy of src with n scattered edits; gives the changes they make."""
    with open(src, "rb") as f:
        lines = f.read().decode("latin-1").split(EOL)
    programs, properties = [], []
    for i, line in enumerate(lines):
        fields = line.split(",", 5)
        if len(fields) < 6:
            continue
        if fields[0] == "Installed Programs" and fields[4] == "Version" and i + 1 < len(lines):
            programs.append(i)
        elif fields[0] in PROPERTY_PAGES:
            properties.append(i)
    n_properties = n // 4
    n_programs = n - n_properties
    if len(programs) < n_programs or len(properties) < n_properties:
        raise SystemExit("gen_report.py: %s is too small for %d edits" % (src, n))
    # Evenly spread choices, never the same row twice.
    chosen = {properties[k * len(properties) // n_properties]: "property" for k in range(n_properties)}
    for k in range(n_programs):
        chosen[programs[k * len(programs) // n_programs]] = ("changed", "removed", "added")[k % 3]
    changes = []
    out = []
    skip = False
    for i, line in enumerate(lines):
        if skip:
            skip = False
            continue
        kind = chosen.get(i)
        fields = line.split(",", 5)
        if kind is None:
            out.append(line)
        elif kind == "property":
            out.append(",".join(fields[:5] + [fields[5] + " (edited)"]))
            changes.append("changed page:%s %s/%s/%s" % (fields[0], fields[1], fields[2], fields[4]))
        elif kind == "changed":
            out.append(",".join(fields[:5] + [fields[5] + ".1"]))
            changes.append("changed installed_programs %s" % fields[1])
        elif kind == "removed":
            skip = True  # the row's second line, its size, goes too
            changes.append("removed installed_programs %s" % fields[1])
        else:
            name = "Edited Program %d" % len(changes)
            out.append(line)
            out.append(lines[i + 1])
            out.append("Installed Programs,%s,,61,Version,1.0" % name)
            out.append("Installed Programs,%s,,61,Inst. Size,1 KB" % name)
            skip = True
            changes.append("added installed_programs %s" % name)
    with open(dst, "wb") as f:
        f.write(EOL.join(out).encode("latin-1"))
    return changes


def main(argv):
    if len(argv) == 5 and argv[1] == "--edits":
        for change in edited_copy(int(argv[2]), argv[3], argv[4]):
            print(change)
        return 0
    if len(argv) > 1 and argv[1] == "--fleet":
        return fleet_main(argv)
    blocks = {"long": block, "short": short_block, "cells": cells_block}
    if len(argv) not in (3, 4) or (len(argv) == 4 and argv[3] not in blocks):
        sys.stderr.write("usage: gen_report.py SIZE_MB OUT [long|short|cells]\n")
        return 2
    make_block = blocks[argv[3] if len(argv) == 4 else "long"]
    size_mb = float(argv[1])
    target = int(size_mb * MIB)
    pool = []
    pool_bytes = 0
    written = 0
    with open(argv[2], "wb") as f:
        data = head()
        f.write(data)
        written += len(data)
        n = 0
        while written < target:
            if pool_bytes < POOL_BYTES:
                data = make_block(n + 1)
                pool.append(data)
                pool_bytes += len(data)
            else:
                data = pool[n % len(pool)]
            f.write(data)
            written += len(data)
            n += 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
