// The data of every report of a directory against the schemas and against
// its modern page:
//
//   node check_data.js DIR SCHEMA_DIR
//
// DIR holds NAME.csv with NAME.htm (modern page), NAME.json and NAME.ndjson,
// index.json, fleet.ndjson (all reports in one stream), and comparisons
// (NAME.changes.json, .ndjson and .htm). Checks: every document, line,
// the index and the comparisons validate (ajv, JSON Schema 2020-12); a
// report's table rows and properties in its document and in its lines are
// as many as its modern page shows; DuckDB's read_json_auto reads the fleet
// stream with as many rows, lines and row lines as the files hold.
"use strict";
const fs = require("fs");
const path = require("path");
const Ajv2020 = require("ajv/dist/2020");
const { DuckDBInstance } = require("@duckdb/node-api");

const [dir, schemaDir] = process.argv.slice(2);
const ajv = new Ajv2020({ strict: false, allErrors: false });
for (const name of ["sections", "report", "line", "index", "changes", "change_line"]) {
  ajv.addSchema(JSON.parse(fs.readFileSync(path.join(schemaDir, `${name}.schema.json`), "utf8")));
}
const base = "https://rptconv.example.org/schema/";
const validate = Object.fromEntries(["report", "line", "index", "changes", "change_line"].map((n) => [n, ajv.getSchema(`${base}${n}.schema.json`)]));

let failures = 0;
let checks = 0;
function expect(ok, what) {
  checks++;
  if (!ok) {
    failures++;
    console.log(`FAIL ${what}`);
  }
}
function valid(kind, value, what) {
  const ok = validate[kind](value);
  expect(ok, `${what}: ${ok ? "" : ajv.errorsText(validate[kind].errors)}`);
}
// Strict UTF-8: a byte sequence that is not would throw.
const decoder = new TextDecoder("utf-8", { fatal: true });
const text = (file) => decoder.decode(fs.readFileSync(file));

// Rows and properties of a document, counted by walking it.
function countDocument(doc) {
  let rows = 0;
  let properties = 0;
  const holder = (h) => {
    rows += (h.rows || []).length;
    properties += (h.properties || []).length;
    for (const item of h.items || []) properties += item.properties.length;
  };
  for (const page of doc.pages) {
    holder(page);
    for (const group of page.groups || []) holder(group);
  }
  return { rows, properties };
}
// The modern page: a data row of a column table is "<tr><td", a property row
// "<tr><th scope="row">", each at the start of a line.
function countPage(html) {
  return {
    rows: (html.match(/^<tr><td/gm) || []).length,
    properties: (html.match(/^<tr><th scope="row">/gm) || []).length,
  };
}

let fleetLines = 0;
let fleetRows = 0;
let fleetFiles = 0;  // reports with a line at all
const reports = fs.readdirSync(dir).filter((f) => f.endsWith(".csv")).sort();
for (const report of reports) {
  const name = report.slice(0, -4);
  const doc = JSON.parse(text(path.join(dir, `${name}.json`)));
  valid("report", doc, `${name}.json`);
  const lines = text(path.join(dir, `${name}.ndjson`)).split("\n");
  expect(lines.pop() === "", `${name}.ndjson ends with LF`);
  let lineRows = 0;
  for (const [i, line] of lines.entries()) {
    const value = JSON.parse(line);
    valid("line", value, `${name}.ndjson:${i + 1}`);
    if (value.fields) lineRows++;
  }
  const page = countPage(text(path.join(dir, `${name}.htm`)));
  const counted = countDocument(doc);
  expect(counted.rows === page.rows, `${name}: ${counted.rows} rows in the document, ${page.rows} on the page`);
  expect(counted.properties === page.properties,
    `${name}: ${counted.properties} properties in the document, ${page.properties} on the page`);
  expect(lineRows === page.rows && lines.length - lineRows === page.properties,
    `${name}: ${lineRows} row lines and ${lines.length - lineRows} property lines, page ${page.rows} and ${page.properties}`);
  fleetLines += lines.length;
  fleetRows += lineRows;
  if (lines.length > 0) fleetFiles++;
}
// Comparisons, NAME.changes.json beside NAME.changes.htm and .ndjson: each
// section's counts are its lists, the totals theirs, and the page shows, and
// the lines hold, as many rows of each kind.
const kinds = ["added", "removed", "changed"];
for (const file of fs.readdirSync(dir).filter((f) => f.endsWith(".changes.json")).sort()) {
  const changes = JSON.parse(text(path.join(dir, file)));
  valid("changes", changes, file);
  const totals = { added: 0, removed: 0, changed: 0 };
  for (const section of changes.sections) {
    for (const kind of kinds) {
      expect(section[kind].length === section.counts[kind], `${file}: ${section.key} counts its ${kind} rows`);
      totals[kind] += section[kind].length;
    }
  }
  const html = text(path.join(dir, file.replace(/json$/, "htm")));
  const lines = text(path.join(dir, file.replace(/json$/, "ndjson"))).split("\n");
  expect(lines.pop() === "", `${file}: the lines end with LF`);
  const inLines = lines.map((line, i) => {
    const value = JSON.parse(line);
    valid("change_line", value, `${file.replace(/json$/, "ndjson")}:${i + 1}`);
    return value.change;
  });
  for (const kind of kinds) {
    const shown = (html.match(new RegExp(`<tr class="${kind}">`, "g")) || []).length;
    const lined = inLines.filter((change) => change === kind).length;
    expect(totals[kind] === changes.counts[kind] && shown === totals[kind] && lined === totals[kind],
      `${file}: ${totals[kind]} ${kind} rows, counted ${changes.counts[kind]}, on the page ${shown}, lines ${lined}`);
  }
  expect(changes.counts.changes === totals.added + totals.removed + totals.changed, `${file}: the total`);
}

const index = JSON.parse(text(path.join(dir, "index.json")));
valid("index", index, "index.json");
expect(index.reports.length === reports.length, `index.json lists ${index.reports.length} of ${reports.length} reports`);

(async () => {
  const db = await (await DuckDBInstance.create(":memory:")).connect();
  const fleet = path.join(dir, "fleet.ndjson").replaceAll("'", "''");
  const result = await db.runAndReadAll(
    `SELECT count(*), count(fields), count(DISTINCT file) FROM read_json_auto('${fleet}')`);
  const [lines, rows, files] = result.getRows()[0].map(Number);
  expect(lines === fleetLines && rows === fleetRows && files === fleetFiles,
    `DuckDB read ${lines} lines, ${rows} rows of ${files} reports; the files hold ${fleetLines}, ${fleetRows} of ${fleetFiles}`);
  console.log(`${reports.length} reports, ${fleetLines} lines: ${checks - failures} checks passed, ${failures} failed`);
  process.exit(failures === 0 ? 0 : 1);
})().catch((error) => {
  console.log(`FAIL ${error.message}`);
  process.exit(1);
});
