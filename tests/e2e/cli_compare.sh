#!/usr/bin/env bash
# rptconv --compare OLD NEW: where the comparison's page goes, the console
# lines and exit codes, the refusals, and what the page counts.
source "$(dirname "$0")/lib.sh" "$1"

D=$WORK/d
mkdir -p "$D/out"
report() {  # STATE: a report whose Spooler service is in STATE
  crlf "Page,Group,Item,Type,Property,Value" "Report,Summary,,,Computer,PC-1" "Report,Summary,,,User,me" \
    "Report,Summary,,,Domain,D" "Report,Summary,,,Date,today" "Report,Summary,,,Title,PC-1 weekly" \
    "Services,Spooler,,,Service Description,Print" "Services,Spooler,,,Type,Own" \
    "Services,Spooler,,,State,$1" "Services,Spooler,,,Account,System"
}
report Running >"$D/old.csv"
report Stopped >"$D/new.csv"
cp "$D/old.csv" "$D/old.keep"

# NAME EXIT STDOUT STDERR PAGE ARGS...: one run and what it must give; PAGE
# is the page that must exist afterwards ("" for none).
case_of() {
  local name=$1 code=$2 out=$3 err=$4 page=$5
  shift 5
  rm -f "$D"/*.changes.* "$D/out"/* "$D/c.htm"
  run_code "$D" "$@"
  expect_eq "$name: exit code" "$CODE" "$code"
  expect_eq "$name: stdout" "$OUT" "$out"
  expect_eq "$name: stderr" "$ERR" "$err"
  [[ -z $page ]] || expect_file "$name: page" "$D/$page"
  expect_same_file "$name: the old report is untouched" "$D/old.keep" "$D/old.csv"
}
COMPARING="Comparing: \"old.csv\" with \"new.csv\"$CRLF"
USAGE_END="${CRLF}Try 'rptconv --help'.$CRLF"
case_of "beside the new report" 0 "$COMPARING" "" new.changes.htm --compare old.csv new.csv
case_of "options after the reports" 0 "$COMPARING" "" new.changes.htm old.csv new.csv --compare --all-columns
case_of "-o, quiet" 0 "" "" c.htm -q --compare old.csv new.csv -o c.htm
case_of "-d" 0 "$COMPARING" "" out/new.changes.htm --compare -d out old.csv new.csv
case_of "a missing report" 1 "Cannot open input file: \"gone.csv\"$CRLF" "" "" --compare old.csv gone.csv
case_of "the page may not replace a report" 2 "Cannot create output file: \"old.csv\"$CRLF" "" "" \
  --compare old.csv new.csv -o old.csv
cp "$D/old.csv" "$D/other.csv"
case_of "the page may not replace a file that holds a report" 2 "Cannot create output file: \"other.csv\"$CRLF" "" "" \
  --compare old.csv new.csv -o other.csv
case_of "quiet: the failure line on standard error" 1 "" "Cannot open input file: \"gone.csv\"$CRLF" "" \
  -q --compare gone.csv new.csv
case_of "one report" 64 "" "rptconv: option '--compare' takes two reports, the old and the new one$USAGE_END" "" \
  --compare old.csv
case_of "three reports" 64 "" "rptconv: option '--compare' takes two reports, the old and the new one$USAGE_END" "" \
  --compare old.csv new.csv new.csv
case_of "--all-columns alone" 64 "" "rptconv: option '--all-columns' needs '--compare'$USAGE_END" "" \
  --all-columns old.csv
case_of "with an index" 64 "" "rptconv: options '--compare' and '--index' exclude each other$USAGE_END" "" \
  --compare --index=i.htm old.csv new.csv
expect_no_file "no page after the failures" "$D/new.changes.htm"
case_of "as data beside the new report" 0 "$COMPARING" "" new.changes.json --compare --format=json old.csv new.csv
case_of "as data, -d" 0 "$COMPARING" "" out/new.changes.json --compare -d out --format=json old.csv new.csv
case_of "as lines" 0 "$COMPARING" "" new.changes.ndjson --compare --format=ndjson old.csv new.csv
case_of "the data may not replace a report" 2 "Cannot create output file: \"new.csv\"$CRLF" "" "" \
  --compare --format=json old.csv new.csv -o new.csv
expect_no_file "no page beside the data" "$D/new.changes.htm"

# To standard output the console line goes to standard error; the old report
# may come from standard input.
RUN_STDIN=$D/old.csv run_code "$D" --compare - new.csv -o -
expect_eq "stdin to stdout: exit code" "$CODE" 0
expect_eq "stdin to stdout: stderr" "$ERR" "Comparing: \"-\" with \"new.csv\"$CRLF"
expect_eq "stdin to stdout: the page" "${OUT:0:17}" "<!DOCTYPE html>$CRLF"
CHECKS=$((CHECKS + 1))
[[ $OUT == *'<del>Running</del> → <ins>Stopped</ins>'* && $OUT == *'1 change in 1 of 2 sections: 1 changed'* ]] ||
  fail "the page does not show Running → Stopped or its count"
CHECKS=$((CHECKS + 1))
[[ $(printf '%s' "$OUT" | grep -c $'[^\r]$' || true) == 0 ]] || fail "a line of the page does not end with CR LF"

# Volatile columns count only with --all-columns.
{ crlf "Page,Group,Item,Icon,Field,Value" "Report,Summary,,,Computer,PC-1"
  crlf "Processes,a.exe,,,Process File Name,a" "Processes,a.exe,,,Used Memory,1 KB" "Processes,a.exe,,,Used Swap,0 KB"
} >"$D/p1.csv"
sed 's/Used Memory,1 KB/Used Memory,9 KB/' "$D/p1.csv" >"$D/p2.csv"
run_code "$D" -q --compare p1.csv p2.csv -o -
CHECKS=$((CHECKS + 1))
[[ $OUT == *'Nothing changed (2 sections)'* ]] || fail "memory in use counted as a change"
run_code "$D" -q --compare p1.csv p2.csv -o - --all-columns
CHECKS=$((CHECKS + 1))
[[ $OUT == *'<del>1 KB</del> → <ins>9 KB</ins>'* ]] || fail "--all-columns does not show memory in use"

# The same pairs as data: OLD NEW OPTIONS ("-" for none) COUNTS; COUNTS are
# the changes, added, removed and changed rows, and the changed columns with
# their texts; as NDJSON, one line per change with the same columns.
while read -r old new options counts; do
  [[ $options != - ]] || options=""
  # shellcheck disable=SC2086
  run_code "$D" -q --compare --format=json "$old" "$new" $options -o -
  expect_eq "data of $old $new $options: exit code" "$CODE" 0
  expect_eq "data of $old $new $options: counts" "$(printf '%s' "$OUT" | timeout 10 jq -r \
    '[.counts.changes, .counts.added, .counts.removed, .counts.changed,
      (.sections[].changed[].columns[] | "\(.column):\(.old)>\(.new)")] | join("/")')" "$counts"
  # shellcheck disable=SC2086
  run_code "$D" -q --compare --format=ndjson "$old" "$new" $options -o -
  expect_eq "lines of $old $new $options" "$(printf '%s' "$OUT" | timeout 10 jq -rs \
    '[length, (map(select(.change == "added")) | length), (map(select(.change == "removed")) | length),
      (map(select(.change == "changed")) | length), (.[].columns // [] | .[] | "\(.column):\(.old)>\(.new)")]
     | join("/")')" "$counts"
done <<'PAIRS'
old.csv new.csv - 1/0/0/1/state:Running>Stopped
new.csv new.csv - 0/0/0/0
p1.csv p2.csv - 0/0/0/0
p1.csv p2.csv --all-columns 1/0/0/1/used_memory:1 KB>9 KB
new.csv p1.csv - 6/1/5/0
PAIRS

finish
