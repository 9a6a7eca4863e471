#!/usr/bin/env bash
# Interrupting a conversion: the report is a FIFO fed slowly, so the program
# sits in the middle of a page with its temporary file open. Every signal
# that ends a program by default removes that file and ends the program by
# the signal; an earlier page of the same name stays as it was. A SIGINT
# that was ignored when the program started (nohup, a background job of a
# script) stays ignored. The temporary file is found again through the
# directory it was made in, also when that directory has been renamed.
# A page that replaces an earlier one is flushed to disk before the rename,
# and its directory after it.
source "$(dirname "$0")/lib.sh" "$1"

# Job control gives background jobs the default SIGINT, as in a terminal.
set -m
for signal in INT TERM HUP QUIT USR1 USR2 ALRM VTALRM PROF XCPU; do
  dir=$WORK/$signal
  mkdir "$dir"
  printf 'earlier page\r\n' >"$dir/slow.htm"
  start_slow "$dir"
  CHECKS=$((CHECKS + 1))
  await_temporary "$dir" && await_converting "$dir" || fail "$signal: no temporary page or progress line appeared"
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

# The report's directory renamed mid-run: the page, or the removal of the
# temporary file on SIGINT, still finds the directory under its new name.
for ending in finish INT; do
  dir=$WORK/moved-$ending
  mkdir "$dir"
  start_slow "$dir" : "$WORK"
  CHECKS=$((CHECKS + 1))
  await_temporary "$dir" && await_converting "$WORK" && mv "$dir" "$dir-2" || fail "moved, $ending: no temporary page appeared"
  [[ $ending == INT ]] && kill -s INT "$PID"
  finish_slow
  expect_eq "moved, $ending: exit code" "$CODE" "$([[ $ending == INT ]] && echo 130 || echo 0)"
  expect_eq "moved, $ending: files" "$(ls -A "$dir-2")" "slow.csv$([[ $ending == INT ]] || printf '\nslow.htm')"
done
set +m

# Started with SIGINT ignored, the conversion goes on and finishes its page.
dir=$WORK/ignored
mkdir "$dir"
printf 'earlier page\r\n' >"$dir/slow.htm"
start_slow "$dir" "trap '' INT"
CHECKS=$((CHECKS + 1))
await_temporary "$dir" && await_converting "$dir" || fail "ignored INT: no temporary page appeared"
kill -s INT "$PID"
finish_slow
expect_eq "ignored INT: exit code" "$CODE" 0
expect_no_temporary "ignored INT" "$dir"
expect_eq "ignored INT: page complete" "$(tail -c 9 "$dir/slow.htm")" "</HTML>"$'\r'
CHECKS=$((CHECKS + 1))
grep -q 'last' "$dir/slow.htm" || fail "ignored INT: last line missing from the page"

# The flush, as the system calls show it: the page, the rename, the
# directory; a page that replaces nothing is not flushed.
if command -v strace >/dev/null && strace -o /dev/null true 2>/dev/null; then
  dir=$WORK/flush
  mkdir "$dir"
  printf '%s' "$SMALL_REPORT" >"$dir/r.csv"
  for want in rename $'fsync page\nrename\nfsync directory'; do
    # LeakSanitizer cannot work under ptrace: leave it out of a sanitizer build run here.
    (cd "$dir" && ASAN_OPTIONS=detect_leaks=0 timeout 60 strace -y -o trace -e trace=fsync,fdatasync,rename,renameat,renameat2 "$RPTCONV" r.csv >/dev/null)
    expect_eq "flush order, $([[ $want == rename ]] && echo new || echo replacing) page" "$(sed -E \
      's/^f(data)?sync\(.*\.rptconv-.*/fsync page/; s/^f(data)?sync\(.*\/flush>.*/fsync directory/; s/^rename.*/rename/; /^\+\+\+/d' \
      "$dir/trace")" "$want"
  done
else
  echo "note: strace is not installed or cannot trace here; the flush is not checked"
fi

finish
