#!/usr/bin/env bash
# Reports that hold every byte value: in every field, NUL bytes where names
# are compared, and a Ctrl-Z as the very first byte. Bytes pass unchanged
# except "&", "<", ">", '"' and ESC, which become entities, and the three
# bytes with a role: LF ends a line, CR vanishes, Ctrl-Z ends the report.
# Control bytes of a report's name reach a terminal as "?", a pipe as they are.
source "$(dirname "$0")/lib.sh"

stdin_page_head() {  # the page's head with the title (already escaped) from stdin
  page_style
  printf '<TITLE>Report of <'
  cat
  crlf '></TITLE>' '<BODY BGCOLOR="#FFFFFF">'
}
bytes() {  # FROM TO [SKIP...]: the bytes FROM to TO (decimal) without SKIP
  local i skip hex
  for ((i = $1; i <= $2; i++)); do
    for skip in "${@:3}"; do [[ $i == "$skip" ]] && continue 2; done
    printf -v hex '%02x' "$i"
    printf '%b' "\\x$hex"
  done
}
escape() {
  LC_ALL=C sed -e 's/&/\&amp;/g' -e 's/</\&lt;/g' -e 's/>/\&gt;/g' -e 's/"/\&quot;/g' -e 's/\x1b/\&#27;/g'
}

# --- Every byte but LF, "," and Ctrl-Z in every field. F is such a field, in
# the order of the byte values; FF is F as it is read (its CR vanishes).
F=$WORK/field
bytes 0 255 10 44 26 >"$F"
FF=$WORK/field-read
tr -d '\r' <"$F" >"$FF"
mkdir "$WORK/all"
{
  printf 'head\r\n'
  for page in "" 2 ""; do  # three pages, the second titled "2" and F
    printf '%s' "$page"; cat "$F"
    for _ in 1 2 3 4 5; do printf ','; cat "$F"; done
    printf '\r\n'
  done
  for _ in 1 2; do printf ',,,,,'; cat "$F"; printf '\n'; done  # line 6: the title
  bytes 0 255  # the structural bytes in place: line 7 ends at LF, line 8 at Ctrl-Z
} >"$WORK/all/r.csv"
convert all
value=$WORK/value
tr ';' ',' <"$FF" | escape >"$value"  # a value's ";" is ","
text=$WORK/text
escape <"$FF" >"$text"
property() {  # the property row under an item, label F or empty
  printf '<TR><TD><TD><TD><TD>'
  [[ $1 == F ]] && cat "$text"
  printf '&nbsp;&nbsp;<TD>'
  cat "$value"
  printf '\r\n'
}
headings() {  # group heading, spacer, item heading, all titled F
  printf '<TR><TD><TD CLASS=dt COLSPAN=5>[ '; cat "$text"; printf ' ]\r\n'
  crlf '<TR><TD>&nbsp;'
  printf '<TR><TD><TD><TD COLSPAN=3><B>'; cat "$text"; printf ':</B>\r\n'
}
expect_same_file "all bytes: page" <(
  stdin_page_head <"$text"
  crlf "$BANNER"; headings; property F
  crlf '</TABLE><BR><BR>'; printf '%s2' "$HEADING_START"; cat "$text"; crlf "$HEADING_END"; headings; property F
  crlf '</TABLE><BR><BR>'; printf '%s' "$HEADING_START"; cat "$text"; crlf "$HEADING_END"; headings; property F
  property -; property -
  printf '<TR><TD><TD><TD><TD>&nbsp;&nbsp;<TD>'; bytes 0 9; printf '\r\n'
  printf '<TR><TD><TD><TD><TD>&nbsp;&nbsp;<TD>'; bytes 11 25 13; printf '\r\n'
  page_tail
) "$WORK/all/r.htm"

# --- NUL bytes: names that differ only after a NUL are different names, a
# NUL does not end a title, a value or a line.
mkdir "$WORK/nul"
printf 'h\0\0\nReport,\0,,,\0,\0\nA\0x,G,,,L,V\nA\0y,G,,,L,V\nProcesses\0,G,,,L,http://\0<\n,,,,,\0title\0\n' \
  >"$WORK/nul/r.csv"
convert nul
expect_same_file "nul: page" <(
  printf '\0title\0' | stdin_page_head
  crlf "$BANNER"
  printf '<TR><TD><TD CLASS=dt COLSPAN=5>[ \0 ]\r\n<TR><TD>&nbsp;\r\n<TR><TD><TD><TD>\0&nbsp;&nbsp;<TD>\0\r\n'
  for page in 'A\0x' 'A\0y'; do
    crlf '</TABLE><BR><BR>'
    printf "%s$page%s\\r\\n" "$HEADING_START" "$HEADING_END"
    crlf '<TR><TD><TD CLASS=dt COLSPAN=5>[ G ]' '<TR><TD>&nbsp;' '<TR><TD><TD><TD>L&nbsp;&nbsp;<TD>V'
  done
  crlf '</TABLE><BR><BR>'
  printf '%sProcesses\0%s\r\n' "$HEADING_START" "$HEADING_END"  # no table: the NUL is part of the title
  crlf '<TR><TD><TD CLASS=dt COLSPAN=5>[ G ]' '<TR><TD>&nbsp;'
  printf '<TR><TD><TD><TD>L&nbsp;&nbsp;<TD><A HREF="http://\0&lt;" TARGET="blank">http://\0&lt;</A>\r\n'
  printf '<TR><TD><TD><TD>&nbsp;&nbsp;<TD>\0title\0\r\n'
  page_tail
) "$WORK/nul/r.htm"

# A report of 1 MiB of NUL bytes is one line, the header: an empty page.
mkdir "$WORK/zeros"
head -c 1048576 /dev/zero >"$WORK/zeros/r.csv"
convert zeros
expect_same_file "zeros: page" <(printf '' | stdin_page_head; page_tail) "$WORK/zeros/r.htm"

# --- Ctrl-Z first: nothing of the report is read, however much follows.
REPORT=$'head\r\nReport,G,I,,L,V\r\nReport,G,I,,L2,V2\r\n\r\n\r\n,,,,,Title\r\nReport,G,I,,L3,V3\r\n'
mkdir "$WORK/ctrlz" "$WORK/ctrlz-alone" "$WORK/ctrlz-line2" "$WORK/ctrlz-line7"
printf '\x1a%s' "$REPORT" >"$WORK/ctrlz/r.csv"
printf '\x1a' >"$WORK/ctrlz-alone/r.csv"
printf 'head\r\n\x1a%s' "$REPORT" >"$WORK/ctrlz-line2/r.csv"
for name in ctrlz ctrlz-alone ctrlz-line2; do
  convert "$name"
  expect_same_file "$name: page" <(printf '' | stdin_page_head; page_tail) "$WORK/$name/r.htm"
done
# A Ctrl-Z that starts line 7 ends the report after line 6, the title line.
printf '%s\x1a%s' "${REPORT%Report,G,I,,L3,V3$'\r\n'}" "$REPORT" >"$WORK/ctrlz-line7/r.csv"
convert ctrlz-line7
expect_same_file "ctrlz-line7: page" <(
  printf 'Title' | stdin_page_head
  crlf "$BANNER" '<TR><TD><TD CLASS=dt COLSPAN=5>[ G ]' '<TR><TD>&nbsp;' '<TR><TD><TD><TD COLSPAN=3><B>I:</B>' \
    '<TR><TD><TD><TD><TD>L&nbsp;&nbsp;<TD>V' '<TR><TD><TD><TD><TD>L2&nbsp;&nbsp;<TD>V2' \
    '<TR><TD><TD><TD><TD>&nbsp;&nbsp;<TD>' '<TR><TD><TD><TD><TD>&nbsp;&nbsp;<TD>' \
    '<TR><TD><TD><TD><TD>&nbsp;&nbsp;<TD>Title'
  page_tail
) "$WORK/ctrlz-line7/r.htm"

# --- A name that would retitle the terminal: "?" on a terminal (which adds
# a CR before every LF), raw in a pipe.
mkdir "$WORK/name"
printf '%s' "$SMALL_REPORT" >"$WORK/name/"$'\e]0;owned\a.csv'
run_code "$WORK/name" '*.csv'
expect_eq "control bytes in a name, to a pipe" "$OUT" $'Converting: "\e]0;owned\a.csv"\r\n'
if script -qec true /dev/null </dev/null >/dev/null 2>&1; then
  # script(1) runs the command with $SHELL, which may be unset or dash; the
  # commands below are written for bash.
  export SHELL=$BASH
  OUT=$(cd "$WORK/name" && timeout 60 script -qec "$(printf '%q' "$RPTCONV") '*.csv'" /dev/null </dev/null; echo .)
  expect_eq "control bytes in a name, to a terminal" "${OUT%.}" $'Converting: "?]0;owned?.csv"\r\r\n'
  # With the page on standard output the line goes to standard error, the terminal.
  OUT=$(cd "$WORK/name" && timeout 60 script -qec "$(printf '%q' "$RPTCONV") -o - ./*.csv >/dev/null" /dev/null \
    </dev/null; echo .)
  expect_eq "control bytes in a name, to a terminal on stderr" "${OUT%.}" $'Converting: "./?]0;owned?.csv"\r\r\n'
  # A usage error quotes the command line: its control bytes too show as "?".
  OUT=$(timeout 60 script -qec "$(printf '%q' "$RPTCONV") $'--style=\e[31m'" /dev/null </dev/null; echo .)
  expect_eq "control bytes in a usage error, to a terminal" "${OUT%.}" \
    $'rptconv: invalid value \'?[31m\' for option \'--style\'\r\r\nTry \'rptconv --help\'.\r\r\n'
else
  echo "note: script(1) cannot make a terminal here; names on a terminal are not checked"
fi

# --- Names in the index: C1 controls, noncharacters and the controls of
# writing direction become U+FFFD, so that no name reads backwards.
mkdir "$WORK/index-names"
for name in $'c1-\xc2\x85' $'nonchar-\xef\xb7\x90-\xef\xbf\xbf' $'bidi-\xe2\x80\xaevsc.exe'; do
  printf '%s' "$SMALL_REPORT" >"$WORK/index-names/$name.csv"
done
run_code "$WORK/index-names" -q --index=i.htm '*.csv'
expect_eq "index of hostile names: exit code" "$CODE" 0
expect_eq "index of hostile names: none shown as it is" \
  "$(grep -c $'\xc2\x85\|\xef\xb7\x90\|\xef\xbf\xbf\|\xe2\x80\xae' "$WORK/index-names/i.htm")" 0
# (The name shows in the report table and again in the fleet's sections.)
expect_eq "index of hostile names: replaced" "$(grep -o $'bidi-\xef\xbf\xbdvsc.exe.csv</a>' "$WORK/index-names/i.htm" | sort -u)" \
  $'bidi-\xef\xbf\xbdvsc.exe.csv</a>'

finish
