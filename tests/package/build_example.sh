#!/usr/bin/env bash
# Installs the build into a scratch prefix, builds the example program
# against the installed package, and checks that it writes the same page as
# the command line.
#   build_example.sh BUILD_DIR RPTCONV
set -euo pipefail
build=$1
rptconv=$(realpath "$2")
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cmake --install "$build" --prefix "$work/prefix" >/dev/null
cmake -S "$root/examples/convert_stdin" -B "$work/example" -DCMAKE_PREFIX_PATH="$work/prefix" >/dev/null
cmake --build "$work/example" >/dev/null

cp "$root/samples/english.csv" "$work/r.csv"
(cd "$work" && "$rptconv" r.csv >/dev/null)
"$work/example/convert_stdin" <"$work/r.csv" >"$work/library.htm"
failed=0
cmp "$work/r.htm" "$work/library.htm" || failed=$((failed + 1))
# A full disk: the library's IoError names the error and the site.
if "$work/example/convert_stdin" <"$work/r.csv" >/dev/full 2>"$work/err" ||
   ! grep -qx 'convert_stdin: I/O error 28 writing a block of the page (site 00402010)' "$work/err"; then
  echo "full disk: $(cat "$work/err")"
  failed=$((failed + 1))
fi
echo "$((2 - failed)) passed, $failed failed"
[[ $failed -eq 0 ]]
