// Opens an index page in headless Chromium and measures what a reader
// waits for: opening the page (from a blank tab: navigation start to the end
// of the load event), reloading it once it has been read through (which
// also tears down the page laid out before), filtering its software table
// and its report table (from typing a word to the rows hidden and laid out),
// clearing the filter (every row shown again), each to the rows in view laid
// out and to every row done, and opening a program's list of computers.
// Filters are timed three times, the medians printed. Leaves screenshots of
// the top of the page, of the attention and software sections, in light and
// dark scheme and in print.
//
//   NODE_PATH=build-tools/node_modules node bench/fleet_browser.js INDEX.htm OUT_DIR [CHROMIUM]
const path = require("path");
const puppeteer = require("puppeteer-core");

(async () => {
  const [page_path, out_dir, chromium = "/usr/bin/chromium"] = process.argv.slice(2);
  const browser = await puppeteer.launch({ executablePath: chromium, args: ["--no-sandbox", "--disable-gpu"] });
  const page = await browser.newPage();
  await page.setViewport({ width: 1280, height: 900 });
  if (out_dir) {
    await page.goto("file://" + path.resolve(page_path), { waitUntil: "load", timeout: 60000 });
    await page.evaluate(() => document.querySelector("table.software button.list").click());
    await page.screenshot({ path: path.join(out_dir, "index-top.png") });
    for (const [id, name] of [["attention", "attention"], ["software", "software"]]) {
      await page.evaluate((id) => document.getElementById(id).scrollIntoView(), id);
      await page.screenshot({ path: path.join(out_dir, "index-" + name + ".png") });
    }
    await page.emulateMediaFeatures([{ name: "prefers-color-scheme", value: "dark" }]);
    await page.screenshot({ path: path.join(out_dir, "index-software-dark.png") });
    await page.emulateMediaFeatures([{ name: "prefers-color-scheme", value: "light" }]);
    await page.emulateMediaType("print");
    await page.evaluate(() => document.getElementById("attention").scrollIntoView());
    await page.screenshot({ path: path.join(out_dir, "index-attention-print.png") });
    await page.emulateMediaType("screen");
  }
  const url = "file://" + path.resolve(page_path);
  const loaded = () => page.evaluate(() => {
    const nav = performance.getEntriesByType("navigation")[0];
    return Math.round(nav.loadEventEnd - nav.startTime);
  });
  // Reloaded after the screenshots, the page before laid out in full.
  await page.goto(url, { waitUntil: "load", timeout: 60000 });
  const reload = await loaded();
  const opens = [];
  for (let run = 0; run < 3; ++run) {
    await page.goto("about:blank");
    await page.goto(url, { waitUntil: "load", timeout: 60000 });
    opens.push(await loaded());
  }
  const median = (list) => list.slice().sort((a, b) => a - b)[list.length >> 1];
  const filter = async (table, word) => {
    const tries = [];
    for (let run = 0; run < 3; ++run) {
      tries.push(await page.evaluate(async (table, word) => {
        const t = document.querySelector(table);
        const box = t.parentNode.previousElementSibling;
        const frame = () => new Promise((done) => requestAnimationFrame(() => setTimeout(done, 0)));
        // As a reader filters: with the table on screen, so laid out.
        box.scrollIntoView();
        await frame();
        document.body.offsetHeight;
        // The rows in view laid out, then every row (a big table's filter
        // does the rows past the first hundred shown after a frame).
        const timed = async (text) => {
          const start = performance.now();
          box.value = text;
          box.dispatchEvent(new Event("input"));
          document.body.offsetHeight;
          const first = performance.now() - start;
          await frame();
          document.body.offsetHeight;
          return [first, performance.now() - start];
        };
        const [ms, done_ms] = await timed(word);
        const shown = Array.prototype.filter.call(t.tBodies[0].rows, (row) => !row.hidden).length;
        const [clear_ms, clear_done_ms] = await timed("");
        return { ms, done_ms, clear_ms, clear_done_ms, shown, rows: t.tBodies[0].rows.length };
      }, table, word));
    }
    const result = {};
    for (const key of ["ms", "done_ms", "clear_ms", "clear_done_ms"]) {
      result[key] = Math.round(median(tries.map((t) => t[key])) * 10) / 10;
    }
    return Object.assign(result, { shown: tries[0].shown, rows: tries[0].rows });
  };
  const filters = {
    software: await filter("table.software", "firefox"),
    // A computer's name, which no program's row shows while its list is
    // closed: every row hidden.
    software_no_match: await filter("table.software", "ws-0007"),
    reports: await filter("table.index", "0042"),
  };
  const open = await page.evaluate(() => {
    const button = document.querySelector("table.software button.list");
    const start = performance.now();
    button.click();
    document.body.offsetHeight;
    return { ms: Math.round((performance.now() - start) * 10) / 10,
             links: button.closest("tr").nextElementSibling.querySelectorAll("a").length };
  });
  console.log(JSON.stringify({ open_ms: opens, reload_ms: reload, filter: filters, open_list: open }));
  await browser.close();
})().catch((error) => {
  console.error(error);
  process.exit(1);
});
