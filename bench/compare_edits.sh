#!/usr/bin/env bash
# A generated report against a copy with scattered edits: the comparison page
# must list exactly the changes the edits made (kind, section and key), no
# more and no fewer.
#
#   bench/compare_edits.sh RPTCONV [SIZE_MB [EDITS]]     (defaults 10 and 50)
set -euo pipefail

rptconv=$(realpath "$1")
size=${2:-10}
edits=${3:-50}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/compare-edits.XXXXXX")
trap 'rm -rf "$work"' EXIT

python3 "$here/gen_report.py" "$size" "$work/old.csv"
python3 "$here/gen_report.py" --edits "$edits" "$work/old.csv" "$work/new.csv" >"$work/expected.txt"
"$rptconv" -q --compare "$work/old.csv" "$work/new.csv" -o "$work/changes.htm"
python3 - "$work/changes.htm" "$work/expected.txt" <<'PY'
import html, re, sys

page = open(sys.argv[1], encoding="utf-8").read()
expected = sorted(line.strip() for line in open(sys.argv[2]))
listed = []
for section in re.findall(r'<section id="[^"]*">(.*?)</section>', page, re.S):
    title = html.unescape(re.search(r"<h2>(.*?)</h2>", section).group(1))
    for kind, row in re.findall(r'<tr class="(\w+)"><td>\w+(.*)', section):
        cells = [html.unescape(re.sub("<[^>]+>", "", c)) for c in re.split(r"<td[^>]*>", row)[1:]]
        if title == "Installed Programs":
            listed.append("%s installed_programs %s" % (kind, cells[0]))
        else:
            listed.append("%s page:%s %s/%s/%s" % (kind, title, cells[0], cells[1], cells[2]))
listed.sort()
if listed != expected:
    print("FAIL %d changes expected, %d listed; differing:" % (len(expected), len(listed)))
    for line in sorted(set(expected) ^ set(listed))[:20]:
        print("  " + line)
    sys.exit(1)
print("the page lists exactly the %d changes made" % len(expected))
PY
