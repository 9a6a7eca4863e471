#!/usr/bin/env bash
# Writes that really fail: the page under a file-size limit, standard output
# on a full device, on a pipe nobody reads and on a closed descriptor. Each
# ends with the failure report on stderr and exit code 1, and leaves no
# temporary file and no broken page behind.
source "$(dirname "$0")/lib.sh" "$1"

MODULE=$(basename "$RPTCONV")
make_report() {  # PATH ROWS
  awk -v n="$2" 'BEGIN { printf "Header\r\n"; for (i = 1; i <= n; i++) printf "Summary,Group %d,Item,x,Label %d,Value %d\r\n", int(i / 10), i, i }' >"$1"
}
expect_no_temporary() {  # NAME DIR
  CHECKS=$((CHECKS + 1))
  if compgen -G "$2/.rptconv-*" >/dev/null; then fail "$1: temporary file left in $2"; fi
}
# run_with SETUP STDOUT DIR ARGS...: runs the program in DIR after the shell
# commands SETUP, with standard output sent to STDOUT (a path, or "&N" for an
# open descriptor); sets OUT (when STDOUT is "capture"), ERR and CODE.
run_with() {
  local setup=$1 stdout=$2 dir=$3
  shift 3
  [[ $stdout == capture ]] && stdout=$WORK/.stdout
  : >"$WORK/.stdout"
  set +e
  if [[ $stdout == '&'* ]]; then
    (cd "$dir" && eval "$setup" && exec "$RPTCONV" "$@" 1>&"${stdout#&}" 2>"$WORK/.stderr")
  else
    (cd "$dir" && eval "$setup" && exec "$RPTCONV" "$@" >"$stdout" 2>"$WORK/.stderr")
  fi
  CODE=$?
  set -e
  OUT=$(cat "$WORK/.stdout"; echo ".")
  OUT=${OUT%.}
  ERR=$(cat "$WORK/.stderr"; echo ".")
  ERR=${ERR%.}
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

# --- The page outgrows a 64 KiB file-size limit (EFBIG, SIGXFSZ ignored). ---
# Batch of three: the first page is complete, the second keeps its earlier
# file, the third is never started.
mkdir "$WORK/limit"
make_report "$WORK/limit/a.csv" 12
make_report "$WORK/limit/b.csv" 6000
make_report "$WORK/limit/c.csv" 12
printf 'earlier b\r\n' >"$WORK/limit/b.htm"
touch -d '2001-02-03 04:05:06' "$WORK/limit/b.htm"
b_before=$(cd "$WORK/limit" && stat -c '%a %s %Y' b.htm && md5sum b.htm)
run_with 'ulimit -f 64' capture "$WORK/limit" '*.csv'
expect_eq "file-size limit: exit code" "$CODE" 1
expect_eq "file-size limit: stdout" "$OUT" "Converting: \"a.csv\"${CRLF}Converting: \"b.csv\"${CRLF}"
expect_report "file-size limit: stderr" 00402010 "I/O error 27"
expect_same_file "file-size limit: first page complete" "$WORK/limit/a.htm" "$WORK/ref/a.htm"
expect_eq "file-size limit: earlier page intact" "$(cd "$WORK/limit" && stat -c '%a %s %Y' b.htm && md5sum b.htm)" "$b_before"
expect_no_file "file-size limit: third not converted" "$WORK/limit/c.htm"
expect_no_temporary "file-size limit" "$WORK/limit"
# Without the limit the same batch goes through: the limit made the failure.
run_code "$WORK/limit" '*.csv'
expect_eq "no limit: exit code" "$CODE" 0
expect_file "no limit: third converted" "$WORK/limit/c.htm"

# --- Standard output on a full device (ENOSPC). ---
mkdir "$WORK/full"
make_report "$WORK/full/a.csv" 12
run_with : /dev/full "$WORK/full" a.csv
expect_eq "stdout full: exit code" "$CODE" 1
expect_report "stdout full: stderr" 00403010 "I/O error 28"
expect_no_file "stdout full: no page" "$WORK/full/a.htm"
expect_no_temporary "stdout full" "$WORK/full"
# An earlier page survives the failed progress line.
printf 'earlier a\r\n' >"$WORK/full/a.htm"
run_with : /dev/full "$WORK/full" a.csv
expect_eq "stdout full, earlier page: exit code" "$CODE" 1
expect_eq "stdout full, earlier page: intact" "$(cat "$WORK/full/a.htm")" "earlier a"$'\r'
expect_no_temporary "stdout full, earlier page" "$WORK/full"
# The usage text is checked line by line too.
run_with : /dev/full "$WORK/full"
expect_eq "usage on full device: exit code" "$CODE" 1
expect_report "usage on full device: stderr" 00403010 "I/O error 28"

# --- Standard output on a pipe whose reader is gone (EPIPE, SIGPIPE ignored). ---
mkdir "$WORK/pipe"
make_report "$WORK/pipe/a.csv" 12
exec {closed_pipe}> >(exit 0)
wait $!  # the only reader has ended
run_with : "&$closed_pipe" "$WORK/pipe" a.csv
exec {closed_pipe}>&-
expect_eq "closed pipe: exit code" "$CODE" 1
expect_report "closed pipe: stderr" 00403010 "I/O error 32"
expect_no_file "closed pipe: no page" "$WORK/pipe/a.htm"
expect_no_temporary "closed pipe" "$WORK/pipe"

# --- Standard input and output closed (EBADF). The page must not take the
# place of standard output and receive the progress line. ---
mkdir "$WORK/closed"
make_report "$WORK/closed/a.csv" 12
run_with 'exec <&-' '&-' "$WORK/closed" a.csv
expect_eq "closed stdout: exit code" "$CODE" 1
expect_report "closed stdout: stderr" 00403010 "I/O error 9"
expect_no_file "closed stdout: no page" "$WORK/closed/a.htm"
expect_no_temporary "closed stdout" "$WORK/closed"

finish
