#!/usr/bin/env bash
# Memory that really runs out: under an address-space limit a report line of
# 64 MiB cannot be held. The program ends with the out-of-memory report and
# exit code 1 (not an abort), after completing the reports before it.
source "$(dirname "$0")/lib.sh" "$1"

LIMIT_KB=100000
MODULE=$(basename "$RPTCONV")
make_report() {  # PATH ROWS
  awk -v n="$2" 'BEGIN { printf "Header\r\n"; for (i = 1; i <= n; i++) printf "Summary,Group %d,Item,x,Label %d,Value %d\r\n", int(i / 10), i, i }' >"$1"
}
expect_no_temporary() {  # NAME DIR
  CHECKS=$((CHECKS + 1))
  if compgen -G "$2/.rptconv-*" >/dev/null; then fail "$1: temporary file left in $2"; fi
}

# A build that reserves huge address ranges (sanitizers) cannot start at all
# under the limit; there is nothing to test then.
if ! (ulimit -v "$LIMIT_KB" && exec "$RPTCONV" --version) >/dev/null 2>&1; then
  echo "skipped: the program cannot start under a ${LIMIT_KB} KiB address-space limit"
  finish
  exit
fi

mkdir "$WORK/ref"
make_report "$WORK/ref/a.csv" 12
run_code "$WORK/ref" a.csv
expect_eq "reference converted" "$CODE" 0

# b.csv: a few lines, one line of 64 MiB (a sparse run of zero bytes, which
# are ordinary characters of a line), and more lines.
mkdir "$WORK/batch"
make_report "$WORK/batch/a.csv" 12
make_report "$WORK/batch/b.csv" 8
truncate -s +64M "$WORK/batch/b.csv"
printf '\r\nSummary,Group,Item,x,Label,after\r\n' >>"$WORK/batch/b.csv"
make_report "$WORK/batch/c.csv" 12
printf 'earlier b\r\n' >"$WORK/batch/b.htm"

set +e
(cd "$WORK/batch" && ulimit -v "$LIMIT_KB" && exec "$RPTCONV" '*.csv' >"$WORK/.stdout" 2>"$WORK/.stderr")
CODE=$?
set -e
OUT=$(cat "$WORK/.stdout"; echo .)
OUT=${OUT%.}
ERR=$(cat "$WORK/.stderr"; echo .)
ERR=${ERR%.}
printf -v wanted 'Exception EOutOfMemory in module %s at 00404010.\r\nOut of memory.\r\n\r\n' "$MODULE"

expect_eq "out of memory: exit code" "$CODE" 1
expect_eq "out of memory: stdout" "$OUT" "Converting: \"a.csv\"${CRLF}Converting: \"b.csv\"${CRLF}"
expect_eq "out of memory: stderr" "$ERR" "$wanted"
expect_same_file "out of memory: first page complete" "$WORK/batch/a.htm" "$WORK/ref/a.htm"
expect_eq "out of memory: earlier page intact" "$(cat "$WORK/batch/b.htm")" "earlier b"$'\r'
expect_no_file "out of memory: third not converted" "$WORK/batch/c.htm"
expect_no_temporary "out of memory" "$WORK/batch"

finish
