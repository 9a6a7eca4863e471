#!/usr/bin/env bash
# Reports of a million empty lines, and reports made of commas alone. An
# empty line is a record of six empty fields: a property row with an empty
# label and value, outside any page.
source "$(dirname "$0")/lib.sh"

lines() {  # TEXT COUNT: COUNT lines of TEXT, each ended by CR LF
  (set +o pipefail; yes "$1" | head -n "$2" | sed 's/$/\r/')
}
EMPTY_ROW='<TR><TD><TD><TD>&nbsp;&nbsp;<TD>'

# A million LF line ends: line 1 is the header, 999999 empty records follow.
mkdir "$WORK/lf"
(set +o pipefail; yes '' | head -n 1000000) >"$WORK/lf/r.csv"
convert lf
expect_same_file "lf: page" <(page_head ""; lines "$EMPTY_ROW" 999999; page_tail) "$WORK/lf/r.htm"

# The same with CR LF, and with one more line that has no line end but a
# lone CR, which vanishes: still an empty record of its own.
mkdir "$WORK/crlf"
{ (set +o pipefail; yes $'\r' | head -n 1000000); printf '\r'; } >"$WORK/crlf/r.csv"
convert crlf
expect_same_file "crlf: page" <(page_head ""; lines "$EMPTY_ROW" 1000000; page_tail) "$WORK/crlf/r.htm"

# One line of 100000 commas and nothing else: only a header line.
mkdir "$WORK/commas"
(set +o pipefail; yes ',' | head -n 100000 | tr -d '\n') >"$WORK/commas/r.csv"
convert commas
expect_same_file "commas: page" <(page_head ""; page_tail) "$WORK/commas/r.htm"

# Lines of 0 to 12 commas: up to five commas every field is empty; each
# further comma is part of the value. Line 6 holds five commas: empty title.
mkdir "$WORK/comma-lines"
for n in $(seq 0 12); do
  printf '%*s\n' "$n" '' | tr ' ' ','
done >"$WORK/comma-lines/r.csv"
convert comma-lines
expect_same_file "comma lines: page" <(
  page_head ""
  for n in $(seq 1 12); do
    extra=$((n > 5 ? n - 5 : 0))
    printf '%s%*s\r\n' "$EMPTY_ROW" "$extra" '' | tr ' ' ','
  done
  page_tail
) "$WORK/comma-lines/r.htm"

# A modern page of 12,345 report pages lists the first 10,000 in its
# navigation and counts the rest; a long title is cut there, not in its
# heading. Later pages still get an anchor each.
mkdir "$WORK/pages"
{
  printf 'Header\r\nReport,G,,,Title,T\r\n'
  printf 'Long%0300d,G,,,L,V\r\n' 0
  seq 2 12345 | sed 's/.*/P&,G,,,L,V\r/'
} >"$WORK/pages/r.csv"
run_code "$WORK/pages" --style=modern -q r.csv
expect_eq "12,345 pages: exit code" "$CODE" 0
expect_eq "12,345 pages: the rest counted" "$(grep -c '^<p class="more">and 2,346 more pages</p>' "$WORK/pages/r.htm")" 1
expect_eq "12,345 pages: listed" "$(grep -c '^<li><a href="#' "$WORK/pages/r.htm")" 10000
expect_eq "12,345 pages: the long title cut in the list" \
  "$(grep -c "^<li><a href=\"#[^\"]*\">Long$(printf '%0156d' 0)…</a>" "$WORK/pages/r.htm")" 1
expect_eq "12,345 pages: anchors" "$(grep -o '<section id="[^"]*"' "$WORK/pages/r.htm" | sort -u | wc -l)" 12346

finish
