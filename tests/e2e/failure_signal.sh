#!/usr/bin/env bash
# Interrupting a conversion: the report is a FIFO fed slowly, so the program
# sits in the middle of a page with its temporary file open. SIGINT, SIGTERM
# and SIGHUP remove that file and end the program by the signal; an earlier
# page of the same name stays as it was. A SIGINT that was ignored when the
# program started (nohup, a background job of a script) stays ignored.
source "$(dirname "$0")/lib.sh" "$1"

expect_no_temporary() {  # NAME DIR
  CHECKS=$((CHECKS + 1))
  if compgen -G "$2/.rptconv-*" >/dev/null; then fail "$1: temporary file left in $2"; fi
}
# Waits up to ten seconds for the temporary page in DIR; false if none came.
await_temporary() {
  local tries
  for ((tries = 0; tries < 100; tries++)); do
    compgen -G "$1/.rptconv-*" >/dev/null && return 0
    sleep 0.1
  done
  return 1
}
# start_slow DIR [SETUP]: starts the program on DIR/slow.csv, after the shell
# commands SETUP, in the background; slow.csv is a FIFO that this shell holds
# open on descriptor FEED and has written a few lines to. Sets PID.
start_slow() {
  local dir=$1 setup=${2:-:}
  rm -f "$dir/slow.csv"
  mkfifo "$dir/slow.csv"
  (eval "$setup" && cd "$dir" && exec "$RPTCONV" slow.csv >"$dir/stdout" 2>"$dir/stderr") &
  PID=$!
  exec {FEED}<>"$dir/slow.csv"
  printf 'Header\r\nSummary,Group,Item,x,Label,first\r\n' >&$FEED
}

# Job control gives background jobs the default SIGINT, as in a terminal.
set -m
for signal in INT TERM HUP; do
  dir=$WORK/$signal
  mkdir "$dir"
  printf 'earlier page\r\n' >"$dir/slow.htm"
  start_slow "$dir"
  CHECKS=$((CHECKS + 1))
  await_temporary "$dir" || fail "$signal: no temporary page appeared"
  kill -s "$signal" "$PID"
  CODE=0
  wait "$PID" || CODE=$?
  exec {FEED}>&-
  expect_eq "$signal: ended by the signal" "$CODE" $((128 + $(kill -l "$signal")))
  expect_no_temporary "$signal" "$dir"
  expect_eq "$signal: earlier page intact" "$(cat "$dir/slow.htm")" "earlier page"$'\r'
  expect_eq "$signal: progress line" "$(cat "$dir/stdout")" "Converting: \"slow.csv\""$'\r'
  expect_eq "$signal: nothing on stderr" "$(cat "$dir/stderr")" ""
done
set +m

# Started with SIGINT ignored, the conversion goes on and finishes its page.
dir=$WORK/ignored
mkdir "$dir"
printf 'earlier page\r\n' >"$dir/slow.htm"
start_slow "$dir" "trap '' INT"
CHECKS=$((CHECKS + 1))
await_temporary "$dir" || fail "ignored INT: no temporary page appeared"
kill -s INT "$PID"
printf 'Summary,Group,Item,x,Label,last\r\n' >&$FEED
exec {FEED}>&-
CODE=0
wait "$PID" || CODE=$?
expect_eq "ignored INT: exit code" "$CODE" 0
expect_no_temporary "ignored INT" "$dir"
expect_eq "ignored INT: page complete" "$(tail -c 9 "$dir/slow.htm")" "</HTML>"$'\r'
CHECKS=$((CHECKS + 1))
grep -q 'last' "$dir/slow.htm" || fail "ignored INT: last line missing from the page"

finish
