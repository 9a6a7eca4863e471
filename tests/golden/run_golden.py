#!/usr/bin/env python3
"""Golden pages: runs every case of a case file against the program.

    run_golden.py CASES BINARY [EMULATOR...]
    run_golden.py CASES --write-reports DIR

Each run copies the case's report into a fresh directory as report.csv,
converts it there with [EMULATOR...] BINARY report.csv ARGS, and checks:
standard output (by default the one progress line), the exit code (by default
0), the page byte for byte (report.htm, or report.hta with /HTA), that the
report is untouched and that nothing else was left in the directory. The case
file's own head says how cases are written. With --format=json or ndjson the
output checked is report.json or report.ndjson, against the case's data
block. --write-reports writes each
report as DIR/NAME.csv (the fuzz corpus takes them).
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile

NAMED = {"CR": b"\r", "^Z": b"\x1a", "NUL": b"\0", "TAB": b"\t", "ESC": b"\x1b", "SP": b" ", "": b""}
ESCAPE = re.compile(r"\{(CR|\^Z|NUL|TAB|ESC|SP|x[0-9A-F]{2}|digits [0-9]+|)\}")
RUN_SECONDS = 120


def expand(text, encoding):
    """The bytes of one line of text: escapes replaced, the rest encoded."""
    out = bytearray()
    at = 0
    for match in ESCAPE.finditer(text):
        out += text[at:match.start()].encode(encoding)
        name = match.group(1)
        if name in NAMED:
            out += NAMED[name]
        elif name.startswith("x"):
            out.append(int(name[1:], 16))
        else:
            count = int(name.split()[1])
            out += (b"0123456789" * (count // 10 + 1))[:count]
        at = match.end()
    return bytes(out + text[at:].encode(encoding))


class Block:
    def __init__(self, head):
        words = head.split('"', 1)[0].split()
        self.kind = words[0]
        self.options = words[1:]
        self.encoding = "cp1250" if "cp1250" in self.options else "utf-8"
        quoted = re.search(r'"(.*)"', head)
        self.title = expand(quoted.group(1), self.encoding) if quoted else b""
        self.text = head[len(self.kind):].strip()  # the words of an args block
        self.lines = []
        self.closed = False  # a blank or comment line ends the block

    def line_bytes(self):
        return [expand(line, self.encoding) for line in self.lines]


def parse(path):
    """The cases of the file: name -> list of blocks, in file order."""
    cases = {}
    blocks = None
    with open(path, encoding="utf-8") as file:
        for number, line in enumerate(file.read().split("\n")[:-1], 1):
            if line.startswith("=== "):
                blocks = cases.setdefault(line[4:].strip(), [])
            elif line.startswith("--- ") and blocks is not None:
                blocks.append(Block(line[4:]))
            elif line.startswith("#") or line == "":
                if blocks:
                    blocks[-1].closed = True
            elif blocks and not blocks[-1].closed:
                blocks[-1].lines.append(line)
            else:
                sys.exit(f"{path}:{number}: text outside a block: {line}")
    return cases


def block(blocks, kind):
    return next((b for b in blocks if b.kind == kind), None)


def report_bytes(blocks):
    report = block(blocks, "report")
    end = b"\r\n" if "crlf" in report.options else b"\n"
    data = end.join(report.line_bytes())
    if report.lines and "unended" not in report.options:
        data += end
    return data


def page_bytes(frame, blocks):
    page = block(blocks, "page")
    if page is None:
        return None
    heading = block(frame, "=PAGE").line_bytes()[0]
    body = [heading.replace(b"{text}", line[6:]) if line.startswith(b"=PAGE ") else line
            for line in page.line_bytes()]
    lines = []
    for line in block(frame, "page").line_bytes():
        lines += body if line == b"{body}" else [line.replace(b"{title}", page.title)]
    return b"".join(line + b"\r\n" for line in lines)


def data_bytes(blocks):
    """The expected JSON or NDJSON: the data block's lines, each ended by LF."""
    data = block(blocks, "data")
    return None if data is None else b"".join(line + b"\n" for line in data.line_bytes())


def first_difference(want, got):
    want_lines, got_lines = want.split(b"\n"), got.split(b"\n")
    for number, (a, b) in enumerate(zip(want_lines, got_lines), 1):
        if a != b:
            return f"line {number}:\n      expected {a[:300]!r}\n      actual   {b[:300]!r}"
    return f"expected {len(want_lines)} lines, got {len(got_lines)}"


def run(name, blocks, args, frame, binary, emulator, work_root):
    work = tempfile.mkdtemp(dir=work_root)
    report = report_bytes(blocks)
    with open(os.path.join(work, "report.csv"), "wb") as file:
        file.write(report)
    try:
        done = subprocess.run([*emulator, binary, "report.csv", *args], cwd=work, stdin=subprocess.DEVNULL,
                              capture_output=True, timeout=RUN_SECONDS)
    except subprocess.TimeoutExpired:
        return [f"no end after {RUN_SECONDS} s"]
    problems = []
    stdout = block(blocks, "stdout")
    want_stdout = (b"".join(l + b"\r\n" for l in stdout.line_bytes()) if stdout
                   else b'Converting: "report.csv"\r\n')
    if done.stdout != want_stdout:
        problems.append("standard output differs, " + first_difference(want_stdout, done.stdout))
    exit_block = block(blocks, "exit")
    want_code = int(exit_block.text) if exit_block else 0
    if done.returncode != want_code:
        problems.append(f"exit code {done.returncode}, expected {want_code}")

    output = "report.hta" if any(a.upper() == "/HTA" for a in args) else "report.htm"
    want_page = page_bytes(frame, blocks)
    data_format = next((a.split("=", 1)[1] for a in args if a.startswith("--format=")), "html")
    if data_format != "html":
        output = "report." + data_format
        want_page = data_bytes(blocks)
    left = sorted(os.listdir(work))
    if want_page is None:
        left = [f for f in left if f != "report.csv"]
        problems += [f"{f} exists but no page was expected" for f in left]
    elif output not in left:
        problems.append(f"{output} was not written")
    else:
        with open(os.path.join(work, output), "rb") as file:
            got = file.read()
        if got != want_page:
            problems.append(f"{output} differs, " + first_difference(want_page, got))
        left = [f for f in left if f not in ("report.csv", output)]
        problems += [f"unexpected file left behind: {f}" for f in left]
    try:
        with open(os.path.join(work, "report.csv"), "rb") as file:
            if file.read() != report:
                problems.append("report.csv was changed")
    except FileNotFoundError:
        problems.append("report.csv has gone")
    if problems and done.stderr:
        problems.append("standard error: " + done.stderr[:300].decode("latin-1"))
    shutil.rmtree(work)
    return problems


def main(argv):
    if len(argv) < 3:
        sys.exit(__doc__)
    cases = parse(argv[1])
    frame = cases.pop("frame")
    if argv[2] == "--write-reports":
        os.makedirs(argv[3], exist_ok=True)
        for name, blocks in cases.items():
            with open(os.path.join(argv[3], name + ".csv"), "wb") as file:
                file.write(report_bytes(blocks))
        return 0
    binary = os.path.abspath(argv[2]) if os.sep in argv[2] else argv[2]
    emulator = argv[3:]
    passed, failed = 0, []
    with tempfile.TemporaryDirectory(prefix="golden.") as work_root:
        for name, blocks in cases.items():
            for args in [b.text.split() for b in blocks if b.kind == "args"] or [[]]:
                label = " ".join([name, *args])
                problems = run(name, blocks, args, frame, binary, emulator, work_root)
                print(("FAIL " if problems else "ok   ") + label)
                for problem in problems:
                    print("    " + problem)
                if problems:
                    failed.append(label)
                else:
                    passed += 1
    print(f"{passed} passed, {len(failed)} failed")
    if failed:
        print("failed: " + ", ".join(failed))
    return 1 if failed or passed == 0 else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
