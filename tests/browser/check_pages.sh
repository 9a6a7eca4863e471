#!/usr/bin/env bash
# Browser check: converts the hostile golden report and the English sample,
# opens both pages in headless Chromium and checks the DOM it built: report
# text that looks like markup is shown as text and creates no element or
# attribute, and web addresses are links. Then the same for the modern pages
# of these reports, of a hostile Windows-1250 report and of the Hungarian
# sample, served from 127.0.0.1 as UTF-8: the navigation reaches every
# section, a column table sorts and filters, Hungarian letters are right;
# and the index of these reports: its links reach the pages, it sorts and
# filters; and a comparison page: its changes, its navigation, a table of
# changes that sorts and filters, report markup shown as text. Then the
# modern pages printed to PDF: every sheet that goes on with a table shows
# its header's names, and no sheet holds a lone row.
#
#   check_pages.sh BINARY
#
# Exits with 77 (reported as skipped by CTest) when Chromium or Python is
# not installed. CHROMIUM may name another Chromium binary (an empty or
# missing one counts as not installed).
set -euo pipefail

if [[ $# -ne 1 ]]; then
    echo "usage: $0 BINARY" >&2
    exit 2
fi
binary=$1
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)

if [[ $binary != /* ]]; then
    binary=$(cd "$(dirname "$binary")" && pwd)/$(basename "$binary")
fi

chromium=${CHROMIUM:-}
if [[ -n $chromium && ! -x $chromium ]]; then
    chromium=
elif [[ -z ${CHROMIUM+set} ]]; then
    for c in /usr/bin/chromium chromium chromium-browser; do
        if command -v "$c" > /dev/null 2>&1; then
            chromium=$(command -v "$c")
            break
        fi
    done
fi
if [[ -z $chromium ]]; then
    echo "browser check skipped: chromium not installed"
    exit 77
fi
if ! command -v python3 > /dev/null 2>&1; then
    echo "browser check skipped: python3 not installed"
    exit 77
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/browser-check.XXXXXX")
trap 'rm -rf "$work"' EXIT

python3 "$root/tests/golden/run_golden.py" "$root/tests/golden/pages.cases" --write-reports "$work/cases"
cp "$work/cases/hostile.csv" "$work/hostile.csv"
cp "$root/samples/english.csv" "$work/english.csv"

for name in hostile english; do
    if ! (cd "$work" && "$binary" "$name.csv" > "$name.console" 2>&1); then
        echo "FAIL the converter failed on $name.csv:"
        cat "$work/$name.console"
        exit 1
    fi
    if [[ ! -s $work/$name.htm ]]; then
        echo "FAIL the converter wrote no $name.htm"
        exit 1
    fi
done

# One fresh profile per page; no network, no updates, nothing kept.
headless() {  # SECONDS ARGS...
    timeout "$1" "$chromium" --headless --no-sandbox --disable-gpu --no-first-run \
        --disable-background-networking --disable-component-update --disable-sync \
        --disable-quic --user-data-dir="$(mktemp -d "$work/profile.XXXXXX")" "${@:2}"
}
dump_dom() {
    local page=$1 url=${2:-file://$work/$1.htm}
    if ! headless 90 --dump-dom "$url" > "$work/$page.dom" 2> "$work/$page.chromium.log"; then
        echo "FAIL chromium failed on $page.htm or did not finish loading it within 90 s:"
        grep -v dbus "$work/$page.chromium.log" | tail -n 20
        exit 1
    fi
    if [[ ! -s $work/$page.dom ]]; then
        echo "FAIL chromium dumped an empty DOM for $page.htm:"
        tail -n 20 "$work/$page.chromium.log"
        exit 1
    fi
}

dump_dom hostile
dump_dom english

# The modern pages, served by a local server that declares UTF-8, each with
# the probe script appended: it follows the navigation, sorts and filters.
mkdir "$work/modern"
cp "$work/cases/hostile.csv" "$work/modern/hostile.csv"
cp "$root/tests/modern/hostile.csv" "$work/modern/hostile-hu.csv"
cp "$root/samples/english.csv" "$root/samples/hungarian.csv" "$work/modern/"
cp "$root/samples/english.csv" "$work/modern/<i>\"x&'.csv"
cp "$root/samples/english.csv" "$work/modern/english-copy.csv"
cp "$here/sorting.csv" "$here/sorting-hu.csv" "$work/modern/"
if ! (cd "$work/modern" && "$binary" --style=modern --index=index.htm '*.csv' > console 2>&1); then
    echo "FAIL the converter failed on the modern pages:"
    cat "$work/modern/console"
    exit 1
fi
# An index of one language with a report that fails.
(cd "$work/modern" && "$binary" -k --style=modern --index=index-en.htm english.csv sorting.csv missing.csv \
    > console 2>&1) || true
# A comparison page: the English sample against a copy whose processes run
# from another drive and that has a service named with markup.
{ sed 's/^\(Processes,[^,]*,,,Process File Name,\)C:/\1D:/' "$root/samples/english.csv"
  printf '%s\r\n' "Services,<img src=x onerror=\"document.body.id='c1'\">,,,Service Description,<script>document.body.id='c2'</script>" \
    'Services,x,,,Type,"a" & b' 'Services,x,,,State,Running' 'Services,x,,,Account,<none>'
} > "$work/changed.csv"
if ! (cd "$work/modern" && "$binary" -q --compare english.csv ../changed.csv -o compare.htm > console 2>&1); then
    echo "FAIL the converter failed on the comparison page:"
    cat "$work/modern/console"
    exit 1
fi
for page in "$work"/modern/*.htm; do
    # The probe goes before the last line, "</html>".
    { sed '$d' "$page"; printf '<script>\r\n'; cat "$here/probe.js"; printf '</script>\r\n</html>\r\n'; } > "$page.probe"
    mv "$page.probe" "$page"
done
timeout 300 python3 "$here/serve.py" "$work/modern" > "$work/port" &
server=$!
trap 'kill $server 2> /dev/null; rm -rf "$work"' EXIT
for _ in $(seq 50); do
    [[ -s $work/port ]] && break
    sleep 0.1
done
port=$(cat "$work/port")
for name in hostile hostile-hu english hungarian sorting sorting-hu index index-en compare; do
    dump_dom "modern/$name" "http://127.0.0.1:$port/$name.htm"
done

# The modern pages printed to PDF: the samples' and a long table's, every
# sheet read back as text (pdftotext, from poppler-utils).
print_check() {
    mkdir "$work/print"
    cp "$root/samples/english.csv" "$root/samples/hungarian.csv" "$work/print/"
    {
        printf 'Page,Group,Item,Type,Property,Value\r\n'
        printf 'Report,Summary,,,Report Title,A long table\r\n'
        for i in $(seq 101 250); do
            printf 'Processes,proc-%d.exe,,,Process File Name,C:\\Apps\\proc-%d.exe\r\n' "$i" "$i"
            printf 'Processes,proc-%d.exe,,,Used Memory,%d KB\r\nProcesses,proc-%d.exe,,,Used Swap,%d KB\r\n' \
                "$i" "$((i * 7))" "$i" "$((i * 3))"
        done
    } > "$work/print/long.csv"
    (cd "$work/print" && "$binary" --style=modern '*.csv' > /dev/null)
    local args=() name
    for name in english hungarian long; do
        if ! headless 120 --no-pdf-header-footer --print-to-pdf="$work/print/$name.pdf" \
            "file://$work/print/$name.htm" > "$work/print/$name.log" 2>&1 || [[ ! -s $work/print/$name.pdf ]]; then
            echo "FAIL chromium did not print $name.htm:"
            tail -n 20 "$work/print/$name.log"
            return 1
        fi
        args+=("$work/print/$name.htm" "$work/print/$name.pdf")
    done
    python3 "$here/check_print.py" "${args[@]}"
}
if ! command -v pdftotext > /dev/null 2>&1; then
    echo "print check skipped: pdftotext (poppler-utils) not installed"
elif ! print_check; then
    exit 1
fi

if python3 "$here/check_dom.py" "$work/hostile.dom" "$work/english.dom" "$work/modern"; then
    echo "browser check passed: $(basename "$chromium") shows report markup as text and addresses as links;" \
        "modern pages navigate, sort, filter, print their tables' headers and show Hungarian letters served as UTF-8"
else
    exit 1
fi
