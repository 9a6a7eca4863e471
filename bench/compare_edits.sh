#!/usr/bin/env bash
# A generated report against a copy with scattered edits: the comparison page,
# and the comparison as JSON, must list exactly the changes the edits made
# (kind, section and key), no more and no fewer. Then the comparison's CPU
# time (user + sys, the least of RUNS runs) against converting both reports
# to classic pages, and their ratio.
#
#   bench/compare_edits.sh RPTCONV [SIZE_MB [EDITS]]     (defaults 10 and 50)
#   RUNS=N (default 3): timed runs of each command
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
"$rptconv" -q --compare --format=json "$work/old.csv" "$work/new.csv" -o "$work/changes.json"
python3 - "$work/changes.htm" "$work/expected.txt" "$work/changes.json" <<'PY'
import html, json, re, sys

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
data = []
for section in json.load(open(sys.argv[3], encoding="utf-8"))["sections"]:
    for kind in ("added", "removed", "changed"):
        for row in section[kind]:
            row = row.get("key", row)
            if section["key"] == "installed_programs":
                data.append("%s installed_programs %s" % (kind, row["program"]))
            else:
                title = section["titles"].get("new", section["titles"].get("old"))
                data.append("%s page:%s %s/%s/%s" % (kind, title, row["group"], row["item"], row["label"]))
for what, found in (("page", listed), ("JSON", data)):
    found.sort()
    if found != expected:
        print("FAIL %d changes expected, %d in the %s; differing:" % (len(expected), len(found), what))
        for line in sorted(set(expected) ^ set(found))[:20]:
            print("  " + line)
        sys.exit(1)
print("the page and the JSON list exactly the %d changes made" % len(expected))
PY

# The least user + sys time of RUNS runs of each command, from the kernel's
# account of the child (microseconds, unlike the shell's time).
python3 - "${RUNS:-3}" "$rptconv" "$work" <<'PY'
import os, subprocess, sys

runs, rptconv, work = int(sys.argv[1]), sys.argv[2], sys.argv[3]

def cpu(args):
    best = None
    for _ in range(runs):
        child = subprocess.Popen([rptconv, "-q"] + args, stdout=subprocess.DEVNULL)
        _, status, usage = os.wait4(child.pid, 0)
        if status != 0:
            sys.exit("FAIL rptconv %s ended with status %d" % (" ".join(args), status))
        spent = usage.ru_utime + usage.ru_stime
        best = spent if best is None else min(best, spent)
    return best

old, new = os.path.join(work, "old.csv"), os.path.join(work, "new.csv")
compare = cpu(["--compare", old, new, "-o", os.path.join(work, "changes.htm")])
convert = cpu([old, "-o", os.path.join(work, "old.htm")]) + cpu([new, "-o", os.path.join(work, "new.htm")])
print("user+sys, least of %d runs: comparison %.3f s, converting both %.3f s, ratio %.2f (load average %.2f)"
      % (runs, compare, convert, compare / convert if convert > 0 else float("inf"), os.getloadavg()[0]))
PY
