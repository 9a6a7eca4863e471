#!/usr/bin/env bash
# The ordinary ways out of the program: usage, nothing found, a report that
# cannot be opened, a page that cannot be created. Each ends with its exit
# code, writes only to standard output, and leaves earlier files alone.
source "$(dirname "$0")/lib.sh" "$1"

make_report() {  # PATH ROWS
  awk -v n="$2" 'BEGIN { printf "Header\r\n"; for (i = 1; i <= n; i++) printf "Summary,Group %d,Item,x,Label %d,Value %d\r\n", int(i / 10), i, i }' >"$1"
}
# Names, kinds, modes, sizes, times and contents of everything in a directory.
snapshot() {
  (cd "$1" && find . -mindepth 1 -printf '%P %y %m %s %T@\n' | LC_ALL=C sort && find . -type f -exec md5sum {} + | LC_ALL=C sort)
}
expect_no_temporary() {  # NAME DIR
  CHECKS=$((CHECKS + 1))
  if compgen -G "$2/.rptconv-*" >/dev/null; then fail "$1: temporary file left in $2"; fi
}

# Reference pages, converted on their own.
mkdir "$WORK/ref"
make_report "$WORK/ref/a.csv" 12
run_code "$WORK/ref" a.csv
expect_eq "reference converted" "$CODE" 0

# --- No argument, or a help switch: the usage text, exit code 0. ---
mkdir "$WORK/usage"
make_report "$WORK/usage/a.csv" 3
printf 'earlier page\r\n' >"$WORK/usage/a.htm"
before=$(snapshot "$WORK/usage")
for args in "" "-h"; do
  # shellcheck disable=SC2086
  run_code "$WORK/usage" $args
  expect_eq "usage [$args]: exit code" "$CODE" 0
  expect_eq "usage [$args]: eleven lines" "$(printf '%s' "$OUT" | grep -c $'\r$')" 11
  expect_eq "usage [$args]: first line" "${OUT:0:34}" "QUORVIX CSV->HTM Report Converter "
  expect_eq "usage [$args]: nothing on stderr" "$ERR" ""
  expect_eq "usage [$args]: no file touched" "$(snapshot "$WORK/usage")" "$before"
done

# --- Nothing matches: nothing written, exit code 0. ---
run_code "$WORK/usage" 'z*.csv'
expect_eq "no match: exit code" "$CODE" 0
expect_eq "no match: stdout" "$OUT" ""
expect_eq "no match: stderr" "$ERR" ""
expect_eq "no match: no file touched" "$(snapshot "$WORK/usage")" "$before"

# --- A command line that cannot be read: exit code 64, two lines on standard
# error, nothing converted and nothing touched. ---
for row in "-x|unknown option '-x'" "a.csv --output|option '--output' needs a value" \
    "-o x.htm *.csv|option '--output' takes one report, named without wildcards"; do
  set -f
  # shellcheck disable=SC2086
  run_code "$WORK/usage" ${row%%|*}
  set +f
  expect_eq "[${row%%|*}]" "$CODE|$OUT|$ERR" "64||rptconv: ${row#*|}${CRLF}Try 'rptconv --help'.$CRLF"
  expect_eq "[${row%%|*}]: no file touched" "$(snapshot "$WORK/usage")" "$before"
done

# --- A report that cannot be opened ends the batch at it with exit code 1. ---
# b.csv is listed (a link) but names nothing; c.csv must never be converted.
mkdir "$WORK/open"
make_report "$WORK/open/a.csv" 12
ln -s missing.csv "$WORK/open/b.csv"
make_report "$WORK/open/c.csv" 5
printf 'earlier b\r\n' >"$WORK/open/b.htm"
run_code "$WORK/open" '*.csv'
expect_eq "open failure: exit code" "$CODE" 1
expect_eq "open failure: stdout" "$OUT" "Converting: \"a.csv\"${CRLF}Cannot open input file: \"b.csv\"${CRLF}"
expect_eq "open failure: stderr" "$ERR" ""
expect_same_file "open failure: first page complete" "$WORK/open/a.htm" "$WORK/ref/a.htm"
expect_eq "open failure: earlier page of b intact" "$(cat "$WORK/open/b.htm")" "earlier b"$'\r'
expect_no_file "open failure: c not converted" "$WORK/open/c.htm"
expect_no_temporary "open failure" "$WORK/open"

# With --keep-going the batch goes on past it, and its exit code is that of
# the first failure; with --quiet the failure lines go to standard error,
# so that a quiet run's standard output can be thrown away safely.
rm -f "$WORK/open/a.htm"
run_code "$WORK/open" -qk missing.csv '*.csv'
expect_eq "keep going past open failures" "$CODE|$OUT|$ERR" \
  "1||Cannot open input file: \"missing.csv\"${CRLF}Cannot open input file: \"b.csv\"${CRLF}"
expect_same_file "keep going past open failures: first page" "$WORK/open/a.htm" "$WORK/ref/a.htm"
expect_file "keep going past open failures: last page" "$WORK/open/c.htm"
rm -f "$WORK/open/a.htm" "$WORK/open/c.htm"
# An I/O failure in the middle of a report: its failure report, then the next.
if [[ -r /proc/self/mem ]]; then
  mkdir "$WORK/io"
  run_code "$WORK/open" -k -d "$WORK/io" /proc/self/mem a.csv
  expect_eq "keep going past an I/O failure" "$CODE|$OUT" \
    "1|Converting: \"/proc/self/mem\"${CRLF}Converting: \"a.csv\"${CRLF}"
  CHECKS=$((CHECKS + 1))
  [[ $ERR =~ ^Exception\ EInOutError\ .+\ at\ 00401010\.$'\r\n'.+\.$'\r\n\r\n'$ ]] || fail "keep going: stderr '$ERR'"
  expect_same_file "keep going past an I/O failure: next page" "$WORK/io/a.htm" "$WORK/ref/a.htm"
  expect_eq "keep going past an I/O failure: no other file" "$(ls -A "$WORK/io")" "a.htm"
fi

# --- A page that cannot be created ends the batch at it with exit code 2. ---
# A read-only earlier page stays as it was, also for root.
mkdir "$WORK/create"
make_report "$WORK/create/a.csv" 12
make_report "$WORK/create/b.csv" 5
make_report "$WORK/create/c.csv" 5
printf 'read-only b\r\n' >"$WORK/create/b.htm"
chmod 444 "$WORK/create/b.htm"
touch -d '2001-02-03 04:05:06' "$WORK/create/b.htm"
b_before=$(cd "$WORK/create" && stat -c '%a %s %Y' b.htm && md5sum b.htm)
run_code "$WORK/create" '*.csv'
expect_eq "read-only page: exit code" "$CODE" 2
expect_eq "read-only page: stdout" "$OUT" "Converting: \"a.csv\"${CRLF}Cannot create output file: \"b.htm\"${CRLF}"
expect_eq "read-only page: stderr" "$ERR" ""
expect_same_file "read-only page: first page complete" "$WORK/create/a.htm" "$WORK/ref/a.htm"
expect_eq "read-only page: unchanged" "$(cd "$WORK/create" && stat -c '%a %s %Y' b.htm && md5sum b.htm)" "$b_before"
expect_no_file "read-only page: c not converted" "$WORK/create/c.htm"
expect_no_temporary "read-only page" "$WORK/create"
rm -f "$WORK/create/a.htm"
run_code "$WORK/create" -k '*.csv' missing.csv
expect_eq "keep going past a create failure" "$CODE|$OUT" \
  "2|Converting: \"a.csv\"${CRLF}Cannot create output file: \"b.htm\"${CRLF}Converting: \"c.csv\"${CRLF}Cannot open input file: \"missing.csv\"${CRLF}"
expect_file "keep going past a create failure: last page" "$WORK/create/c.htm"

# The page would be the report itself: the report is left untouched.
mkdir "$WORK/self"
make_report "$WORK/self/r.htm" 5
before=$(snapshot "$WORK/self")
run_code "$WORK/self" r.htm
expect_eq "page is the report: exit code" "$CODE" 2
expect_eq "page is the report: stdout" "$OUT" "Cannot create output file: \"r.htm\"${CRLF}"
expect_eq "page is the report: stderr" "$ERR" ""
expect_eq "page is the report: untouched" "$(snapshot "$WORK/self")" "$before"

# The page's name is taken by a directory.
mkdir -p "$WORK/dir/r.htm/inside"
make_report "$WORK/dir/r.csv" 5
before=$(snapshot "$WORK/dir")
run_code "$WORK/dir" r.csv
expect_eq "page name is a directory: exit code" "$CODE" 2
expect_eq "page name is a directory: stdout" "$OUT" "Cannot create output file: \"r.htm\"${CRLF}"
expect_eq "page name is a directory: untouched" "$(snapshot "$WORK/dir")" "$before"

finish
