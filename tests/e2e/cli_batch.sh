#!/usr/bin/env bash
# Batches that run to their end: output names, the ".hta" switch, which
# names a pattern finds and in which order, and pages landing beside their
# reports. No report is ever changed.
source "$(dirname "$0")/lib.sh" "$1"

# report TITLE: a small report whose line 6 gives TITLE.
report() {
  printf 'Header,line\r\n'
  printf 'Report,Summary,Computer,,Name,HOST-%s\r\n' "$1"
  printf 'Report,Summary,Computer,,OS,Linux;x86\r\n'
  printf 'Report,Summary,Computer,,User,me\r\n'
  printf 'Report,Summary,Computer,,Domain,<none>\r\n'
  printf 'Report,Summary,Computer,,Title,%s\r\n' "$1"
}

# sums DIR: the checksum of every file below DIR but the pages.
sums() {
  (cd "$1" && find . -type f ! -name '*.htm' ! -name '*.hta' -print0 | sort -z | xargs -0r sha256sum)
}

# page_ok NAME FILE TITLE: a complete page whose title line holds TITLE.
page_ok() {
  local name=$1 file=$2 title=$3
  CHECKS=$((CHECKS + 1))
  if [[ ! -f $file ]]; then
    fail "$name: $file missing"
    return
  fi
  local content
  content=$(cat "$file"; echo .)
  content=${content%.}
  [[ $content == "<HTML>${CRLF}<HEAD>${CRLF}"* ]] || fail "$name: $file does not start with the head"
  [[ $content == *"${CRLF}<TITLE>Report of <$title></TITLE>${CRLF}"* ]] || fail "$name: $file lacks title $title"
  [[ $content == *"${CRLF}</TABLE><BR><BR>${CRLF}<HR>${CRLF}<BR>${CRLF}${CRLF}</BODY>${CRLF}</HTML>${CRLF}" ]] ||
    fail "$name: $file does not end with the tail"
}

no_temporaries() {  # NAME DIR
  CHECKS=$((CHECKS + 1))
  local left
  left=$(find "$2" -name '.rptconv-*' | head -1)
  [[ -z $left ]] || fail "$1: temporary file left: $left"
}

# --- Output names -----------------------------------------------------------
D=$WORK/names
mkdir -p "$D"
report plain >"$D/a.csv"
report nodot >"$D/report"
report dots >"$D/a.b.c.csv"
report upper >"$D/UP.CSV"
report enddot >"$D/e."
report dotfirst >"$D/.csv"
report blank >"$D/my report.csv"
E9=$'\xe9'
report high >"$D/$E9.csv"
BEFORE=$(sums "$D")

naming() {  # INPUT OUTPUT TITLE
  run_code "$D" "$1"
  expect_eq "$1: stdout" "$OUT" "Converting: \"$1\"$CRLF"
  expect_eq "$1: exit code" "$CODE" 0
  expect_eq "$1: stderr" "$ERR" ""
  page_ok "$1" "$D/$2" "$3"
}
naming a.csv a.htm plain
naming report report.htm nodot
naming a.b.c.csv a.b.c.htm dots
naming UP.CSV UP.htm upper
naming e. e.htm enddot
naming .csv .htm dotfirst
naming "my report.csv" "my report.htm" blank
naming $'\xe9'.csv $'\xe9'.htm high
expect_no_file "several dots keep all but the last" "$D/a.htm.htm"
expect_no_file "upper-case extension" "$D/UP.HTM"

# The ".hta" switch gives the same bytes under another name.
for args in "a.csv /HTA" "a.csv /hta" "--hta a.csv" "a.csv --hta"; do
  rm -f "$D/a.hta"
  # shellcheck disable=SC2086
  run_code "$D" $args
  expect_eq "$args: stdout" "$OUT" "Converting: \"a.csv\"$CRLF"
  expect_eq "$args: exit code" "$CODE" 0
  expect_file "$args: page" "$D/a.hta"
  CHECKS=$((CHECKS + 1))
  cmp -s "$D/a.htm" "$D/a.hta" || fail "$args: a.hta differs from a.htm"
done
rm -f "$D/a.hta"
run_code "$D" a.csv $' \t/hTa \r'
expect_eq "trimmed /hTa: exit code" "$CODE" 0
CHECKS=$((CHECKS + 1))
cmp -s "$D/a.htm" "$D/a.hta" || fail "trimmed /hTa: a.hta differs from a.htm"
rm -f "$D/a.hta"
for other in /HTAX /HT -hta --HTA; do
  run_code "$D" a.csv "$other"
  expect_no_file "$other selects nothing" "$D/a.hta"
done

# An existing page is replaced.
printf 'old page\r\n' >"$D/a.htm"
run_code "$D" a.csv
expect_eq "replaced page: exit code" "$CODE" 0
page_ok "replaced page" "$D/a.htm" plain

expect_eq "name cases: reports unchanged" "$(sums "$D")" "$BEFORE"
no_temporaries "name cases" "$D"

# --- Which names a pattern finds, and in which order ----------------------
D=$WORK/order
mkdir -p "$D/dir.csv" "$D/sub"
for name in b.csv a.csv C.csv _x.csv $'\xc1'.csv 1.csv; do report "${name%.csv}" >"$D/$name"; done
report hidden >"$D/.hidden.csv"
report other >"$D/a.txt"
report subA >"$D/sub/a.csv"
report subB >"$D/sub/b.csv"
BEFORE=$(sums "$D")

run_code "$D" '*.csv'
expect_eq "*.csv: byte order, no dot-files, no directories" "$OUT" \
  "Converting: \"1.csv\"${CRLF}Converting: \"C.csv\"${CRLF}Converting: \"_x.csv\"${CRLF}Converting: \"a.csv\"${CRLF}Converting: \"b.csv\"${CRLF}Converting: \""$'\xc1'".csv\"$CRLF"
expect_eq "*.csv: exit code" "$CODE" 0
for name in 1 C _x a b $'\xc1'; do page_ok "*.csv" "$D/$name.htm" "$name"; done
expect_no_file "*.csv: dot-file not found" "$D/.hidden.htm"
expect_no_file "*.csv: other extension not found" "$D/a.htm.htm"
expect_no_file "*.csv: directory skipped" "$D/dir.htm"
expect_no_file "*.csv: subdirectory not searched" "$D/sub/a.htm"
rm -f "$D"/*.htm

run_code "$D" '.*.csv'
expect_eq ".*.csv: the dot-file" "$OUT" "Converting: \".hidden.csv\"$CRLF"
page_ok ".*.csv" "$D/.hidden.htm" hidden
rm -f "$D/.hidden.htm"

run_code "$D" '*.CSV'
expect_eq "*.CSV: case-sensitive, nothing" "$OUT" ""
expect_eq "*.CSV: exit code" "$CODE" 0

run_code "$D" '?.csv'
expect_eq "?.csv" "$OUT" \
  "Converting: \"1.csv\"${CRLF}Converting: \"C.csv\"${CRLF}Converting: \"a.csv\"${CRLF}Converting: \"b.csv\"${CRLF}Converting: \""$'\xc1'".csv\"$CRLF"
rm -f "$D"/*.htm

run_code "$D" '[ab].csv'
expect_eq "[ab].csv" "$OUT" "Converting: \"a.csv\"${CRLF}Converting: \"b.csv\"$CRLF"
rm -f "$D"/*.htm

# The names of a pattern are listed before its first page is written, so
# '*' does not find the pages it writes.
run_code "$D/sub" '*'
expect_eq "*: only the reports" "$OUT" "Converting: \"a.csv\"${CRLF}Converting: \"b.csv\"$CRLF"
expect_eq "*: exit code" "$CODE" 0
rm -f "$D"/sub/*.htm

# Several patterns, in the order given, each in byte order.
run_code "$D" b.csv '[aC].csv' 1.csv
expect_eq "several patterns" "$OUT" \
  "Converting: \"b.csv\"${CRLF}Converting: \"C.csv\"${CRLF}Converting: \"a.csv\"${CRLF}Converting: \"1.csv\"$CRLF"
expect_eq "several patterns: exit code" "$CODE" 0
rm -f "$D"/*.htm

# A pattern with a directory part: the progress line and the page carry it.
run_code "$D" 'sub/*.csv'
expect_eq "sub/*.csv" "$OUT" "Converting: \"sub/a.csv\"${CRLF}Converting: \"sub/b.csv\"$CRLF"
page_ok "sub/*.csv" "$D/sub/a.htm" subA
page_ok "sub/*.csv" "$D/sub/b.htm" subB
expect_no_file "sub/*.csv: nothing in the current directory" "$D/a.htm"
rm -f "$D"/sub/*.htm
run_code "$D" './sub/a.csv' "$D/sub/b.csv"
expect_eq "./sub and absolute" "$OUT" "Converting: \"./sub/a.csv\"${CRLF}Converting: \"$D/sub/b.csv\"$CRLF"
page_ok "./sub/a.csv" "$D/sub/a.htm" subA
page_ok "absolute" "$D/sub/b.htm" subB
rm -f "$D"/sub/*.htm
run_code "$D/sub" '../?.csv'
expect_eq "../?.csv" "$OUT" \
  "Converting: \"../1.csv\"${CRLF}Converting: \"../C.csv\"${CRLF}Converting: \"../a.csv\"${CRLF}Converting: \"../b.csv\"${CRLF}Converting: \"../"$'\xc1'".csv\"$CRLF"
page_ok "../?.csv" "$D/a.htm" a
rm -f "$D"/*.htm

# Wildcards that find nothing in a searchable directory: no line, exit code
# 0. A name without wildcards that names no report, or names a directory, and
# a directory that cannot be searched: the open-failure line, exit code 1.
mkdir -p "$D/locked"
chmod 000 "$D/locked"
for row in '*.none|0' 'sub/*.txt|0' 'dir.*|0' 'missing.csv|1' 'dir.csv|1' 'sub|1' 'nodir/*.csv|1' \
    '*.csv/x|1' 'a.csv/*.csv|1' 'nodir/a.csv|1' 'locked/*.csv|1'; do
  pattern=${row%|*}
  # Root reads any directory.
  [[ $pattern != locked/* || $(id -u) -ne 0 ]] || continue
  run_code "$D" "$pattern"
  expected=""
  [[ ${row#*|} == 0 ]] || expected="Cannot open input file: \"$pattern\"$CRLF"
  expect_eq "$pattern: stdout" "$OUT" "$expected"
  expect_eq "$pattern: stderr" "$ERR" ""
  expect_eq "$pattern: exit code" "$CODE" "${row#*|}"
done
chmod 755 "$D/locked"
rmdir "$D/locked"
run_code "$D" '*.none' 'sub/a.csv'
expect_eq "an empty pattern among others" "$OUT" "Converting: \"sub/a.csv\"$CRLF"
expect_eq "an empty pattern among others: exit code" "$CODE" 0
run_code "$D" 'missing.csv' 'sub/b.csv'
expect_eq "a missing name stops the batch" "$OUT" "Cannot open input file: \"missing.csv\"$CRLF"
expect_eq "a missing name stops the batch: exit code" "$CODE" 1
rm -f "$D"/sub/*.htm
expect_eq "no page from empty patterns" "$(find "$D" -name '*.htm' | wc -l)" 0

# A FIFO, a socket or a device found by a wildcard is skipped (a FIFO would
# block the batch for ever); named literally, it is opened as given.
mkdir -p "$D/special"
report fifo >"$D/special/a.csv"
mkfifo "$D/special/f.csv"
ln -s /dev/null "$D/special/null.csv"
python3 -c 'import socket,sys; socket.socket(socket.AF_UNIX).bind(sys.argv[1])' "$D/special/s.csv" 2>/dev/null || true
RUN_AS="timeout 20" run_code "$D/special" '*.csv'
expect_eq "special files skipped" "$CODE:$OUT" "0:Converting: \"a.csv\"$CRLF"
timeout 20 cp "$D/special/a.csv" "$D/special/f.csv" </dev/null >/dev/null 2>&1 &
RUN_AS="timeout 20" run_code "$D/special" f.csv
wait $! || true
expect_eq "a FIFO named literally is read" "$CODE:$OUT" "0:Converting: \"f.csv\"$CRLF"
rm -rf "$D/special"

# A report a wildcard listed that is a FIFO by the time it is opened is
# skipped, not waited for. The patterns are listed before the first report
# (here a FIFO named literally, held open by the test) is read.
mkdir -p "$D/swap"
report swap >"$D/swap/a.csv"
report swap >"$D/swap/b.csv"
mkfifo "$D/swap/slow"
(cd "$D" && exec timeout 20 "$RPTCONV" swap/slow 'swap/*.csv' >"$WORK/swap.out" 2>&1) &
SECOND=$!
sleep 0.5
rm "$D/swap/b.csv" && mkfifo "$D/swap/b.csv"
printf 'Header\r\n' >"$D/swap/slow"
CODE=0
wait $SECOND || CODE=$?
expect_eq "a FIFO swapped in after the listing: skipped" "$CODE|$(cat "$WORK/swap.out")" \
  "0|$(printf 'Converting: "swap/slow"\r\nConverting: "swap/a.csv"\r\n')"
rm -rf "$D/swap"

# -d: two reports that would give pages of the same name. The second is a
# create failure, never a replacement; with -k the batch goes on, and the
# index links only the first report's page.
mkdir -p "$D/dup/a" "$D/dup/b" "$D/dup/out"
report first >"$D/dup/a/r.csv"
report second >"$D/dup/b/r.csv"
report third >"$D/dup/b/s.csv"
run_code "$D/dup" -k -d out --index=i.htm a/r.csv b/r.csv b/s.csv
expect_eq "-d same names: exit code, stdout" "$CODE|$OUT" \
  "2|Converting: \"a/r.csv\"${CRLF}Cannot create output file: \"out/r.htm\"${CRLF}Converting: \"b/s.csv\"$CRLF"
expect_eq "-d same names: the first page stays" "$(grep -c 'HOST-first\|HOST-second' "$D/dup/out/r.htm")|$(grep -c HOST-second "$D/dup/out/r.htm")" "1|0"
expect_eq "-d same names: one link each" "$(sed '/<section id="attention"/q' "$D/dup/i.htm" | grep -o 'href="out/[^"]*"' | tr '\n' ' ')" \
  'href="out/r.htm" href="out/s.htm" '
run_code "$D/dup" -d out a/r.csv b/r.csv
expect_eq "-d same names without -k" "$CODE|$OUT" "2|Converting: \"a/r.csv\"${CRLF}Cannot create output file: \"out/r.htm\"$CRLF"
# The same report named twice has one page, written twice.
run_code "$D/dup" -d out a/r.csv ./a/r.csv
expect_eq "-d the same report twice" "$CODE|$OUT" "0|Converting: \"a/r.csv\"${CRLF}Converting: \"./a/r.csv\"$CRLF"
rm -rf "$D/dup"

# The index cuts a long cell after 48 bytes of the report and says so.
mkdir -p "$D/long"
printf 'Header\r\nReport,Summary,,,Computer Name,%s\r\n' "$(printf 'x%.0s' {1..5000})" >"$D/long/r.csv"
run_code "$D/long" -q --index=i.htm r.csv
expect_eq "index: a long cell cut" "$CODE|$(grep -o '<td>x*…' "$D/long/i.htm" | wc -c)" "0|$((4 + 48 + 3 + 1))"
rm -rf "$D/long"

# Two reports in one run: each page has its own title and no state of the
# first reaches the second.
run_code "$D" a.csv b.csv
cp "$D/b.htm" "$WORK/b-after-a.htm"
run_code "$D" b.csv
CHECKS=$((CHECKS + 1))
cmp -s "$D/b.htm" "$WORK/b-after-a.htm" || fail "b.htm differs when a.csv was converted before it"

expect_eq "order cases: reports unchanged" "$(sums "$D")" "$BEFORE"
no_temporaries "order cases" "$D"

# --- Where pages go: -o, -d, standard input and output -------------------
D=$WORK/where
mkdir -p "$D/in" "$D/out"
report where >"$D/in/a.csv"
(cd "$D/in" && "$RPTCONV" -q a.csv && mv a.htm ../a.ref)
PAGE=$(cat "$D/a.ref"; echo .)
PAGE=${PAGE%.}
LINE="Converting: \"in/a.csv\"$CRLF"
BEFORE=$(sums "$D/in")
# where NAME CODE STDOUT STDERR FILE ARGS...: a run in $D reading in/a.csv
# on standard input; FILE, when named, must hold the page of in/a.csv.
where() {
  local name=$1 code=$2 out=$3 err=$4 file=$5
  shift 5
  RUN_STDIN=$D/in/a.csv run_code "$D" "$@"
  expect_eq "$name: exit code, stdout, stderr" "$CODE|$OUT|$ERR" "$code|$out|$err"
  if [[ -n $file ]]; then
    expect_same_file "$name: page" "$D/a.ref" "$D/$file"
    rm -f "$D/$file"
  fi
}
where "-o" 0 "$LINE" "" out/p.html -o out/p.html in/a.csv
where "--output= --quiet" 0 "" "" out/p.html in/a.csv --quiet --output=out/p.html
where "-d" 0 "$LINE" "" out/a.htm -d out 'in/*.csv'
where "--output-dir= --hta" 0 "$LINE" "" out/a.hta --output-dir=out/ in/a.csv --hta
# Outputs the user names are checked, directory included, before any report
# is converted: one line, exit code 2, nothing written.
where "-d missing" 2 "Cannot create output file: \"nowhere\"$CRLF" "" "" -d nowhere in/a.csv 'in/*.csv'
where "--index in a missing directory" 2 "Cannot create output file: \"nowhere/i.htm\"$CRLF" "" "" \
  -d out --index=nowhere/i.htm in/a.csv
where "-o in a missing directory" 2 "Cannot create output file: \"nowhere/p.htm\"$CRLF" "" "" -o nowhere/p.htm in/a.csv
where "-q: failures on standard error" 1 "" "Cannot open input file: \"in/none.csv\"$CRLF" "" -q in/none.csv
where "-o onto the report" 2 "Cannot create output file: \"in/a.csv\"$CRLF" "" "" -o in/a.csv in/a.csv
where "-o -" 0 "$PAGE" "$LINE" "" in/a.csv -o -
where "- to standard output" 0 "$PAGE" "Converting: \"-\"$CRLF" "" -
where "- -o FILE" 0 "Converting: \"-\"$CRLF" "" out/p.htm - -o out/p.htm
where "- -o onto its own file" 2 "Cannot create output file: \"in/a.csv\"$CRLF" "" "" - -o in/a.csv
# The index links each page relative to its own directory, and lists a
# report that failed (with --keep-going) with its failure line.
# (The report table: the lines before the sections across the fleet.)
index_of() {
  sed '/<section id="attention"/q' "$1" |
    grep -o 'href="[^"]*"\|failed"><td>[^<]*<td class="w">[^<]*\|[0-9]* reports*, [0-9]* converted, [0-9]* failed' | tr -d '\r'
}
mkdir -p "$D/idx"
where "--index -d" 0 "$LINE" "" out/a.htm -d out --index=idx/index.htm 'in/*.csv'
expect_eq "--index -d: link and count" "$(index_of "$D/idx/index.htm")" \
  $'1 report, 1 converted, 0 failed\nhref="../out/a.htm"'
where "--index -k" 1 "${LINE}Cannot open input file: \"in/none.csv\"$CRLF" "" out/a.htm \
  -k -d out --index="$D/index.htm" in/a.csv in/none.csv
expect_eq "--index -k: failure row and count" "$(index_of "$D/index.htm")" \
  $'2 reports, 1 converted, 1 failed\nhref="out/a.htm"\nfailed"><td>in/none.csv<td class="w">Cannot open input file: &quot;in/none.csv&quot;'
# The index may replace no report of the run (opened or not: a missing one
# stops the batch first), no page of the run, and no file that holds a
# report; it is refused before any page is written.
printf 'Page,Group,Item,Type,Property,Value\r\nP,G,,,Computer Name,X\r\n' >"$D/held.csv"
where "--index onto a report" 2 "Cannot create output file: \"in/a.csv\"$CRLF" "" "" \
  -d out --index=in/a.csv in/a.csv
where "--index onto a report never opened" 2 "Cannot create output file: \"in/a.csv\"$CRLF" "" "" \
  in/none.csv in/a.csv --index=in/a.csv
where "--index onto the run's page" 2 "Cannot create output file: \"./out/a.htm\"$CRLF" "" "" \
  -d out in/a.csv --index=./out/a.htm
where "--index onto a file holding a report" 2 "Cannot create output file: \"held.csv\"$CRLF" "" "" \
  --index held.csv in/a.csv
expect_eq "--index onto a file holding a report: kept" "$(head -c 4 "$D/held.csv")" "Page"
where "-o onto a file holding a report" 2 "Cannot create output file: \"held.csv\"$CRLF" "" "" -o held.csv in/a.csv
rm -f "$D/held.csv"
# An index written after an I/O failure ended the batch (no --keep-going)
# lists the report that failed.
if [[ -r /proc/self/mem ]]; then
  rm -f "$D/index.htm"
  run_code "$D" -d out --index=index.htm in/a.csv /proc/self/mem
  expect_eq "--index after an I/O failure: exit code" "$CODE" 1
  expect_eq "--index after an I/O failure: rows" "$(index_of "$D/index.htm" | head -2)" \
    $'2 reports, 1 converted, 1 failed\nhref="out/a.htm"'
  rm -f "$D/out/a.htm"
fi
rm -rf "$D/idx" "$D/index.htm"
# Data: beside the report, or with NDJSON several reports into one stream;
# a stream that would replace a report of the run is refused before any is
# converted.
where "--format=json" 0 "$LINE" "" "" --format=json in/a.csv
expect_eq "--format=json: in/a.json is one document" "$(jq -r '.format + " " + .file' "$D/in/a.json")" "rptconv-report in/a.csv"
rm -f "$D/in/a.json"
cp "$D/in/a.csv" "$D/b.csv"
where "--format=ndjson -o, two reports" 0 "${LINE}Converting: \"b.csv\"$CRLF" "" "" --format=ndjson -o out/f.ndjson in/a.csv b.csv
expect_eq "--format=ndjson -o: both reports in order" "$(jq -r .file "$D/out/f.ndjson" | uniq | tr '\n' ' ')" "in/a.csv b.csv "
where "--format=ndjson -o onto the second report" 2 "Cannot create output file: \"b.csv\"$CRLF" "" "" \
  --format=ndjson -o b.csv in/a.csv b.csv
expect_same_file "--format=ndjson -o onto the second report: it stays" "$D/in/a.csv" "$D/b.csv"
where "--index with json" 0 "$LINE" "" "" --format=json -d out --index=out/i.json in/a.csv
expect_eq "--index with json: report, output, title" "$(jq -r '.reports[] | [.file, .output, .title] | @tsv' "$D/out/i.json")" \
  "in/a.csv	out/a.json	$(sed -n '6s/^\([^,]*,\)\{5\}//p' "$D/in/a.csv" | tr -d '\r')"
rm -f "$D/b.csv" "$D/out/f.ndjson" "$D/out/a.json" "$D/out/i.json"
(cd "$D" && cat in/a.csv | "$RPTCONV" - 2>/dev/null >out/pipe.htm)
expect_same_file "cat | rptconv -" "$D/a.ref" "$D/out/pipe.htm"
expect_eq "where cases: reports unchanged" "$(sums "$D/in")" "$BEFORE"
no_temporaries "where cases" "$D"

finish
