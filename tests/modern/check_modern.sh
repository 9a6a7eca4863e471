#!/usr/bin/env bash
# Modern pages of every golden case's report, of tests/modern/*.csv (hostile
# reports for the modern page) and of the samples.
#
#   check_modern.sh parity BINARY     every text of the classic page is in the
#                                     modern page, in the same order
#   check_modern.sh validate BINARY   the W3C Nu HTML Checker reports no error
#                                     and no warning, also on their index and
#                                     on comparison pages of them
#   check_modern.sh data BINARY       the rows' schema is the catalogue's; the
#                                     same reports as JSON and NDJSON: jq
#                                     reads them, they, the JSON index and
#                                     comparisons as JSON validate against
#                                     doc/schema (ajv), their rows and
#                                     properties are the modern page's (a
#                                     comparison's changes its page's),
#                                     DuckDB reads the fleet's stream;
#                                     and README's fleet examples answer right
#
# validate needs java and vnu.jar (VNU_JAR, else build-tools/ as .ci/run
# installs it: npm install --prefix build-tools vnu-jar). Without them it
# exits with 77 (skipped), except under CI=true, where it fails.
set -euo pipefail

if [[ $# -ne 2 || ( $1 != parity && $1 != validate && $1 != data ) ]]; then
    echo "usage: $0 parity|validate|data BINARY" >&2
    exit 2
fi
mode=$1
binary=$(realpath "$2")
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)

unavailable() {
    if [[ ${CI:-} == true ]]; then
        echo "FAIL $1"
        exit 1
    fi
    echo "validator check skipped: $1"
    exit 77
}
if [[ $mode == validate ]]; then
    jar=${VNU_JAR:-$root/build-tools/node_modules/vnu-jar/build/dist/vnu.jar}
    command -v java > /dev/null 2>&1 || unavailable "java is not installed"
    [[ -f $jar ]] || unavailable "no vnu.jar at $jar (npm install --prefix build-tools vnu-jar)"
fi
if [[ $mode == data ]]; then
    modules=${NODE_MODULES:-$root/build-tools/node_modules}
    command -v node > /dev/null 2>&1 || unavailable "node is not installed"
    command -v jq > /dev/null 2>&1 || unavailable "jq is not installed"
    command -v sqlite3 > /dev/null 2>&1 || unavailable "sqlite3 is not installed"
    [[ -d $modules/ajv && -d $modules/@duckdb/node-api ]] ||
        unavailable "no ajv or @duckdb/node-api in $modules (npm install --prefix build-tools ajv @duckdb/node-api)"
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/modern-check.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir "$work/classic" "$work/modern"
mkdir "$work/cases"
python3 "$root/tests/golden/run_golden.py" "$root/tests/golden/pages.cases" --write-reports "$work/cases"
for report in "$work"/cases/*.csv; do
    cp "$report" "$work/classic/case-$(basename "$report")"
done
for report in "$here"/*.csv "$root"/samples/*.csv; do
    cp "$report" "$work/classic/$(basename "$report")"
done
# Names the index must show without C1 controls, noncharacters and the
# controls of writing direction.
for name in $'c1-\xc2\x85' $'nonchar-\xef\xb7\x90\xef\xbf\xbf' $'bidi-\xe2\x80\xaevsc.exe'; do
    cp "$here/hostile.csv" "$work/classic/name-$name.csv"
done
cp "$work"/classic/*.csv "$work/modern/"
(cd "$work/modern" && timeout 120 "$binary" --style=modern --index=index.htm '*.csv' > /dev/null)
if [[ $mode == validate ]]; then
    # Comparison pages: across the languages, of hostile reports, with
    # volatile columns, and of a report with itself (nothing changed).
    (cd "$work/modern" &&
        timeout 60 "$binary" -q --compare english.csv hungarian.csv -o compare-en-hu.htm &&
        timeout 60 "$binary" -q --compare hungarian.csv hostile.csv -o compare-hostile.htm &&
        timeout 60 "$binary" -q --compare case-hostile.csv english.csv --all-columns -o compare-all.htm &&
        timeout 60 "$binary" -q --compare english.csv english.csv -o compare-same.htm)
fi

if [[ $mode == data ]]; then
    python3 "$root/tools/gen_schema.py" | cmp -s - "$root/doc/schema/sections.schema.json" ||
        { echo "FAIL doc/schema/sections.schema.json is not the catalogue's: run tools/gen_schema.py"; exit 1; }
    cd "$work/modern"
    timeout 120 "$binary" -q --format=json --index=index.json '*.csv'
    timeout 120 "$binary" -q --format=ndjson '*.csv'
    timeout 120 "$binary" -q --format=ndjson -o fleet.ndjson '*.csv'
    # Comparisons, as page, JSON and NDJSON: across the languages, of hostile
    # reports, with volatile columns, and of a report with itself.
    while read -r name old new options; do
        # shellcheck disable=SC2086
        timeout 60 "$binary" -q --compare "$old" "$new" $options -o "$name.changes.htm"
        for format in json ndjson; do
            # shellcheck disable=SC2086
            timeout 60 "$binary" -q --compare --format=$format "$old" "$new" $options -o "$name.changes.$format"
        done
    done <<'PAIRS'
compare-en-hu english.csv hungarian.csv
compare-hostile hungarian.csv hostile.csv
compare-all case-hostile.csv english.csv --all-columns
compare-same english.csv english.csv
PAIRS
    for file in *.json; do
        jq -e 'type == "object"' "$file" > /dev/null || { echo "FAIL jq cannot read $file"; exit 1; }
    done
    [[ $(jq -c . fleet.ndjson | wc -l) == $(wc -l < fleet.ndjson) ]] || { echo "FAIL jq reads fleet.ndjson otherwise"; exit 1; }
    NODE_PATH=$modules timeout 120 node "$here/check_data.js" "$work/modern" "$root/doc/schema"
    exec timeout 300 python3 "$here/readme_fleet.py" "$binary" "$modules"
fi

if [[ $mode == parity ]]; then
    (cd "$work/classic" && timeout 120 "$binary" '*.csv' > /dev/null)
    exec timeout 120 python3 "$here/parity.py" "$work/classic" "$work/modern"
fi

# --no-langdetect: the page's language is the report's (its first page
# title), not a guess from a few words of text.
pages=("$work"/modern/*.htm)
if timeout 300 java -jar "$jar" --Werror --no-langdetect "${pages[@]}"; then
    echo "${#pages[@]} passed, 0 failed"
else
    echo "FAIL the checker found errors or warnings in the modern pages above"
    exit 1
fi
