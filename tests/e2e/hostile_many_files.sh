#!/usr/bin/env bash
# One pattern that matches 2000 small reports (empty ones, a lone Ctrl-Z,
# short reports with their own titles) beside files and a directory it must
# pass over: every report is converted once, in byte order of the names, and
# gets its own page; the pages written meanwhile are not matched.
source "$(dirname "$0")/lib.sh"

COUNT=2000
page() {  # TITLE [BODY LINES...]
  page_head "$1"
  (($# < 2)) || crlf "${@:2}"
  page_tail
}
EMPTY_PAGE=$(page ""; printf .)
EMPTY_PAGE=${EMPTY_PAGE%.}

mkdir -p "$WORK/many/dir.csv"
printf 'not a report\n' >"$WORK/many/notes.txt"
expected_pages=$WORK/expected-pages
expected_console=""
for ((i = 0; i < COUNT; i++)); do
  printf -v name 'r%04d' "$i"
  case $((i % 3)) in
    0) : >"$WORK/many/$name.csv"
       printf '%s' "$EMPTY_PAGE" ;;
    1) printf '\x1a' >"$WORK/many/$name.csv"
       printf '%s' "$EMPTY_PAGE" ;;
    2) printf 'h\n,,,,,\nReport,G,,,L,%s\n\n\n,,,,,T<%s>\n' "$i" "$i" >"$WORK/many/$name.csv"
       page "T&lt;$i&gt;" '<TR><TD><TD><TD>&nbsp;&nbsp;<TD>' "$BANNER" \
         '<TR><TD><TD CLASS=dt COLSPAN=5>[ G ]' '<TR><TD>&nbsp;' "<TR><TD><TD><TD>L&nbsp;&nbsp;<TD>$i" \
         '<TR><TD><TD><TD>&nbsp;&nbsp;<TD>' '<TR><TD><TD><TD>&nbsp;&nbsp;<TD>' \
         "<TR><TD><TD><TD>&nbsp;&nbsp;<TD>T&lt;$i&gt;" ;;
  esac
  expected_console+="Converting: \"many/$name.csv\"$CRLF"
done >"$expected_pages"

run_code "$WORK" 'many/*.csv'
expect_eq "exit code" "$CODE" "0"
expect_eq "console" "$OUT" "$expected_console"
expect_eq "no error output" "$ERR" ""

CHECKS=$((CHECKS + 1))
pages=("$WORK"/many/r????.htm)
[[ ${#pages[@]} == "$COUNT" ]] || fail "${#pages[@]} pages instead of $COUNT"
CHECKS=$((CHECKS + 1))
cmp "$expected_pages" <(cat "${pages[@]}") >&2 || fail "pages differ from the expected ones"
expect_eq "nothing else written" "$(cd "$WORK/many" && ls -A | grep -v '^r[0-9]*\.\(csv\|htm\)$')" \
  $'dir.csv\nnotes.txt'
expect_no_file "nothing converted in a matched directory" "$WORK/many/dir.htm"

finish
