"""Checks modern pages printed to PDF by Chromium, sheet by sheet.

    check_print.py PAGE.htm PAGE.pdf [PAGE.htm PAGE.pdf ...]

Reads the column tables of each page (header names, rows) and the text of
each printed sheet (pdftotext -layout), a table row being one line of text
with its cells (a row whose cells wrap is not recognised on a sheet, and is
reported as not printed whole). Fails when a sheet shows rows of a table before that table's
header (the repeated header lost its text), when a sheet holds a single row
of a table of several (a lone row), or when a row of a table is not printed
whole on one line of some sheet. Prints one line per failure; exits with 1
if there was any.
"""

import re
import subprocess
import sys
from html.parser import HTMLParser

failures = []


class Tables(HTMLParser):
    """The column tables of a page: [header names, [row cells...]]."""

    def __init__(self, text):
        super().__init__(convert_charrefs=True)
        self.tables, self.cell, self.in_head, self.open = [], None, False, False
        self.feed(text)
        self.close()

    def handle_endtag(self, tag):
        if tag == "table":
            self.open, self.cell = False, None

    def handle_starttag(self, tag, attrs):
        if tag == "table" and "cols" in (dict(attrs).get("class") or "").split():
            self.tables.append([[], []])
            self.open = True
        elif not self.open:
            return
        elif tag == "thead":
            self.in_head = True
        elif tag == "tbody":
            self.in_head = False
        elif tag == "tr" and not self.in_head:
            self.tables[-1][1].append([])
        elif tag in ("th", "td"):
            self.cell = []
            (self.tables[-1][0] if self.in_head else self.tables[-1][1][-1]).append(self.cell)

    def handle_data(self, data):
        if self.cell is not None:
            self.cell.append(data)


# Cells are compared without their blanks: pdftotext may drop a narrow one
# ("0 %" reads "0%").
def cells_of(cells):
    return ["".join("".join(c).split()) for c in cells if "".join(c).strip()]


def sheets_of(pdf):
    text = subprocess.run(["pdftotext", "-layout", pdf, "-"], check=True, capture_output=True,
                          text=True, timeout=120).stdout
    return [[["".join(c.split()) for c in re.split(r"\s{2,}", line.strip())]
             for line in sheet.splitlines() if line.strip()] for sheet in text.split("\f")]


def check(page, pdf):
    with open(page, encoding="utf-8") as f:
        tables = [(cells_of(head), [cells_of(row) for row in rows], " ".join("".join(c) for c in head).split())
                  for head, rows in Tables(f.read()).tables]
    sheets = sheets_of(pdf)
    printed = {}
    for number, lines in enumerate(sheets, 1):
        for t, (head, rows, words) in enumerate(tables):
            if not head or not rows:
                continue
            on_sheet = [i for i, line in enumerate(lines) if line in rows]
            if not on_sheet:
                continue
            for i in on_sheet:
                printed[(t, tuple(lines[i]))] = True
            # The header's words just above the first row (its names may
            # wrap onto a second or third line).
            above = "".join("".join(line) for line in lines[max(0, on_sheet[0] - 3):on_sheet[0]])
            if not all(word in above for word in words):
                failures.append(f"{pdf} sheet {number}: rows of the table {head} without its header, "
                                f"first {lines[on_sheet[0]]}")
            if len(on_sheet) == 1 and len(rows) > 1:
                failures.append(f"{pdf} sheet {number}: a lone row of the table {head}: {lines[on_sheet[0]]}")
    for t, (head, rows, _) in enumerate(tables):
        for row in rows:
            if head and row and (t, tuple(row)) not in printed:
                failures.append(f"{pdf}: the row {row} of the table {head} is not printed whole on one line")
    return len(sheets)


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
