#!/usr/bin/env bash
# End-to-end tests of rptconv.exe under Wine: the command line as Windows
# hands it over, the directory search, file sharing, read-only pages, the
# 259-byte paths, the failure report and a comparison.
#
#   e2e_wine.sh RPTCONV_EXE RAWCMD_EXE EMULATOR...
#
# EMULATOR is the command that runs a Windows program (wine, or wine-run.sh
# and its prefix), its paths absolute. Every run goes through rawcmd.exe,
# which starts rptconv.exe with an exact command-line text (Wine's own
# argument passing would re-quote it).
set -euo pipefail

if [[ $# -lt 3 ]]; then
  echo "usage: $0 RPTCONV_EXE RAWCMD_EXE EMULATOR..." >&2
  exit 2
fi
RPTCONV=$(realpath "$1")
RAWCMD=$(realpath "$2")
shift 2
EMULATOR=("$@")
# The runs change directory: a relative emulator path must survive that.
if [[ ${EMULATOR[0]} == */* && -e ${EMULATOR[0]} ]]; then
  EMULATOR[0]=$(realpath "${EMULATOR[0]}")
fi

WORK=$(mktemp -d "${TMPDIR:-/tmp}/rptconv-wine.XXXXXX")
trap 'chmod -R u+w "$WORK" 2>/dev/null; [[ -n ${KEEP_WORK:-} ]] || rm -rf "$WORK"' EXIT
CHECKS=0
FAILURES=0
CRLF=$'\r\n'

fail() {
  echo "FAIL: $*" >&2
  FAILURES=$((FAILURES + 1))
}

# The Windows name of a Unix path (Wine's drive Z: is the Unix root).
winpath() {
  local p
  p=$(realpath -m "$1")
  printf 'Z:%s' "${p//\//\\}"
}

# run DIR 'COMMAND LINE' [RAWCMD OPTIONS...]: runs rptconv.exe in DIR with
# exactly that command line (word 0 included); sets OUT, ERR and CODE.
run() {
  local dir=$1 command_line=$2
  shift 2
  printf '%s' "$command_line" >"$WORK/.cmd"
  set +e
  (cd "$dir" && "${EMULATOR[@]}" "$RAWCMD" "$@" "$(winpath "$WORK/.cmd")" "$(winpath "$RPTCONV")" \
    >"$WORK/.stdout" 2>"$WORK/.stderr" </dev/null)
  CODE=$?
  set -e
  OUT=$(cat "$WORK/.stdout"; echo .)
  OUT=${OUT%.}
  ERR=$(cat "$WORK/.stderr"; echo .)
  ERR=${ERR%.}
}

expect_eq() {  # NAME ACTUAL EXPECTED
  CHECKS=$((CHECKS + 1))
  if [[ "$2" != "$3" ]]; then
    fail "$1"
    diff <(printf '%s' "$3" | cat -A) <(printf '%s' "$2" | cat -A) | head -20 >&2 || true
  fi
}

expect_same_file() {  # NAME PATH REFERENCE: the file exists with the reference's bytes
  CHECKS=$((CHECKS + 1))
  if [[ ! -f $2 ]]; then
    fail "$1: $2 missing"
  elif ! cmp -s "$2" "$3"; then
    fail "$1: $2 differs from $3"
  fi
}

expect_no_file() {  # NAME PATH
  CHECKS=$((CHECKS + 1))
  [[ ! -e $2 ]] || fail "$1: $2 exists"
}

# expect_files NAME DIR NAMES...: DIR holds exactly these names (no stray
# temporary file either).
expect_files() {
  local name=$1 dir=$2
  shift 2
  local want got
  want=$(printf '%s\n' "$@" | LC_ALL=C sort)
  got=$(cd "$dir" && find . -mindepth 1 -maxdepth 1 -printf '%P\n' | LC_ALL=C sort)
  expect_eq "$name: files in $(basename "$dir")" "$got" "$want"
}

expect_out() {  # NAME LINES...: standard output is exactly these lines, each with CR LF
  local name=$1 line want=""
  shift
  for line in "$@"; do want+=$line$CRLF; done
  expect_eq "$name: output" "$OUT" "$want"
}

# A small report; its page is made once and every later page must equal it.
REPORT=$WORK/report.csv
printf '%s\r\n' \
  'Header line' \
  'Summary,Computer,,x,Name,BOX-01' \
  'Summary,Computer,,x,Vendor,Example <Corp>' \
  'Summary,Operating System,,x,Version,7;1' \
  'Summary,Operating System,,x,Home,http://example.org/os' \
  'Summary,Computer,,x,Report Title,Wine test' \
  'Drives,Disks,Disk 0,x,Size,120 GB' \
  $'Drives,Disks,Disk 0,x,Model,\e$B' >"$REPORT"

new_dir() {  # new_dir NAME: a fresh empty directory under WORK, printed
  local dir=$WORK/$1
  rm -rf "$dir"
  mkdir -p "$dir"
  printf '%s' "$dir"
}

# --- The reference page --------------------------------------------------
dir=$(new_dir ref)
cp "$REPORT" "$dir/report.csv"
run "$dir" 'rptconv report.csv'
expect_out "reference" 'Converting: "report.csv"'
expect_eq "reference: exit code" "$CODE" 0
PAGE=$WORK/page.htm
if [[ -f $dir/report.htm ]]; then
  cp "$dir/report.htm" "$PAGE"
else
  echo "FAIL: the reference page was not written; nothing else can be checked" >&2
  exit 1
fi
CHECKS=$((CHECKS + 1))
if ! head -c 8 "$PAGE" | cmp -s - <(printf '<HTML>\r\n') || ! grep -q 'Example &lt;Corp&gt;' "$PAGE" ||
    ! grep -q '<TD>&#27;\$B' "$PAGE" || grep -q $'\e' "$PAGE"; then
  fail "reference: the page does not look like a page"
fi

# --- Usage ---------------------------------------------------------------
dir=$(new_dir usage)
run "$dir" 'rptconv'
USAGE=$OUT
expect_eq "usage: exit code" "$CODE" 0
CHECKS=$((CHECKS + 1))
mapfile -t usage_lines < <(printf '%s' "$USAGE" | sed 's/\r$//')
if [[ ${#usage_lines[@]} -ne 11 || ${usage_lines[3]} != 'Usage:  RPTCONV <csvfile> [/HTA]' ||
      $(printf '%s' "$USAGE" | grep -c $'\r$') -ne 11 || ${USAGE: -2} != "$CRLF" ]]; then
  fail "usage: not eleven CR LF lines with the usage line fourth"
fi
for command_line in 'rptconv   ' $'rptconv \t ' 'rptconv ""' 'rptconv "' 'rptconv /?' 'rptconv /h' \
    'rptconv /HELP' 'rptconv x/hy.csv' 'rptconv "x/hy.csv"' 'rptconv " /?"' 'rptconv /HTA a.csv' \
    'rptconv a/?b' '"C:\Program Files\rptconv.exe"'; do
  cp "$REPORT" "$dir/a.csv"
  run "$dir" "$command_line"
  expect_eq "usage for [$command_line]" "$OUT" "$USAGE"
  expect_eq "usage for [$command_line]: exit code" "$CODE" 0
  expect_files "usage for [$command_line]" "$dir" a.csv
done

# --- "-h" is a name ------------------------------------------------------
dir=$(new_dir minus_h)
cp "$REPORT" "$dir/a.csv"
run "$dir" 'rptconv -h'
expect_out "-h naming nothing" 'Cannot open input file: "-h"'
expect_eq "-h naming nothing: exit code" "$CODE" 1
expect_files "-h naming nothing" "$dir" a.csv
cp "$REPORT" "$dir/-h"
run "$dir" 'rptconv -h'
expect_out "-h naming a report" 'Converting: "-h"'
expect_same_file "-h naming a report: page" "$dir/-h.htm" "$PAGE"

# --- Quoted arguments ----------------------------------------------------
dir=$(new_dir quoted)
mkdir "$dir/my dir"
cp "$REPORT" "$dir/my dir/a b.csv"
run "$dir" 'rptconv "my dir\a b.csv" " /hTa	"'
expect_out "quoted with blanks" 'Converting: "my dir\a b.csv"'
expect_eq "quoted with blanks: exit code" "$CODE" 0
expect_same_file "quoted with blanks: page" "$dir/my dir/a b.hta" "$PAGE"
expect_files "quoted with blanks" "$dir/my dir" 'a b.csv' 'a b.hta'

rm "$dir/my dir/a b.hta"
run "$dir" 'rptconv my" "dir\"a b"".csv'
expect_out "quoted pieces joined" 'Converting: "my dir\a b.csv"'
expect_same_file "quoted pieces joined: page" "$dir/my dir/a b.htm" "$PAGE"

# A backslash before a closing quote stays: no escape character.
rm "$dir/my dir/a b.htm"
run "$dir" 'rptconv "my dir\"*.csv'
expect_out "backslash before a quote" 'Converting: "my dir\a b.csv"'
expect_same_file "backslash before a quote: page" "$dir/my dir/a b.htm" "$PAGE"

# An empty pair of quotes before the first argument is no argument.
dir=$(new_dir empty_quotes)
cp "$REPORT" "$dir/a.csv"
run "$dir" 'rptconv "" a.csv /HTA'
expect_out "empty quotes first" 'Converting: "a.csv"'
expect_same_file "empty quotes first: page" "$dir/a.hta" "$PAGE"
expect_files "empty quotes first" "$dir" a.csv a.hta

# --- The /HTA switch -----------------------------------------------------
dir=$(new_dir hta)
for second in /HTA /hta /hTa '"  /Hta "'; do
  cp "$REPORT" "$dir/a.csv"
  run "$dir" "rptconv a.csv $second"
  expect_out "switch $second" 'Converting: "a.csv"'
  expect_same_file "switch $second: page" "$dir/a.hta" "$PAGE"
  expect_files "switch $second" "$dir" a.csv a.hta
  rm -f "$dir"/*
done
for second in /HTAX '/HT A' 'x /HTA'; do
  cp "$REPORT" "$dir/a.csv"
  run "$dir" "rptconv a.csv $second"
  expect_eq "no switch in [$second]: exit code" "$CODE" 0
  expect_same_file "no switch in [$second]: page" "$dir/a.htm" "$PAGE"
  expect_files "no switch in [$second]" "$dir" a.csv a.htm
  rm -f "$dir"/*
done

# --- Patterns in a subdirectory ------------------------------------------
dir=$(new_dir subdir)
mkdir -p "$dir/sub/dir.csv"
cp "$REPORT" "$dir/sub/a.csv"
cp "$REPORT" "$dir/sub/b.csv"
cp "$REPORT" "$dir/a.csv"
for pattern in 'sub\*.csv' 'sub/*.csv'; do
  run "$dir" "rptconv $pattern"
  expect_eq "$pattern: exit code" "$CODE" 0
  # The order is the directory search's own.
  expect_eq "$pattern: output" "$(printf '%s' "$OUT" | LC_ALL=C sort)" \
    "$(printf 'Converting: "sub\\%s.csv"\r\n' a b | LC_ALL=C sort)"
  expect_same_file "$pattern: page a" "$dir/sub/a.htm" "$PAGE"
  expect_same_file "$pattern: page b" "$dir/sub/b.htm" "$PAGE"
  expect_files "$pattern" "$dir/sub" a.csv b.csv a.htm b.htm dir.csv
  expect_files "$pattern: nothing beside sub" "$dir" a.csv sub
  rm "$dir/sub/a.htm" "$dir/sub/b.htm"
done
# A drive letter and a colon name that drive's current directory.
run "$dir/sub" 'rptconv Z:a.*'
expect_out "drive-relative pattern" 'Converting: "Z:a.csv"'
expect_same_file "drive-relative pattern: page" "$dir/sub/a.htm" "$PAGE"
rm "$dir/sub/a.htm"
run "$dir" 'rptconv sub\dir.*'
expect_eq "only a directory matches: output" "$OUT" ""
expect_eq "only a directory matches: exit code" "$CODE" 0
# A name without wildcards must name a report, and a directory must be
# there to be searched.
for pattern in 'nowhere\*.csv' 'reprot.csv' 'sub' 'sub\dir.csv' 'a.csv\*.csv'; do
  run "$dir" "rptconv $pattern"
  expect_out "$pattern" "Cannot open input file: \"$pattern\""
  expect_eq "$pattern: exit code" "$CODE" 1
done

# --- Options after the first argument -----------------------------------
dir=$(new_dir options)
mkdir "$dir/out"
for f in a b c; do cp "$REPORT" "$dir/$f.csv"; done
page_bytes=$(cat "$PAGE"; printf .)
run "$dir" 'rptconv a.csv /HTA --output=-'
expect_eq "--output=-" "$CODE|$OUT|$ERR" "0|${page_bytes%.}|Converting: \"a.csv\"$CRLF"
run "$dir" 'rptconv a.csv --output=out\x.htm'
expect_same_file "--output=" "$dir/out/x.htm" "$PAGE"
run "$dir" 'rptconv *.csv --output-dir=out --quiet'
expect_eq "--output-dir= --quiet" "$CODE|$OUT" "0|"
for f in a b c; do expect_same_file "--output-dir=: $f" "$dir/out/$f.htm" "$PAGE"; done
run "$dir" 'rptconv *.csv --output-dir=out --quiet --index=index.htm'
# (The report table: the lines before the sections across the fleet.)
expect_eq "--index=" \
  "$CODE|$(sed '/<section id="attention"/q' "$dir/index.htm" | grep -o 'href="[^"]*"\|[0-9][0-9]* reports,' | tr '\n' ' ')" \
  '0|3 reports, href="out/a.htm" href="out/b.htm" href="out/c.htm" '
rm "$dir/index.htm"
# What the index tells across the hand-made fleet, as natively.
fleet=$(cd "$(dirname "$0")/../fleet" && pwd)
fleet_dir=$(new_dir fleet)
cp "$fleet"/*.csv "$fleet_dir/"
run "$fleet_dir" 'rptconv *.csv --quiet --index=index.htm'
bash "$fleet/rows.sh" "$fleet_dir/index.htm" | sed 's/^/default /' >"$fleet_dir/rows"
run "$fleet_dir" 'rptconv *.csv --quiet --index=index.htm --min-free=5 --max-av-age=60 --max-errors=1'
bash "$fleet/rows.sh" "$fleet_dir/index.htm" | sed 's/^/strict /' | grep -v '^strict [,[]' >>"$fleet_dir/rows"
run "$fleet_dir" 'rptconv *.csv --quiet --format=json --index=index.json --min-free=5 --max-av-age=60 --max-errors=1'
jq -r -f "$fleet/json_rows.jq" "$fleet_dir/index.json" | sed 's/^/json /' >>"$fleet_dir/rows"
expect_eq "fleet rows" "$CODE|$(cat "$fleet_dir/rows")" "0|$(grep -v '^#' "$fleet/expected.txt")"
# One rule for every output: no report of the run, no other output of the
# run, no file holding a report; -d and the index checked, directory
# included, before any report is converted.
printf 'Page,Group,Item,Type,Property,Value\r\nP,G,,,Computer Name,X\r\n' >"$dir/held.txt"
for case in '*.csv --index=b.csv|b.csv' 'a.csv --index=a.htm|a.htm' 'a.csv --index=nodir\i.htm|nodir\i.htm' \
  'a.csv --output-dir=nodir|nodir' 'a.csv --index=held.txt|held.txt' 'a.csv --output=held.txt|held.txt'; do
  run "$dir" "rptconv ${case%|*}"
  expect_eq "refused up front: ${case%|*}" "$CODE|$OUT" "2|Cannot create output file: \"${case#*|}\"$CRLF"
done
expect_eq "refused up front: nothing written" "$(cd "$dir" && ls)" $'a.csv\nb.csv\nc.csv\nheld.txt\nout'
rm "$dir/held.txt"
# --quiet sends failure lines to standard error.
run "$dir" 'rptconv none.csv --quiet'
expect_eq "--quiet: failure on standard error" "$CODE|$OUT|$ERR" "1||Cannot open input file: \"none.csv\"$CRLF"
# Long options in any position; no short options: a later word that begins
# with "-" is a mistake, and options alone name no report.
for row in 'rptconv a.csv -o out\y.htm|-o' 'rptconv a.csv -k|-k' 'rptconv a.csv -hta|-hta' \
    'rptconv --keep-going a.csv -|-'; do
  run "$dir" "${row%|*}"
  expect_eq "[${row%|*}]" "$CODE|$OUT|$ERR" "64||rptconv: unknown option '${row#*|}'${CRLF}Try 'rptconv --help'.$CRLF"
done
for command_line in 'rptconv --keep-going' 'rptconv --style=modern --index=i.htm'; do
  run "$dir" "$command_line"
  expect_eq "[$command_line]" "$CODE|$OUT|$ERR" "64||rptconv: no report named${CRLF}Try 'rptconv --help'.$CRLF"
done
run "$dir" 'rptconv --quiet --output=out\z.htm a.csv /HTA'
expect_eq "options first" "$CODE|$OUT" "0|"
expect_same_file "options first: page" "$dir/out/z.htm" "$PAGE"
run "$dir" 'rptconv --version'
version_lines=$(printf '%s' "$USAGE" | head -n 2; printf .)
expect_eq "--version first" "$CODE|$OUT" "0|${version_lines%.}"
run "$dir" 'rptconv --help'
CHECKS=$((CHECKS + 1))
[[ $CODE == 0 && $OUT == "Usage: rptconv "*"$CRLF  64  "*"$CRLF" && -z $ERR ]] || fail "--help alone: not the full help"
run "$dir" 'rptconv a.csv --bogus'
expect_eq "unknown option" "$CODE|$OUT|$ERR" "64||rptconv: unknown option '--bogus'${CRLF}Try 'rptconv --help'.$CRLF"
run "$dir" 'rptconv a.csv --bogus --help'
CHECKS=$((CHECKS + 1))
[[ $CODE == 0 && $OUT == "Usage: rptconv "*"$CRLF  64  "*"$CRLF" && -z $ERR ]] || fail "--help: not the full help"
expect_files "options" "$dir" a.csv b.csv c.csv out
# --keep-going goes past a report held by another program.
run "$dir" 'rptconv *.csv --keep-going' --hold b.csv
expect_eq "--keep-going" "$CODE|$(printf '%s' "$OUT" | LC_ALL=C sort)" \
  "1|$(printf '%s\r\n' 'Cannot open input file: "b.csv"' 'Converting: "a.csv"' 'Converting: "c.csv"' | LC_ALL=C sort)"
expect_same_file "--keep-going: page c" "$dir/c.htm" "$PAGE"

# --- The page cannot be created ------------------------------------------
# The page's name is the report's own: the open report refuses writers.
dir=$(new_dir same_name)
cp "$REPORT" "$dir/a.htm"
run "$dir" 'rptconv a.htm'
expect_out "page is the report" 'Cannot create output file: "a.htm"'
expect_eq "page is the report: exit code" "$CODE" 2
expect_same_file "page is the report: report unchanged" "$dir/a.htm" "$REPORT"
expect_files "page is the report" "$dir" a.htm
# Also when the names differ in case only.
mv "$dir/a.htm" "$dir/B.HTM"
run "$dir" 'rptconv B.HTM'
expect_out "page is the report, other case" 'Cannot create output file: "B.htm"'
expect_eq "page is the report, other case: exit code" "$CODE" 2
expect_same_file "page is the report, other case: report unchanged" "$dir/B.HTM" "$REPORT"
expect_files "page is the report, other case" "$dir" B.HTM

# A read-only page stays as it is.
dir=$(new_dir read_only)
cp "$REPORT" "$dir/a.csv"
printf 'old page\r\n' >"$dir/a.htm"
chmod a-w "$dir/a.htm"
run "$dir" 'rptconv a.csv'
expect_out "read-only page" 'Cannot create output file: "a.htm"'
expect_eq "read-only page: exit code" "$CODE" 2
expect_eq "read-only page: unchanged" "$(cat "$dir/a.htm")" "old page"$'\r'
expect_files "read-only page" "$dir" a.csv a.htm
# A writable earlier page is replaced.
chmod u+w "$dir/a.htm"
run "$dir" 'rptconv a.csv'
expect_eq "earlier page: exit code" "$CODE" 0
expect_same_file "earlier page: replaced" "$dir/a.htm" "$PAGE"
expect_files "earlier page" "$dir" a.csv a.htm

# A page held open by another program without sharing.
dir=$(new_dir held_page)
cp "$REPORT" "$dir/a.csv"
printf 'old page\r\n' >"$dir/a.htm"
run "$dir" 'rptconv a.csv' --hold a.htm
expect_out "held page" 'Cannot create output file: "a.htm"'
expect_eq "held page: exit code" "$CODE" 2
expect_files "held page" "$dir" a.csv a.htm

# --- A batch stopped by a report that cannot be opened --------------------
dir=$(new_dir batch)
for f in a b c; do cp "$REPORT" "$dir/$f.csv"; done
run "$dir" 'rptconv *.csv' --hold b.csv
expect_eq "unreadable report: exit code" "$CODE" 1
mapfile -t out_lines < <(printf '%s' "$OUT" | sed 's/\r$//')
last=$((${#out_lines[@]} - 1))
expect_eq "unreadable report: last line" "${out_lines[$last]:-}" 'Cannot open input file: "b.csv"'
pages=(a.csv b.csv c.csv)
for ((i = 0; i < last; ++i)); do
  name=${out_lines[$i]#Converting: \"}
  name=${name%.csv\"}
  CHECKS=$((CHECKS + 1))
  [[ $name == a || $name == c ]] || fail "unreadable report: unexpected line ${out_lines[$i]}"
  expect_same_file "unreadable report: page before the failure" "$dir/$name.htm" "$PAGE"
  pages+=("$name.htm")
done
expect_files "unreadable report: later reports not converted" "$dir" "${pages[@]}"

# --- Paths of up to 259 bytes --------------------------------------------
dir=$(new_dir long)
long=$(printf 'd%.0s' {1..120})
mkdir -p "$dir/$long/$long"
# "ddd..\ddd..\" is 242 bytes; a 17-byte name makes a path of 259 bytes.
cp "$REPORT" "$dir/$long/$long/0123456789012.csv"
run "$dir" "rptconv $long\\$long\\0123456789012.csv"
expect_eq "259-byte paths: exit code" "$CODE" 0
expect_same_file "259-byte paths: page" "$dir/$long/$long/0123456789012.htm" "$PAGE"
cp "$REPORT" "$dir/$long/$long/01234567890123.csv"
run "$dir" "rptconv $long\\$long\\01234567890123.csv"
expect_out "260-byte path" "Cannot open input file: \"$long\\$long\\01234567890123.csv\""
expect_eq "260-byte path: exit code" "$CODE" 1
expect_no_file "260-byte path: no page" "$dir/$long/$long/01234567890123.htm"

# --- The failure report --------------------------------------------------
dir=$(new_dir failure)
cp "$REPORT" "$dir/a.csv"
printf '%s' 'rptconv a.csv' >"$WORK/.cmd"
set +e
(cd "$dir" && "${EMULATOR[@]}" "$RAWCMD" "$(winpath "$WORK/.cmd")" "$(winpath "$RPTCONV")" \
  >/dev/full 2>"$WORK/.stderr" </dev/null)
CODE=$?
set -e
ERR=$(cat "$WORK/.stderr"; echo .)
ERR=${ERR%.}
expect_eq "failure report: exit code" "$CODE" 1
CHECKS=$((CHECKS + 1))
if ! [[ $ERR =~ ^Exception\ EInOutError\ in\ module\ rptconv\.exe\ at\ [0-9A-F]{8}\.$'\r\n'[^$'\r\n']+\.$'\r\n\r\n'$ ]]; then
  fail "failure report: unexpected standard error"
  printf '%s' "$ERR" | cat -A | head -5 >&2
fi
expect_files "failure report: no page and no temporary file" "$dir" a.csv

# --- Interrupted -----------------------------------------------------------
# Wine turns SIGINT into the console's Ctrl-C event. The conversion in
# progress leaves neither its temporary file nor a page, and an earlier page
# stays as it was.
dir=$(new_dir interrupted)
{
  head -n 1 "$REPORT"
  yes "Page,Group,Item,x,Label,$(printf 'v%.0s' {1..60})"$'\r' | head -n 400000 || true  # yes ends by SIGPIPE
} >"$dir/big.csv"
printf 'earlier page\r\n' >"$dir/big.htm"
(cd "$dir" && exec "${EMULATOR[@]}" "$RPTCONV" big.csv >"$WORK/.stdout" 2>"$WORK/.stderr" </dev/null) &
pid=$!
for ((i = 0; i < 1000; ++i)); do
  [[ -z $(find "$dir" -name 'big.~*' -size +100k) ]] || break
  sleep 0.01
done
CHECKS=$((CHECKS + 1))
if [[ $i -eq 1000 ]] || ! kill -INT "$pid" 2>/dev/null; then
  fail "interrupted: the conversion was not caught in progress"
fi
wait "$pid" || true
# Wine removes a file marked for deletion when it sees the process gone,
# which may be a moment after the process has ended.
for ((i = 0; i < 300; ++i)); do
  [[ -n $(find "$dir" -name 'big.~*') ]] || break
  sleep 0.01
done
expect_eq "interrupted: earlier page" "$(cat "$dir/big.htm")" "earlier page"$'\r'
expect_files "interrupted" "$dir" big.csv big.htm

# --- A comparison ----------------------------------------------------------
# The option before or after the reports; the page beside the new report,
# whose name is the new one's with ".changes.htm" (the data's ".changes.json");
# the page may not replace the open report; a missing report fails.
dir=$(new_dir compare)
cp "$REPORT" "$dir/old.csv"
sed 's/120 GB/240 GB/' "$REPORT" >"$dir/new.csv"
run "$dir" 'rptconv --compare old.csv new.csv'
expect_out "compare" 'Comparing: "old.csv" with "new.csv"'
expect_eq "compare: exit code" "$CODE" 0
CHECKS=$((CHECKS + 1))
grep -q '<del>120 GB</del> → <ins>240 GB</ins>' "$dir/new.changes.htm" 2>/dev/null ||
  fail "compare: the page does not show 120 GB → 240 GB"
run "$dir" 'rptconv --compare --format=json old.csv new.csv'
expect_out "compare as data" 'Comparing: "old.csv" with "new.csv"'
expect_eq "compare as data: exit code" "$CODE" 0
CHECKS=$((CHECKS + 1))
grep -q '"old":"120 GB","new":"240 GB"' "$dir/new.changes.json" 2>/dev/null ||
  fail "compare as data: no 120 GB → 240 GB"
CHECKS=$((CHECKS + 1))
! grep -q $'\r' "$dir/new.changes.json" || fail "compare as data: a line ends with CR"
run "$dir" 'rptconv old.csv new.csv --compare --output=old.csv'
expect_out "compare onto the old report" 'Cannot create output file: "old.csv"'
expect_eq "compare onto the old report: exit code" "$CODE" 2
run "$dir" 'rptconv --compare old.csv gone.csv'
expect_out "compare with a missing report" 'Cannot open input file: "gone.csv"'
expect_eq "compare with a missing report: exit code" "$CODE" 1
expect_files "compare" "$dir" old.csv new.csv new.changes.htm new.changes.json

echo "$((CHECKS - FAILURES)) passed, $FAILURES failed"
[[ $FAILURES -eq 0 ]]
