#!/usr/bin/env bash
# File names with blanks, quotes, a leading dash, non-ASCII bytes and "*":
# they reach the search, the console line and the page's name byte for byte.
# A leading dash is no option (only the documented options are), and "--"
# makes even those names patterns.
source "$(dirname "$0")/lib.sh"

PAGE=$WORK/expected.htm
small_page >"$PAGE"
REPORT=$SMALL_REPORT

expect_page() {  # NAME PATH: PATH is the page of REPORT
  CHECKS=$((CHECKS + 1))
  if [[ ! -f $2 ]]; then
    fail "$1: $2 missing"
  elif ! cmp -s "$PAGE" "$2"; then
    fail "$1: $2 differs from the expected page"
  fi
}
expect_listing() {  # NAME DIR NAMES...: DIR holds exactly NAMES
  local actual expected
  actual=$(cd "$2" && find . -mindepth 1 -printf '%P\n' | LC_ALL=C sort)
  expected=$(printf '%s\n' "${@:3}" | LC_ALL=C sort)
  expect_eq "$1: directory listing" "$actual" "$expected"
}

STEM=$'-a b "q" \'s\' \xe9\xff*'
NAME=$STEM.csv
OTHER=$'-a b "q" \'s\' \xe9\xffZZ.csv'

# --- Alone in its directory, after "--".
mkdir "$WORK/alone"
printf '%s' "$REPORT" >"$WORK/alone/$NAME"
run_code "$WORK/alone" -- "$NAME"
expect_eq "alone: exit code" "$CODE" "0"
expect_eq "alone: console" "$OUT" "Converting: \"$NAME\"$CRLF"
expect_eq "alone: no error output" "$ERR" ""
expect_page "alone" "$WORK/alone/$STEM.htm"
expect_listing "alone" "$WORK/alone" "$NAME" "$STEM.htm"
CHECKS=$((CHECKS + 1))
cmp -s "$WORK/alone/$NAME" <(printf '%s' "$REPORT") || fail "alone: report changed"

# --- Without "--" the name is an unknown option and nothing is converted;
# as ./NAME it is a name, and "./" is the directory part that stays in the
# console line.
mkdir "$WORK/dash" "$WORK/dotslash"
printf '%s' "$REPORT" >"$WORK/dash/$NAME"
printf '%s' "$REPORT" >"$WORK/dotslash/$NAME"
run_code "$WORK/dash" "$NAME" --hta
expect_eq "no --: exit code" "$CODE" "64"
expect_eq "no --: console" "$OUT" ""
expect_eq "no --: error" "$ERR" "rptconv: unknown option '-a'${CRLF}Try 'rptconv --help'.$CRLF"
expect_listing "no --" "$WORK/dash" "$NAME"
run_code "$WORK/dotslash" "./$NAME"
expect_eq "./: exit code" "$CODE" "0"
expect_eq "./: console" "$OUT" "Converting: \"./$NAME\"$CRLF"
expect_page "./" "$WORK/dotslash/$STEM.htm"

# --- A pattern of that kind that is no name matches both, in byte order.
mkdir "$WORK/two"
printf '%s' "$REPORT" >"$WORK/two/$NAME"
printf '%s' "$REPORT" >"$WORK/two/$OTHER"
run_code "$WORK/two" -- $'-a b "q" \'s\' \xe9*'
expect_eq "two: exit code" "$CODE" "0"
expect_eq "two: console" "$OUT" "Converting: \"$NAME\"${CRLF}Converting: \"$OTHER\"$CRLF"
expect_page "two: first" "$WORK/two/$STEM.htm"
expect_page "two: second" "$WORK/two/${OTHER%.csv}.htm"
expect_listing "two" "$WORK/two" "$NAME" "$OTHER" "$STEM.htm" "${OTHER%.csv}.htm"

# --- Names that are options: "-h" asks for the usage text, and is a report
# after "--"; so is "--hta", whose page gains the extension.
mkdir "$WORK/options"
printf '%s' "$REPORT" >"$WORK/options/-h"
printf '%s' "$REPORT" >"$WORK/options/--hta"
run_code "$WORK/options" -h
expect_eq "-h: exit code" "$CODE" "0"
CHECKS=$((CHECKS + 1))
[[ $OUT == *"${CRLF}Usage:  RPTCONV <csvfile> [/HTA]${CRLF}"* ]] || fail "-h: no usage text"
expect_listing "-h: nothing converted" "$WORK/options" "-h" "--hta"
run_code "$WORK/options" -- -h --hta
expect_eq "-- -h --hta: exit code" "$CODE" "0"
expect_eq "-- -h --hta: console" "$OUT" "Converting: \"-h\"${CRLF}Converting: \"--hta\"$CRLF"
expect_page "-- -h" "$WORK/options/-h.htm"
expect_page "-- --hta" "$WORK/options/--hta.htm"
expect_listing "-- -h --hta" "$WORK/options" "-h" "--hta" "-h.htm" "--hta.htm"

finish
