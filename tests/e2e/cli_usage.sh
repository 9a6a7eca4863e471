#!/usr/bin/env bash
# The usage text and the version lines: when they are shown, their exact
# bytes, and the words that look like help but are patterns.
source "$(dirname "$0")/lib.sh" "$1"

# Lines 1 and 2 carry the maker's notice and the web address, which may
# change; their frame is fixed. Lines 3 to 11 are fixed to the byte.
FIXED_TAIL="${CRLF}Usage:  RPTCONV <csvfile> [/HTA]${CRLF}${CRLF}"
FIXED_TAIL+="Output file will be named as <csvfile>, but the extension will become .HTM,${CRLF}"
FIXED_TAIL+="or when /HTA switch specified extension will be .HTA instead${CRLF}${CRLF}"
FIXED_TAIL+="Only English and Hungarian language CSV files are supported${CRLF}${CRLF}"
FIXED_TAIL+="This version of RPTCONV supports QUORVIX v3.5x and later report files only${CRLF}"

D=$WORK/d
mkdir -p "$D"
printf 'H\r\n2\r\n3\r\n4\r\n5\r\n,,,,,T\r\n' >"$D/a.csv"

# The first usage run fixes lines 1 and 2; every other run must give the
# same bytes.
run_code "$D"
expect_eq "no arguments: exit code" "$CODE" 0
expect_eq "no arguments: nothing on stderr" "$ERR" ""
USAGE=$OUT
LINE1=${USAGE%%"$CRLF"*}
REST=${USAGE#*"$CRLF"}
LINE2=${REST%%"$CRLF"*}
REST=${REST#*"$CRLF"}
CHECKS=$((CHECKS + 1))
[[ $LINE1 =~ ^QUORVIX\ CSV-\>HTM\ Report\ Converter\ [^\ ].*[^\ ]$ && $LINE1 != *$'\r'* ]] ||
  fail "usage line 1: '$LINE1'"
CHECKS=$((CHECKS + 1))
[[ $LINE2 =~ ^Version\ 1\.04-0608\ \ \[\ Go\ to\ [^\ ]+\ for\ new\ versions\ \]$ ]] ||
  fail "usage line 2: '$LINE2'"
expect_eq "usage lines 3 to 11" "$REST" "$FIXED_TAIL"
expect_eq "usage: eleven CR LF" "$(printf '%s' "$USAGE" | tr -cd '\n' | wc -c)" 11
expect_eq "usage: no bare LF" "$(printf '%s' "$USAGE" | grep -c $'[^\r]$' || true)" 0
expect_eq "usage: no trailing blanks" "$(printf '%s' "$USAGE" | grep -c $' \r$' || true)" 0

# Every way to ask for the usage text; a.csv is never converted by them.
usage_for() {  # NAME ARGS...
  local name=$1
  shift
  run_code "$D" "$@"
  expect_eq "$name: stdout" "$OUT" "$USAGE"
  expect_eq "$name: exit code" "$CODE" 0
  expect_eq "$name: stderr" "$ERR" ""
  expect_no_file "$name: no page" "$D/a.htm"
  expect_no_file "$name: no page" "$D/a.hta"
}
usage_for "empty first argument" ""
usage_for "empty first argument before a pattern" "" a.csv
usage_for "empty first argument before /HTA" "" a.csv /HTA
usage_for "-h" -h
usage_for "-h before a pattern" -h a.csv
usage_for "-h after a pattern" a.csv -h
usage_for "-h in a bundle" a.csv -kh
usage_for "/?" "/?"
usage_for "/? before a pattern" "/?" a.csv
usage_for "/H" /H
usage_for "/h" /h
usage_for "/help" /help
usage_for "/Help" /Help
usage_for "/HTA first" /HTA
usage_for "/HTA first, pattern second" /HTA a.csv
usage_for "/hta first, pattern second" /hta a.csv
usage_for "trimmed -h" $' \t-h '
usage_for "trimmed /H" $'\t/H\r'
# Options that name no report are a mistake.
for args in "--hta" "-k --style=modern" "--"; do
  # shellcheck disable=SC2086
  run_code "$D" $args
  expect_eq "$args alone" "$CODE|$OUT|$ERR" "64||rptconv: no report named${CRLF}Try 'rptconv --help'.$CRLF"
done

# The version (usage lines 1 and 2) and the full help win anywhere before
# "--", also over mistakes; nothing is converted.
run_code "$D" --help
HELP=$OUT
CHECKS=$((CHECKS + 1))
[[ $CODE == 0 && -z $ERR && $HELP == "Usage: rptconv "*"${CRLF}Exit status:${CRLF}"*"  64  "*"$CRLF" ]] ||
  fail "--help: no usage line or exit codes"
expect_eq "--help: CR LF lines only" "$(printf '%s' "$HELP" | grep -c $'[^\r]$' || true)" 0
for row in "--version a.csv|$LINE1$CRLF$LINE2$CRLF" "-x --version|$LINE1$CRLF$LINE2$CRLF" \
    "a.csv --help|$HELP" "-x --help|$HELP" "a.csv -o --help --help|$HELP"; do
  # shellcheck disable=SC2086
  run_code "$D" ${row%%|*}
  expect_eq "${row%%|*}" "$CODE|$OUT" "0|${row#*|}"
  expect_no_file "${row%%|*}: no page" "$D/a.htm"
done
# The help and the manual page name the same options.
options_of() { grep -o -- '--[a-z][a-z-]*' | LC_ALL=C sort -u; }
expect_eq "--help and rptconv.1 agree" "$(printf '%s' "$HELP" | options_of)" \
  "$(sed 's/\\-/-/g; s/\\f[BIRP]//g' "$(dirname "$0")/../../doc/rptconv.1" | options_of)"

# Look-alikes: dashed ones are unknown options (exit code 64, nothing on
# standard output); the others are patterns, and a name without wildcards
# that names nothing is an open failure.
for row in "-H|64" "--HELP|64" "-?|64" "/h1|1" "/h.csv|1" "/x|1" "/?x|0" "h|1"; do
  word=${row%|*}
  run_code "$D" "$word"
  expect_eq "$word: exit code" "$CODE" "${row#*|}"
  expected=""
  [[ $CODE != 1 ]] || expected="Cannot open input file: \"$word\"$CRLF"
  expect_eq "$word: stdout" "$OUT" "$expected"
done

# A pattern that looks like help after "--" or in second place is converted.
cp "$D/a.csv" "$D/-h"
run_code "$D" -- -h
expect_eq "-- -h: stdout" "$OUT" "Converting: \"-h\"$CRLF"
expect_eq "-- -h: exit code" "$CODE" 0
expect_file "-- -h: page" "$D/-h.htm"
run_code "$D" a.csv -- -h
expect_eq "a.csv -- -h: stdout" "$OUT" "Converting: \"a.csv\"${CRLF}Converting: \"-h\"$CRLF"
expect_file "a.csv -- -h: page" "$D/a.htm"
rm -f "$D/-h" "$D/-h.htm" "$D/a.htm"

# "/h..." that names something existing is a pattern. /home is a directory
# on most systems, which is no report.
if [[ -e /home ]]; then
  run_code "$D" /home
  expect_eq "/home is a pattern: stdout" "$OUT" "Cannot open input file: \"/home\"$CRLF"
  expect_eq "/home is a pattern: exit code" "$CODE" 1
else
  echo "note: /home does not exist; the existing /h... case is left to the unit tests"
fi
# An absolute path below a directory beginning with h is a pattern too.
mkdir -p "$D/h"
cp "$D/a.csv" "$D/h/r.csv"
run_code "$D" "$D/h/r.csv"
expect_eq "absolute path: stdout" "$OUT" "Converting: \"$D/h/r.csv\"$CRLF"
expect_file "absolute path: page" "$D/h/r.htm"

finish
