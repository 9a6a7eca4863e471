#!/usr/bin/env bash
# Batches that end early: a report that cannot be opened (exit code 1) and a
# page that cannot be created (exit code 2). The batch stops at that report,
# the pages before it are complete, no report is changed, nothing is left
# behind. The tests also run as root, so every failure here is one that
# root meets too.
source "$(dirname "$0")/lib.sh" "$1"

report() {  # TITLE
  printf 'Header\r\n2,,,,,a\r\n3,,,,,b\r\n4,,,,,c\r\n5,,,,,d\r\nP,G,I,,Title,%s\r\n' "$1"
}

# The page a report gives when converted on its own.
REF=$WORK/ref
mkdir -p "$REF"
for t in a b c; do report "$t" >"$REF/$t.csv"; done
(cd "$REF" && "$RPTCONV" a.csv b.csv c.csv >/dev/null)

same_file() {  # NAME ACTUAL EXPECTED
  CHECKS=$((CHECKS + 1))
  cmp -s "$2" "$3" || fail "$1: $2 differs from $3"
}

sums() {  # DIR: checksums of every file (following no links), with modes
  (cd "$1" && find . ! -type d -print0 | sort -z | xargs -0r stat -c '%n %F %a %h' &&
    find . -type f -print0 | sort -z | xargs -0r sha256sum)
}

no_temporaries() {  # NAME DIR
  CHECKS=$((CHECKS + 1))
  local left
  left=$(find "$2" -name '.rptconv-*' | head -1)
  [[ -z $left ]] || fail "$1: temporary file left: $left"
}

batch_dir() {  # NAME: a fresh directory with reports a.csv, b.csv, c.csv
  D=$WORK/$1
  mkdir -p "$D"
  for t in a b c; do report "$t" >"$D/$t.csv"; done
}

# --- Exit code 1: the second of three reports cannot be opened -------------
# A symbolic link loop and a dangling link fail to open even for root.
for kind in loop dangling; do
  batch_dir "open-$kind"
  rm "$D/b.csv"
  if [[ $kind == loop ]]; then ln -s b.csv "$D/b.csv"; else ln -s nowhere.csv "$D/b.csv"; fi
  BEFORE=$(sums "$D")
  run_code "$D" '*.csv'
  expect_eq "$kind: stdout" "$OUT" "Converting: \"a.csv\"${CRLF}Cannot open input file: \"b.csv\"$CRLF"
  expect_eq "$kind: stderr" "$ERR" ""
  expect_eq "$kind: exit code" "$CODE" 1
  same_file "$kind: first page complete" "$D/a.htm" "$REF/a.htm"
  expect_no_file "$kind: no page for the unopened report" "$D/b.htm"
  expect_no_file "$kind: third report not converted" "$D/c.htm"
  rm -f "$D/a.htm"
  expect_eq "$kind: reports unchanged" "$(sums "$D")" "$BEFORE"
  no_temporaries "$kind" "$D"
done

# Named one by one, in the order given; the first one fails at once.
batch_dir open-first
ln -s missing.csv "$D/x.csv"
run_code "$D" x.csv a.csv
expect_eq "first fails: stdout" "$OUT" "Cannot open input file: \"x.csv\"$CRLF"
expect_eq "first fails: exit code" "$CODE" 1
expect_no_file "first fails: no page" "$D/x.htm"
expect_no_file "first fails: later report not converted" "$D/a.htm"

# The open comes before the create: an unopenable report whose page would
# be read-only is an open failure.
printf 'keep\r\n' >"$D/x.htm"
chmod 444 "$D/x.htm"
run_code "$D" x.csv
expect_eq "open before create: stdout" "$OUT" "Cannot open input file: \"x.csv\"$CRLF"
expect_eq "open before create: exit code" "$CODE" 1
expect_eq "open before create: page kept" "$(cat "$D/x.htm")" $'keep\r'

# A report without read permission stops only non-root users.
if [[ $(id -u) -ne 0 ]]; then
  batch_dir open-mode
  chmod 000 "$D/b.csv"
  run_code "$D" '*.csv'
  expect_eq "mode 000: stdout" "$OUT" "Converting: \"a.csv\"${CRLF}Cannot open input file: \"b.csv\"$CRLF"
  expect_eq "mode 000: exit code" "$CODE" 1
  chmod 644 "$D/b.csv"
fi

# --- Exit code 2: the page would be the report itself ----------------------
D=$WORK/self
mkdir -p "$D"
report self >"$D/x.htm"
report hta >"$D/y.hta"
BEFORE=$(sums "$D")
set -f  # the patterns below reach the program unexpanded
for case in "*|x.htm" "x.htm|x.htm" "y.hta --hta|y.hta" "y.hta /HTA|y.hta" "y.hta /hta|y.hta"; do
  args=${case%|*}
  out=${case#*|}
  # shellcheck disable=SC2086
  run_code "$D" $args
  expect_eq "$args: stdout" "$OUT" "Cannot create output file: \"$out\"$CRLF"
  expect_eq "$args: stderr" "$ERR" ""
  expect_eq "$args: exit code" "$CODE" 2
  expect_eq "$args: report unchanged" "$(sums "$D")" "$BEFORE"
done
set +f
no_temporaries "self" "$D"

# A page of the other extension is no conflict; neither is another case.
run_code "$D" y.hta
expect_eq "y.hta to .htm: exit code" "$CODE" 0
same_file "y.hta to .htm: report unchanged" "$D/y.hta" <(report hta)
rm -f "$D/y.htm"
report upper >"$D/Z.HTM"
run_code "$D" Z.HTM
expect_eq "Z.HTM to Z.htm: exit code" "$CODE" 0
expect_file "Z.HTM to Z.htm: page" "$D/Z.htm"
same_file "Z.HTM: report unchanged" "$D/Z.HTM" <(report upper)

# Pattern '*' in a directory that holds an earlier page: the page is found
# as a report of the run too, which no output may replace.
D=$WORK/earlier
mkdir -p "$D"
report a >"$D/a.csv"
printf 'earlier page\r\n' >"$D/a.htm"
run_code "$D" '*'
expect_eq "earlier page: stdout" "$OUT" "Cannot create output file: \"a.htm\"$CRLF"
expect_eq "earlier page: exit code" "$CODE" 2
expect_eq "earlier page: kept" "$(cat "$D/a.htm")" $'earlier page\r'
same_file "earlier page: report unchanged" "$D/a.csv" "$REF/a.csv"
no_temporaries "earlier page" "$D"

# The same file under another name: a hard link and a symbolic link.
D=$WORK/links
mkdir -p "$D"
report hard >"$D/h.csv"
ln "$D/h.csv" "$D/h.htm"
report soft >"$D/s.csv"
ln -s s.csv "$D/s.htm"
BEFORE=$(sums "$D")
run_code "$D" h.csv
expect_eq "hard link: stdout" "$OUT" "Cannot create output file: \"h.htm\"$CRLF"
expect_eq "hard link: exit code" "$CODE" 2
run_code "$D" s.csv
expect_eq "symbolic link: stdout" "$OUT" "Cannot create output file: \"s.htm\"$CRLF"
expect_eq "symbolic link: exit code" "$CODE" 2
expect_eq "links: reports and links unchanged" "$(sums "$D")" "$BEFORE"
CHECKS=$((CHECKS + 1))
[[ -L $D/s.htm ]] || fail "symbolic link: s.htm is no longer a link"
no_temporaries "links" "$D"

# --- Exit code 2: an existing page that may not be replaced -----------------
# Read-only (no write bit at all) also stops root.
D=$WORK/readonly
mkdir -p "$D"
report a >"$D/a.csv"
printf 'read-only page\r\n' >"$D/a.htm"
chmod 444 "$D/a.htm"
BEFORE=$(sums "$D")
run_code "$D" a.csv
expect_eq "read-only: stdout" "$OUT" "Cannot create output file: \"a.htm\"$CRLF"
expect_eq "read-only: exit code" "$CODE" 2
expect_eq "read-only: page and report unchanged" "$(sums "$D")" "$BEFORE"
run_code "$D" a.csv --hta
expect_eq "read-only .htm does not stop .hta: exit code" "$CODE" 0
same_file "read-only .htm does not stop .hta: page" "$D/a.hta" "$REF/a.htm"
rm -f "$D/a.hta"
no_temporaries "read-only" "$D"

# The second of three pages is read-only.
batch_dir create-second
printf 'keep me\r\n' >"$D/b.htm"
chmod 444 "$D/b.htm"
BEFORE=$(sums "$D")
run_code "$D" '*.csv'
expect_eq "read-only second: stdout" "$OUT" "Converting: \"a.csv\"${CRLF}Cannot create output file: \"b.htm\"$CRLF"
expect_eq "read-only second: stderr" "$ERR" ""
expect_eq "read-only second: exit code" "$CODE" 2
same_file "read-only second: first page complete" "$D/a.htm" "$REF/a.htm"
expect_no_file "read-only second: third not converted" "$D/c.htm"
rm -f "$D/a.htm"
expect_eq "read-only second: the rest unchanged" "$(sums "$D")" "$BEFORE"
no_temporaries "read-only second" "$D"

# A directory in the page's place.
D=$WORK/dirpage
mkdir -p "$D/a.htm"
report a >"$D/a.csv"
printf 'inside\n' >"$D/a.htm/inner.txt"
BEFORE=$(sums "$D")
run_code "$D" a.csv
expect_eq "directory in the way: stdout" "$OUT" "Cannot create output file: \"a.htm\"$CRLF"
expect_eq "directory in the way: exit code" "$CODE" 2
expect_eq "directory in the way: unchanged" "$(sums "$D")" "$BEFORE"
CHECKS=$((CHECKS + 1))
[[ -d $D/a.htm ]] || fail "directory in the way: a.htm is no longer a directory"
no_temporaries "directory in the way" "$D"

# --- Permission bits: at most 0777; an earlier page's only when it is the
# user's own, else 0666 less the umask; never readable by a class that cannot
# read the report. Case: report mode, earlier page mode (- none), page mode.
D=$WORK/modes
mkdir -p "$D"
for case in "600 - 600" "604 - 604" "644 - 644" "600 664 620" "644 4755 755" "640 6775 771"; do
  read -r report_mode page_mode want <<<"$case"
  rm -f "$D/m.htm"
  report modes >"$D/m.csv" && chmod "$report_mode" "$D/m.csv"
  [[ $page_mode == - ]] || { echo earlier >"$D/m.htm" && chmod "$page_mode" "$D/m.htm"; }
  (umask 022 && cd "$D" && "$RPTCONV" m.csv >/dev/null)
  expect_eq "mode: report $report_mode, earlier page $page_mode" "$(stat -c %a "$D/m.htm")" "$want"
done
# A page read from a pipe takes no mode from the pipe; the index is readable
# by a class only where it may read every report the index lists.
chmod 600 "$D/m.csv" && report other >"$D/o.csv" && chmod 644 "$D/o.csv"
(umask 022 && cd "$D" && cat m.csv | "$RPTCONV" - -o pipe.htm >/dev/null)
expect_eq "mode: page read from a pipe" "$(stat -c %a "$D/pipe.htm")" 644
(umask 022 && cd "$D" && "$RPTCONV" -q --index=i.htm o.csv m.csv)
expect_eq "mode: index listing a 0600 report" "$(stat -c %a "$D/i.htm")" 600
(umask 022 && cd "$D" && "$RPTCONV" -q --index=i2.htm o.csv)
expect_eq "mode: index listing a 0644 report" "$(stat -c %a "$D/i2.htm")" 644

# --- Outputs that are no regular file (a FIFO, a device) are written into as
# they come, like standard output, and never replaced.
D=$WORK/streams
mkdir -p "$D"
report a >"$D/a.csv"
mkfifo "$D/fifo"
(timeout 20 cat "$D/fifo" >"$D/from-fifo") &
RUN_AS="timeout 20" run_code "$D" a.csv -o fifo
wait $! || true
expect_eq "-o FIFO: exit code, stdout" "$CODE|$OUT" "0|Converting: \"a.csv\"$CRLF"
CHECKS=$((CHECKS + 1))
[[ -p $D/fifo ]] || fail "-o FIFO: the FIFO was replaced"
same_file "-o FIFO: its reader got the page" "$D/from-fifo" "$REF/a.htm"
# A link to standard output (as /dev/stdout is) while standard output is a
# file: the page goes into that file through the stream; the link stays.
if [[ -e /proc/self/fd/1 ]]; then
  ln -s /proc/self/fd/1 "$D/stdout"
  (cd "$D" && "$RPTCONV" -q a.csv -o stdout >"$D/redirected.htm")
  CHECKS=$((CHECKS + 1))
  [[ -L $D/stdout ]] || fail "-o a link to standard output: the link was replaced"
  same_file "-o a link to standard output: the page in the redirected file" "$D/redirected.htm" "$REF/a.htm"
fi
# Device nodes of the test's own (never the system's /dev entries).
if [[ $(id -u) -eq 0 ]] && mknod "$D/full" c 1 7 2>/dev/null && mknod "$D/null" c 1 3 2>/dev/null; then
  run_code "$D" a.csv -o full
  expect_eq "-o full device: exit code, stderr" "$CODE|$ERR" \
    "1|Exception EInOutError in module rptconv at 00402010.${CRLF}I/O error 28.$CRLF$CRLF"
  run_code "$D" a.csv -o null
  expect_eq "-o null device: exit code" "$CODE" 0
  run_code "$D" a.csv -q --index=null
  expect_eq "--index onto the null device: exit code" "$CODE" 0
  CHECKS=$((CHECKS + 1))
  [[ -c $D/full && -c $D/null ]] || fail "device outputs: a device node was replaced"
  no_temporaries "device outputs" "$D"
else
  echo "note: not root or no mknod; the device output cases are not run"
fi

# --- A stranger's page in a sticky directory: root takes none of its bits;
# the stranger may not replace root's page and is refused up front.
if [[ $(id -u) -eq 0 ]] && id nobody >/dev/null 2>&1 && command -v setpriv >/dev/null; then
  as_nobody() { setpriv --reuid=nobody --regid="$(id -g nobody)" --clear-groups "$@"; }
  D=$WORK/sticky
  mkdir -m 1777 "$D" && chmod o+x "$WORK" && install -m 755 "$RPTCONV" "$WORK/rptconv"
  report a >"$D/a.csv" && report b >"$D/b.csv" && chmod 644 "$D"/*.csv
  as_nobody sh -c "echo stranger >'$D/a.htm' && chmod 7777 '$D/a.htm'"
  (umask 022 && cd "$D" && "$RPTCONV" a.csv >/dev/null)
  expect_eq "root over a stranger's page: owner and mode" "$(stat -c '%U %a' "$D/a.htm")" "root 644"
  echo root >"$D/b.htm" && chmod 666 "$D/b.htm"
  BEFORE=$(sums "$D")
  RUN_AS=as_nobody RPTCONV=$WORK/rptconv run_code "$D" b.csv
  expect_eq "stranger over root's page: stdout" "$OUT" "Cannot create output file: \"b.htm\"$CRLF"
  expect_eq "stranger over root's page: exit code" "$CODE" 2
  expect_eq "stranger over root's page: nothing changed" "$(sums "$D")" "$BEFORE"
else
  echo "note: not root, or no user nobody or setpriv; the stranger's page cases are not run"
fi

# --- Exit code 2: a directory that cannot take the page ---------------------
# /proc takes no new file, not even from root.
if [[ -r /proc/version ]]; then
  run_code "$WORK" /proc/version
  expect_eq "/proc: stdout" "$OUT" "Cannot create output file: \"/proc/version.htm\"$CRLF"
  expect_eq "/proc: exit code" "$CODE" 2
  expect_no_file "/proc: no page" /proc/version.htm
else
  echo "note: no /proc/version; the unwritable directory case is not run"
fi
# A directory without write permission stops only non-root users.
if [[ $(id -u) -ne 0 ]]; then
  batch_dir nowrite
  chmod 555 "$D"
  run_code "$D" a.csv
  expect_eq "unwritable directory: stdout" "$OUT" "Cannot create output file: \"a.htm\"$CRLF"
  expect_eq "unwritable directory: exit code" "$CODE" 2
  chmod 755 "$D"
else
  echo "note: running as root; the unwritable-directory case by permission bits is not run"
fi

finish
