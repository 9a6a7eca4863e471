#!/usr/bin/env bash
# A read of the report that really fails: a report that is a link to
# /proc/self/mem opens like a file, and its first read (at address 0) fails
# with EIO. The program ends with the failure report and exit code 1.
source "$(dirname "$0")/lib.sh" "$1"

if [[ ! -r /proc/self/mem ]]; then
  echo "skipped: no /proc/self/mem on this system"
  finish
  exit
fi

MODULE=$(basename "$RPTCONV")
make_report() {  # PATH ROWS
  awk -v n="$2" 'BEGIN { printf "Header\r\n"; for (i = 1; i <= n; i++) printf "Summary,Group %d,Item,x,Label %d,Value %d\r\n", int(i / 10), i, i }' >"$1"
}
expect_no_temporary() {  # NAME DIR
  CHECKS=$((CHECKS + 1))
  if compgen -G "$2/.rptconv-*" >/dev/null; then fail "$1: temporary file left in $2"; fi
}
expect_report() {  # NAME SITE MESSAGE: stderr holds exactly this failure report
  local wanted
  printf -v wanted 'Exception EInOutError in module %s at %s.\r\n%s.\r\n\r\n' "$MODULE" "$2" "$3"
  expect_eq "$1" "$ERR" "$wanted"
}

mkdir "$WORK/ref"
make_report "$WORK/ref/a.csv" 12
run_code "$WORK/ref" a.csv
expect_eq "reference converted" "$CODE" 0

# --- One report whose read fails; an earlier page of its name survives. ---
mkdir "$WORK/one"
ln -s /proc/self/mem "$WORK/one/m.csv"
printf 'earlier m\r\n' >"$WORK/one/m.htm"
run_code "$WORK/one" m.csv
expect_eq "read failure: exit code" "$CODE" 1
expect_eq "read failure: stdout" "$OUT" "Converting: \"m.csv\"${CRLF}"
expect_report "read failure: stderr" 00401010 "I/O error 5"
expect_eq "read failure: earlier page intact" "$(cat "$WORK/one/m.htm")" "earlier m"$'\r'
expect_no_temporary "read failure" "$WORK/one"

# --- Batch of three whose second report fails to read. ---
mkdir "$WORK/batch"
make_report "$WORK/batch/a.csv" 12
ln -s /proc/self/mem "$WORK/batch/b.csv"
make_report "$WORK/batch/c.csv" 12
run_code "$WORK/batch" '*.csv'
expect_eq "batch: exit code" "$CODE" 1
expect_eq "batch: stdout" "$OUT" "Converting: \"a.csv\"${CRLF}Converting: \"b.csv\"${CRLF}"
expect_report "batch: stderr" 00401010 "I/O error 5"
expect_same_file "batch: first page complete" "$WORK/batch/a.htm" "$WORK/ref/a.htm"
expect_no_file "batch: no page for the failed report" "$WORK/batch/b.htm"
expect_no_file "batch: third not converted" "$WORK/batch/c.htm"
expect_no_temporary "batch" "$WORK/batch"

finish
