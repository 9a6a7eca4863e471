// Counts from a fleet's data, one line per program: its name in lower case,
// the computers that have it and, per version, how many have that version.
//
//   node export_counts.js ndjson FLEET.ndjson   (counted by DuckDB from the rows)
//   node export_counts.js index INDEX.json      (as index.json's fleet says)
"use strict";
const fs = require("fs");

const [mode, file] = process.argv.slice(2);
const print = (programs) => {
  for (const [name, { computers, versions }] of [...programs].sort(([a], [b]) => (a < b ? -1 : a > b ? 1 : 0))) {
    console.log(`${name}|${computers}|${[...versions].sort().join(" ")}`);
  }
};
if (mode === "index") {
  const programs = new Map();
  for (const p of JSON.parse(fs.readFileSync(file, "utf8")).fleet.software) {
    programs.set(p.name.toLowerCase(), { computers: p.computers, versions: p.versions.map((v) => `${v.version}:${v.count}`) });
  }
  print(programs);
} else {
  const { DuckDBInstance } = require("@duckdb/node-api");
  (async () => {
    const db = await (await DuckDBInstance.create(":memory:")).connect();
    const rows = `SELECT file, lower(trim(fields->>'program')) AS name, trim(fields->>'version') AS version
      FROM read_json('${file.replaceAll("'", "''")}', columns = {file: 'VARCHAR', section: 'VARCHAR', fields: 'JSON'})
      WHERE section = 'installed_programs' AND trim(fields->>'program') <> ''`;
    const result = await db.runAndReadAll(`WITH r AS (${rows})
      SELECT name, (SELECT count(DISTINCT file) FROM r AS s WHERE s.name = r.name), version, count(DISTINCT file)
      FROM r GROUP BY name, version`);
    const programs = new Map();
    for (const [name, computers, version, count] of result.getRows()) {
      if (!programs.has(name)) programs.set(name, { computers: Number(computers), versions: [] });
      programs.get(name).versions.push(`${version}:${Number(count)}`);
    }
    print(programs);
  })().catch((error) => {
    console.log(`FAIL ${error.message}`);
    process.exit(1);
  });
}
