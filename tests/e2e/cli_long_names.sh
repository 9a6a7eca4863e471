#!/usr/bin/env bash
# Names at the file system's length limit. A page whose name the file system
# cannot hold is a page that cannot be created: the create-failure line and
# exit code 2, before any progress line, the report untouched, nothing left.
source "$(dirname "$0")/lib.sh" "$1"

D=$WORK/d
mkdir -p "$D"
NAME_MAX=$(getconf NAME_MAX "$D" 2>/dev/null || echo 255)
[[ $NAME_MAX =~ ^[0-9]+$ ]] || NAME_MAX=255
xs() { printf "%${1}s" "" | tr ' ' x; }
report() { printf 'H\r\n2\r\n3\r\n4\r\n5\r\n,,,,,T\r\n'; }

# The longest name whose page still fits: NAME_MAX bytes, ".csv" to ".htm".
fits=$(xs $((NAME_MAX - 4))).csv
report >"$D/$fits"
run_code "$D" "$fits"
expect_eq "page name of NAME_MAX bytes: stdout" "$OUT" "Converting: \"$fits\"$CRLF"
expect_eq "page name of NAME_MAX bytes: exit code" "$CODE" 0
expect_file "page name of NAME_MAX bytes: page" "$D/${fits%.csv}.htm"
rm -f "$D/$fits" "$D/${fits%.csv}.htm"

# A report of NAME_MAX bytes ending in ".c": its page name is two bytes longer.
long=$(xs $((NAME_MAX - 2))).c
page=${long%.c}.htm
report >"$D/$long"
sum=$(sha256sum <"$D/$long")
run_code "$D" "$long"
expect_eq "page name over NAME_MAX: stdout" "$OUT" "Cannot create output file: \"$page\"$CRLF"
expect_eq "page name over NAME_MAX: stderr" "$ERR" ""
expect_eq "page name over NAME_MAX: exit code" "$CODE" 2
expect_eq "page name over NAME_MAX: report unchanged" "$(sha256sum <"$D/$long")" "$sum"
expect_eq "page name over NAME_MAX: nothing left" "$(cd "$D" && ls -A | grep -vxF -- "$long" || true)" ""

# The same report in the middle of a batch stops it there.
report >"$D/a.csv"
report >"$D/zz.csv"
run_code "$D" a.csv "$long" zz.csv
expect_eq "batch: stdout" "$OUT" "Converting: \"a.csv\"${CRLF}Cannot create output file: \"$page\"$CRLF"
expect_eq "batch: exit code" "$CODE" 2
expect_file "batch: first page" "$D/a.htm"
expect_no_file "batch: third not converted" "$D/zz.htm"

finish
