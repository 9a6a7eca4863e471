"""Checks modern pages printed to PDF by Chromium, sheet by sheet.

    check_print.py PAGE.htm PAGE.pdf [PAGE.htm PAGE.pdf ...]

A table row is recognised on a sheet (pdftotext -layout) as one line of its
cells, compared without blanks (pdftotext may drop a narrow one). Fails when
rows of a table come on a sheet without its header's words just above them,
when a sheet holds a lone row of a table of several, or when a row is not
printed whole on one line. Exits with 1 after one line per failure.
"""

import re
import subprocess
import sys
from html.parser import HTMLParser

failures = []


class Tables(HTMLParser):
    """The column tables of a page: [header cells, [row cells...]]."""

    def __init__(self, text):
        super().__init__(convert_charrefs=True)
        self.tables, self.cell, self.head, self.open = [], None, False, False
        self.feed(text)

    def handle_endtag(self, tag):
        if tag == "table":
            self.open, self.cell = False, None

    def handle_starttag(self, tag, attrs):
        if tag == "table":
            self.open = "cols" in (dict(attrs).get("class") or "").split()
            if self.open:
                self.tables.append([[], []])
        elif self.open and tag in ("thead", "tbody"):
            self.head = tag == "thead"
        elif self.open and tag == "tr" and not self.head:
            self.tables[-1][1].append([])
        elif self.open and tag in ("th", "td"):
            self.cell = []
            (self.tables[-1][0] if self.head else self.tables[-1][1][-1]).append(self.cell)

    def handle_data(self, data):
        if self.cell is not None:
            self.cell.append(data)


def squeezed(cells):
    return ["".join("".join(c).split()) for c in cells if "".join(c).strip()]


def check(page, pdf):
    with open(page, encoding="utf-8") as f:
        tables = [(" ".join("".join(c) for c in head).split(), [squeezed(r) for r in rows])
                  for head, rows in Tables(f.read()).tables if head and rows]
    text = subprocess.run(["pdftotext", "-layout", pdf, "-"], check=True, capture_output=True,
                          text=True, timeout=120).stdout
    printed = set()
    for number, sheet in enumerate(text.split("\f"), 1):
        lines = [squeezed(re.split(r"\s{2,}", line.strip())) for line in sheet.splitlines() if line.strip()]
        for t, (words, rows) in enumerate(tables):
            on_sheet = [i for i, line in enumerate(lines) if line in rows]
            printed.update((t, tuple(lines[i])) for i in on_sheet)
            if not on_sheet:
                continue
            above = "".join("".join(line) for line in lines[max(0, on_sheet[0] - 3):on_sheet[0]])
            if not all(word in above for word in words):
                failures.append(f"{pdf} sheet {number}: rows of {words} without its header, first {lines[on_sheet[0]]}")
            if len(on_sheet) == 1 and len(rows) > 1:
                failures.append(f"{pdf} sheet {number}: a lone row of {words}: {lines[on_sheet[0]]}")
    failures.extend(f"{pdf}: the row {row} of {words} is not printed whole on one line"
                    for t, (words, rows) in enumerate(tables) for row in rows if (t, tuple(row)) not in printed)
    return text.count("\f")


def main():
    if len(sys.argv) < 3 or len(sys.argv) % 2 == 0:
        print("usage: check_print.py PAGE.htm PAGE.pdf [PAGE.htm PAGE.pdf ...]", file=sys.stderr)
        return 2
    for page, pdf in zip(sys.argv[1::2], sys.argv[2::2]):
        print(f"{pdf}: {check(page, pdf)} sheets")
    for f in failures:
        print("FAIL " + f)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
