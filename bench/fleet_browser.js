// Opens an index page in headless Chromium and measures what a reader
// waits for: loading the page (navigation start to the end of the load
// event), filtering its software table and its report table (from typing
// a word to the rows hidden and laid out), and opening a program's list of
// computers. Leaves screenshots of the top of the page, of the attention
// and software sections, in light and dark scheme and in print.
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
  const loads = [];
  for (let run = 0; run < 3; ++run) {
    await page.goto("file://" + path.resolve(page_path), { waitUntil: "load", timeout: 60000 });
    loads.push(await page.evaluate(() => {
      const nav = performance.getEntriesByType("navigation")[0];
      return Math.round(nav.loadEventEnd - nav.startTime);
    }));
  }
  const filter = async (table, word) => page.evaluate((table, word) => {
    const t = document.querySelector(table);
    const box = t.parentNode.previousElementSibling;
    // As a reader filters: with the table on screen, so laid out.
    box.scrollIntoView();
    document.body.offsetHeight;
    const start = performance.now();
    box.value = word;
    box.dispatchEvent(new Event("input"));
    document.body.offsetHeight;  // the layout the reader sees
    const spent = performance.now() - start;
    const shown = Array.prototype.filter.call(t.tBodies[0].rows, (row) => !row.hidden).length;
    box.value = "";
    box.dispatchEvent(new Event("input"));
    return { ms: Math.round(spent * 10) / 10, shown: shown, rows: t.tBodies[0].rows.length };
  }, table, word);
  const filters = {
    software: await filter("table.software", "firefox"),
    software_by_computer: await filter("table.software", "ws-0007"),
    reports: await filter("table.index", "0042"),
  };
  const open = await page.evaluate(() => {
    const button = document.querySelector("table.software button.list");
    const start = performance.now();
    button.click();
    document.body.offsetHeight;
    return { ms: Math.round((performance.now() - start) * 10) / 10,
             links: button.parentNode.querySelectorAll("a").length };
  });
  console.log(JSON.stringify({ load_ms: loads, filter: filters, open_list: open }));
  await browser.close();
})().catch((error) => {
  console.error(error);
  process.exit(1);
});
