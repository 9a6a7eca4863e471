#!/usr/bin/env bash
# Writes the golden case folders under tests/cases (or under the directory
# given as the first argument).
#
# Each case is written here in readable form: the report as it must be read,
# and the body of the page it must become, worked out by hand from the
# rendering rules. The helpers only add what never changes: the document
# head and tail, CR LF line ends, and the page-heading line for "=PAGE text".
# Hungarian cases are typed here in UTF-8 and stored in Windows-1250.
#
# Edit a case here, run this script, and commit the regenerated folder.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
cases=${1:-$here/../cases}

# LF text to CR LF text.
crlf() { sed 's/$/\r/'; }

# UTF-8 to Windows-1250.
cp1250() { iconv -f UTF-8 -t CP1250; }

newcase() {
    rm -rf "${cases:?}/$1"
    mkdir -p "$cases/$1"
}

# report NAME [lf|crlf] [cp1250] < text: the report, line ends as chosen.
report() {
    local name=$1 ends=${2:-lf} enc=${3:-}
    newcase "$name"
    if [[ $ends == crlf ]]; then crlf; else cat; fi |
        if [[ $enc == cp1250 ]]; then cp1250; else cat; fi > "$cases/$name/report.csv"
}

# raw_report NAME FORMAT [ARGS...]: the report's bytes from printf.
raw_report() {
    local name=$1
    shift
    newcase "$name"
    # shellcheck disable=SC2059
    printf "$@" > "$cases/$name/report.csv"
}

head_lines() {
    printf '%s\n' \
        '<HTML>' \
        '<HEAD>' \
        '</HEAD>' \
        '<STYLE>' \
        'A { text-decoration: none }' \
        'A:hover { text-decoration: underline }' \
        'TD { font: 80% verdana, arial; color: #000000; vertical-align: text-center; text-align: left }' \
        'TD.cr { font: 80% verdana, arial; color: #000000; vertical-align: text-center; text-align: right }' \
        'TD.cc { font: 80% verdana, arial; color: #000000; vertical-align: text-center; text-align: center }' \
        'TD.pt { font: bold 140% verdana, arial; color: #000080; vertical-align: text-center }' \
        'TD.dt { font: bold 110% verdana, arial; color: #000080; vertical-align: text-center }' \
        '</STYLE>' \
        "<TITLE>Report of <$1></TITLE>" \
        '<BODY BGCOLOR="#FFFFFF">'
}

tail_lines() {
    printf '%s\n' '</TABLE><BR><BR>' '<HR>' '<BR>' '' '</BODY>' '</HTML>'
}

# The page-heading line: heading table, rule, and the body table's grid row.
expand_pages() {
    sed 's|^=PAGE \(.*\)$|<TABLE WIDTH=100%><TD CLASS=pt>\1<TR><TD><HR></TABLE><TABLE><TR><TD WIDTH=16>\&nbsp;<TD WIDTH=16><TD WIDTH=16><TD WIDTH=16><TD WIDTH=16>|'
}

# expect NAME TITLE [cp1250] < body: the expected page. TITLE is the title
# text as it must appear between "Report of <" and ">".
expect() {
    local name=$1 title=$2 enc=${3:-}
    { head_lines "$title"; expand_pages; tail_lines; } |
        if [[ $enc == cp1250 ]]; then cp1250; else cat; fi | crlf > "$cases/$name/expected.htm"
}

###########################################################################
# Frame and short files

# No bytes at all: the frame alone, with an empty title.
raw_report empty_file ''
expect empty_file '' < /dev/null

# Only the header line: no record, no page heading.
raw_report header_only 'QUORVIX report header\r\n'
expect header_only '' < /dev/null

# Fewer than six lines: the records are rendered, the title is empty.
report short_file crlf <<'R'
QUORVIX report header
Report,Summary,,,Computer,BOX-7
Report,Summary,,,User,admin
R
expect short_file '' <<'B'
=PAGE QUORVIX System Information Report
<TR><TD><TD CLASS=dt COLSPAN=5>[ Summary ]
<TR><TD>&nbsp;
<TR><TD><TD><TD>Computer&nbsp;&nbsp;<TD>BOX-7
<TR><TD><TD><TD>User&nbsp;&nbsp;<TD>admin
B

# Line 6 gives the title: everything after its fifth comma, semicolons kept,
# later commas kept. As a record the same line has its semicolons turned
# into commas.
report title_line6 lf <<'R'
header
Report,Summary,,,Line 2,a
Report,Summary,,,Line 3,b
Report,Summary,,,Line 4,c
Report,Summary,,,Line 5,d
Report,Summary,,Field;four,Report Title,Box one; two,three
R
expect title_line6 'Box one; two,three' <<'B'
=PAGE QUORVIX System Information Report
<TR><TD><TD CLASS=dt COLSPAN=5>[ Summary ]
<TR><TD>&nbsp;
<TR><TD><TD><TD>Line 2&nbsp;&nbsp;<TD>a
<TR><TD><TD><TD>Line 3&nbsp;&nbsp;<TD>b
<TR><TD><TD><TD>Line 4&nbsp;&nbsp;<TD>c
<TR><TD><TD><TD>Line 5&nbsp;&nbsp;<TD>d
<TR><TD><TD><TD>Report Title&nbsp;&nbsp;<TD>Box one, two,three
B

# Line 6 with only two commas: the title is the text after the last one.
report title_few_commas lf <<'R'
header
Report,Notes,,,A,1
Report,Notes,,,B,2
Report,Notes,,,C,3
Report,Notes,,,D,4
Report,Notes,Free text
R
expect title_few_commas 'Free text' <<'B'
=PAGE QUORVIX System Information Report
<TR><TD><TD CLASS=dt COLSPAN=5>[ Notes ]
<TR><TD>&nbsp;
<TR><TD><TD><TD>A&nbsp;&nbsp;<TD>1
<TR><TD><TD><TD>B&nbsp;&nbsp;<TD>2
<TR><TD><TD><TD>C&nbsp;&nbsp;<TD>3
<TR><TD><TD><TD>D&nbsp;&nbsp;<TD>4
<TR><TD><TD><TD>&nbsp;&nbsp;<TD>Free text
B

###########################################################################
# Record shapes and line ends

# Lines of every shape: two commas, none, empty, five and seven commas, more
# than five. Line 6 has no comma, so the whole line is the title. The report
# ends with two line ends: one more, empty, record, written under the item.
raw_report line_shapes '%s\r\n' \
    'header' \
    'Report,Shapes,,,Normal,value' \
    'Report,Shapes,Two' \
    'no comma; here' \
    '' \
    'just words for the title' \
    ',,,,,' \
    ',,,,,,,' \
    'Report,Shapes,Extra,,More,a,b,c' \
    ''
expect line_shapes 'just words for the title' <<'B'
=PAGE QUORVIX System Information Report
<TR><TD><TD CLASS=dt COLSPAN=5>[ Shapes ]
<TR><TD>&nbsp;
<TR><TD><TD><TD>Normal&nbsp;&nbsp;<TD>value
<TR><TD><TD><TD>&nbsp;&nbsp;<TD>Two
<TR><TD><TD><TD>&nbsp;&nbsp;<TD>no comma, here
<TR><TD><TD><TD>&nbsp;&nbsp;<TD>
<TR><TD><TD><TD>&nbsp;&nbsp;<TD>just words for the title
<TR><TD><TD><TD>&nbsp;&nbsp;<TD>
<TR><TD><TD><TD>&nbsp;&nbsp;<TD>,,
<TR><TD><TD><TD COLSPAN=3><B>Extra:</B>
<TR><TD><TD><TD><TD>More&nbsp;&nbsp;<TD>a,b,c
<TR><TD><TD><TD><TD>&nbsp;&nbsp;<TD>
B

# LF and CR LF mixed; the last line has no line end and is still complete.
raw_report line_ends_mixed '%s' \
    $'header\r\n' \
    $'Report,Mixed,,,One,1\n' \
    $'Report,Mixed,,,Two,2\r\n' \
    $'Report,Mixed,,,Three,3\n' \
    $'Report,Mixed,,,Four,4\r\n' \
    $'Report,Mixed,,,Five,5\n' \
    'Report,Mixed,,,Six,6'
expect line_ends_mixed '5' <<'B'
=PAGE QUORVIX System Information Report
<TR><TD><TD CLASS=dt COLSPAN=5>[ Mixed ]
<TR><TD>&nbsp;
<TR><TD><TD><TD>One&nbsp;&nbsp;<TD>1
<TR><TD><TD><TD>Two&nbsp;&nbsp;<TD>2
<TR><TD><TD><TD>Three&nbsp;&nbsp;<TD>3
<TR><TD><TD><TD>Four&nbsp;&nbsp;<TD>4
<TR><TD><TD><TD>Five&nbsp;&nbsp;<TD>5
<TR><TD><TD><TD>Six&nbsp;&nbsp;<TD>6
B

# A CR that is not followed by LF vanishes: inside a field, before a CR LF,
# and as the very last byte of the file.
raw_report lone_cr '%s' \
    $'header\r\n' \
    $'Report,Sum\rmary,,,La\rbel,Val\rue\r\n' \
    $'Report,Summary,,,Double,x\r\r\n' \
    $'\rReport,Summary,,,Lead,z\n' \
    $'Report,Summary,,,Tail,y\r'
expect lone_cr '' <<'B'
=PAGE QUORVIX System Information Report
<TR><TD><TD CLASS=dt COLSPAN=5>[ Summary ]
<TR><TD>&nbsp;
<TR><TD><TD><TD>Label&nbsp;&nbsp;<TD>Value
<TR><TD><TD><TD>Double&nbsp;&nbsp;<TD>x
<TR><TD><TD><TD>Lead&nbsp;&nbsp;<TD>z
<TR><TD><TD><TD>Tail&nbsp;&nbsp;<TD>y
B

# Ctrl-Z inside a line cuts the line and ends the input, in both passes:
# line 6 is never reached (empty title), and the table row whose second
# continuation line lies behind the Ctrl-Z gets an empty cell.
raw_report ctrl_z_inside_line '%s' \
    $'header\r\n' \
    $'Report,Summary,,,Computer,BOX\r\n' \
    $'Processes,a.exe,,,File,C:\\a.exe\r\n' \
    $'Processes,a.exe,,,Used Memory,10\x1a KB\r\n' \
    $'Processes,a.exe,,,Used Swap,20 KB\r\n' \
    $'Report,Summary,,,Title,never seen\r\n'
expect ctrl_z_inside_line '' <<'B'
=PAGE QUORVIX System Information Report
<TR><TD><TD CLASS=dt COLSPAN=5>[ Summary ]
<TR><TD>&nbsp;
<TR><TD><TD><TD>Computer&nbsp;&nbsp;<TD>BOX
</TABLE><BR><BR>
=PAGE Processes
<TR><TD><TD><TD><B>Process Name</B>&nbsp;&nbsp;<TD><B>Process File Name</B>&nbsp;&nbsp;<TD CLASS=cr><B>Used Memory</B>&nbsp;&nbsp;<TD CLASS=cr><B>Used Swap</B>
<TR><TD><TD><TD>a.exe&nbsp;&nbsp;<TD>C:\a.exe&nbsp;&nbsp;<TD CLASS=cr>10&nbsp;&nbsp;<TD CLASS=cr>
B

# Ctrl-Z at the start of a line: nothing from there on is read.
raw_report ctrl_z_line_start '%s' \
    $'header\n' \
    $'Report,Summary,,,A,1\n' \
    $'Report,Summary,,,B,2\n' \
    $'\x1aReport,Summary,,,C,3\n' \
    $'Report,Summary,,,D,4\n' \
    $'Report,Summary,,,E,5\n'
expect ctrl_z_line_start '' <<'B'
=PAGE QUORVIX System Information Report
<TR><TD><TD CLASS=dt COLSPAN=5>[ Summary ]
<TR><TD>&nbsp;
<TR><TD><TD><TD>A&nbsp;&nbsp;<TD>1
<TR><TD><TD><TD>B&nbsp;&nbsp;<TD>2
B

# Ctrl-Z after the last line end adds no empty record.
raw_report ctrl_z_at_end '%s' \
    $'header\r\n' \
    $'Report,Summary,,,A,1\r\n' \
    $'Report,Summary,,,B,2\r\n' \
    $'\x1a'
expect ctrl_z_at_end '' <<'B'
=PAGE QUORVIX System Information Report
<TR><TD><TD CLASS=dt COLSPAN=5>[ Summary ]
<TR><TD>&nbsp;
<TR><TD><TD><TD>A&nbsp;&nbsp;<TD>1
<TR><TD><TD><TD>B&nbsp;&nbsp;<TD>2
B

###########################################################################
# Pages, groups and items

# The basic shape: a property of a group, an item with a property under it,
# then a new page whose group starts without a current item. No spacer
# before the first group of a page, no header row (nothing is catalogued).
report page_group_item lf <<'R'
Three records
Report,General,,x,Computer,BOX-01
Report,General,Operating System,x,Name,Plain OS 7
Other Page,Details,,x,Uptime,3 days
R
expect page_group_item '' <<'B'
=PAGE QUORVIX System Information Report
<TR><TD><TD CLASS=dt COLSPAN=5>[ General ]
<TR><TD>&nbsp;
<TR><TD><TD><TD>Computer&nbsp;&nbsp;<TD>BOX-01
<TR><TD><TD><TD COLSPAN=3><B>Operating System:</B>
<TR><TD><TD><TD><TD>Name&nbsp;&nbsp;<TD>Plain OS 7
</TABLE><BR><BR>
=PAGE Other Page
<TR><TD><TD CLASS=dt COLSPAN=5>[ Details ]
<TR><TD>&nbsp;
<TR><TD><TD><TD>Uptime&nbsp;&nbsp;<TD>3 days
B

# The same report with "/HTA": the page is named report.hta and holds the
# same bytes; the switch is recognised in any case.
for variant in hta_switch:/HTA hta_switch_lower:/hta; do
    name=${variant%%:*}
    newcase "$name"
    cp "$cases/page_group_item/report.csv" "$cases/$name/report.csv"
    cp "$cases/page_group_item/expected.htm" "$cases/$name/expected.htm"
    printf '%s\n' "${variant#*:}" > "$cases/$name/args"
done

# Spacers between groups and between items, the item that lasts over records
# with an empty Item, the group change that ends the item, and a page title
# that comes back after another page (a new heading, now with its own title).
report groups_and_items lf <<'R'
header
Report,Machine,,,Name,BOX
Report,Machine,CPU,,Model,Fast 3000
Report,Machine,CPU,,Cores,4
Report,Machine,Memory,,Size,8 GB
Report,Machine,,,Note,still under Memory
Report,Network,,,Host,box.local
Report,Network,Adapter 1,,Speed,1 Gbit
Storage,Disks,Disk 0,,Size,500 GB
Report,Machine,,,Back,again
R
expect groups_and_items 'still under Memory' <<'B'
=PAGE QUORVIX System Information Report
<TR><TD><TD CLASS=dt COLSPAN=5>[ Machine ]
<TR><TD>&nbsp;
<TR><TD><TD><TD>Name&nbsp;&nbsp;<TD>BOX
<TR><TD><TD><TD COLSPAN=3><B>CPU:</B>
<TR><TD><TD><TD><TD>Model&nbsp;&nbsp;<TD>Fast 3000
<TR><TD><TD><TD><TD>Cores&nbsp;&nbsp;<TD>4
<TR><TD>&nbsp;
<TR><TD><TD><TD COLSPAN=3><B>Memory:</B>
<TR><TD><TD><TD><TD>Size&nbsp;&nbsp;<TD>8 GB
<TR><TD><TD><TD><TD>Note&nbsp;&nbsp;<TD>still under Memory
<TR><TD>&nbsp;
<TR><TD><TD CLASS=dt COLSPAN=5>[ Network ]
<TR><TD>&nbsp;
<TR><TD><TD><TD>Host&nbsp;&nbsp;<TD>box.local
<TR><TD><TD><TD COLSPAN=3><B>Adapter 1:</B>
<TR><TD><TD><TD><TD>Speed&nbsp;&nbsp;<TD>1 Gbit
</TABLE><BR><BR>
=PAGE Storage
<TR><TD><TD CLASS=dt COLSPAN=5>[ Disks ]
<TR><TD>&nbsp;
<TR><TD><TD><TD COLSPAN=3><B>Disk 0:</B>
<TR><TD><TD><TD><TD>Size&nbsp;&nbsp;<TD>500 GB
</TABLE><BR><BR>
=PAGE Report
<TR><TD><TD CLASS=dt COLSPAN=5>[ Machine ]
<TR><TD>&nbsp;
<TR><TD><TD><TD>Back&nbsp;&nbsp;<TD>again
B

# Records with an empty Page before the first page are written straight
# after the head. The first titled page still gets the banner, opens without
# a closing line before it, and (being "Report") keeps the English titles.
report empty_page_first crlf <<'R'
header
,Orphans,,,Loose,one
,Orphans,Thing,,Deep,two
,,,,Bare,three
Report,Summary,,,Computer,BOX
Report,Summary,,,User,admin
Environment,PATH,,,Variable,C:\Tools
R
expect empty_page_first 'admin' <<'B'
<TR><TD><TD CLASS=dt COLSPAN=5>[ Orphans ]
<TR><TD>&nbsp;
<TR><TD><TD><TD>Loose&nbsp;&nbsp;<TD>one
<TR><TD><TD><TD COLSPAN=3><B>Thing:</B>
<TR><TD><TD><TD><TD>Deep&nbsp;&nbsp;<TD>two
<TR><TD><TD><TD><TD>Bare&nbsp;&nbsp;<TD>three
=PAGE QUORVIX System Information Report
<TR><TD><TD CLASS=dt COLSPAN=5>[ Summary ]
<TR><TD>&nbsp;
<TR><TD><TD><TD>Computer&nbsp;&nbsp;<TD>BOX
<TR><TD><TD><TD>User&nbsp;&nbsp;<TD>admin
</TABLE><BR><BR>
=PAGE Environment
<TR><TD><TD><TD><B>Variable</B>&nbsp;&nbsp;<TD><B>Value</B>
<TR><TD><TD><TD>PATH&nbsp;&nbsp;<TD>C:\Tools
B

###########################################################################
# Page tables (first page "Report": English titles and headers)

# Two columns: no continuation lines. "LL" and "LC" alignments; the Label of
# a table record does not appear; the page's groups get no headings.
report table_two_columns crlf <<'R'
header
Report,Summary,,,Computer,BOX
Environment,PATH,,,Variable,C:\Windows;C:\Tools
Environment,TEMP,,,Variable,C:\Temp
PCI / AGP Video,Display Adapter,,,Device Type,VGA compatible
PCI / AGP Video,Second Adapter,,,Device Type,3D controller
R
expect table_two_columns '3D controller' <<'B'
=PAGE QUORVIX System Information Report
<TR><TD><TD CLASS=dt COLSPAN=5>[ Summary ]
<TR><TD>&nbsp;
<TR><TD><TD><TD>Computer&nbsp;&nbsp;<TD>BOX
</TABLE><BR><BR>
=PAGE Environment
<TR><TD><TD><TD><B>Variable</B>&nbsp;&nbsp;<TD><B>Value</B>
<TR><TD><TD><TD>PATH&nbsp;&nbsp;<TD>C:\Windows,C:\Tools
<TR><TD><TD><TD>TEMP&nbsp;&nbsp;<TD>C:\Temp
</TABLE><BR><BR>
=PAGE PCI / AGP Video
<TR><TD><TD><TD><B>Device Description</B>&nbsp;&nbsp;<TD CLASS=cc><B>Device Type</B>
<TR><TD><TD><TD>Display Adapter&nbsp;&nbsp;<TD CLASS=cc>VGA compatible
<TR><TD><TD><TD>Second Adapter&nbsp;&nbsp;<TD CLASS=cc>3D controller
B

# Four columns: every row takes three report lines.
report table_four_columns lf <<'R'
header
Report,Summary,,,Computer,BOX
Processes,explorer.exe,,,Process File Name,C:\Windows\explorer.exe
Processes,explorer.exe,,,Used Memory,24 576 KB
Processes,explorer.exe,,,Used Swap,8 192 KB
Processes,svchost.exe,,,Process File Name,C:\Windows\System32\svchost.exe
Processes,svchost.exe,,,Used Memory,5 120 KB
Processes,svchost.exe,,,Used Swap,1 024 KB
R
expect table_four_columns 'C:\Windows\System32\svchost.exe' <<'B'
=PAGE QUORVIX System Information Report
<TR><TD><TD CLASS=dt COLSPAN=5>[ Summary ]
<TR><TD>&nbsp;
<TR><TD><TD><TD>Computer&nbsp;&nbsp;<TD>BOX
</TABLE><BR><BR>
=PAGE Processes
<TR><TD><TD><TD><B>Process Name</B>&nbsp;&nbsp;<TD><B>Process File Name</B>&nbsp;&nbsp;<TD CLASS=cr><B>Used Memory</B>&nbsp;&nbsp;<TD CLASS=cr><B>Used Swap</B>
<TR><TD><TD><TD>explorer.exe&nbsp;&nbsp;<TD>C:\Windows\explorer.exe&nbsp;&nbsp;<TD CLASS=cr>24 576 KB&nbsp;&nbsp;<TD CLASS=cr>8 192 KB
<TR><TD><TD><TD>svchost.exe&nbsp;&nbsp;<TD>C:\Windows\System32\svchost.exe&nbsp;&nbsp;<TD CLASS=cr>5 120 KB&nbsp;&nbsp;<TD CLASS=cr>1 024 KB
B

# Seven columns ("LLCCRRR "): six report lines per row.
report table_seven_columns crlf <<'R'
header
Report,Summary,,,Computer,BOX
Logical Drives,C:,,,Drive Type,Fixed Disk
Logical Drives,C:,,,File System,NTFS
Logical Drives,C:,,,Volume Serial,1A2B-3C4D
Logical Drives,C:,,,Total Size,120 GB
Logical Drives,C:,,,Free Space,40 GB
Logical Drives,C:,,,% Free,33 %
Logical Drives,D:,,,Drive Type,CD-ROM
Logical Drives,D:,,,File System,CDFS
Logical Drives,D:,,,Volume Serial,0000-1111
Logical Drives,D:,,,Total Size,650 MB
Logical Drives,D:,,,Free Space,0 MB
Logical Drives,D:,,,% Free,0 %
R
expect table_seven_columns '120 GB' <<'B'
=PAGE QUORVIX System Information Report
<TR><TD><TD CLASS=dt COLSPAN=5>[ Summary ]
<TR><TD>&nbsp;
<TR><TD><TD><TD>Computer&nbsp;&nbsp;<TD>BOX
</TABLE><BR><BR>
=PAGE Logical Drives
<TR><TD><TD><TD><B>Drive</B>&nbsp;&nbsp;<TD><B>Drive Type</B>&nbsp;&nbsp;<TD CLASS=cc><B>File System</B>&nbsp;&nbsp;<TD CLASS=cc><B>Volume Serial</B>&nbsp;&nbsp;<TD CLASS=cr><B>Total Size</B>&nbsp;&nbsp;<TD CLASS=cr><B>Free Space</B>&nbsp;&nbsp;<TD CLASS=cr><B>% Free</B>
<TR><TD><TD><TD>C:&nbsp;&nbsp;<TD>Fixed Disk&nbsp;&nbsp;<TD CLASS=cc>NTFS&nbsp;&nbsp;<TD CLASS=cc>1A2B-3C4D&nbsp;&nbsp;<TD CLASS=cr>120 GB&nbsp;&nbsp;<TD CLASS=cr>40 GB&nbsp;&nbsp;<TD CLASS=cr>33 %
<TR><TD><TD><TD>D:&nbsp;&nbsp;<TD>CD-ROM&nbsp;&nbsp;<TD CLASS=cc>CDFS&nbsp;&nbsp;<TD CLASS=cc>0000-1111&nbsp;&nbsp;<TD CLASS=cr>650 MB&nbsp;&nbsp;<TD CLASS=cr>0 MB&nbsp;&nbsp;<TD CLASS=cr>0 %
B

# Eight columns ("LCCLLLLL", the one code without blanks): seven lines a row.
report table_eight_columns lf <<'R'
header
Report,Summary,,,Computer,BOX
ASPI,Host 0,,,ID,0
ASPI,Host 0,,,LUN,0
ASPI,Host 0,,,Device Type,Disk
ASPI,Host 0,,,Vendor,ACME
ASPI,Host 0,,,Model,FastDisk 500
ASPI,Host 0,,,Rev,1.0
ASPI,Host 0,,,Extra Information,Removable: No
ASPI,Host 1,,,ID,3
ASPI,Host 1,,,LUN,0
ASPI,Host 1,,,Device Type,CD-ROM
ASPI,Host 1,,,Vendor,OPTIX
ASPI,Host 1,,,Model,Reader 52x
ASPI,Host 1,,,Rev,2.10
ASPI,Host 1,,,Extra Information,Removable: Yes
R
expect table_eight_columns 'ACME' <<'B'
=PAGE QUORVIX System Information Report
<TR><TD><TD CLASS=dt COLSPAN=5>[ Summary ]
<TR><TD>&nbsp;
<TR><TD><TD><TD>Computer&nbsp;&nbsp;<TD>BOX
</TABLE><BR><BR>
=PAGE ASPI
<TR><TD><TD><TD><B>Host</B>&nbsp;&nbsp;<TD CLASS=cc><B>ID</B>&nbsp;&nbsp;<TD CLASS=cc><B>LUN</B>&nbsp;&nbsp;<TD><B>Device Type</B>&nbsp;&nbsp;<TD><B>Vendor</B>&nbsp;&nbsp;<TD><B>Model</B>&nbsp;&nbsp;<TD><B>Rev</B>&nbsp;&nbsp;<TD><B>Extra Information</B>
<TR><TD><TD><TD>Host 0&nbsp;&nbsp;<TD CLASS=cc>0&nbsp;&nbsp;<TD CLASS=cc>0&nbsp;&nbsp;<TD>Disk&nbsp;&nbsp;<TD>ACME&nbsp;&nbsp;<TD>FastDisk 500&nbsp;&nbsp;<TD>1.0&nbsp;&nbsp;<TD>Removable: No
<TR><TD><TD><TD>Host 1&nbsp;&nbsp;<TD CLASS=cc>3&nbsp;&nbsp;<TD CLASS=cc>0&nbsp;&nbsp;<TD>CD-ROM&nbsp;&nbsp;<TD>OPTIX&nbsp;&nbsp;<TD>Reader 52x&nbsp;&nbsp;<TD>2.10&nbsp;&nbsp;<TD>Removable: Yes
B

# Item titles inside a page table: an item heading before the row whenever
# the item differs from the current one (every new group clears it), a
# spacer before it when an item was current, none for an empty Item.
report items_in_page_table lf <<'R'
header
Report,Summary,,,Computer,BOX
Processes,a.exe,Session 0,,Process File Name,C:\a.exe
Processes,a.exe,Session 0,,Used Memory,1 KB
Processes,a.exe,Session 0,,Used Swap,2 KB
Processes,b.exe,Session 0,,Process File Name,C:\b.exe
Processes,b.exe,Session 0,,Used Memory,3 KB
Processes,b.exe,Session 0,,Used Swap,4 KB
Processes,b.exe,Session 1,,Process File Name,C:\b2.exe
Processes,b.exe,Session 1,,Used Memory,5 KB
Processes,b.exe,Session 1,,Used Swap,6 KB
Processes,b.exe,Session 1,,Process File Name,C:\b3.exe
Processes,b.exe,Session 1,,Used Memory,7 KB
Processes,b.exe,Session 1,,Used Swap,8 KB
Processes,c.exe,,,Process File Name,C:\c.exe
Processes,c.exe,,,Used Memory,9 KB
Processes,c.exe,,,Used Swap,10 KB
R
expect items_in_page_table 'C:\b.exe' <<'B'
=PAGE QUORVIX System Information Report
<TR><TD><TD CLASS=dt COLSPAN=5>[ Summary ]
<TR><TD>&nbsp;
<TR><TD><TD><TD>Computer&nbsp;&nbsp;<TD>BOX
</TABLE><BR><BR>
=PAGE Processes
<TR><TD><TD><TD><B>Process Name</B>&nbsp;&nbsp;<TD><B>Process File Name</B>&nbsp;&nbsp;<TD CLASS=cr><B>Used Memory</B>&nbsp;&nbsp;<TD CLASS=cr><B>Used Swap</B>
<TR><TD><TD><TD COLSPAN=3><B>Session 0:</B>
<TR><TD><TD><TD>a.exe&nbsp;&nbsp;<TD>C:\a.exe&nbsp;&nbsp;<TD CLASS=cr>1 KB&nbsp;&nbsp;<TD CLASS=cr>2 KB
<TR><TD><TD><TD COLSPAN=3><B>Session 0:</B>
<TR><TD><TD><TD>b.exe&nbsp;&nbsp;<TD>C:\b.exe&nbsp;&nbsp;<TD CLASS=cr>3 KB&nbsp;&nbsp;<TD CLASS=cr>4 KB
<TR><TD>&nbsp;
<TR><TD><TD><TD COLSPAN=3><B>Session 1:</B>
<TR><TD><TD><TD>b.exe&nbsp;&nbsp;<TD>C:\b2.exe&nbsp;&nbsp;<TD CLASS=cr>5 KB&nbsp;&nbsp;<TD CLASS=cr>6 KB
<TR><TD><TD><TD>b.exe&nbsp;&nbsp;<TD>C:\b3.exe&nbsp;&nbsp;<TD CLASS=cr>7 KB&nbsp;&nbsp;<TD CLASS=cr>8 KB
<TR><TD><TD><TD>c.exe&nbsp;&nbsp;<TD>C:\c.exe&nbsp;&nbsp;<TD CLASS=cr>9 KB&nbsp;&nbsp;<TD CLASS=cr>10 KB
B

# Column 1 is the record's own Group field: a record with an empty Group
# (or an empty Page and Group) gives a row with an empty first cell, in a
# page table and in a group table alike.
report table_row_empty_group lf <<'R'
header
Report,Summary,,,Computer,BOX
Processes,a.exe,,,Process File Name,C:\a.exe
Processes,a.exe,,,Used Memory,1 KB
Processes,a.exe,,,Used Swap,2 KB
Processes,,,,Process File Name,C:\nameless.exe
Processes,,,,Used Memory,3 KB
Processes,,,,Used Swap,4 KB
,,,,Process File Name,C:\orphan.exe
,,,,Used Memory,5 KB
,,,,Used Swap,6 KB
SMART,Disk 0,01,,Attribute Description,Raw Read Error Rate
SMART,Disk 0,01,,Threshold,51
SMART,Disk 0,01,,Value,100
SMART,Disk 0,01,,Worst,100
SMART,Disk 0,01,,Data,0
SMART,Disk 0,01,,Status,OK
SMART,,02,,Attribute Description,Throughput Performance
SMART,,02,,Threshold,50
SMART,,02,,Value,98
SMART,,02,,Worst,97
SMART,,02,,Data,12
SMART,,02,,Status,OK
R
expect table_row_empty_group 'C:\nameless.exe' <<'B'
=PAGE QUORVIX System Information Report
<TR><TD><TD CLASS=dt COLSPAN=5>[ Summary ]
<TR><TD>&nbsp;
<TR><TD><TD><TD>Computer&nbsp;&nbsp;<TD>BOX
</TABLE><BR><BR>
=PAGE Processes
<TR><TD><TD><TD><B>Process Name</B>&nbsp;&nbsp;<TD><B>Process File Name</B>&nbsp;&nbsp;<TD CLASS=cr><B>Used Memory</B>&nbsp;&nbsp;<TD CLASS=cr><B>Used Swap</B>
<TR><TD><TD><TD>a.exe&nbsp;&nbsp;<TD>C:\a.exe&nbsp;&nbsp;<TD CLASS=cr>1 KB&nbsp;&nbsp;<TD CLASS=cr>2 KB
<TR><TD><TD><TD>&nbsp;&nbsp;<TD>C:\nameless.exe&nbsp;&nbsp;<TD CLASS=cr>3 KB&nbsp;&nbsp;<TD CLASS=cr>4 KB
<TR><TD><TD><TD>&nbsp;&nbsp;<TD>C:\orphan.exe&nbsp;&nbsp;<TD CLASS=cr>5 KB&nbsp;&nbsp;<TD CLASS=cr>6 KB
</TABLE><BR><BR>
=PAGE SMART
<TR><TD><TD CLASS=dt COLSPAN=5>[ Disk 0 ]
<TR><TD>&nbsp;
<TR><TD><TD><TD><B>ID</B>&nbsp;&nbsp;<TD><B>Attribute Description</B>&nbsp;&nbsp;<TD CLASS=cc><B>Threshold</B>&nbsp;&nbsp;<TD CLASS=cc><B>Value</B>&nbsp;&nbsp;<TD CLASS=cc><B>Worst</B>&nbsp;&nbsp;<TD CLASS=cr><B>Data</B>&nbsp;&nbsp;<TD><B>Status</B>
<TR><TD><TD><TD>Disk 0&nbsp;&nbsp;<TD>Raw Read Error Rate&nbsp;&nbsp;<TD CLASS=cc>51&nbsp;&nbsp;<TD CLASS=cc>100&nbsp;&nbsp;<TD CLASS=cc>100&nbsp;&nbsp;<TD CLASS=cr>0&nbsp;&nbsp;<TD>OK
<TR><TD><TD><TD>&nbsp;&nbsp;<TD>Throughput Performance&nbsp;&nbsp;<TD CLASS=cc>50&nbsp;&nbsp;<TD CLASS=cc>98&nbsp;&nbsp;<TD CLASS=cc>97&nbsp;&nbsp;<TD CLASS=cr>12&nbsp;&nbsp;<TD>OK
B

# The report ends right after the record line of a four-column row: the row
# is still complete, with two empty cells. No line end at the very end.
raw_report table_row_truncated '%s\n' \
    'header' \
    'Report,Summary,,,Computer,BOX' \
    'Processes,a.exe,,,Process File Name,C:\a.exe' \
    'Processes,a.exe,,,Used Memory,100 KB' \
    'Processes,a.exe,,,Used Swap,0 KB'
printf '%s' 'Processes,b.exe,,,Process File Name,C:\b.exe' >> "$cases/table_row_truncated/report.csv"
expect table_row_truncated 'C:\b.exe' <<'B'
=PAGE QUORVIX System Information Report
<TR><TD><TD CLASS=dt COLSPAN=5>[ Summary ]
<TR><TD>&nbsp;
<TR><TD><TD><TD>Computer&nbsp;&nbsp;<TD>BOX
</TABLE><BR><BR>
=PAGE Processes
<TR><TD><TD><TD><B>Process Name</B>&nbsp;&nbsp;<TD><B>Process File Name</B>&nbsp;&nbsp;<TD CLASS=cr><B>Used Memory</B>&nbsp;&nbsp;<TD CLASS=cr><B>Used Swap</B>
<TR><TD><TD><TD>a.exe&nbsp;&nbsp;<TD>C:\a.exe&nbsp;&nbsp;<TD CLASS=cr>100 KB&nbsp;&nbsp;<TD CLASS=cr>0 KB
<TR><TD><TD><TD>b.exe&nbsp;&nbsp;<TD>C:\b.exe&nbsp;&nbsp;<TD CLASS=cr>&nbsp;&nbsp;<TD CLASS=cr>
B

# A seven-column row of which only two continuation lines are there: the
# three missing cells are empty.
report table_row_truncated_partial crlf <<'R'
header
Report,Summary,,,Computer,BOX
Logical Drives,C:,,,Drive Type,Fixed Disk
Logical Drives,C:,,,File System,NTFS
Logical Drives,C:,,,Volume Serial,1A2B-3C4D
R
expect table_row_truncated_partial '' <<'B'
=PAGE QUORVIX System Information Report
<TR><TD><TD CLASS=dt COLSPAN=5>[ Summary ]
<TR><TD>&nbsp;
<TR><TD><TD><TD>Computer&nbsp;&nbsp;<TD>BOX
</TABLE><BR><BR>
=PAGE Logical Drives
<TR><TD><TD><TD><B>Drive</B>&nbsp;&nbsp;<TD><B>Drive Type</B>&nbsp;&nbsp;<TD CLASS=cc><B>File System</B>&nbsp;&nbsp;<TD CLASS=cc><B>Volume Serial</B>&nbsp;&nbsp;<TD CLASS=cr><B>Total Size</B>&nbsp;&nbsp;<TD CLASS=cr><B>Free Space</B>&nbsp;&nbsp;<TD CLASS=cr><B>% Free</B>
<TR><TD><TD><TD>C:&nbsp;&nbsp;<TD>Fixed Disk&nbsp;&nbsp;<TD CLASS=cc>NTFS&nbsp;&nbsp;<TD CLASS=cc>1A2B-3C4D&nbsp;&nbsp;<TD CLASS=cr>&nbsp;&nbsp;<TD CLASS=cr>&nbsp;&nbsp;<TD CLASS=cr>
B

# Continuation lines are taken blindly: a "PCI Dump" line, a line of another
# page, group and item, an "http://" cell, a cell with ";" and a line
# without commas are all plain cells of the row.
report continuation_lines_blind lf <<'R'
header
Report,Summary,,,Computer,BOX
Processes,a.exe,,,Process File Name,C:\a.exe
PCI Dump,Bus 0,Device 1,,00,86 80
New Page,New Group,New Item,,Label,http://www.example.com/
Processes,b.exe,,,Process File Name,C:\b.exe
Processes,b.exe,,,Used Memory,1;024 KB
just a cell
Processes,c.exe,,,Process File Name,C:\c.exe
R
expect continuation_lines_blind 'C:\b.exe' <<'B'
=PAGE QUORVIX System Information Report
<TR><TD><TD CLASS=dt COLSPAN=5>[ Summary ]
<TR><TD>&nbsp;
<TR><TD><TD><TD>Computer&nbsp;&nbsp;<TD>BOX
</TABLE><BR><BR>
=PAGE Processes
<TR><TD><TD><TD><B>Process Name</B>&nbsp;&nbsp;<TD><B>Process File Name</B>&nbsp;&nbsp;<TD CLASS=cr><B>Used Memory</B>&nbsp;&nbsp;<TD CLASS=cr><B>Used Swap</B>
<TR><TD><TD><TD>a.exe&nbsp;&nbsp;<TD>C:\a.exe&nbsp;&nbsp;<TD CLASS=cr>86 80&nbsp;&nbsp;<TD CLASS=cr>http://www.example.com/
<TR><TD><TD><TD>b.exe&nbsp;&nbsp;<TD>C:\b.exe&nbsp;&nbsp;<TD CLASS=cr>1;024 KB&nbsp;&nbsp;<TD CLASS=cr>just a cell
<TR><TD><TD><TD>c.exe&nbsp;&nbsp;<TD>C:\c.exe&nbsp;&nbsp;<TD CLASS=cr>&nbsp;&nbsp;<TD CLASS=cr>
B

###########################################################################
# Group tables and the catalogue lookup

# "SMART" in a report whose first page is "Report": every group of the page
# is a table of its own with the English headers; items get no headings in
# a group table. The next plain page is no table again, and shows its item.
report group_table_smart lf <<'R'
header
Report,Summary,,,Computer,BOX
SMART,Disk 0,01,,Attribute Description,Raw Read Error Rate
SMART,Disk 0,01,,Threshold,51
SMART,Disk 0,01,,Value,100
SMART,Disk 0,01,,Worst,100
SMART,Disk 0,01,,Data,0
SMART,Disk 0,01,,Status,OK
SMART,Disk 0,09,,Attribute Description,Power On Hours
SMART,Disk 0,09,,Threshold,0
SMART,Disk 0,09,,Value,98
SMART,Disk 0,09,,Worst,98
SMART,Disk 0,09,,Data,1234
SMART,Disk 0,09,,Status,OK
SMART,Disk 1,05,,Attribute Description,Reallocated Sector Count
SMART,Disk 1,05,,Threshold,36
SMART,Disk 1,05,,Value,100
SMART,Disk 1,05,,Worst,100
SMART,Disk 1,05,,Data,0
SMART,Disk 1,05,,Status,OK
Notes,General,Check,,Checked,yes
R
expect group_table_smart '100' <<'B'
=PAGE QUORVIX System Information Report
<TR><TD><TD CLASS=dt COLSPAN=5>[ Summary ]
<TR><TD>&nbsp;
<TR><TD><TD><TD>Computer&nbsp;&nbsp;<TD>BOX
</TABLE><BR><BR>
=PAGE SMART
<TR><TD><TD CLASS=dt COLSPAN=5>[ Disk 0 ]
<TR><TD>&nbsp;
<TR><TD><TD><TD><B>ID</B>&nbsp;&nbsp;<TD><B>Attribute Description</B>&nbsp;&nbsp;<TD CLASS=cc><B>Threshold</B>&nbsp;&nbsp;<TD CLASS=cc><B>Value</B>&nbsp;&nbsp;<TD CLASS=cc><B>Worst</B>&nbsp;&nbsp;<TD CLASS=cr><B>Data</B>&nbsp;&nbsp;<TD><B>Status</B>
<TR><TD><TD><TD>Disk 0&nbsp;&nbsp;<TD>Raw Read Error Rate&nbsp;&nbsp;<TD CLASS=cc>51&nbsp;&nbsp;<TD CLASS=cc>100&nbsp;&nbsp;<TD CLASS=cc>100&nbsp;&nbsp;<TD CLASS=cr>0&nbsp;&nbsp;<TD>OK
<TR><TD><TD><TD>Disk 0&nbsp;&nbsp;<TD>Power On Hours&nbsp;&nbsp;<TD CLASS=cc>0&nbsp;&nbsp;<TD CLASS=cc>98&nbsp;&nbsp;<TD CLASS=cc>98&nbsp;&nbsp;<TD CLASS=cr>1234&nbsp;&nbsp;<TD>OK
<TR><TD>&nbsp;
<TR><TD><TD CLASS=dt COLSPAN=5>[ Disk 1 ]
<TR><TD>&nbsp;
<TR><TD><TD><TD><B>ID</B>&nbsp;&nbsp;<TD><B>Attribute Description</B>&nbsp;&nbsp;<TD CLASS=cc><B>Threshold</B>&nbsp;&nbsp;<TD CLASS=cc><B>Value</B>&nbsp;&nbsp;<TD CLASS=cc><B>Worst</B>&nbsp;&nbsp;<TD CLASS=cr><B>Data</B>&nbsp;&nbsp;<TD><B>Status</B>
<TR><TD><TD><TD>Disk 1&nbsp;&nbsp;<TD>Reallocated Sector Count&nbsp;&nbsp;<TD CLASS=cc>36&nbsp;&nbsp;<TD CLASS=cc>100&nbsp;&nbsp;<TD CLASS=cc>100&nbsp;&nbsp;<TD CLASS=cr>0&nbsp;&nbsp;<TD>OK
</TABLE><BR><BR>
=PAGE Notes
<TR><TD><TD CLASS=dt COLSPAN=5>[ General ]
<TR><TD>&nbsp;
<TR><TD><TD><TD COLSPAN=3><B>Check:</B>
<TR><TD><TD><TD><TD>Checked&nbsp;&nbsp;<TD>yes
B

# "Physical Drives": one five-column table per drive.
report group_table_physical_drives crlf <<'R'
header
Report,Summary,,,Computer,BOX
Physical Drives,Drive 0,Partition 1,,Partition Type,NTFS
Physical Drives,Drive 0,Partition 1,,Drive,C:
Physical Drives,Drive 0,Partition 1,,Start Offset,32256
Physical Drives,Drive 0,Partition 1,,Partition Length,60 GB
Physical Drives,Drive 0,Partition 2,,Partition Type,FAT32
Physical Drives,Drive 0,Partition 2,,Drive,D:
Physical Drives,Drive 0,Partition 2,,Start Offset,64424509440
Physical Drives,Drive 0,Partition 2,,Partition Length,20 GB
Physical Drives,Drive 1,Partition 1,,Partition Type,NTFS
Physical Drives,Drive 1,Partition 1,,Drive,E:
Physical Drives,Drive 1,Partition 1,,Start Offset,32256
Physical Drives,Drive 1,Partition 1,,Partition Length,250 GB
R
expect group_table_physical_drives '60 GB' <<'B'
=PAGE QUORVIX System Information Report
<TR><TD><TD CLASS=dt COLSPAN=5>[ Summary ]
<TR><TD>&nbsp;
<TR><TD><TD><TD>Computer&nbsp;&nbsp;<TD>BOX
</TABLE><BR><BR>
=PAGE Physical Drives
<TR><TD><TD CLASS=dt COLSPAN=5>[ Drive 0 ]
<TR><TD>&nbsp;
<TR><TD><TD><TD><B>Partition</B>&nbsp;&nbsp;<TD><B>Partition Type</B>&nbsp;&nbsp;<TD><B>Drive</B>&nbsp;&nbsp;<TD CLASS=cr><B>Start Offset</B>&nbsp;&nbsp;<TD CLASS=cr><B>Partition Length</B>
<TR><TD><TD><TD>Drive 0&nbsp;&nbsp;<TD>NTFS&nbsp;&nbsp;<TD>C:&nbsp;&nbsp;<TD CLASS=cr>32256&nbsp;&nbsp;<TD CLASS=cr>60 GB
<TR><TD><TD><TD>Drive 0&nbsp;&nbsp;<TD>FAT32&nbsp;&nbsp;<TD>D:&nbsp;&nbsp;<TD CLASS=cr>64424509440&nbsp;&nbsp;<TD CLASS=cr>20 GB
<TR><TD>&nbsp;
<TR><TD><TD CLASS=dt COLSPAN=5>[ Drive 1 ]
<TR><TD>&nbsp;
<TR><TD><TD><TD><B>Partition</B>&nbsp;&nbsp;<TD><B>Partition Type</B>&nbsp;&nbsp;<TD><B>Drive</B>&nbsp;&nbsp;<TD CLASS=cr><B>Start Offset</B>&nbsp;&nbsp;<TD CLASS=cr><B>Partition Length</B>
<TR><TD><TD><TD>Drive 1&nbsp;&nbsp;<TD>NTFS&nbsp;&nbsp;<TD>E:&nbsp;&nbsp;<TD CLASS=cr>32256&nbsp;&nbsp;<TD CLASS=cr>250 GB
B

# A group that starts on a line with an empty Page looks up "*" alone: no
# header row, but the group table's column count stays, so its records are
# still table rows. The next group of the page gets its header row again.
report group_start_empty_page lf <<'R'
header
Report,Summary,,,Computer,BOX
SMART,Disk 0,01,,Attribute Description,Raw Read Error Rate
SMART,Disk 0,01,,Threshold,51
SMART,Disk 0,01,,Value,100
SMART,Disk 0,01,,Worst,100
SMART,Disk 0,01,,Data,0
SMART,Disk 0,01,,Status,OK
,Disk 1,01,,Attribute Description,Raw Read Error Rate
,Disk 1,01,,Threshold,51
,Disk 1,01,,Value,200
,Disk 1,01,,Worst,200
,Disk 1,01,,Data,0
,Disk 1,01,,Status,OK
SMART,Disk 2,C2,,Attribute Description,Temperature
SMART,Disk 2,C2,,Threshold,0
SMART,Disk 2,C2,,Value,40
SMART,Disk 2,C2,,Worst,55
SMART,Disk 2,C2,,Data,40
SMART,Disk 2,C2,,Status,OK
R
expect group_start_empty_page '100' <<'B'
=PAGE QUORVIX System Information Report
<TR><TD><TD CLASS=dt COLSPAN=5>[ Summary ]
<TR><TD>&nbsp;
<TR><TD><TD><TD>Computer&nbsp;&nbsp;<TD>BOX
</TABLE><BR><BR>
=PAGE SMART
<TR><TD><TD CLASS=dt COLSPAN=5>[ Disk 0 ]
<TR><TD>&nbsp;
<TR><TD><TD><TD><B>ID</B>&nbsp;&nbsp;<TD><B>Attribute Description</B>&nbsp;&nbsp;<TD CLASS=cc><B>Threshold</B>&nbsp;&nbsp;<TD CLASS=cc><B>Value</B>&nbsp;&nbsp;<TD CLASS=cc><B>Worst</B>&nbsp;&nbsp;<TD CLASS=cr><B>Data</B>&nbsp;&nbsp;<TD><B>Status</B>
<TR><TD><TD><TD>Disk 0&nbsp;&nbsp;<TD>Raw Read Error Rate&nbsp;&nbsp;<TD CLASS=cc>51&nbsp;&nbsp;<TD CLASS=cc>100&nbsp;&nbsp;<TD CLASS=cc>100&nbsp;&nbsp;<TD CLASS=cr>0&nbsp;&nbsp;<TD>OK
<TR><TD>&nbsp;
<TR><TD><TD CLASS=dt COLSPAN=5>[ Disk 1 ]
<TR><TD>&nbsp;
<TR><TD><TD><TD>Disk 1&nbsp;&nbsp;<TD>Raw Read Error Rate&nbsp;&nbsp;<TD CLASS=cc>51&nbsp;&nbsp;<TD CLASS=cc>200&nbsp;&nbsp;<TD CLASS=cc>200&nbsp;&nbsp;<TD CLASS=cr>0&nbsp;&nbsp;<TD>OK
<TR><TD>&nbsp;
<TR><TD><TD CLASS=dt COLSPAN=5>[ Disk 2 ]
<TR><TD>&nbsp;
<TR><TD><TD><TD><B>ID</B>&nbsp;&nbsp;<TD><B>Attribute Description</B>&nbsp;&nbsp;<TD CLASS=cc><B>Threshold</B>&nbsp;&nbsp;<TD CLASS=cc><B>Value</B>&nbsp;&nbsp;<TD CLASS=cc><B>Worst</B>&nbsp;&nbsp;<TD CLASS=cr><B>Data</B>&nbsp;&nbsp;<TD><B>Status</B>
<TR><TD><TD><TD>Disk 2&nbsp;&nbsp;<TD>Temperature&nbsp;&nbsp;<TD CLASS=cc>0&nbsp;&nbsp;<TD CLASS=cc>40&nbsp;&nbsp;<TD CLASS=cc>55&nbsp;&nbsp;<TD CLASS=cr>40&nbsp;&nbsp;<TD>OK
B

# A first page titled "SMART" gets the banner and is no page table, but its
# groups are group tables, with the Hungarian headers since the first page
# is not "Report"; and a later "Processes" page is then an ordinary page.
report first_page_smart crlf <<'R'
header
SMART,Disk 0,01,,Attribute Description,Raw Read Error Rate
SMART,Disk 0,01,,Threshold,51
SMART,Disk 0,01,,Value,100
SMART,Disk 0,01,,Worst,100
SMART,Disk 0,01,,Data,0
SMART,Disk 0,01,,Status,OK
Processes,a.exe,,,Process File Name,C:\a.exe
R
expect first_page_smart '0' cp1250 <<'B'
=PAGE QUORVIX System Information Report
<TR><TD><TD CLASS=dt COLSPAN=5>[ Disk 0 ]
<TR><TD>&nbsp;
<TR><TD><TD><TD><B>ID</B>&nbsp;&nbsp;<TD><B>Attribútum leírása</B>&nbsp;&nbsp;<TD CLASS=cc><B>Küszöb</B>&nbsp;&nbsp;<TD CLASS=cc><B>Érték</B>&nbsp;&nbsp;<TD CLASS=cc><B>Legrosszabb</B>&nbsp;&nbsp;<TD CLASS=cr><B>Adat</B>&nbsp;&nbsp;<TD><B>Állapot</B>
<TR><TD><TD><TD>Disk 0&nbsp;&nbsp;<TD>Raw Read Error Rate&nbsp;&nbsp;<TD CLASS=cc>51&nbsp;&nbsp;<TD CLASS=cc>100&nbsp;&nbsp;<TD CLASS=cc>100&nbsp;&nbsp;<TD CLASS=cr>0&nbsp;&nbsp;<TD>OK
</TABLE><BR><BR>
=PAGE Processes
<TR><TD><TD CLASS=dt COLSPAN=5>[ a.exe ]
<TR><TD>&nbsp;
<TR><TD><TD><TD>Process File Name&nbsp;&nbsp;<TD>C:\a.exe
B

# A page titled "*SMART" matches at page level: one page table, its groups
# look up "**SMART" and match nothing, and its items get headings.
report star_smart_page lf <<'R'
header
Report,Summary,,,Computer,BOX
*SMART,Disk 0,01,,Attribute Description,Raw Read Error Rate
*SMART,Disk 0,01,,Threshold,51
*SMART,Disk 0,01,,Value,100
*SMART,Disk 0,01,,Worst,100
*SMART,Disk 0,01,,Data,0
*SMART,Disk 0,01,,Status,OK
*SMART,Disk 0,09,,Attribute Description,Power On Hours
*SMART,Disk 0,09,,Threshold,0
*SMART,Disk 0,09,,Value,98
*SMART,Disk 0,09,,Worst,98
*SMART,Disk 0,09,,Data,1234
*SMART,Disk 0,09,,Status,OK
R
expect star_smart_page '100' <<'B'
=PAGE QUORVIX System Information Report
<TR><TD><TD CLASS=dt COLSPAN=5>[ Summary ]
<TR><TD>&nbsp;
<TR><TD><TD><TD>Computer&nbsp;&nbsp;<TD>BOX
</TABLE><BR><BR>
=PAGE *SMART
<TR><TD><TD><TD><B>ID</B>&nbsp;&nbsp;<TD><B>Attribute Description</B>&nbsp;&nbsp;<TD CLASS=cc><B>Threshold</B>&nbsp;&nbsp;<TD CLASS=cc><B>Value</B>&nbsp;&nbsp;<TD CLASS=cc><B>Worst</B>&nbsp;&nbsp;<TD CLASS=cr><B>Data</B>&nbsp;&nbsp;<TD><B>Status</B>
<TR><TD><TD><TD COLSPAN=3><B>01:</B>
<TR><TD><TD><TD>Disk 0&nbsp;&nbsp;<TD>Raw Read Error Rate&nbsp;&nbsp;<TD CLASS=cc>51&nbsp;&nbsp;<TD CLASS=cc>100&nbsp;&nbsp;<TD CLASS=cc>100&nbsp;&nbsp;<TD CLASS=cr>0&nbsp;&nbsp;<TD>OK
<TR><TD>&nbsp;
<TR><TD><TD><TD COLSPAN=3><B>09:</B>
<TR><TD><TD><TD>Disk 0&nbsp;&nbsp;<TD>Power On Hours&nbsp;&nbsp;<TD CLASS=cc>0&nbsp;&nbsp;<TD CLASS=cc>98&nbsp;&nbsp;<TD CLASS=cc>98&nbsp;&nbsp;<TD CLASS=cr>1234&nbsp;&nbsp;<TD>OK
B

# With "Report" first both titles of every entry are tried: "Folyamatok"
# gives the Hungarian headers, "DLL" and "VCM" the English ones. Titles that
# differ in case or by a trailing blank match nothing.
report catalogue_lookup_report crlf cp1250 <<'R'
header
Report,Summary,,,Computer,BOX
Folyamatok,explorer.exe,,,Fájlnév,C:\Windows\explorer.exe
Folyamatok,explorer.exe,,,Memória,24 KB
Folyamatok,explorer.exe,,,Lapozófájl,8 KB
DLL,kernel32.dll,,,Version,5.1.2600
DLL,kernel32.dll,,,Description,Kernel library
processes,a.exe,,,File,C:\a.exe
Processes ,b.exe,,,File,C:\b.exe
VCM,msadp32.acm,,,Version,5.0
VCM,msadp32.acm,,,Description,ADPCM codec
Computer Name,Workgroup,,,Class,Domain;Member
Computer Name,Workgroup,,,Computer Name,BOX
R
expect catalogue_lookup_report '5.1.2600' cp1250 <<'B'
=PAGE QUORVIX System Information Report
<TR><TD><TD CLASS=dt COLSPAN=5>[ Summary ]
<TR><TD>&nbsp;
<TR><TD><TD><TD>Computer&nbsp;&nbsp;<TD>BOX
</TABLE><BR><BR>
=PAGE Folyamatok
<TR><TD><TD><TD><B>Folyamat neve</B>&nbsp;&nbsp;<TD><B>Folyamat fájlneve</B>&nbsp;&nbsp;<TD CLASS=cr><B>Felh. memória</B>&nbsp;&nbsp;<TD CLASS=cr><B>Felh. lapozófájl</B>
<TR><TD><TD><TD>explorer.exe&nbsp;&nbsp;<TD>C:\Windows\explorer.exe&nbsp;&nbsp;<TD CLASS=cr>24 KB&nbsp;&nbsp;<TD CLASS=cr>8 KB
</TABLE><BR><BR>
=PAGE DLL
<TR><TD><TD><TD><B>DLL File</B>&nbsp;&nbsp;<TD><B>Version</B>&nbsp;&nbsp;<TD><B>Description</B>
<TR><TD><TD><TD>kernel32.dll&nbsp;&nbsp;<TD>5.1.2600&nbsp;&nbsp;<TD>Kernel library
</TABLE><BR><BR>
=PAGE processes
<TR><TD><TD CLASS=dt COLSPAN=5>[ a.exe ]
<TR><TD>&nbsp;
<TR><TD><TD><TD>File&nbsp;&nbsp;<TD>C:\a.exe
</TABLE><BR><BR>
=PAGE Processes 
<TR><TD><TD CLASS=dt COLSPAN=5>[ b.exe ]
<TR><TD>&nbsp;
<TR><TD><TD><TD>File&nbsp;&nbsp;<TD>C:\b.exe
</TABLE><BR><BR>
=PAGE VCM
<TR><TD><TD><TD><B>Driver</B>&nbsp;&nbsp;<TD><B>Version</B>&nbsp;&nbsp;<TD><B>Description</B>
<TR><TD><TD><TD>msadp32.acm&nbsp;&nbsp;<TD>5.0&nbsp;&nbsp;<TD>ADPCM codec
</TABLE><BR><BR>
=PAGE Computer Name
<TR><TD><TD><TD><B>Type</B>&nbsp;&nbsp;<TD CLASS=cc><B>Class</B>&nbsp;&nbsp;<TD><B>Computer Name</B>
<TR><TD><TD><TD>Workgroup&nbsp;&nbsp;<TD CLASS=cc>Domain,Member&nbsp;&nbsp;<TD>BOX
B

###########################################################################
# A Hungarian report (Windows-1250), first page not "Report": only the
# Hungarian titles are tried. "Processes" and "Physical Drives" stay plain
# pages; "Folyamatok", "DLL", "Fizikai meghajtók" and "SMART" get tables with
# Hungarian headers.
report hungarian crlf cp1250 <<'R'
QUORVIX rendszerinformációs jelentés,3.52
Összesítés,Számítógép,,,Név,GÉP-01
Összesítés,Számítógép,,,Felhasználó,kovács.péter
Összesítés,Számítógép,Operációs rendszer,,Név,Ablak 7 Professzionális
Összesítés,Számítógép,Operációs rendszer,,Szervizcsomag,1
Összesítés,Jelentés,,,Cím,GÉP-01 heti leltár
Összesítés,Jelentés,,,Honlap,http://www.example.com/quorvix/
Processes,explorer.exe,,,Fájl,C:\Windows\explorer.exe
Folyamatok,explorer.exe,,,Fájlnév,C:\Windows\explorer.exe
Folyamatok,explorer.exe,,,Memória,24 576 KB
Folyamatok,explorer.exe,,,Lapozófájl,8 192 KB
DLL,kernel32.dll,,,Verzió,5.1.2600
DLL,kernel32.dll,,,Leírás,Rendszermag könyvtár
Physical Drives,Drive 0,,,Kötet típusa,NTFS
Fizikai meghajtók,0. meghajtó,1. kötet,,Kötet típusa,NTFS
Fizikai meghajtók,0. meghajtó,1. kötet,,Meghajtó,C:
Fizikai meghajtók,0. meghajtó,1. kötet,,Kezdő ofszet,32256
Fizikai meghajtók,0. meghajtó,1. kötet,,Kötet hossza,60 GB
SMART,1. lemez,01,,Attribútum leírása,Nyers olvasási hibaarány
SMART,1. lemez,01,,Küszöb,51
SMART,1. lemez,01,,Érték,100
SMART,1. lemez,01,,Legrosszabb,100
SMART,1. lemez,01,,Adat,0
SMART,1. lemez,01,,Állapot,Rendben
Hálózat,Csatoló,,,Leírás,Gyors Ethernet
Hálózat,Csatoló,TCP/IP,,IP cím,192.168.1.42
R
expect hungarian 'GÉP-01 heti leltár' cp1250 <<'B'
=PAGE QUORVIX System Information Report
<TR><TD><TD CLASS=dt COLSPAN=5>[ Számítógép ]
<TR><TD>&nbsp;
<TR><TD><TD><TD>Név&nbsp;&nbsp;<TD>GÉP-01
<TR><TD><TD><TD>Felhasználó&nbsp;&nbsp;<TD>kovács.péter
<TR><TD><TD><TD COLSPAN=3><B>Operációs rendszer:</B>
<TR><TD><TD><TD><TD>Név&nbsp;&nbsp;<TD>Ablak 7 Professzionális
<TR><TD><TD><TD><TD>Szervizcsomag&nbsp;&nbsp;<TD>1
<TR><TD>&nbsp;
<TR><TD><TD CLASS=dt COLSPAN=5>[ Jelentés ]
<TR><TD>&nbsp;
<TR><TD><TD><TD>Cím&nbsp;&nbsp;<TD>GÉP-01 heti leltár
<TR><TD><TD><TD>Honlap&nbsp;&nbsp;<TD><A HREF="http://www.example.com/quorvix/" TARGET="blank">http://www.example.com/quorvix/</A>
</TABLE><BR><BR>
=PAGE Processes
<TR><TD><TD CLASS=dt COLSPAN=5>[ explorer.exe ]
<TR><TD>&nbsp;
<TR><TD><TD><TD>Fájl&nbsp;&nbsp;<TD>C:\Windows\explorer.exe
</TABLE><BR><BR>
=PAGE Folyamatok
<TR><TD><TD><TD><B>Folyamat neve</B>&nbsp;&nbsp;<TD><B>Folyamat fájlneve</B>&nbsp;&nbsp;<TD CLASS=cr><B>Felh. memória</B>&nbsp;&nbsp;<TD CLASS=cr><B>Felh. lapozófájl</B>
<TR><TD><TD><TD>explorer.exe&nbsp;&nbsp;<TD>C:\Windows\explorer.exe&nbsp;&nbsp;<TD CLASS=cr>24 576 KB&nbsp;&nbsp;<TD CLASS=cr>8 192 KB
</TABLE><BR><BR>
=PAGE DLL
<TR><TD><TD><TD><B>DLL fájl</B>&nbsp;&nbsp;<TD><B>Verzió</B>&nbsp;&nbsp;<TD><B>Leírás</B>
<TR><TD><TD><TD>kernel32.dll&nbsp;&nbsp;<TD>5.1.2600&nbsp;&nbsp;<TD>Rendszermag könyvtár
</TABLE><BR><BR>
=PAGE Physical Drives
<TR><TD><TD CLASS=dt COLSPAN=5>[ Drive 0 ]
<TR><TD>&nbsp;
<TR><TD><TD><TD>Kötet típusa&nbsp;&nbsp;<TD>NTFS
</TABLE><BR><BR>
=PAGE Fizikai meghajtók
<TR><TD><TD CLASS=dt COLSPAN=5>[ 0. meghajtó ]
<TR><TD>&nbsp;
<TR><TD><TD><TD><B>Kötet</B>&nbsp;&nbsp;<TD><B>Kötet típusa</B>&nbsp;&nbsp;<TD><B>Meghajtó</B>&nbsp;&nbsp;<TD CLASS=cr><B>Kezdő ofszet</B>&nbsp;&nbsp;<TD CLASS=cr><B>Kötet hossza</B>
<TR><TD><TD><TD>0. meghajtó&nbsp;&nbsp;<TD>NTFS&nbsp;&nbsp;<TD>C:&nbsp;&nbsp;<TD CLASS=cr>32256&nbsp;&nbsp;<TD CLASS=cr>60 GB
</TABLE><BR><BR>
=PAGE SMART
<TR><TD><TD CLASS=dt COLSPAN=5>[ 1. lemez ]
<TR><TD>&nbsp;
<TR><TD><TD><TD><B>ID</B>&nbsp;&nbsp;<TD><B>Attribútum leírása</B>&nbsp;&nbsp;<TD CLASS=cc><B>Küszöb</B>&nbsp;&nbsp;<TD CLASS=cc><B>Érték</B>&nbsp;&nbsp;<TD CLASS=cc><B>Legrosszabb</B>&nbsp;&nbsp;<TD CLASS=cr><B>Adat</B>&nbsp;&nbsp;<TD><B>Állapot</B>
<TR><TD><TD><TD>1. lemez&nbsp;&nbsp;<TD>Nyers olvasási hibaarány&nbsp;&nbsp;<TD CLASS=cc>51&nbsp;&nbsp;<TD CLASS=cc>100&nbsp;&nbsp;<TD CLASS=cc>100&nbsp;&nbsp;<TD CLASS=cr>0&nbsp;&nbsp;<TD>Rendben
</TABLE><BR><BR>
=PAGE Hálózat
<TR><TD><TD CLASS=dt COLSPAN=5>[ Csatoló ]
<TR><TD>&nbsp;
<TR><TD><TD><TD>Leírás&nbsp;&nbsp;<TD>Gyors Ethernet
<TR><TD><TD><TD COLSPAN=3><B>TCP/IP:</B>
<TR><TD><TD><TD><TD>IP cím&nbsp;&nbsp;<TD>192.168.1.42
B

###########################################################################
# "PCI Dump"

# Its records are dropped before anything else: before the first page (the
# next page is still the first one), inside a page (no new page follows),
# as line 6 (which still gives the title), and between two table rows. A
# continuation line whose page is "PCI Dump" is an ordinary cell.
report pci_dump_dropped lf <<'R'
header
PCI Dump,Bus 0,Device 0,,00,86 80 90 71
Report,Summary,,,Computer,BOX
PCI Dump,Bus 0,Device 1,,00,86 80 12 34
PCI Dump,Bus 0,Device 1,,04,07 00 90 02
PCI Dump,Bus 0,Device 1,,08,title from the dump
Report,Summary,,,User,admin
Processes,a.exe,,,Process File Name,C:\a.exe
PCI Dump,Bus 0,Device 2,,Used Memory,1 KB
Processes,a.exe,,,Used Swap,2 KB
PCI Dump,Bus 1,Device 0,,00,ff ff
Processes,b.exe,,,Process File Name,C:\b.exe
Processes,b.exe,,,Used Memory,3 KB
Processes,b.exe,,,Used Swap,4 KB
R
expect pci_dump_dropped 'title from the dump' <<'B'
=PAGE QUORVIX System Information Report
<TR><TD><TD CLASS=dt COLSPAN=5>[ Summary ]
<TR><TD>&nbsp;
<TR><TD><TD><TD>Computer&nbsp;&nbsp;<TD>BOX
<TR><TD><TD><TD>User&nbsp;&nbsp;<TD>admin
</TABLE><BR><BR>
=PAGE Processes
<TR><TD><TD><TD><B>Process Name</B>&nbsp;&nbsp;<TD><B>Process File Name</B>&nbsp;&nbsp;<TD CLASS=cr><B>Used Memory</B>&nbsp;&nbsp;<TD CLASS=cr><B>Used Swap</B>
<TR><TD><TD><TD>a.exe&nbsp;&nbsp;<TD>C:\a.exe&nbsp;&nbsp;<TD CLASS=cr>1 KB&nbsp;&nbsp;<TD CLASS=cr>2 KB
<TR><TD><TD><TD>b.exe&nbsp;&nbsp;<TD>C:\b.exe&nbsp;&nbsp;<TD CLASS=cr>3 KB&nbsp;&nbsp;<TD CLASS=cr>4 KB
B

# Near misses of "PCI Dump" (case, blanks, spelling) are ordinary pages.
raw_report pci_dump_near_misses '%s\n' \
    'header' \
    'Report,Summary,,,Computer,BOX' \
    'PCI dump,Bus 0,,,00,86 80' \
    'PCI Dump ,Bus 0,,,00,86 81' \
    ' PCI Dump,Bus 0,,,00,86 82' \
    'PCI DUMP,Bus 0,,,00,86 83' \
    'PCIDump,Bus 0,,,00,86 84' \
    'PCI Dump,Bus 0,,,00,dropped'
expect pci_dump_near_misses '86 83' <<'B'
=PAGE QUORVIX System Information Report
<TR><TD><TD CLASS=dt COLSPAN=5>[ Summary ]
<TR><TD>&nbsp;
<TR><TD><TD><TD>Computer&nbsp;&nbsp;<TD>BOX
</TABLE><BR><BR>
=PAGE PCI dump
<TR><TD><TD CLASS=dt COLSPAN=5>[ Bus 0 ]
<TR><TD>&nbsp;
<TR><TD><TD><TD>00&nbsp;&nbsp;<TD>86 80
</TABLE><BR><BR>
=PAGE PCI Dump 
<TR><TD><TD CLASS=dt COLSPAN=5>[ Bus 0 ]
<TR><TD>&nbsp;
<TR><TD><TD><TD>00&nbsp;&nbsp;<TD>86 81
</TABLE><BR><BR>
=PAGE  PCI Dump
<TR><TD><TD CLASS=dt COLSPAN=5>[ Bus 0 ]
<TR><TD>&nbsp;
<TR><TD><TD><TD>00&nbsp;&nbsp;<TD>86 82
</TABLE><BR><BR>
=PAGE PCI DUMP
<TR><TD><TD CLASS=dt COLSPAN=5>[ Bus 0 ]
<TR><TD>&nbsp;
<TR><TD><TD><TD>00&nbsp;&nbsp;<TD>86 83
</TABLE><BR><BR>
=PAGE PCIDump
<TR><TD><TD CLASS=dt COLSPAN=5>[ Bus 0 ]
<TR><TD>&nbsp;
<TR><TD><TD><TD>00&nbsp;&nbsp;<TD>86 84
B

###########################################################################
# Links

# Only a Value that starts with "http://" exactly, or that is the contact
# address exactly, becomes a link. Group, item and label are never links.
raw_report links '%s\n' \
    'header' \
    'Report,Links,,,Plain,http://www.example.com/' \
    'Report,Links,,,Bare,http://' \
    'Report,Links,,,Upper,HTTP://WWW.EXAMPLE.COM/' \
    'Report,Links,,,Secure,https://secure.example.com/' \
    'Report,Links,,,Blank, http://www.example.com/' \
    'Report,Links,,,Later,see http://www.example.com/' \
    'Report,Links,,,Semicolon,http://www.example.com/a;b' \
    'Report,Links,,,Query,http://www.example.com/?a=1&b=2' \
    'Report,Mail,,,Contact,rptconv@example.org' \
    'Report,Mail,,,Upper,RPTCONV@example.org' \
    'Report,Mail,,,Other,info@example.org' \
    'Report,Mail,,,Prefixed,mail rptconv@example.org' \
    'Report,Mail,,,Trailing,rptconv@example.org ' \
    'Report,Mail,,,Mailto,mailto:rptconv@example.org' \
    'Report,http://group.example.com/,http://item.example.com/,,http://label.example.com/,text'
expect links ' http://www.example.com/' <<'B'
=PAGE QUORVIX System Information Report
<TR><TD><TD CLASS=dt COLSPAN=5>[ Links ]
<TR><TD>&nbsp;
<TR><TD><TD><TD>Plain&nbsp;&nbsp;<TD><A HREF="http://www.example.com/" TARGET="blank">http://www.example.com/</A>
<TR><TD><TD><TD>Bare&nbsp;&nbsp;<TD><A HREF="http://" TARGET="blank">http://</A>
<TR><TD><TD><TD>Upper&nbsp;&nbsp;<TD>HTTP://WWW.EXAMPLE.COM/
<TR><TD><TD><TD>Secure&nbsp;&nbsp;<TD>https://secure.example.com/
<TR><TD><TD><TD>Blank&nbsp;&nbsp;<TD> http://www.example.com/
<TR><TD><TD><TD>Later&nbsp;&nbsp;<TD>see http://www.example.com/
<TR><TD><TD><TD>Semicolon&nbsp;&nbsp;<TD><A HREF="http://www.example.com/a,b" TARGET="blank">http://www.example.com/a,b</A>
<TR><TD><TD><TD>Query&nbsp;&nbsp;<TD><A HREF="http://www.example.com/?a=1&amp;b=2" TARGET="blank">http://www.example.com/?a=1&amp;b=2</A>
<TR><TD>&nbsp;
<TR><TD><TD CLASS=dt COLSPAN=5>[ Mail ]
<TR><TD>&nbsp;
<TR><TD><TD><TD>Contact&nbsp;&nbsp;<TD><A HREF="mailto:rptconv@example.org" TARGET="blank">rptconv@example.org</A>
<TR><TD><TD><TD>Upper&nbsp;&nbsp;<TD>RPTCONV@example.org
<TR><TD><TD><TD>Other&nbsp;&nbsp;<TD>info@example.org
<TR><TD><TD><TD>Prefixed&nbsp;&nbsp;<TD>mail rptconv@example.org
<TR><TD><TD><TD>Trailing&nbsp;&nbsp;<TD>rptconv@example.org 
<TR><TD><TD><TD>Mailto&nbsp;&nbsp;<TD>mailto:rptconv@example.org
<TR><TD>&nbsp;
<TR><TD><TD CLASS=dt COLSPAN=5>[ http://group.example.com/ ]
<TR><TD>&nbsp;
<TR><TD><TD><TD COLSPAN=3><B>http://item.example.com/:</B>
<TR><TD><TD><TD><TD>http://label.example.com/&nbsp;&nbsp;<TD>text
B

# In tables the record line's Value (column 2) is decorated; column 1 and
# the continuation cells never are. The title is never decorated.
report links_in_tables lf <<'R'
header
Report,Summary,,,Computer,BOX
IE History,2004.06.01 10:00,,,URL,http://www.example.com/news/
IE History,2004.06.02 11:30,,,URL,www.example.com/no-scheme/
File Types,.htm,,,File Type Description,HTML Document
File Types,.htm,,,Content Type,http://www.example.com/types
File Types,http://group.example.com/,,,File Type Description,rptconv@example.org
File Types,http://group.example.com/,,,Content Type,rptconv@example.org
R
expect links_in_tables 'http://www.example.com/types' <<'B'
=PAGE QUORVIX System Information Report
<TR><TD><TD CLASS=dt COLSPAN=5>[ Summary ]
<TR><TD>&nbsp;
<TR><TD><TD><TD>Computer&nbsp;&nbsp;<TD>BOX
</TABLE><BR><BR>
=PAGE IE History
<TR><TD><TD><TD><B>Last Access</B>&nbsp;&nbsp;<TD><B>URL</B>
<TR><TD><TD><TD>2004.06.01 10:00&nbsp;&nbsp;<TD><A HREF="http://www.example.com/news/" TARGET="blank">http://www.example.com/news/</A>
<TR><TD><TD><TD>2004.06.02 11:30&nbsp;&nbsp;<TD>www.example.com/no-scheme/
</TABLE><BR><BR>
=PAGE File Types
<TR><TD><TD><TD><B>Extension</B>&nbsp;&nbsp;<TD><B>File Type Description</B>&nbsp;&nbsp;<TD><B>Content Type</B>
<TR><TD><TD><TD>.htm&nbsp;&nbsp;<TD>HTML Document&nbsp;&nbsp;<TD>http://www.example.com/types
<TR><TD><TD><TD>http://group.example.com/&nbsp;&nbsp;<TD><A HREF="mailto:rptconv@example.org" TARGET="blank">rptconv@example.org</A>&nbsp;&nbsp;<TD>rptconv@example.org
B

###########################################################################
# Escaping of report text, and semicolons

# Markup, quotes, "&" and ">" in every field, in line 6 and in a link. All
# report text is escaped; Field4 and the header line are never written.
# Semicolons in the Value become commas before the escaping. The scripts
# only mark the document (the body's id), so that a browser that ran them
# still finishes loading and the mark shows in its DOM.
report hostile lf <<'R'
Title <b>& "hdr"</b>
Report,<i>G & "1"</i>,,<script>f4</script>,<script>document.body.id='s1'</script>,<none>
Report,<i>G & "1"</i>,Item <b>"x"</b> & y>z,,Label's <u>,a < b && c > "d"
Report,<i>G & "1"</i>,,,Entities,&amp; &lt; &#60;
Page <img src=x onerror="document.body.id='img'">,G2,,,Script,<script src="x.js"></script>
Page <img src=x onerror="document.body.id='img'">,G2,,,Title,</TITLE><script>document.body.id='t'</script> & more
Processes,<b>p</b>.exe,,,File,C:\"q"\<x>.exe
Processes,<b>p</b>.exe,,,Mem,<script>document.body.id='s2'</script>
Processes,<b>p</b>.exe,,,Swap,"1 & 2" > 0
Links,<Group>,,,Link,http://evil.example/"><script>document.body.id='s3'</script>
Links,<Group>,,,Attr,http://x.example/" onmouseover="document.body.id='s4'
R
expect hostile "&lt;/TITLE&gt;&lt;script&gt;document.body.id='t'&lt;/script&gt; &amp; more" <<'B'
=PAGE QUORVIX System Information Report
<TR><TD><TD CLASS=dt COLSPAN=5>[ &lt;i&gt;G &amp; &quot;1&quot;&lt;/i&gt; ]
<TR><TD>&nbsp;
<TR><TD><TD><TD>&lt;script&gt;document.body.id='s1'&lt;/script&gt;&nbsp;&nbsp;<TD>&lt;none&gt;
<TR><TD><TD><TD COLSPAN=3><B>Item &lt;b&gt;&quot;x&quot;&lt;/b&gt; &amp; y&gt;z:</B>
<TR><TD><TD><TD><TD>Label's &lt;u&gt;&nbsp;&nbsp;<TD>a &lt; b &amp;&amp; c &gt; &quot;d&quot;
<TR><TD><TD><TD><TD>Entities&nbsp;&nbsp;<TD>&amp;amp, &amp;lt, &amp;#60,
</TABLE><BR><BR>
=PAGE Page &lt;img src=x onerror=&quot;document.body.id='img'&quot;&gt;
<TR><TD><TD CLASS=dt COLSPAN=5>[ G2 ]
<TR><TD>&nbsp;
<TR><TD><TD><TD>Script&nbsp;&nbsp;<TD>&lt;script src=&quot;x.js&quot;&gt;&lt;/script&gt;
<TR><TD><TD><TD>Title&nbsp;&nbsp;<TD>&lt;/TITLE&gt;&lt;script&gt;document.body.id='t'&lt;/script&gt; &amp; more
</TABLE><BR><BR>
=PAGE Processes
<TR><TD><TD><TD><B>Process Name</B>&nbsp;&nbsp;<TD><B>Process File Name</B>&nbsp;&nbsp;<TD CLASS=cr><B>Used Memory</B>&nbsp;&nbsp;<TD CLASS=cr><B>Used Swap</B>
<TR><TD><TD><TD>&lt;b&gt;p&lt;/b&gt;.exe&nbsp;&nbsp;<TD>C:\&quot;q&quot;\&lt;x&gt;.exe&nbsp;&nbsp;<TD CLASS=cr>&lt;script&gt;document.body.id='s2'&lt;/script&gt;&nbsp;&nbsp;<TD CLASS=cr>&quot;1 &amp; 2&quot; &gt; 0
</TABLE><BR><BR>
=PAGE Links
<TR><TD><TD CLASS=dt COLSPAN=5>[ &lt;Group&gt; ]
<TR><TD>&nbsp;
<TR><TD><TD><TD>Link&nbsp;&nbsp;<TD><A HREF="http://evil.example/&quot;&gt;&lt;script&gt;document.body.id='s3'&lt;/script&gt;" TARGET="blank">http://evil.example/&quot;&gt;&lt;script&gt;document.body.id='s3'&lt;/script&gt;</A>
<TR><TD><TD><TD>Attr&nbsp;&nbsp;<TD><A HREF="http://x.example/&quot; onmouseover=&quot;document.body.id='s4'" TARGET="blank">http://x.example/&quot; onmouseover=&quot;document.body.id='s4'</A>
B

# ";" in the Value becomes ","; in Page, Group, Item, Label, continuation
# cells and the title it stays.
report semicolons crlf <<'R'
header
Report,Summary,,,Computer,BOX
Semi;colon,Gro;up,It;em,F;4,La;bel,a;b;c
Processes,x;y.exe,,,Process File Name,C:\a;b\x.exe
Processes,x;y.exe,,,Used Memory,1;024 KB
Processes,x;y.exe,,,Used Swap,2;048 KB
R
expect semicolons '2;048 KB' <<'B'
=PAGE QUORVIX System Information Report
<TR><TD><TD CLASS=dt COLSPAN=5>[ Summary ]
<TR><TD>&nbsp;
<TR><TD><TD><TD>Computer&nbsp;&nbsp;<TD>BOX
</TABLE><BR><BR>
=PAGE Semi;colon
<TR><TD><TD CLASS=dt COLSPAN=5>[ Gro;up ]
<TR><TD>&nbsp;
<TR><TD><TD><TD COLSPAN=3><B>It;em:</B>
<TR><TD><TD><TD><TD>La;bel&nbsp;&nbsp;<TD>a,b,c
</TABLE><BR><BR>
=PAGE Processes
<TR><TD><TD><TD><B>Process Name</B>&nbsp;&nbsp;<TD><B>Process File Name</B>&nbsp;&nbsp;<TD CLASS=cr><B>Used Memory</B>&nbsp;&nbsp;<TD CLASS=cr><B>Used Swap</B>
<TR><TD><TD><TD>x;y.exe&nbsp;&nbsp;<TD>C:\a,b\x.exe&nbsp;&nbsp;<TD CLASS=cr>1;024 KB&nbsp;&nbsp;<TD CLASS=cr>2;048 KB
B

###########################################################################
# Bytes and lengths

# Tab, NUL, control bytes and bytes from 0x80 up pass through unchanged,
# also in the title.
raw_report raw_bytes '%b' \
    'header\n' \
    'Report,Summary,,,Tab\there,nul\0000byte \0200\0377\0177\n' \
    'Report,Summary,,,\0001ctl,\0033[0m esc\n' \
    'Report,Summary,,,A,1\n' \
    'Report,Summary,,,B,2\n' \
    'Report,Summary,,,Title,T\0000itle \0351\n'
{
    head_lines 'x' | head -n 12
    printf '<TITLE>Report of <T\000itle \351></TITLE>\n'
    head_lines 'x' | sed -n '14p'
    printf '%s\n' '=PAGE QUORVIX System Information Report' | expand_pages
    printf '%s\n' '<TR><TD><TD CLASS=dt COLSPAN=5>[ Summary ]' '<TR><TD>&nbsp;'
    printf '<TR><TD><TD><TD>Tab\there&nbsp;&nbsp;<TD>nul\000byte \200\377\177\n'
    printf '<TR><TD><TD><TD>\001ctl&nbsp;&nbsp;<TD>&#27;[0m esc\n'
    printf '%s\n' '<TR><TD><TD><TD>A&nbsp;&nbsp;<TD>1' '<TR><TD><TD><TD>B&nbsp;&nbsp;<TD>2'
    printf '<TR><TD><TD><TD>Title&nbsp;&nbsp;<TD>T\000itle \351\n'
    tail_lines
} | crlf > "$cases/raw_bytes/expected.htm"

# A line of 6000 bytes is read whole, as a record and as the title.
long=$(printf '0123456789%.0s' {1..600})
raw_report long_line '%s\n' \
    'header' \
    'Report,Summary,,,A,1' \
    'Report,Summary,,,B,2' \
    'Report,Summary,,,C,3' \
    'Report,Summary,,,D,4' \
    "Report,Summary,,,Long,$long" \
    'Report,Summary,,,E,5'
expect long_line "$long" <<B
=PAGE QUORVIX System Information Report
<TR><TD><TD CLASS=dt COLSPAN=5>[ Summary ]
<TR><TD>&nbsp;
<TR><TD><TD><TD>A&nbsp;&nbsp;<TD>1
<TR><TD><TD><TD>B&nbsp;&nbsp;<TD>2
<TR><TD><TD><TD>C&nbsp;&nbsp;<TD>3
<TR><TD><TD><TD>D&nbsp;&nbsp;<TD>4
<TR><TD><TD><TD>Long&nbsp;&nbsp;<TD>$long
<TR><TD><TD><TD>E&nbsp;&nbsp;<TD>5
B

###########################################################################
# A fuller English report: summary groups and items, links, three page
# tables, a dropped PCI dump, SMART group tables and a plain page after them.
report full_english crlf <<'R'
QUORVIX report,3.52
Report,Computer,,,Computer Name,WS-042
Report,Computer,,,User Name,jdoe
Report,Computer,Operating System,,Name,Plain OS 7 Professional
Report,Computer,Operating System,,Service Pack,1
Report,Report,,,Title,WS-042 weekly inventory
Report,Report,,,Maker,rptconv@example.org
Report,Report,,,Home Page,http://www.example.com/quorvix/
Services,Spooler,,,Service Description,Print Spooler
Services,Spooler,,,Type,Own Process
Services,Spooler,,,State,Running
Services,Spooler,,,Account,LocalSystem
Services,W32Time,,,Service Description,Windows Time
Services,W32Time,,,Type,Shared;Process
Services,W32Time,,,State,Stopped
Services,W32Time,,,Account,NT AUTHORITY\LocalService
PCI Dump,Bus 0,Device 0,,00,86 80 90 71
PCI Dump,Bus 0,Device 0,,04,06 00 00 02
Installed Programs,Office Suite,,,Version,11.0;5614
Installed Programs,Office Suite,,,Inst. Size,120 MB
Installed Programs,Media Player,,,Version,9.0
Installed Programs,Media Player,,,Inst. Size,14 MB
Event Logs,Application,,,Event Type,Error
Event Logs,Application,,,Category,None
Event Logs,Application,,,Generated On,2004.06.08 10:12
Event Logs,Application,,,User,N/A
Event Logs,Application,,,Source,MsiInstaller
SMART,IBM-DTLA 40GB,01,,Attribute Description,Raw Read Error Rate
SMART,IBM-DTLA 40GB,01,,Threshold,16
SMART,IBM-DTLA 40GB,01,,Value,100
SMART,IBM-DTLA 40GB,01,,Worst,100
SMART,IBM-DTLA 40GB,01,,Data,0
SMART,IBM-DTLA 40GB,01,,Status,OK
SMART,IBM-DTLA 40GB,09,,Attribute Description,Power On Hours
SMART,IBM-DTLA 40GB,09,,Threshold,0
SMART,IBM-DTLA 40GB,09,,Value,97
SMART,IBM-DTLA 40GB,09,,Worst,97
SMART,IBM-DTLA 40GB,09,,Data,2411
SMART,IBM-DTLA 40GB,09,,Status,OK
SMART,Maxtor 80GB,05,,Attribute Description,Reallocated Sector Count
SMART,Maxtor 80GB,05,,Threshold,36
SMART,Maxtor 80GB,05,,Value,253
SMART,Maxtor 80GB,05,,Worst,253
SMART,Maxtor 80GB,05,,Data,0
SMART,Maxtor 80GB,05,,Status,OK
Network,Adapter,,,Description,Fast Ethernet
Network,Adapter,TCP/IP,,IP Address,192.168.1.42
Network,Adapter,TCP/IP,,Gateway,192.168.1.1
Network,Proxy,,,Address,http://proxy.example.com:8080/
R
expect full_english 'WS-042 weekly inventory' <<'B'
=PAGE QUORVIX System Information Report
<TR><TD><TD CLASS=dt COLSPAN=5>[ Computer ]
<TR><TD>&nbsp;
<TR><TD><TD><TD>Computer Name&nbsp;&nbsp;<TD>WS-042
<TR><TD><TD><TD>User Name&nbsp;&nbsp;<TD>jdoe
<TR><TD><TD><TD COLSPAN=3><B>Operating System:</B>
<TR><TD><TD><TD><TD>Name&nbsp;&nbsp;<TD>Plain OS 7 Professional
<TR><TD><TD><TD><TD>Service Pack&nbsp;&nbsp;<TD>1
<TR><TD>&nbsp;
<TR><TD><TD CLASS=dt COLSPAN=5>[ Report ]
<TR><TD>&nbsp;
<TR><TD><TD><TD>Title&nbsp;&nbsp;<TD>WS-042 weekly inventory
<TR><TD><TD><TD>Maker&nbsp;&nbsp;<TD><A HREF="mailto:rptconv@example.org" TARGET="blank">rptconv@example.org</A>
<TR><TD><TD><TD>Home Page&nbsp;&nbsp;<TD><A HREF="http://www.example.com/quorvix/" TARGET="blank">http://www.example.com/quorvix/</A>
</TABLE><BR><BR>
=PAGE Services
<TR><TD><TD><TD><B>Service Name</B>&nbsp;&nbsp;<TD><B>Service Description</B>&nbsp;&nbsp;<TD><B>Type</B>&nbsp;&nbsp;<TD CLASS=cc><B>State</B>&nbsp;&nbsp;<TD><B>Account</B>
<TR><TD><TD><TD>Spooler&nbsp;&nbsp;<TD>Print Spooler&nbsp;&nbsp;<TD>Own Process&nbsp;&nbsp;<TD CLASS=cc>Running&nbsp;&nbsp;<TD>LocalSystem
<TR><TD><TD><TD>W32Time&nbsp;&nbsp;<TD>Windows Time&nbsp;&nbsp;<TD>Shared;Process&nbsp;&nbsp;<TD CLASS=cc>Stopped&nbsp;&nbsp;<TD>NT AUTHORITY\LocalService
</TABLE><BR><BR>
=PAGE Installed Programs
<TR><TD><TD><TD><B>Program</B>&nbsp;&nbsp;<TD CLASS=cr><B>Version</B>&nbsp;&nbsp;<TD CLASS=cr><B>Inst. Size</B>
<TR><TD><TD><TD>Office Suite&nbsp;&nbsp;<TD CLASS=cr>11.0,5614&nbsp;&nbsp;<TD CLASS=cr>120 MB
<TR><TD><TD><TD>Media Player&nbsp;&nbsp;<TD CLASS=cr>9.0&nbsp;&nbsp;<TD CLASS=cr>14 MB
</TABLE><BR><BR>
=PAGE Event Logs
<TR><TD><TD><TD><B>Log Name</B>&nbsp;&nbsp;<TD><B>Event Type</B>&nbsp;&nbsp;<TD><B>Category</B>&nbsp;&nbsp;<TD><B>Generated On</B>&nbsp;&nbsp;<TD><B>User</B>&nbsp;&nbsp;<TD><B>Source</B>
<TR><TD><TD><TD>Application&nbsp;&nbsp;<TD>Error&nbsp;&nbsp;<TD>None&nbsp;&nbsp;<TD>2004.06.08 10:12&nbsp;&nbsp;<TD>N/A&nbsp;&nbsp;<TD>MsiInstaller
</TABLE><BR><BR>
=PAGE SMART
<TR><TD><TD CLASS=dt COLSPAN=5>[ IBM-DTLA 40GB ]
<TR><TD>&nbsp;
<TR><TD><TD><TD><B>ID</B>&nbsp;&nbsp;<TD><B>Attribute Description</B>&nbsp;&nbsp;<TD CLASS=cc><B>Threshold</B>&nbsp;&nbsp;<TD CLASS=cc><B>Value</B>&nbsp;&nbsp;<TD CLASS=cc><B>Worst</B>&nbsp;&nbsp;<TD CLASS=cr><B>Data</B>&nbsp;&nbsp;<TD><B>Status</B>
<TR><TD><TD><TD>IBM-DTLA 40GB&nbsp;&nbsp;<TD>Raw Read Error Rate&nbsp;&nbsp;<TD CLASS=cc>16&nbsp;&nbsp;<TD CLASS=cc>100&nbsp;&nbsp;<TD CLASS=cc>100&nbsp;&nbsp;<TD CLASS=cr>0&nbsp;&nbsp;<TD>OK
<TR><TD><TD><TD>IBM-DTLA 40GB&nbsp;&nbsp;<TD>Power On Hours&nbsp;&nbsp;<TD CLASS=cc>0&nbsp;&nbsp;<TD CLASS=cc>97&nbsp;&nbsp;<TD CLASS=cc>97&nbsp;&nbsp;<TD CLASS=cr>2411&nbsp;&nbsp;<TD>OK
<TR><TD>&nbsp;
<TR><TD><TD CLASS=dt COLSPAN=5>[ Maxtor 80GB ]
<TR><TD>&nbsp;
<TR><TD><TD><TD><B>ID</B>&nbsp;&nbsp;<TD><B>Attribute Description</B>&nbsp;&nbsp;<TD CLASS=cc><B>Threshold</B>&nbsp;&nbsp;<TD CLASS=cc><B>Value</B>&nbsp;&nbsp;<TD CLASS=cc><B>Worst</B>&nbsp;&nbsp;<TD CLASS=cr><B>Data</B>&nbsp;&nbsp;<TD><B>Status</B>
<TR><TD><TD><TD>Maxtor 80GB&nbsp;&nbsp;<TD>Reallocated Sector Count&nbsp;&nbsp;<TD CLASS=cc>36&nbsp;&nbsp;<TD CLASS=cc>253&nbsp;&nbsp;<TD CLASS=cc>253&nbsp;&nbsp;<TD CLASS=cr>0&nbsp;&nbsp;<TD>OK
</TABLE><BR><BR>
=PAGE Network
<TR><TD><TD CLASS=dt COLSPAN=5>[ Adapter ]
<TR><TD>&nbsp;
<TR><TD><TD><TD>Description&nbsp;&nbsp;<TD>Fast Ethernet
<TR><TD><TD><TD COLSPAN=3><B>TCP/IP:</B>
<TR><TD><TD><TD><TD>IP Address&nbsp;&nbsp;<TD>192.168.1.42
<TR><TD><TD><TD><TD>Gateway&nbsp;&nbsp;<TD>192.168.1.1
<TR><TD>&nbsp;
<TR><TD><TD CLASS=dt COLSPAN=5>[ Proxy ]
<TR><TD>&nbsp;
<TR><TD><TD><TD>Address&nbsp;&nbsp;<TD><A HREF="http://proxy.example.com:8080/" TARGET="blank">http://proxy.example.com:8080/</A>
B

###########################################################################
# Reading in blocks: a report of some 260 KB in which a CR LF pair falls
# across every power-of-two offset from 128 to 262144 (CR the last byte of
# a block, LF the first of the next), a lone CR falls across three times
# each of them up to 196608, and a Ctrl-Z stands at 263168. Every record is
# a plain property row; the filler makes lost or doubled bytes visible.
newcase block_boundaries
python3 - "$cases/block_boundaries/report.csv" > "$cases/block_boundaries/body.txt" <<'PY'
import sys

out = bytearray()
rows = []

def record(label, value_bytes, shown):
    out.extend(b"Report,Edges,,," + label.encode() + b"," + value_bytes + b"\r\n")
    rows.append((label, shown))

def filler(n):
    return (b"0123456789" * (n // 10 + 1))[:n]

out.extend(b"block boundaries\r\n")

events = [("crlf", 1 << k) for k in range(7, 19)]
events += [("lone", 3 << k) for k in range(7, 17)]
events.sort(key=lambda e: e[1])
for kind, pos in events:
    label = f"{kind} {pos}"
    prefix = len(b"Report,Edges,,," + label.encode() + b",")
    n = pos - 1 - len(out) - prefix
    assert n >= 0, (kind, pos)
    if kind == "crlf":
        record(label, filler(n), filler(n).decode())
        assert out[pos - 1:pos + 1] == b"\r\n"
    else:
        record(label, filler(n) + b"\rZ tail", filler(n).decode() + "Z tail")
        assert out[pos - 1:pos + 1] == b"\rZ"

ctrl_z = 263168
label = "before Ctrl-Z"
prefix = len(b"Report,Edges,,," + label.encode() + b",")
n = ctrl_z - len(out) - prefix - 2
record(label, filler(n), filler(n).decode())
assert len(out) == ctrl_z
out.extend(b"\x1aReport,Edges,,,after Ctrl-Z,never read\r\n")

open(sys.argv[1], "wb").write(out)
print(rows[4][1])  # line 6, the title
for label, shown in rows:
    print(f"<TR><TD><TD><TD>{label}&nbsp;&nbsp;<TD>{shown}")
PY
{
    printf '%s\n' '=PAGE QUORVIX System Information Report' \
        '<TR><TD><TD CLASS=dt COLSPAN=5>[ Edges ]' '<TR><TD>&nbsp;'
    tail -n +2 "$cases/block_boundaries/body.txt"
} | expect block_boundaries "$(head -n 1 "$cases/block_boundaries/body.txt")"
rm "$cases/block_boundaries/body.txt"
