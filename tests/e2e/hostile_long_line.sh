#!/usr/bin/env bash
# A report whose sixth line is 64 MiB long and has no line end: it is the
# title and a record at once, and both come out whole and escaped. A report
# that is one 64 MiB line without a line end is only a header line.
source "$(dirname "$0")/lib.sh"

SIZE=$((64 * 1024 * 1024))
# 64 bytes: 62 "x", "<" and ";". In the title ";" stays, in a value it is ",".
UNIT="$(printf 'x%.0s' {1..62})<;"

repeat() {  # TEXT BYTES: TEXT repeated, cut to BYTES
  (set +o pipefail; yes "$1" | tr -d '\n' | head -c "$2")
}

# --- The long line is line 6: title, page, group, item and property row.
mkdir "$WORK/six"
{
  printf 'header\r\n\r\n\n\r\n\n'
  printf 'Report,G,I,,L,'
  repeat "$UNIT" "$SIZE"
} >"$WORK/six/r.csv"
run_code "$WORK/six" r.csv
expect_eq "line 6: exit code" "$CODE" "0"
expect_eq "line 6: console" "$OUT" "Converting: \"r.csv\"$CRLF"
expect_eq "line 6: no error output" "$ERR" ""
expect_same_file "line 6: page" <(
  page_style
  printf '<TITLE>Report of <'
  repeat "${UNIT//</\&lt;}" $((SIZE / 64 * 67))
  printf '></TITLE>\r\n'
  crlf '<BODY BGCOLOR="#FFFFFF">'
  for _ in 1 2 3 4; do crlf '<TR><TD><TD><TD>&nbsp;&nbsp;<TD>'; done
  crlf '<TABLE WIDTH=100%><TD CLASS=pt>QUORVIX System Information Report<TR><TD><HR></TABLE><TABLE><TR><TD WIDTH=16>&nbsp;<TD WIDTH=16><TD WIDTH=16><TD WIDTH=16><TD WIDTH=16>' \
    '<TR><TD><TD CLASS=dt COLSPAN=5>[ G ]' '<TR><TD>&nbsp;' '<TR><TD><TD><TD COLSPAN=3><B>I:</B>'
  printf '<TR><TD><TD><TD><TD>L&nbsp;&nbsp;<TD>'
  value=${UNIT//;/,}
  repeat "${value//</\&lt;}" $((SIZE / 64 * 67))
  printf '\r\n'
  page_tail
) "$WORK/six/r.htm"

# --- The whole report is one 64 MiB line: nothing but the frame.
mkdir "$WORK/one"
repeat "$UNIT" "$SIZE" >"$WORK/one/r.csv"
run_code "$WORK/one" r.csv
expect_eq "one line: exit code" "$CODE" "0"
expect_eq "one line: console" "$OUT" "Converting: \"r.csv\"$CRLF"
expect_same_file "one line: page" <(
  page_style
  crlf '<TITLE>Report of <></TITLE>' '<BODY BGCOLOR="#FFFFFF">'
  page_tail
) "$WORK/one/r.htm"

finish
