#!/usr/bin/env python3
"""Writes README.md's table of the columns that match rows and those that do
not count, from the section catalogue in src/report/sections.cpp.

    gen_readme_keys.py [--check] ROOT

Replaces the lines between "<!-- keys:begin -->" and "<!-- keys:end -->" of
ROOT/README.md; with --check, only tells (exit code 1) whether they differ.
"""

import re
import sys

ENTRY = re.compile(
    r'\{"([^"]*)", [^\n]*\n\s*"([^"]*)",\n[^\n]*\n\s*"(\w+)", "([\w,]+)", "([KV-]+)", "([TSNPD]+)"\}')
BEGIN, END = "<!-- keys:begin -->", "<!-- keys:end -->"


def table(catalogue):
    lines = ["| section | rows are matched by | not counted (shown with `--all-columns`) |",
             "|---|---|---|"]
    entries = ENTRY.findall(catalogue)
    for title, headers, _key, _columns, roles, _kinds in entries:
        names = headers.split(",")
        keys = [n for n, r in zip(names, roles) if r == "K"]
        volatile = [n for n, r in zip(names, roles) if r == "V"]
        if title.startswith("*"):
            # A group table's first column shows the group (the disk); the
            # row's item tells the rows of a group apart.
            title = title[1:]
            keys[0] = "the disk and the %s (group and item)" % ("partition" if "Partition" in headers else "attribute")
        lines.append("| %s | %s | %s |" % (title, ", ".join(keys), ", ".join(volatile)))
    return lines, len(entries)


def main(argv):
    check = len(argv) == 3 and argv[1] == "--check"
    if len(argv) != (3 if check else 2):
        print(__doc__, file=sys.stderr)
        return 2
    root = argv[-1]
    with open(root + "/src/report/sections.cpp", encoding="utf-8") as f:
        lines, count = table(f.read())
    if count != 41:
        print("gen_readme_keys.py: read %d sections of the catalogue, not 41" % count, file=sys.stderr)
        return 1
    with open(root + "/README.md", encoding="utf-8") as f:
        readme = f.read().split("\n")
    begin, end = readme.index(BEGIN), readme.index(END)
    if readme[begin + 1:end] == lines:
        return 0
    if check:
        print("README.md's table of key and volatile columns differs from the catalogue; "
              "run tools/gen_readme_keys.py .", file=sys.stderr)
        return 1
    with open(root + "/README.md", "w", encoding="utf-8") as f:
        f.write("\n".join(readme[:begin + 1] + lines + readme[end:]))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
