#!/usr/bin/env python3
"""Runs README's fleet examples on 200 reports and checks their answers.

    readme_fleet.py BINARY NODE_MODULES

Makes reports/ with 200 reports (English ones from samples/english.csv with
their own computer names and versions of "Office Suite 2003", some without
it, and Hungarian ones, which have no such program), then runs the blocks of
README.md that follow "<!-- fleet: convert -->", "jq", "duckdb" and
"sqlite3" as a user would: the shell blocks with `rptconv` on PATH, the SQL
block through DuckDB's Node package. Each query must answer exactly the
computers that have the program, each with its version.
"""
import os
import pathlib
import re
import subprocess
import sys
import tempfile

ROOT = pathlib.Path(__file__).resolve().parent.parent.parent
REPORTS = 200
SECONDS = 120
DUCKDB = """
const { DuckDBInstance } = require("@duckdb/node-api");
(async () => {
  const db = await (await DuckDBInstance.create(":memory:")).connect();
  const result = await db.runAndReadAll(require("fs").readFileSync(0, "utf8"));
  for (const row of result.getRows()) console.log(row.join("\\t"));
})();
"""


def blocks():
    """The fenced block after each fleet marker of README.md, by name."""
    text = (ROOT / "README.md").read_text(encoding="utf-8")
    found = dict(re.findall(r"<!-- fleet: (\w+) -->\n```\w*\n(.*?)```", text, re.S))
    missing = {"convert", "jq", "duckdb", "sqlite3"} - found.keys()
    if missing:
        sys.exit(f"FAIL README.md has no fleet block {sorted(missing)}")
    return found


def make_fleet(reports):
    """Writes the reports; gives the (computer, version) pairs the queries must find."""
    english = (ROOT / "samples" / "english.csv").read_bytes()
    hungarian = (ROOT / "samples" / "hungarian.csv").read_bytes()
    expected = set()
    for i in range(REPORTS):
        if i % 5 == 4:
            data = hungarian.replace(b"IRODA-07", b"IRODA-%03d" % i)
        else:
            computer, version = "WS-%03d" % i, "11.0.%d" % (5000 + i)
            data = english.replace(b"WS-042", computer.encode()).replace(b"11.0.5614", version.encode())
            if i % 4 == 3:
                data = b"".join(line for line in data.splitlines(True) if b"Office Suite 2003" not in line)
            else:
                expected.add((computer, version))
        (reports / ("r%03d.csv" % i)).write_bytes(data)
    return expected


def answer(output):
    return {tuple(line.split("\t")) for line in output.splitlines() if line}


def main(argv):
    binary, modules = os.path.abspath(argv[1]), argv[2]
    code = blocks()
    with tempfile.TemporaryDirectory(prefix="fleet.") as work:
        bin_dir = pathlib.Path(work, "bin")
        bin_dir.mkdir()
        (bin_dir / "rptconv").symlink_to(binary)
        reports = pathlib.Path(work, "reports")
        reports.mkdir()
        expected = make_fleet(reports)
        env = dict(os.environ, PATH=f"{bin_dir}{os.pathsep}{os.environ['PATH']}", NODE_PATH=modules)

        def run(command, stdin=None):
            done = subprocess.run(command, cwd=work, env=env, input=stdin, capture_output=True, text=True,
                                  timeout=SECONDS)
            if done.returncode != 0:
                sys.exit(f"FAIL {command[0]}: exit code {done.returncode}: {done.stderr[:500]}")
            return done.stdout

        run(["bash", "-euo", "pipefail", "-c", code["convert"]])
        lines = sum(1 for _ in open(pathlib.Path(work, "fleet.ndjson"), "rb"))
        failed = 0
        for name, output in [("jq", run(["bash", "-euo", "pipefail", "-c", code["jq"]])),
                             ("duckdb", run(["node", "-e", DUCKDB], code["duckdb"])),
                             ("sqlite3", run(["bash", "-euo", "pipefail", "-c", code["sqlite3"]]))]:
            got = answer(output)
            if got != expected:
                failed += 1
                print(f"FAIL {name}: {len(got)} answers, {len(expected)} expected; "
                      f"unexpected {sorted(got - expected)[:3]}, missing {sorted(expected - got)[:3]}")
            else:
                print(f"ok   {name}: {len(got)} computers with their versions")
        print(f"{REPORTS} reports, {lines} lines; {3 - failed} of 3 queries answered right")
        return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
